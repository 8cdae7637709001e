#include <windows.h>
#include <dbt.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Forms.h"
#include "KeyRepeat.h"
#include "KeyTaps.h"
#include "RecordingInput.h"
#include "TestSupport.h"
#include "TiltEvent.h"

using testsupport::InputEvent;
using testsupport::RecordingInput;
using tilt::Direction;

namespace {

constexpr DWORD kExt = KEYEVENTF_EXTENDEDKEY, kUp = KEYEVENTF_KEYUP;

// Every key-down must be followed by its key-up from the same thread before
// that key goes down again: two workers on one key would interleave.
void ExpectWholeTaps(const std::vector<InputEvent>& keys) {
  std::map<BYTE, const InputEvent*> down;
  for (const InputEvent& e : keys) {
    auto it = down.find(e.vk);
    if (!(e.flags & kUp)) {
      ASSERT_TRUE(it == down.end()) << "second press of " << int(e.vk);
      down[e.vk] = &e;
    } else {
      ASSERT_TRUE(it != down.end()) << "release without press of " << int(e.vk);
      EXPECT_EQ(it->second->thread, e.thread);
      down.erase(it);
    }
  }
  EXPECT_TRUE(down.empty()) << "a key is left pressed";
}

size_t CountPresses(const std::vector<InputEvent>& keys, BYTE vk) {
  size_t n = 0;
  for (const InputEvent& e : keys) n += e.vk == vk && !(e.flags & kUp);
  return n;
}

// A stopped worker ends its tap under way, or the one it was about to begin:
// at most one more press than had been made when it was stopped.
void ExpectStoppedWithinATap(const std::vector<InputEvent>& atStop, const std::vector<InputEvent>& after, BYTE vk) {
  EXPECT_LE(CountPresses(after, vk), CountPresses(atStop, vk) + 1) << "still tapping after the stop: " << int(vk);
}

}  // namespace

TEST(KeyTaps, SequencesCarryScanCodesFlagsAndThePress) {
  RecordingInput in;
  const auto pause = InputEvent::Pause(8);
  tilt::TapArrow(in, Direction::Up);
  tilt::TapDown(in);
  tilt::TapArrow(in, Direction::Left);
  tilt::TapArrow(in, Direction::Right);
  EXPECT_EQ(in.Events(), (std::vector<InputEvent>{
                             InputEvent::Key(VK_UP, 0x48, 1), pause, InputEvent::Key(VK_UP, 0x48, 3),
                             InputEvent::Key(VK_DOWN, 0x50, 1), pause, InputEvent::Key(VK_DOWN, 0x50, 3),
                             InputEvent::Key(VK_LEFT, 0x4B, 1), pause, InputEvent::Key(VK_LEFT, 0x4B, 3),
                             InputEvent::Key(VK_RIGHT, 0x4D, 1), pause, InputEvent::Key(VK_RIGHT, 0x4D, 3)}));
  in.Clear();
  tilt::TapKeyC(in);
  EXPECT_EQ(in.Events(),
            (std::vector<InputEvent>{InputEvent::Key('C', 0x2E, 0), pause, InputEvent::Key('C', 0x2E, 2)}));
  in.Clear();
  tilt::TapShowDesktop(in);
  EXPECT_EQ(in.Events(), (std::vector<InputEvent>{InputEvent::Key(VK_LWIN, 0x5B, 1), InputEvent::Key('D', 0x20, 1),
                                                  pause, InputEvent::Key('D', 0x20, 2),
                                                  InputEvent::Key(VK_LWIN, 0x5B, 3)}));
}

TEST(KeyRepeat, RepeatsUntilStoppedAndStopsWithinATap) {
  RecordingInput in(true);
  tilt::KeyRepeat repeat(in);
  repeat.Start(Direction::Up);
  repeat.Start(Direction::Up);  // already running: no second worker
  EXPECT_TRUE(repeat.Repeating(Direction::Up));
  EXPECT_TRUE(testsupport::WaitFor([&] { return CountPresses(in.Keys(), VK_UP) >= 3; }));

  repeat.Stop(Direction::Up);
  EXPECT_FALSE(repeat.Repeating(Direction::Up));
  const auto atStop = in.Keys();
  ASSERT_TRUE(repeat.StopAll(testsupport::kPatienceMs));
  const auto keys = in.Keys();
  ExpectStoppedWithinATap(atStop, keys, VK_UP);
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys.back(), InputEvent::Key(VK_UP, 0x48, kExt | kUp));
  ExpectWholeTaps(keys);
}

