#include "KeyTaps.h"

namespace tilt {

namespace {

void Key(seams::Input& input, BYTE vk, DWORD flags) {
  input.KeybdEvent(vk, static_cast<BYTE>(input.MapVirtualKey(vk, MAPVK_VK_TO_VSC)), flags);
}

// Arrow keys are extended keys, on release too.
void TapExtended(seams::Input& input, BYTE vk) {
  Key(input, vk, KEYEVENTF_EXTENDEDKEY);
  input.Sleep(kTapPressMs);
  Key(input, vk, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP);
}

}  // namespace

void TapUp(seams::Input& input) { TapExtended(input, VK_UP); }
void TapDown(seams::Input& input) { TapExtended(input, VK_DOWN); }
void TapLeft(seams::Input& input) { TapExtended(input, VK_LEFT); }
void TapRight(seams::Input& input) { TapExtended(input, VK_RIGHT); }

void TapArrow(seams::Input& input, Direction d) {
  switch (d) {
    case Direction::Up: return TapUp(input);
    case Direction::Down: return TapDown(input);
    case Direction::Left: return TapLeft(input);
    case Direction::Right: return TapRight(input);
  }
}

void TapKeyC(seams::Input& input) {
  Key(input, 'C', 0);
  input.Sleep(kTapPressMs);
  Key(input, 'C', KEYEVENTF_KEYUP);
}

void TapShowDesktop(seams::Input& input) {
  Key(input, VK_LWIN, KEYEVENTF_EXTENDEDKEY);
  Key(input, 'D', KEYEVENTF_EXTENDEDKEY);
  input.Sleep(kTapPressMs);
  Key(input, 'D', KEYEVENTF_KEYUP);
  Key(input, VK_LWIN, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP);
}

}  // namespace tilt
