// keylog LOGFILE [TITLE]: a test window that takes the foreground and writes
// every key and system command it receives to LOGFILE, one line each:
//   down|up|sysdown|sysup 0x<vk> [ext]   syscommand 0x<cmd>
// Copied under a player's name it stands in for that player.
#include <windows.h>

#include <cstdio>

namespace {

FILE* logFile = nullptr;

void Log(const char* what, WPARAM vk, LPARAM lp) {
  fprintf(logFile, "%s 0x%02X%s\n", what, static_cast<unsigned>(vk), (lp & (1 << 24)) ? " ext" : "");
  fflush(logFile);
}

LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN: Log("down", wp, lp); return 0;
    case WM_KEYUP: Log("up", wp, lp); return 0;
    case WM_SYSKEYDOWN: Log("sysdown", wp, lp); return 0;
    case WM_SYSKEYUP: Log("sysup", wp, lp); return 0;
    case WM_SYSCOMMAND:
      fprintf(logFile, "syscommand 0x%04X\n", static_cast<unsigned>(wp & 0xFFF0));
      fflush(logFile);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcA(h, msg, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !(logFile = fopen(argv[1], "w"))) return 2;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "KeyLogWindow";
  RegisterClassA(&wc);
  HWND w = CreateWindowA(wc.lpszClassName, argc > 2 ? argv[2] : "keylog", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                         100, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  SetForegroundWindow(w);
  fprintf(logFile, "ready\n");
  fflush(logFile);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  fclose(logFile);
  return 0;
}
