#include <windows.h>
#include <dbt.h>

#include <cmath>
#include <functional>

#include "ActionsFixture.h"
#include "RecordingInput.h"
#include "StepClock.h"
#include "Unit_global.h"
#include "seams/Battery.h"
#include "seams/System.h"

namespace {

float Volume() { return sim::Machine()->volume; }
void SetVolume(float v) { sim::Machine()->volume = v; }
int VistaPlan() { return sim::Machine()->vistaPlan; }
void SetSimPlan(int plan) { sim::Machine()->vistaPlan = plan; }

std::string LevelCommand(int level) { return ActionsTest::Hex((level & 0xFF) << 8 | 0x84); }

class FakeDisplay : public seams::Display {
 public:
  DEVMODEA current = {};
  std::vector<std::pair<DWORD, DWORD>> modes;
  std::vector<DEVMODEA> changes;
  std::vector<DWORD> flags;
  std::vector<size_t> commandsBeforeChange;
  DWORD changeTick = 0;

  FakeDisplay() {
    current.dmSize = sizeof current;
    current.dmPelsWidth = 1024;
    current.dmPelsHeight = 768;
    current.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYORIENTATION;
  }
  BOOL EnumSettings(DWORD n, DEVMODEA& mode) override {
    if (n == ENUM_CURRENT_SETTINGS) {
      mode = current;
      return TRUE;
    }
    if (n >= modes.size()) return FALSE;
    mode.dmPelsWidth = modes[n].first;
    mode.dmPelsHeight = modes[n].second;
    return TRUE;
  }
  LONG ChangeSettings(DEVMODEA* mode, DWORD f) override {
    changes.push_back(*mode);
    flags.push_back(f);
    commandsBeforeChange.push_back(ActionsTest::Commands().size());
    changeTick = GetTickCount();
    if (onChange) onChange();
    return DISP_CHANGE_SUCCESSFUL;
  }
  std::function<void()> onChange;
};

class FakeClock : public seams::Clock {
 public:
  DWORD now = 0, lastInput = 0;
  DWORD TickCount() override { return now; }
  BOOL LastInputInfo(LASTINPUTINFO& info) override {
    info.dwTime = lastInput;
    return TRUE;
  }
};

// No battery interfaces; the power status says whether the machine runs on mains.
class OnBattery : public seams::Battery {
 public:
  BYTE ac = 0;
  std::optional<std::string> InterfacePath(DWORD) override { return std::nullopt; }
  HANDLE Open(const std::string&) override { return nullptr; }
  BOOL IoControl(HANDLE, DWORD, const void*, DWORD, void*, DWORD, DWORD*) override { return FALSE; }
  BOOL PowerStatus(SYSTEM_POWER_STATUS& status) override {
    status = {};
    status.ACLineStatus = ac;
    return TRUE;
  }
};

// The device's 270-degree event, once, from a timer.
void CALLBACK SendOrientation270(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  DEV_BROADCAST_HANDLE r = {};
  r.dbch_size = sizeof r;
  r.dbch_devicetype = DBT_DEVTYP_HANDLE;
  r.dbch_data[0] = 50;
  SendMessageA(window, WM_DEVICECHANGE, DBT_CUSTOMEVENT, reinterpret_cast<LPARAM>(&r));
}

}  // namespace

TEST(VolumeArithmetic, StepsClampAndRoundHalvesToEven) {
  EXPECT_EQ(VolumePercentAfterStep(0.97, +8), 100);
  EXPECT_EQ(VolumePercentAfterStep(0.03, -8), 0);
  EXPECT_EQ(VolumePercentAfterStep(0.50, +10), 60);
  EXPECT_EQ(VolumePercentAfterStep(0.125, +8), 20) << "12.5 rounds to 12";
  EXPECT_EQ(VolumePercentAfterStep(0.135, 0), 14) << "13.5 rounds to 14";
  // The speaker mixer's scale on the XP path.
  EXPECT_EQ(VolumePercentAfterStep(32768 / 65535.0, +8), 58);
  EXPECT_EQ(SpeakerValueOfPercent(58), 38010u);
  EXPECT_EQ(SpeakerValueOfPercent(50), 32768u) << "32767.5 rounds to the even neighbour";
  EXPECT_EQ(SpeakerValueOfPercent(100), 65535u);
  EXPECT_EQ(SpeakerValueOfPercent(0), 0u);
  EXPECT_EQ(VolumePercentAfterStep(65535 / 65535.0, +25), 100);
}

