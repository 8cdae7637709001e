// Stand-in for the camera program: a small window that tells the control
// center it runs ("QVXCAMOPEN" at start, "QVXCAMCLOSE" at close) and counts
// the "CORVELSNAPSHOT" requests it receives in the simulated machine. Its
// state there changes only once the control center has answered, so whoever
// sees it knows that the control center knows it too.
#include <windows.h>

#include "SimState.h"

namespace {

constexpr char kPavonaCaption[] = "QVX Center";
UINT camOpenId, camCloseId, snapshotId;

template <class Change>
void Record(Change change) {
  try {
    sim::Machine m;
    change(m);
  } catch (...) {
  }
}

void TellPavona(UINT msg) {
  if (HWND pavona = FindWindowA(nullptr, kPavonaCaption)) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(pavona, msg, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  }
}

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == snapshotId && snapshotId) {
    Record([](sim::Machine& m) {
      ++m->snapshots;
      m.Log("snapshot");
    });
    return 0;
  }
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd, &ps);
      RECT r;
      GetClientRect(wnd, &r);
      DrawTextA(dc, "Camera", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      EndPaint(wnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      TellPavona(camCloseId);
      Record([](sim::Machine& m) { m->cameraOpen = 0; });
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  camOpenId = RegisterWindowMessageA("QVXCAMOPEN");
  camCloseId = RegisterWindowMessageA("QVXCAMCLOSE");
  snapshotId = RegisterWindowMessageA("CORVELSNAPSHOT");

  WNDCLASSA wc = {};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "LensboxWindow";
  if (!RegisterClassA(&wc)) return 1;
  HWND wnd = CreateWindowA(wc.lpszClassName, "Lensbox", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 200, 150,
                           nullptr, nullptr, instance, nullptr);
  if (!wnd) return 1;
  TellPavona(camOpenId);
  Record([](sim::Machine& m) {
    m->cameraOpen = 1;
    m.Log("camera open");
  });
  ShowWindow(wnd, show);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
