#include "RecordingInput.h"

namespace testsupport {

void RecordingInput::Add(InputEvent e) {
  e.thread = GetCurrentThreadId();
  std::lock_guard lock(mutex_);
  events_.push_back(e);
}

void RecordingInput::KeybdEvent(BYTE vk, BYTE scan, DWORD flags) { Add(InputEvent::Key(vk, scan, flags)); }

void RecordingInput::MouseEvent(DWORD flags, LONG dx, LONG dy) {
  Add({InputEvent::Kind::Mouse, 0, 0, flags, dx, dy, 0, 0});
}

BOOL RecordingInput::SetCursorPos(int x, int y) {
  Add({InputEvent::Kind::Cursor, 0, 0, 0, x, y, 0, 0});
  return TRUE;
}

UINT RecordingInput::MapVirtualKey(UINT code, UINT mapType) {
  if (mapType != MAPVK_VK_TO_VSC) return 0;
  switch (code) {
    case VK_UP: return 0x48;
    case VK_DOWN: return 0x50;
    case VK_LEFT: return 0x4B;
    case VK_RIGHT: return 0x4D;
    case VK_LWIN: return 0x5B;
    case 'C': return 0x2E;
    case 'D': return 0x20;
    default: return 0;
  }
}

void RecordingInput::Sleep(DWORD ms) {
  Add(InputEvent::Pause(ms));
  if (realSleep_) ::Sleep(ms);
}

std::vector<InputEvent> RecordingInput::Events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<InputEvent> RecordingInput::Keys() const {
  std::vector<InputEvent> keys;
  for (const InputEvent& e : Events())
    if (e.kind == InputEvent::Kind::Key) keys.push_back(e);
  return keys;
}

void RecordingInput::Clear() {
  std::lock_guard lock(mutex_);
  events_.clear();
}

}  // namespace testsupport
