#include "TiltGesture.h"

#include <cstdlib>

namespace tilt {

namespace {

// Beyond these an axis is a deliberate flick, not steering.
constexpr int kKeyCX = 28;
constexpr int kShowDesktopY = 30;
constexpr int kToggleZ = 30;
// Steering: forward tilt past this is Up, backward (within the flat band) Down.
constexpr int kUpZ = 6;
constexpr int kDownZ = -6;
constexpr int kFlatZ = 17;
constexpr int kSideSlack = 10;

}  // namespace

bool DirectionHolds(Direction d, const TiltAxes& a) {
  const int ax = std::abs(a.x), ay = std::abs(a.y), az = std::abs(a.z);
  switch (d) {
    case Direction::Up:
      return a.z > kUpZ;
    case Direction::Down:
      return az < kFlatZ && ay > ax && a.y > 0 && a.z < kDownZ;
    case Direction::Left:
      return az < kFlatZ && ax + kSideSlack > ay && a.x < 0;
    case Direction::Right:
      return az < kFlatZ && ax + kSideSlack > ay && a.x > 0;
  }
  return false;
}

void TiltGesture::Reading(int32_t value) {
  // A failed read would decode as X = Y = Z = -1 and steer Left.
  if (value == kFailedRead) return;
  const TiltAxes a = DecodeTilt(static_cast<uint32_t>(value));

  if (std::abs(a.x) > kKeyCX) {
    listener_.ArmRearmTimer(RearmTimer::KeyC, kRearmMs);
    if (keyCArmed_) listener_.TapKeyC();
    keyCArmed_ = false;
  }
  if (std::abs(a.y) > kShowDesktopY) {
    listener_.TapShowDesktop();
    controlOn_ = false;
  }
  if (std::abs(a.z) > kToggleZ) {
    listener_.ArmRearmTimer(RearmTimer::Toggle, kRearmMs);
    if (toggleArmed_) controlOn_ = !controlOn_;
    toggleArmed_ = false;
  }

  for (Direction d : kDirections) SetRepeat(d, controlOn_ && DirectionHolds(d, a));
  listener_.ShowControl(controlOn_);
}

void TiltGesture::RearmTimerFired(RearmTimer timer) {
  (timer == RearmTimer::KeyC ? keyCArmed_ : toggleArmed_) = true;
}

void TiltGesture::SetRepeat(Direction d, bool wanted) {
  bool& run = run_[Index(d)];
  if (run == wanted) return;
  run = wanted;
  if (wanted)
    listener_.StartRepeat(d);
  else
    listener_.StopRepeat(d);
}

}  // namespace tilt
