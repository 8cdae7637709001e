// Input synthesis seam: every synthesized key, mouse move and cursor jump of
// our programs goes through here, so tests can record them instead.
#pragma once
#include <windows.h>

#include "Seam.h"

namespace seams {

class Input {
 public:
  virtual ~Input() = default;
  virtual void KeybdEvent(BYTE vk, BYTE scan, DWORD flags) = 0;
  virtual void MouseEvent(DWORD flags, LONG dx, LONG dy) = 0;
  virtual BOOL SetCursorPos(int x, int y) = 0;
  // windows.h maps this name to MapVirtualKeyA; that is the one meant.
  virtual UINT MapVirtualKey(UINT code, UINT mapType) = 0;
  // The pause inside a key tap; part of the seam so fakes can skip or log it.
  virtual void Sleep(DWORD ms) = 0;
};

// The production implementation calls Win32 directly; safe from any thread.
template <> Input& Seam<Input>::Real();
inline Input& input() { return Seam<Input>::Get(); }

}  // namespace seams
