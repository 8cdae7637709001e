// The key taps of the tilt game control: key-down, 8 ms, key-up, each event
// carrying the key's scan code.
#pragma once
#include "TiltGesture.h"
#include "seams/Input.h"

namespace tilt {

constexpr DWORD kTapPressMs = 8;

void TapUp(seams::Input& input);
void TapDown(seams::Input& input);
void TapLeft(seams::Input& input);
void TapRight(seams::Input& input);
void TapArrow(seams::Input& input, Direction d);
void TapKeyC(seams::Input& input);
// Win+D; the 'D' press carries the extended-key flag and its release does not.
void TapShowDesktop(seams::Input& input);

}  // namespace tilt