TEST(BrightnessArithmetic, PercentOfTheRange) {
  EXPECT_EQ(BrightnessPercent(57, 0, 100), 57);
  EXPECT_EQ(BrightnessPercent(111, 10, 120), 90) << "101 above the minimum counts as 100";
  EXPECT_EQ(BrightnessPercent(112, 10, 120), 92);
  EXPECT_EQ(BrightnessPercent(255, 255, 255), 0) << "an empty range divides by nothing";
  EXPECT_EQ(BrightnessPercent(5, 10, 110), -5) << "truncates toward zero";
}

TEST_F(ActionsTest, StepVolumeOnTheVistaPath) {
  ASSERT_TRUE(IsVista()) << "a default prefix reports 6.1";
  const struct {
    float start;
    int step;
    float expected;
  } cases[] = {{0.97f, +8, 1.00f}, {0.03f, -8, 0.0f}, {0.50f, +10, 0.60f}, {0.125f, +8, 0.20f}, {0.50f, -25, 0.25f}};
  for (const auto& c : cases) {
    SetVolume(c.start);
    Form_Main->StepVolume(c.step);
    EXPECT_FLOAT_EQ(Volume(), c.expected) << c.start << " " << c.step;
    EXPECT_EQ(ICOForm->PictureName(), "IMG_VOL");
    EXPECT_EQ(ICOForm->Level(), std::lround(c.expected * 100)) << "the overlay shows the clamped value";
  }
  EXPECT_TRUE(ICOForm->Showing());
  EXPECT_TRUE(Commands().empty());
}

