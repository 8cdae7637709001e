// Waiting without freezing the windows of this thread.
#pragma once
#include <windows.h>

namespace ui {

// Waits until the handle is signalled (none: only the time) or the time is up,
// dispatching this thread's messages meanwhile. A WM_QUIT taken on the way is
// posted again when the wait ends, so the loop that owns it still sees it.
// True when the handle was signalled.
bool WaitPumping(DWORD timeoutMs, HANDLE handle = nullptr);

}  // namespace ui
