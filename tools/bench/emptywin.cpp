// The baselines for osd_bench: the least a Win32 window program does. One
// visible window, a message loop, nothing else. Built as emptytray
// (EMPTYWIN_TRAY) it also does the two platform things a tray program with
// a microphone link does at start: it adds a tray icon and opens the mixer
// with a window for its change notices.
#include <windows.h>
#ifdef EMPTYWIN_TRAY
#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>
#endif

namespace {

LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "CorvelEmptyWindow";
  RegisterClassA(&wc);
  HWND wnd = CreateWindowA(wc.lpszClassName, "Empty", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                           instance, nullptr);
#ifdef EMPTYWIN_TRAY
  NOTIFYICONDATAA icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = wnd;
  icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  icon.uCallbackMessage = WM_APP;
  icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  std::strcpy(icon.szTip, "Empty");
  Shell_NotifyIconA(NIM_ADD, &icon);
  HMIXER mixer = nullptr;
  if (mixerGetNumDevs() > 0)
    mixerOpen(&mixer, 0, reinterpret_cast<DWORD_PTR>(wnd), 0, CALLBACK_WINDOW | MIXER_OBJECTF_MIXER);
#endif
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
#ifdef EMPTYWIN_TRAY
  if (mixer) mixerClose(mixer);
  Shell_NotifyIconA(NIM_DELETE, &icon);
#endif
  return 0;
}