TEST(KeyRepeat, QuickOffOnKeepsOneWorkerPerDirection) {
  RecordingInput in(true);
  tilt::KeyRepeat repeat(in);
  for (int i = 0; i < 40; ++i) {
    repeat.Start(Direction::Left);
    repeat.Start(Direction::Right);
    Sleep(i % 4);
    repeat.Stop(Direction::Left);
    repeat.Stop(Direction::Right);
    if (i % 3 == 0) Sleep(12);  // sometimes let the worker end first
  }
  // Still alive after the quick restarts: a direction left dead by one taps no more.
  repeat.Start(Direction::Left);
  const size_t presses = CountPresses(in.Keys(), VK_LEFT);
  EXPECT_TRUE(testsupport::WaitFor([&] { return CountPresses(in.Keys(), VK_LEFT) >= presses + 2; }));
  EXPECT_TRUE(repeat.StopAll(testsupport::kPatienceMs));
  ExpectWholeTaps(in.Keys());
}

TEST(KeyRepeat, StopAllEndsEveryWorkerWithNoKeyHeld) {
  RecordingInput in(true);
  constexpr BYTE kArrows[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT};
  {
    tilt::KeyRepeat repeat(in);
    for (Direction d : tilt::kDirections) repeat.Start(d);
    for (Direction d : tilt::kDirections) repeat.Stop(d);
    const auto atStop = in.Keys();
    EXPECT_TRUE(repeat.StopAll(testsupport::kPatienceMs));
    for (Direction d : tilt::kDirections) EXPECT_FALSE(repeat.Repeating(d));
    const auto ended = in.Keys();
    for (BYTE vk : kArrows) ExpectStoppedWithinATap(atStop, ended, vk);
    repeat.Start(Direction::Down);  // the window closes while Down repeats
  }
  const auto keys = in.Keys();
  Sleep(50);  // a worker left running would tap again meanwhile
  EXPECT_EQ(in.Keys().size(), keys.size()) << "still tapping after the window closed";
  for (BYTE vk : kArrows) EXPECT_GE(CountPresses(keys, vk), 1u);
  ExpectWholeTaps(keys);
}

TEST(TiltEvent, OnlyTheTiltEventReadsTheSensor) {
  testsupport::UseFreshMachine("tilt-event");
  testsupport::Sim("set 0x55 0x1F0207");
  DEV_BROADCAST_HANDLE r = {};
  r.dbch_size = sizeof r;
  r.dbch_devicetype = DBT_DEVTYP_HANDLE;
  r.dbch_data[0] = tilt::EvTiltData;
  const auto lp = reinterpret_cast<LPARAM>(&r);
  EXPECT_EQ(tilt::TiltReadingFor(DBT_CUSTOMEVENT, lp), std::optional<int32_t>(0x1F0207));
  EXPECT_EQ(tilt::TiltReadingFor(DBT_DEVICEARRIVAL, lp), std::nullopt);
  EXPECT_EQ(tilt::TiltReadingFor(DBT_CUSTOMEVENT, 0), std::nullopt);
  r.dbch_size = offsetof(DEV_BROADCAST_HANDLE, dbch_data);
  EXPECT_EQ(tilt::TiltReadingFor(DBT_CUSTOMEVENT, lp), std::nullopt);
  r.dbch_size = sizeof r;
  r.dbch_data[0] = 0x56;
  EXPECT_EQ(tilt::TiltReadingFor(DBT_CUSTOMEVENT, lp), std::nullopt);
  r.dbch_data[0] = tilt::EvTiltData;
  testsupport::Sim("set 0x55 fail");
  EXPECT_EQ(tilt::TiltReadingFor(DBT_CUSTOMEVENT, lp), std::optional<int32_t>(tilt::kFailedRead));
}

namespace {
// A keyboard that fails at the first key.
class BrokenInput : public RecordingInput {
 public:
  void KeybdEvent(BYTE, BYTE, DWORD) override { throw std::runtime_error("no keyboard"); }
};
}  // namespace

TEST(KeyRepeat, AFailingTapIsReportedAndEndsOnlyThatWorker) {
  TApplication app;
  std::vector<std::string> errors;  // written by the worker, read once it has ended
  app.OnException = [&](TObject*, const std::string& m) { errors.push_back(m); };
  BrokenInput in;
  tilt::KeyRepeat repeat(in);
  repeat.Start(Direction::Left);
  EXPECT_TRUE(repeat.StopAll());
  EXPECT_EQ(errors, std::vector<std::string>{"no keyboard"});
  EXPECT_FALSE(repeat.Repeating(Direction::Left));
}
