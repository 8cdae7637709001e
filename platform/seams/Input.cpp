#include "seams/Input.h"

namespace seams {

namespace {

class Win32Input final : public Input {
 public:
  void KeybdEvent(BYTE vk, BYTE scan, DWORD flags) override { keybd_event(vk, scan, flags, 0); }
  void MouseEvent(DWORD flags, LONG dx, LONG dy) override {
    mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), 0, 0);
  }
  BOOL SetCursorPos(int x, int y) override { return ::SetCursorPos(x, y); }
  UINT MapVirtualKey(UINT code, UINT mapType) override { return ::MapVirtualKeyA(code, mapType); }
  void Sleep(DWORD ms) override { ::Sleep(ms); }
};

}  // namespace

template <>
Input& Seam<Input>::Real() {
  static Win32Input input;
  return input;
}

}  // namespace seams
