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
  Sleep(150);
  EXPECT_GE(CountPresses(in.Keys(), VK_UP), 3u);

  repeat.Stop(Direction::Up);
  EXPECT_FALSE(repeat.Repeating(Direction::Up));
  Sleep(100);
  const auto keys = in.Keys();
  Sleep(100);
  EXPECT_EQ(in.Keys().size(), keys.size()) << "still tapping 100 ms after the stop";
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
  EXPECT_TRUE(repeat.StopAll(100));
  ExpectWholeTaps(in.Keys());
  // Kept going through the quick restarts: a direction that stayed dead after
  // one would have a press or two. (How many more depends on the machine's load.)
  EXPECT_GE(CountPresses(in.Keys(), VK_LEFT), 5u);
}

TEST(KeyRepeat, StopAllEndsEveryWorkerWithNoKeyHeld) {
  RecordingInput in(true);
  {
    tilt::KeyRepeat repeat(in);
    for (Direction d : tilt::kDirections) repeat.Start(d);
    Sleep(50);
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(repeat.StopAll(100));
    EXPECT_LT(GetTickCount64() - start, 100u);
    for (Direction d : tilt::kDirections) EXPECT_FALSE(repeat.Repeating(d));
    repeat.Start(Direction::Down);  // the window closes while Down repeats
  }
  const auto keys = in.Keys();
  Sleep(50);
  EXPECT_EQ(in.Keys().size(), keys.size());
  for (BYTE vk : {BYTE{VK_UP}, BYTE{VK_DOWN}, BYTE{VK_LEFT}, BYTE{VK_RIGHT}}) EXPECT_GE(CountPresses(keys, vk), 1u);
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
