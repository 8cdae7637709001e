// The tilt game control's window in this process, fed by the simulated device,
// with its keys recorded instead of sent.
#include "Unit1.h"

#include <dbt.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>

#include "RecordingInput.h"
#include "StepClock.h"
#include "TestSupport.h"

using testsupport::InputEvent;
using testsupport::Sim;

namespace {

class TiltrixForm : public testing::Test {
 protected:
  void SetUp() override {
    testsupport::UseFreshMachine("tiltrix-form");
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    app_->OnException = [this](TObject*, const std::string& message) { errors_.push_back(message); };
    app_->CreateForm(Form1);
  }
  void TearDown() override {
    app_.reset();
    Form1 = nullptr;
    EXPECT_TRUE(errors_.empty()) << errors_.front();
  }

  // As the device delivers a reading: stored, then announced to the window.
  static void Tilt(int x, int y, int z) {
    Sim("set 0x55 " + std::to_string(testsupport::TiltValue(x, y, z)));
    ASSERT_EQ(Sim("event 85"), "1\n");
  }
  size_t Count(BYTE vk, DWORD flags) const {
    size_t n = 0;
    for (const InputEvent& e : input_.Keys()) n += e.vk == vk && e.flags == flags;
    return n;
  }
  bool WaitForUpTaps(size_t n) const {
    return testsupport::WaitFor([&] { return Count(VK_UP, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP) >= n; });
  }

  testsupport::RecordingInput input_{true};
  seams::ScopedSeam<seams::Input> seam_{input_};
  std::unique_ptr<TApplication> app_;
  std::vector<std::string> errors_;
};

DEV_BROADCAST_HANDLE TiltEvent(DWORD size) {
  DEV_BROADCAST_HANDLE r = {};
  r.dbch_size = size;
  r.dbch_devicetype = DBT_DEVTYP_HANDLE;
  r.dbch_data[0] = 0x55;
  return r;
}

}  // namespace

TEST_F(TiltrixForm, ShowsOnTopAtItsSizeWithControlOff) {
  const HWND w = Form1->Handle();
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_TRUE(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 255);
  EXPECT_EQ(client.bottom, 175);
  EXPECT_EQ(Form1->Panel5->Color(), clMoneyGreen);
  for (TImage* image : {Form1->Image1, Form1->Image2, Form1->Image3, Form1->Image4, Form1->Image5}) {
    ASSERT_NE(image->Picture().Graphic(), nullptr) << image->Name;
    EXPECT_EQ(image->Picture().Width(), image->Parent()->Width()) << image->Name;
  }
}

TEST_F(TiltrixForm, ArrowKeysColourTheirPanelsWhilePressed) {
  const std::pair<WORD, TPanel*> arrows[] = {
      {VK_UP, Form1->Panel1}, {VK_DOWN, Form1->Panel2}, {VK_LEFT, Form1->Panel3}, {VK_RIGHT, Form1->Panel4}};
  for (auto [key, panel] : arrows) {
    Form1->Perform(WM_KEYDOWN, key, 0);
    EXPECT_EQ(panel->Color(), clSkyBlue) << panel->Name;
    Form1->Perform(WM_KEYUP, key, 0);
    EXPECT_EQ(panel->Color(), clMoneyGreen) << panel->Name;
  }
  Form1->Perform(WM_KEYDOWN, 'A', 0);
  for (auto [key, panel] : arrows) EXPECT_EQ(panel->Color(), clMoneyGreen) << panel->Name;
}

TEST_F(TiltrixForm, ReadingsSwitchControlAndRepeatTheArrow) {
  Tilt(0, 0, 31);  // toggles on, and Z > 6 is Up as well
  EXPECT_EQ(Form1->Panel5->Color(), clGreen);
  ASSERT_TRUE(WaitForUpTaps(3));
  const InputEvent tap[] = {InputEvent::Key(VK_UP, 0x48, KEYEVENTF_EXTENDEDKEY), InputEvent::Pause(8),
                            InputEvent::Key(VK_UP, 0x48, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP)};
  const auto events = input_.Events();
  EXPECT_TRUE(std::equal(std::begin(tap), std::end(tap), events.begin()));

  Tilt(0, 0, 0);
  EXPECT_FALSE(Form1->Gesture().Repeating(tilt::Direction::Up));
  EXPECT_EQ(Form1->Panel5->Color(), clGreen) << "control stays on while level";

  input_.Clear();
  Tilt(0, 31, 0);  // Win+D also switches control off
  EXPECT_EQ(Count(VK_LWIN, KEYEVENTF_EXTENDEDKEY), 1u);
  EXPECT_EQ(Count('D', KEYEVENTF_KEYUP), 1u);
  EXPECT_EQ(Form1->Panel5->Color(), clMoneyGreen);
  EXPECT_FALSE(Form1->Gesture().ControlOn());
}

TEST_F(TiltrixForm, FailedReadsShortRecordsAndOtherCodesAreIgnored) {
  Tilt(0, 0, -31);  // control on, steering nowhere

  Sim("set 0x55 fail");  // would decode as -1, -1, -1: Left
  Sim("event 85");
  Sim("set 0x55 " + std::to_string(testsupport::TiltValue(-5, 0, 0)));
  Sim("event 86");
  DEV_BROADCAST_HANDLE shortRecord = TiltEvent(offsetof(DEV_BROADCAST_HANDLE, dbch_data));
  Form1->Perform(WM_DEVICECHANGE, DBT_CUSTOMEVENT, reinterpret_cast<LPARAM>(&shortRecord));
  Form1->Perform(WM_DEVICECHANGE, DBT_CUSTOMEVENT, 0);
  DEV_BROADCAST_HANDLE whole = TiltEvent(sizeof whole);
  Form1->Perform(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&whole));
  Sleep(50);
  EXPECT_TRUE(input_.Events().empty());
  EXPECT_FALSE(Form1->Gesture().Repeating(tilt::Direction::Left));

  // The same reading as a whole custom event does steer.
  Form1->Perform(WM_DEVICECHANGE, DBT_CUSTOMEVENT, reinterpret_cast<LPARAM>(&whole));
  EXPECT_TRUE(Form1->Gesture().Repeating(tilt::Direction::Left));
}

TEST_F(TiltrixForm, KeyCIsArmedAgainASecondAfterTheLastStrongReading) {
  testsupport::StepClock steps;
  Tilt(29, 0, 0);
  steps.Advance(600);
  Tilt(-30, 0, 0);
  EXPECT_EQ(Count('C', 0), 1u);
  steps.Advance(999);
  EXPECT_FALSE(Form1->Gesture().KeyCArmed()) << "the second reading restarted the second";
  steps.Advance(1);
  EXPECT_TRUE(Form1->Gesture().KeyCArmed());
  Tilt(29, 0, 0);
  EXPECT_EQ(Count('C', 0), 2u);
  EXPECT_EQ(Count('C', KEYEVENTF_KEYUP), 2u);
}

TEST_F(TiltrixForm, ClosingLeavesNoArrowPressedAndStartsNoMore) {
  Tilt(0, 0, 31);
  ASSERT_TRUE(WaitForUpTaps(2));
  Form1->Close();
  const auto atClose = input_.Keys();
  ASSERT_FALSE(atClose.empty());
  EXPECT_EQ(atClose.back(), InputEvent::Key(VK_UP, 0x48, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP));

  Tilt(-5, 0, 0);  // Left: the window is still registered until it goes
  Sleep(100);
  EXPECT_EQ(input_.Keys().size(), atClose.size());
}
