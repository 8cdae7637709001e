// A seams::Input that records what would have been synthesized. Thread-safe,
// since repeat workers tap from their own threads.
#pragma once
#include <windows.h>

#include <mutex>
#include <ostream>
#include <vector>

#include "seams/Input.h"

namespace testsupport {

struct InputEvent {
  enum class Kind { Key, Mouse, Cursor, Sleep };
  Kind kind = Kind::Key;
  BYTE vk = 0, scan = 0;
  DWORD flags = 0;     // key or mouse flags
  LONG x = 0, y = 0;   // mouse move or cursor position
  DWORD ms = 0;        // sleep
  DWORD thread = 0;    // the thread that made the call; not compared
  bool operator==(const InputEvent& o) const {
    return kind == o.kind && vk == o.vk && scan == o.scan && flags == o.flags && x == o.x && y == o.y && ms == o.ms;
  }

  static InputEvent Key(BYTE vk, BYTE scan, DWORD flags) { return {Kind::Key, vk, scan, flags, 0, 0, 0, 0}; }
  static InputEvent Pause(DWORD ms) { return {Kind::Sleep, 0, 0, 0, 0, 0, ms, 0}; }
};

// Readable failure messages.
inline std::ostream& operator<<(std::ostream& os, const InputEvent& e) {
  return os << "{kind " << static_cast<int>(e.kind) << " vk 0x" << std::hex << int(e.vk) << " flags 0x" << e.flags
            << std::dec << " at " << e.x << "," << e.y << " ms " << e.ms << "}";
}

class RecordingInput : public seams::Input {
 public:
  // realSleep: whether Sleep also waits (workers need it to pace themselves).
  explicit RecordingInput(bool realSleep = false) : realSleep_(realSleep) {}

  void KeybdEvent(BYTE vk, BYTE scan, DWORD flags) override;
  void MouseEvent(DWORD flags, LONG dx, LONG dy) override;
  BOOL SetCursorPos(int x, int y) override;
  // Set-1 scan codes of a US keyboard for MAPVK_VK_TO_VSC; 0 otherwise.
  UINT MapVirtualKey(UINT code, UINT mapType) override;
  void Sleep(DWORD ms) override;

  std::vector<InputEvent> Events() const;
  std::vector<InputEvent> Keys() const;  // key events only
  void Clear();

 private:
  void Add(InputEvent e);
  const bool realSleep_;
  mutable std::mutex mutex_;
  std::vector<InputEvent> events_;
};

}  // namespace testsupport
