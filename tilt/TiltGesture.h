// The tilt game control's decisions: one tilt reading in, key taps, repeat
// workers and re-arm timers out. No window, thread or timer lives here, so the
// window wires these calls to the real ones and tests drive time themselves.
#pragma once
#include <array>
#include <cstdint>

namespace tilt {

// Three 6-bit two's-complement axes of the tilt reading (id 0x55), each -32..31.
struct TiltAxes {
  int x = 0, y = 0, z = 0;
  bool operator==(const TiltAxes&) const = default;
};

// Z in bits 0-5, X in bits 8-13, Y in bits 16-21; other bits are ignored.
constexpr int TiltAxis(uint32_t value, int shift) {
  const int raw = static_cast<int>((value >> shift) & 0x3F);
  return raw > 31 ? raw - 64 : raw;
}
constexpr TiltAxes DecodeTilt(uint32_t value) { return {TiltAxis(value, 8), TiltAxis(value, 16), TiltAxis(value, 0)}; }

// In the order the rules are checked.
enum class Direction { Up, Down, Left, Right };
constexpr std::array<Direction, 4> kDirections = {Direction::Up, Direction::Down, Direction::Left, Direction::Right};

enum class RearmTimer { KeyC, Toggle };
constexpr unsigned kRearmMs = 1000;

// The device's answer when it cannot be read.
constexpr int32_t kFailedRead = -1;

// Whether a direction's arrow key should repeat for these axes (control on).
bool DirectionHolds(Direction d, const TiltAxes& a);

class TiltListener {
 public:
  virtual ~TiltListener() = default;
  virtual void TapKeyC() = 0;
  virtual void TapShowDesktop() = 0;
  // Kill a pending timer of this kind and arm it again; it fires once, and the
  // window then calls TiltGesture::RearmTimerFired.
  virtual void ArmRearmTimer(RearmTimer timer, unsigned ms) = 0;
  // Only on changes: a direction's worker wanted / no longer wanted.
  virtual void StartRepeat(Direction d) = 0;
  virtual void StopRepeat(Direction d) = 0;
  // After every accepted reading: the control state to show (Panel5).
  virtual void ShowControl(bool on) = 0;
};

class TiltGesture {
 public:
  explicit TiltGesture(TiltListener& listener) : listener_(listener) {}

  // One reading from GetAcpiValue(0x55); a failed read is ignored.
  void Reading(int32_t value);
  void RearmTimerFired(RearmTimer timer);

  bool ControlOn() const { return controlOn_; }
  bool KeyCArmed() const { return keyCArmed_; }
  bool ToggleArmed() const { return toggleArmed_; }
  bool Repeating(Direction d) const { return run_[Index(d)]; }

 private:
  static constexpr size_t Index(Direction d) { return static_cast<size_t>(d); }
  void SetRepeat(Direction d, bool wanted);

  TiltListener& listener_;
  bool controlOn_ = false;
  bool keyCArmed_ = true;
  bool toggleArmed_ = true;
  std::array<bool, 4> run_ = {};
};

}  // namespace tilt