TEST_F(ActionsTest, BrightnessKeyShowsThePercentAndSendsNothing) {
  SetBrightness(56, 0, 100);
  Form_Main->BrightnessKey();
  EXPECT_EQ(BrightnessLevel, 57) << "an even level above 54 counts one up";
  EXPECT_EQ(Form_Main->TB_Bright->Position(), 57);
  EXPECT_TRUE(Form_Main->BrightBarArmed);
  EXPECT_EQ(ICOForm->PictureName(), "IMG_BRT");
  EXPECT_EQ(ICOForm->Level(), 57);

  SetBrightness(111, 10, 120);
  Form_Main->BrightnessKey();
  EXPECT_EQ(Form_Main->TB_Bright->Position(), 90);
  EXPECT_EQ(ICOForm->Level(), 90);
  // The bar's change handler runs for a position set by code too and takes
  // the position as a percent of the range: 10 + 110 * 90 div 100.
  EXPECT_EQ(BrightnessLevel, 109);

  sim::Machine()->failing[0x84] = 1;  // reads -1: level, range 255
  BrightnessMin = BrightnessMax = 255;
  Form_Main->BrightnessKey();
  EXPECT_EQ(Form_Main->TB_Bright->Position(), 0);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(ActionsTest, DisplayCycleStepsThroughTheFourModes) {
  const struct {
    std::string command, picture;
    bool lcd, crt;
  } steps[] = {{"0x0485", "IMG_LCD", true, false},
               {"0x0185", "IMG_CRT", false, true},
               {"0x0093", "IMG_CLD", false, true},
               {"0x0585", "IMG_CAL", true, true}};
  for (const auto& s : steps) {
    ClearLog();
    Form_Main->CycleDisplayMode();
    EXPECT_EQ(ICOForm->PictureName(), s.picture);
    EXPECT_TRUE(Commands().empty()) << "applied only when the timer runs";
    Form_Main->ApplyDisplayModeTimerProc();
    EXPECT_EQ(Commands(), std::vector<std::string>{s.command});
    EXPECT_EQ(Form_Main->CheckBox_LCD->Checked(), s.lcd) << s.command;
    EXPECT_EQ(Form_Main->CheckBox_CRT->Checked(), s.crt) << s.command;
    EXPECT_EQ(Form_Main->BacklightOffByUs, s.command == "0x0093");
    Form_Main->BacklightOffByUs = false;
  }
  EXPECT_EQ(Form_Main->DisplayCycleState, 4);
}

TEST_F(ActionsTest, AQuickSeriesOfDisplayPressesAppliesOnlyTheLast) {
  testsupport::StepClock steps;
  Form_Main->CycleDisplayMode();
  Form_Main->CycleDisplayMode();
  steps.Advance(500);
  Form_Main->CycleDisplayMode();
  steps.Advance(1499);
  EXPECT_TRUE(Commands().empty()) << "each press restarts the 1.5 s";
  steps.Advance(1);
  EXPECT_EQ(Commands(), std::vector<std::string>{"0x0093"});
  EXPECT_TRUE(Form_Main->BacklightOffByUs);
}

TEST_F(ActionsTest, RotationDimsChangesTheModeAndRampsBackUp) {
  FakeDisplay display;
  seams::ScopedSeam<seams::Display> useDisplay(display);
  SetBrightness(7, 0, 100);
  const DWORD start = GetTickCount();
  Form_Main->Rotate(1);
  const DWORD end = GetTickCount();

  const std::vector<std::string> expected = {LevelCommand(6), LevelCommand(5), LevelCommand(4), LevelCommand(3),
                                             LevelCommand(2), LevelCommand(1), LevelCommand(0), "0x0093",
                                             LevelCommand(2), LevelCommand(4), LevelCommand(6), LevelCommand(8)};
  EXPECT_EQ(Commands(), expected) << "an odd gap ends one above the saved level";
  ASSERT_EQ(display.changes.size(), 1u);
  EXPECT_EQ(display.commandsBeforeChange[0], 8u) << "the mode changes between the ramps";
  EXPECT_EQ(display.flags[0], static_cast<DWORD>(CDS_UPDATEREGISTRY));
  EXPECT_EQ(display.changes[0].dmDisplayOrientation, 1u);
  EXPECT_EQ(display.changes[0].dmPelsWidth, 768u);
  EXPECT_EQ(display.changes[0].dmPelsHeight, 1024u);
  EXPECT_GE(end - display.changeTick, 300u + 4 * 10u - 20u) << "300 ms, then 10 ms before each step";
  EXPECT_GE(end - start, 330u);

  // Portrait to portrait keeps the size; the orientation already set does nothing.
  display.current = display.changes[0];
  ClearLog();
  Form_Main->Rotate(3);
  ASSERT_EQ(display.changes.size(), 2u);
  EXPECT_EQ(display.changes[1].dmPelsWidth, 768u);
  EXPECT_EQ(display.changes[1].dmDisplayOrientation, 3u);
  display.current = display.changes[1];
  ClearLog();
  Form_Main->Rotate(3);
  EXPECT_EQ(display.changes.size(), 2u);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(ActionsTest, TheRampUpNeverPassesTheHighestLevel) {
  SetBrightness(100, 10, 110);
  BrightnessLevel = 255;  // what a failed read saves
  Form_Main->brightlessup();
  EXPECT_EQ(Commands(), (std::vector<std::string>{LevelCommand(102), LevelCommand(104), LevelCommand(106),
                                                  LevelCommand(108), LevelCommand(110)}));
  ClearLog();
  SetBrightness(109, 10, 110);
  Form_Main->brightlessup();
  EXPECT_EQ(Commands(), std::vector<std::string>{LevelCommand(110)});
}

TEST_F(ActionsTest, MaxResolutionIsAModeThatExists) {
  FakeDisplay display;
  seams::ScopedSeam<seams::Display> useDisplay(display);
  display.modes = {{800, 600}, {1280, 1024}, {1600, 900}, {1024, 768}};
  Form_Main->GetMaxResolution();
  EXPECT_EQ(Form_Main->MaxScreenWidth, 1600u);
  EXPECT_EQ(Form_Main->MaxScreenHeight, 900u);
  display.modes = {{1600, 900}, {1600, 1200}, {640, 480}};
  Form_Main->GetMaxResolution();
  EXPECT_EQ(Form_Main->MaxScreenHeight, 1200u);

  ASSERT_NE(GetSystemMetrics(SM_CXSCREEN), 640);
  Form_Main->ResolutionKey();
  ASSERT_EQ(display.changes.size(), 1u);
  EXPECT_EQ(display.changes[0].dmPelsWidth, 640u);
  EXPECT_EQ(display.changes[0].dmPelsHeight, 480u);
}

TEST_F(ActionsTest, PowerPlanTogglesOnTheVistaPath) {
  SetBrightness(50, 10, 110);
  S_Highp = "fast";
  S_Lowp = "slow";
  const struct {
    int from, to;
    std::string level, picture, text;
    int item;
  } cases[] = {{2, 3, LevelCommand(110), "IMG_PRH", "fast", 1}, {3, 2, LevelCommand(10), "IMG_PRL", "slow", 0},
               {1, 2, LevelCommand(10), "IMG_PRL", "slow", 0}, {-1, 2, LevelCommand(10), "IMG_PRL", "slow", 0}};
  for (const auto& c : cases) {
    SetSimPlan(c.from);
    ClearLog();
    Form_Main->TogglePowerPlan();
    EXPECT_EQ(VistaPlan(), c.to) << c.from;
    EXPECT_EQ(Commands(), std::vector<std::string>{c.level}) << c.from;
    EXPECT_EQ(Form_Main->RG_PWR->ItemIndex(), c.item) << c.from;
    EXPECT_EQ(ICOForm->PictureName(), c.picture) << c.from;
    EXPECT_EQ(ICOForm->Text(), c.text) << c.from;
  }
}

// A failed read of the backlight range leaves it unknown (both ends 255): no
// level may be computed from it, and it is read again at its next use.
TEST_F(ActionsTest, AnUnknownBacklightRangeSendsNoLevel) {
  FakeClock clock;
  seams::ScopedSeam<seams::Clock> useClock(clock);
  OnBattery battery;
  seams::ScopedSeam<seams::Battery> useBattery(battery);
  clock.now = 100000;
  clock.lastInput = 100000 - 61000;
  const struct {
    const char* action;
    std::function<void()> run;
    std::string level;  // once the device answers with 20..120
  } actions[] = {
      {"bar", [] { Form_Main->TB_Bright->SetPosition(0), Form_Main->TB_Bright->SetPosition(50); }, LevelCommand(70)},
      {"OK", [] { Form_Main->RG_PWR->SetItemIndex(1); Form_Main->BT_PWROK->Click(); }, LevelCommand(120)},
      {"toggle", [] { SetSimPlan(3); Form_Main->TogglePowerPlan(); }, LevelCommand(20)},
      {"idle", [] { Form_Main->Timer_Powersave->OnTimer(nullptr); }, LevelCommand(20)},
  };
  for (const auto& a : actions) {
    SCOPED_TRACE(a.action);
    Form_Main->Timer_Powersave->SetEnabled(true);
    Form_Main->Timer_PowerResume->SetEnabled(false);
    BrightnessMin = BrightnessMax = 255;
    sim::Machine()->failing[0x84] = 1;
    ClearLog();
    a.run();
    EXPECT_TRUE(Commands().empty());
    EXPECT_FALSE(Form_Main->Timer_PowerResume->Enabled()) << "nothing dimmed, nothing to resume";

    SetValue(0x84, sim::BrightnessValue(60, 20, 120));
    a.run();
    EXPECT_EQ(Commands().back(), a.level);
    EXPECT_EQ(BrightnessMin, 20);
    EXPECT_EQ(BrightnessMax, 120);
  }
  Form_Main->Timer_PowerResume->SetEnabled(false);
  Form_Main->Timer_Powersave->SetEnabled(true);
}

// On battery, after a minute without input the backlight goes to the lowest
// level; the first input brings back the level read when dimming began.
TEST_F(ActionsTest, IdleDimmingOnBattery) {
  FakeClock clock;
  seams::ScopedSeam<seams::Clock> useClock(clock);
  OnBattery battery;
  seams::ScopedSeam<seams::Battery> useBattery(battery);
  SetBrightness(70, 20, 120);
  TTimer* save = Form_Main->Timer_Powersave;
  TTimer* resume = Form_Main->Timer_PowerResume;
  clock.now = 200000;
  const struct {
    BYTE ac;
    DWORD idle;
    bool dims;
  } cases[] = {{1, 61000, false}, {0, 60000, false}, {0, 61000, true}, {255, 61000, true}};
  for (const auto& c : cases) {
    SetBrightness(70, 20, 120);
    battery.ac = c.ac;
    clock.lastInput = clock.now - c.idle;
    save->SetEnabled(true);
    resume->SetEnabled(false);
    ClearLog();
    save->OnTimer(nullptr);
    EXPECT_EQ(Commands(), c.dims ? std::vector<std::string>{LevelCommand(20)} : std::vector<std::string>{})
        << int(c.ac) << " " << c.idle;
    EXPECT_EQ(save->Enabled(), !c.dims);
    EXPECT_EQ(resume->Enabled(), c.dims);
  }
  ClearLog();
  resume->OnTimer(nullptr);  // still idle
  EXPECT_TRUE(Commands().empty());
  clock.lastInput = clock.now - 100;  // input
  resume->OnTimer(nullptr);
  EXPECT_EQ(Commands(), std::vector<std::string>{LevelCommand(70)});
  EXPECT_TRUE(save->Enabled());
  EXPECT_FALSE(resume->Enabled());
}

// A rotation event that arrives during another rotation's ramp-up turns the
// display again, and the backlight still comes back to the level saved first.
TEST_F(ActionsTest, ARotationDuringARampKeepsTheSavedLevel) {
  FakeDisplay display;
  seams::ScopedSeam<seams::Display> useDisplay(display);
  SetBrightness(50, 10, 110);
  Form_Main->AutoRotate = true;
  display.onChange = [&] {
    display.current = display.changes.back();
    // The second event comes during the first ramp-up's wait.
    if (display.changes.size() == 1) SetTimer(Form_Main->Handle(), 7, 100, SendOrientation270);
  };
  Form_Main->Rotate(1);
  ASSERT_EQ(display.changes.size(), 2u);
  EXPECT_EQ(display.changes[1].dmDisplayOrientation, 3u);
  EXPECT_EQ(BrightnessLevel, 50);
  EXPECT_EQ(Commands().back(), LevelCommand(50));
  EXPECT_EQ(sim::Machine()->value[0x84] & 0xFF, 50) << "the backlight is back where it was";
}

// ---- Touch slider ----

class SliderTest : public ActionsTest {
 protected:
  void SetUp() override {
    ActionsTest::SetUp();
    S_SliderX = "slide";
    S_Slideron = "on";
    S_Slideroff = "off";
    clock.now = 100000;
  }
  // The slider's timers and its tick count share one time.
  void Touch(int bits, DWORD after = 1000) {
    Advance(after);
    SetValue(0x88, bits);
    Form_Main->SliderEvent();
  }
  void Unlock() {
    for (int bits : {1, 2, 4, 8, 16}) Touch(bits, 100);
  }
  void Advance(DWORD ms) {
    clock.now += ms;
    if (steps) steps->Advance(ms);
  }
  FakeClock clock;
  seams::ScopedSeam<seams::Clock> useClock{clock};
  std::unique_ptr<testsupport::StepClock> steps = std::make_unique<testsupport::StepClock>();
  testsupport::RecordingInput input;
  seams::ScopedSeam<seams::Input> useInput{input};
};

TEST_F(SliderTest, TheSweepUnlocksStepByStep) {
  const int lefts[] = {43, 81, 119, 157};
  int i = 0;
  for (int bits : {1, 2, 4, 8}) {
    Touch(bits, 100);
    EXPECT_EQ(Form_Main->UnlockStep, i + 1);
    EXPECT_EQ(Form_Tip->IMG_TIP->Left(), lefts[i]);
    EXPECT_EQ(Form_Tip->LB_Cont->Caption(), "slide");
    EXPECT_TRUE(IsWindowVisible(Form_Tip->Handle()));
    ++i;
  }
  Touch(2, 100);  // a wrong segment: no harm
  EXPECT_EQ(Form_Main->UnlockStep, 4);
  EXPECT_FALSE(Form_Main->SliderOn);
  Touch(16, 100);
  EXPECT_TRUE(Form_Main->SliderOn);
  EXPECT_FALSE(Form_Main->SliderArmed);
  EXPECT_EQ(Form_Main->UnlockStep, 0);
  EXPECT_EQ(Form_Tip->IMG_TIP->Left(), 5);
  EXPECT_EQ(Form_Tip->LB_Cont->Caption(), "on");
  EXPECT_TRUE(input.Keys().empty()) << "the unlocking touch runs no action";
  Touch(0);
  EXPECT_EQ(Form_Main->SliderPrevBits, 16u) << "id 0x88 reading 0 changes nothing";

  EXPECT_FALSE(Form_Main->SliderArmed);
  Advance(200);
  EXPECT_TRUE(Form_Main->SliderArmed) << "armed 1.2 s after unlocking";

  Form_Main->SliderOffTimerProc();  // 30 s without a touch
  EXPECT_FALSE(Form_Main->SliderOn);
  EXPECT_FALSE(Form_Main->SliderArmed);
  EXPECT_EQ(Form_Tip->IMG_TIP->Left(), 10);
  EXPECT_EQ(Form_Tip->LB_Cont->Caption(), "off");
}

TEST_F(SliderTest, AnUnfinishedSweepStartsAgainAfterHalfASecond) {
  steps.reset();  // in real time
  Touch(1, 100);
  Touch(2, 100);
  WaitPumping(700);
  EXPECT_EQ(Form_Main->UnlockStep, 0);
  EXPECT_EQ(Form_Tip->IMG_TIP->Left(), 10);
  Touch(4, 100);
  EXPECT_EQ(Form_Main->UnlockStep, 0) << "4 does not start a sweep";
  Touch(16, 100);
  EXPECT_FALSE(Form_Main->SliderOn);
}

TEST_F(SliderTest, SegmentActionsOnceArmed) {
  Unlock();
  Touch(1);
  EXPECT_TRUE(input.Keys().empty()) << "before the arm delay nothing runs";
  Form_Main->SliderArmTimerProc();
  SetSimPlan(2);
  SetBrightness(50, 10, 110);
  input.Clear();
  Touch(1);  // player up: nothing for another program
  Touch(4);  // player down: nothing either
  EXPECT_TRUE(input.Keys().empty());
  Touch(2);
  Touch(2);  // holding a segment repeats its action
  Touch(16);
  const auto k = testsupport::InputEvent::Key;
  EXPECT_EQ(input.Keys(), (std::vector<testsupport::InputEvent>{k(VK_LAUNCH_MEDIA_SELECT, 0, 0),
                                                                 k(VK_LAUNCH_MEDIA_SELECT, 0, 0),
                                                                 k(VK_BROWSER_HOME, 0, 0)}));
  Touch(8);
  EXPECT_EQ(VistaPlan(), 3);
  input.Clear();
  Touch(3);  // two segments at once
  EXPECT_TRUE(input.Keys().empty());
}

TEST_F(SliderTest, FastSlidesStepTheVolumeAndHoldTheActionsOff) {
  Unlock();
  Form_Main->SliderArmTimerProc();
  SetVolume(0.25f);
  Touch(1);
  Touch(2, 100);
  EXPECT_FLOAT_EQ(Volume(), 0.50f);
  Touch(4, 200);
  EXPECT_FLOAT_EQ(Volume(), 0.75f);
  EXPECT_TRUE(Form_Main->SliderSwipe);
  Touch(2, 100);
  EXPECT_FLOAT_EQ(Volume(), 0.50f) << "sliding back lowers it";
  EXPECT_TRUE(input.Keys().empty()) << "no segment action during a swipe";
  Touch(4, 300);
  EXPECT_FLOAT_EQ(Volume(), 0.50f) << "300 ms is no swipe";

  Advance(1199);  // 1.5 s after the last fast move
  EXPECT_TRUE(Form_Main->SliderSwipe);
  Advance(1);
  EXPECT_FALSE(Form_Main->SliderSwipe);
  Touch(2, 1000);
  EXPECT_EQ(input.Keys().size(), 1u) << "actions run again after the swipe";
}

TEST_F(SliderTest, SwipeTimingIsATickDifference) {
  Unlock();
  Form_Main->SliderArmTimerProc();
  SetVolume(0.25f);
  clock.now = 0xFFFFFF9C;  // 100 ms before the counter wraps
  Touch(1, 0);
  Touch(2, 200);
  EXPECT_FLOAT_EQ(Volume(), 0.50f) << "200 ms across the wrap is a swipe";
  Form_Main->SwipeEndTimerProc();
  Touch(4, 60100);
  EXPECT_FLOAT_EQ(Volume(), 0.50f) << "a minute and 100 ms apart is no swipe";
}

TEST_F(SliderTest, RunHotkeyProgramFallsBackToKeys) {
  Form_Main->RunHotkeyProgram(1);
  Form_Main->RunHotkeyProgram(2);
  Form_Main->RunHotkeyProgram(3);
  const auto k = testsupport::InputEvent::Key;
  EXPECT_EQ(input.Keys(), (std::vector<testsupport::InputEvent>{k(VK_LAUNCH_MEDIA_SELECT, 0, 0),
                                                                 k(VK_BROWSER_HOME, 0, 0)}));
}
