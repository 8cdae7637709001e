#include "WaitPumping.h"

namespace ui {

bool WaitPumping(DWORD timeoutMs, HANDLE handle) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  bool signalled = false, quit = false;
  WPARAM quitCode = 0;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        quitCode = msg.wParam;
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (handle && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) {
      signalled = true;
      break;
    }
    const ULONGLONG now = GetTickCount64();
    if (timeoutMs != INFINITE && now >= end) break;
    // Wakes for a new message or the handle; the queue is empty now, so no
    // message is left waiting.
    MsgWaitForMultipleObjects(handle ? 1 : 0, &handle, FALSE,
                              timeoutMs == INFINITE ? INFINITE : static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
  return signalled;
}

}  // namespace ui
