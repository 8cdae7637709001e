#include "TiltGesture.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"

using tilt::Direction;
using tilt::RearmTimer;

namespace {

// Listener with a fake clock: armed timers fire when the test moves time past them.
struct Harness : tilt::TiltListener {
  tilt::TiltGesture gesture{*this};
  unsigned now = 0;
  std::map<RearmTimer, unsigned> due;
  int keyC = 0, showDesktop = 0;
  std::vector<std::string> repeats;
  int shown = -1;

  void TapKeyC() override { ++keyC; }
  void TapShowDesktop() override { ++showDesktop; }
  void ArmRearmTimer(RearmTimer t, unsigned ms) override { due[t] = now + ms; }
  void StartRepeat(Direction d) override { repeats.push_back("start " + Name(d)); }
  void StopRepeat(Direction d) override { repeats.push_back("stop " + Name(d)); }
  void ShowControl(bool on) override { shown = on; }

  static std::string Name(Direction d) {
    static const char* names[] = {"Up", "Down", "Left", "Right"};
    return names[static_cast<int>(d)];
  }
  void At(unsigned ms, int x, int y, int z) {
    for (auto it = due.begin(); it != due.end();) {
      if (it->second <= ms) {
        gesture.RearmTimerFired(it->first);
        it = due.erase(it);
      } else {
        ++it;
      }
    }
    now = ms;
    gesture.Reading(static_cast<int32_t>(testsupport::TiltValue(x, y, z)));
  }
  std::set<std::string> Running() const {
    std::set<std::string> r;
    for (Direction d : tilt::kDirections)
      if (gesture.Repeating(d)) r.insert(Name(d));
    return r;
  }
};

}  // namespace

TEST(TiltDecode, SixBitTwosComplementAxesOtherBitsIgnored) {
  EXPECT_EQ(tilt::DecodeTilt(0x00201F3F), (tilt::TiltAxes{31, -32, -1}));
  EXPECT_EQ(tilt::DecodeTilt(0x00010203), (tilt::TiltAxes{2, 1, 3}));
  EXPECT_EQ(tilt::DecodeTilt(0xFFC0C0C0), (tilt::TiltAxes{0, 0, 0}));
  EXPECT_EQ(tilt::DecodeTilt(0x001E2120), (tilt::TiltAxes{-31, 30, -32}));
}

TEST(TiltGesture, DirectionsFollowTheTiltWhileControlIsOn) {
  struct Row {
    int x, y, z;
    std::set<std::string> expected;
  };
  const Row rows[] = {
      {0, 0, 7, {"Up"}},         {-5, 0, 10, {"Up", "Left"}}, {5, 0, 0, {"Right"}},  {0, 0, 0, {}},
      {3, 20, -10, {"Down"}},    {3, 20, -6, {}},             {-5, 14, 0, {"Left"}}, {-5, 15, 0, {}},
      {0, 0, 6, {}},             {0, 5, -16, {"Down"}},       {0, 5, -17, {}},       {0, -20, -10, {}},
      {16, 0, -16, {"Right"}},   {-1, -1, -1, {"Left"}},      {4, 4, 9, {"Up", "Right"}},
  };
  for (const Row& row : rows) {
    Harness h;
    h.At(0, 0, 0, 31);  // switch control on
    ASSERT_TRUE(h.gesture.ControlOn());
    h.At(10, row.x, row.y, row.z);
    EXPECT_EQ(h.Running(), row.expected) << row.x << "," << row.y << "," << row.z;
    EXPECT_EQ(h.shown, 1);
  }
}

TEST(TiltGesture, RepeatsStartOnceAndStopWhenTheConditionFails) {
  Harness h;
  h.At(0, 0, 0, 31);
  h.At(100, 0, 0, 7);
  h.At(200, 0, 0, 8);
  h.At(300, -5, 0, 10);
  h.At(400, 0, 0, 6);
  EXPECT_EQ(h.repeats, (std::vector<std::string>{"start Up", "start Left", "stop Up", "stop Left"}));
}

TEST(TiltGesture, KeyCFiresOncePerBurstAndRearmsASecondAfterTheLast) {
  Harness h;
  h.At(0, 28, 0, 0);
  EXPECT_EQ(h.keyC, 0);
  EXPECT_TRUE(h.due.empty());
  h.At(100, 29, 0, 0);
  EXPECT_EQ(h.keyC, 1);
  h.At(600, -30, 0, 0);   // 0.5 s later
  h.At(1300, 29, 0, 0);   // 0.7 s after the last strong reading
  EXPECT_EQ(h.keyC, 1);
  h.At(2301, 29, 0, 0);   // a second after the last one
  EXPECT_EQ(h.keyC, 2);
  EXPECT_FALSE(h.gesture.ControlOn());
}

TEST(TiltGesture, StrongYSendsShowDesktopEveryTimeAndSwitchesControlOff) {
  Harness h;
  h.At(0, 0, 0, 31);
  h.At(100, -5, 0, 0);
  ASSERT_TRUE(h.gesture.Repeating(Direction::Left));
  h.At(200, 0, 30, 0);
  EXPECT_EQ(h.showDesktop, 0);
  h.At(300, -5, 31, 0);
  h.At(350, 0, -31, 0);
  EXPECT_EQ(h.showDesktop, 2);
  EXPECT_FALSE(h.gesture.ControlOn());
  EXPECT_EQ(h.shown, 0);
  EXPECT_EQ(h.Running(), std::set<std::string>{});
  EXPECT_EQ(h.repeats.back(), "stop Left");
}

TEST(TiltGesture, ToggleFlipsOncePerBurstOfStrongZ) {
  Harness h;
  for (unsigned t = 0; t <= 3000; t += 500) h.At(t, 0, 0, t % 1000 ? -32 : 31);
  EXPECT_TRUE(h.gesture.ControlOn());
  h.At(3999, 0, 0, 31);  // 0.999 s after the burst: still disarmed
  EXPECT_TRUE(h.gesture.ControlOn());
  h.At(5000, 0, 0, 31);
  EXPECT_FALSE(h.gesture.ControlOn());
}

TEST(TiltGesture, WithControlOffReadingsOnlyDriveTheGestures) {
  Harness h;
  h.At(0, -5, 0, 10);
  h.At(100, 29, 0, 0);
  EXPECT_TRUE(h.repeats.empty());
  EXPECT_EQ(h.keyC, 1);
  EXPECT_EQ(h.shown, 0);
}

TEST(TiltGesture, StrongYAndZTogetherEndWithControlOn) {
  Harness h;
  h.At(0, 0, 31, 31);
  EXPECT_EQ(h.showDesktop, 1);
  EXPECT_TRUE(h.gesture.ControlOn());
  EXPECT_EQ(h.Running(), std::set<std::string>{"Up"});
}

TEST(TiltGesture, FailedReadIsIgnored) {
  Harness h;
  h.At(0, 0, 0, 31);
  h.gesture.Reading(tilt::kFailedRead);
  EXPECT_EQ(h.repeats, std::vector<std::string>{"start Up"});
  EXPECT_TRUE(h.gesture.Repeating(Direction::Up));
  // A genuine reading of X = Y = Z = -1 still steers Left.
  h.At(100, -1, -1, -1);
  EXPECT_EQ(h.Running(), std::set<std::string>{"Left"});
}
