// Volume, brightness, display output, rotation, resolution and power plan;
// the touch slider and the hot-key programs.
#include <cmath>

#include "CorvelAcpi.h"
#include "ICOShow.h"
#include "OutsideLibraries.h"
#include "Unit_Mixer.h"
#include "Unit_Tips.h"
#include "Unit_global.h"
#include "Unit_ini.h"
#include "Unit_main.h"
#include "seams/System.h"

namespace {

// Halves go to the even neighbour (the current rounding mode).
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

int ClampPercent(int v) { return v < 0 ? 0 : v > 100 ? 100 : v; }

int BrightnessLevelNow() { return GetAcpiValue(acpi::AcpiBrightness) & 0xFF; }

}  // namespace

int VolumePercentAfterStep(double fraction, int step) { return ClampPercent(RoundEven(fraction * 100.0) + step); }

DWORD SpeakerValueOfPercent(int percent) { return static_cast<DWORD>(RoundEven(percent * 65535.0 / 100.0)); }

int BrightnessPercent(int level, int lowest, int highest) {
  int d = level - lowest;
  if (d == 101) d = 100;
  // An empty range (a failed read gives 255..255) has no percentage.
  if (highest == lowest) return 0;
  return d * 100 / (highest - lowest);
}

void TForm_Main::StepVolume(int step) {
  int v;
  if (IsVista()) {
    v = VolumePercentAfterStep(GetVistaVolume(), step);
    SetVistaVolume(static_cast<float>(v / 100.0));
  } else {
    v = VolumePercentAfterStep(GetSpeakerVolume() / 65535.0, step);
    SetSpeakerVolume(SpeakerValueOfPercent(v));
  }
  ICOForm->ShowIconLevel("IMG_VOL", v);
}

void TForm_Main::BrightnessKey() {
  int l = BrightnessLevelNow();
  if (l > 54 && l % 2 == 0) ++l;
  BrightnessLevel = l;
  BacklightRangeKnown();  // read again if it was not known
  const int pct = BrightnessPercent(l, BrightnessMin, BrightnessMax);
  BrightBarArmed = false;
  TB_Bright->SetPosition(pct);
  BrightBarArmed = true;
  ICOForm->ShowIconLevel("IMG_BRT", pct);
}

void TForm_Main::CycleDisplayMode() {
  switch (DisplayCycleState) {
    case 4: DisplayMode = acpi::DisplayLcd; DisplayCycleState = 1; break;
    case 1: DisplayMode = acpi::DisplayCrt; DisplayCycleState = 0; break;
    case 0: DisplayMode = 0; DisplayCycleState = 5; break;
    case 5: DisplayMode = acpi::DisplayBoth; DisplayCycleState = 4; break;
    default: break;
  }
  switch (DisplayMode) {
    case 0: ICOForm->ShowIconText("IMG_CLD", ""); break;
    case acpi::DisplayCrt:
      ICOForm->ShowIconText("IMG_CRT", "");
      CheckBox_LCD->SetChecked(false);
      CheckBox_CRT->SetChecked(true);
      break;
    case acpi::DisplayLcd:
      ICOForm->ShowIconText("IMG_LCD", "");
      CheckBox_LCD->SetChecked(true);
      CheckBox_CRT->SetChecked(false);
      break;
    case acpi::DisplayBoth:
      ICOForm->ShowIconText("IMG_CAL", "");
      CheckBox_LCD->SetChecked(true);
      CheckBox_CRT->SetChecked(true);
      break;
    default: break;
  }
  // Only the last mode of a quick series is applied.
  applyDisplayTimer_.Start(1500);
}

void TForm_Main::ApplyDisplayModeTimerProc() {
  applyDisplayTimer_.Stop();
  if (DisplayMode == 0) {
    acpi::Send(acpi::AcpiBacklightOff);
    BacklightOffByUs = true;
  } else {
    acpi::Send(acpi::AcpiDisplayOutput, DisplayMode);
  }
}

void TForm_Main::Rotate(int orientation) {
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  if (!seams::display().EnumSettings(ENUM_CURRENT_SETTINGS, mode)) return;
  const int current = static_cast<int>(mode.dmDisplayOrientation);
  if (current == orientation) return;
  struct Running {
    int& depth;
    explicit Running(int& d) : depth(++d) {}
    ~Running() { --depth; }
  } running(rotationDepth_);
  brightlessdown();
  const bool currentLandscape = current % 2 == 0, targetLandscape = orientation % 2 == 0;
  if (currentLandscape != targetLandscape) std::swap(mode.dmPelsWidth, mode.dmPelsHeight);
  mode.dmDisplayOrientation = static_cast<DWORD>(orientation);
  seams::display().ChangeSettings(&mode, CDS_UPDATEREGISTRY);
  brightlessup();
}

void TForm_Main::brightlessdown() {
  const int now = BrightnessLevelNow();
  // A rotation arriving during another one's ramp keeps the level that one
  // saved: the mid-ramp level would dim the backlight for good.
  if (rotationDepth_ <= 1) BrightnessLevel = now;
  for (int l = now - 1; l >= 0; --l) acpi::Send(acpi::AcpiBrightness, l);
  acpi::Send(acpi::AcpiBacklightOff);
}

void TForm_Main::brightlessup() {
  WaitPumping(300);
  int l = BrightnessLevelNow();
  // Never beyond the panel's highest level: a saved 255 (a failed read) would
  // otherwise wrap to a dark backlight. An unknown range stops nothing short.
  const int highest = BacklightRangeKnown() ? BrightnessMax : 0xFF;
  while (l < BrightnessLevel) {
    int next = l + 2;
    if (next > highest) next = highest;
    if (next <= l) break;
    l = next;
    WaitPumping(10);
    acpi::Send(acpi::AcpiBrightness, l & 0xFF);
  }
}

void TForm_Main::ResolutionKey() {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  if (h > w) return;
  GetMaxResolution();
  if (w != 640)
    SetResolution(640, 480);
  else
    SetResolution(static_cast<WORD>(MaxScreenWidth), static_cast<WORD>(MaxScreenHeight));
}

void TForm_Main::GetMaxResolution() {
  MaxScreenWidth = static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN));
  MaxScreenHeight = static_cast<DWORD>(GetSystemMetrics(SM_CYSCREEN));
  // The largest mode by width, then height: a size that exists, never the
  // width of one mode with the height of another.
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  for (DWORD i = 0; seams::display().EnumSettings(i, mode); ++i) {
    if (mode.dmPelsWidth > MaxScreenWidth || (mode.dmPelsWidth == MaxScreenWidth && mode.dmPelsHeight > MaxScreenHeight)) {
      MaxScreenWidth = mode.dmPelsWidth;
      MaxScreenHeight = mode.dmPelsHeight;
    }
  }
}

void TForm_Main::TogglePowerPlan() {
  bool high;
  if (IsVista()) {
    high = GetVistaPlan() == 2;
    SetVistaPlan(high ? 3 : 2);
  } else {
    high = GetDefaultPwrScheme() == 1;
    SetDefaultPwrScheme(high ? 3 : 1);
  }
  ICOForm->ShowIconText(high ? "IMG_PRH" : "IMG_PRL", high ? S_Highp : S_Lowp);
  if (BacklightRangeKnown()) acpi::Send(acpi::AcpiBrightness, high ? BrightnessMax : BrightnessMin);
  RG_PWR->SetItemIndex(high ? 1 : 0);
}

// ---- Touch slider ----

void TForm_Main::SliderEvent() {
  SliderBits = static_cast<DWORD>(GetAcpiValue(acpi::AcpiSlider));
  if (SliderBits == 0) return;
  // A monotonic difference: seconds-of-minute arithmetic would take moves a
  // whole number of minutes apart for a swipe.
  const DWORD now = seams::clock().TickCount();
  const DWORD elapsed = now - SliderLastMove;

  if (!SliderOn) {
    static const DWORD sweep[] = {1, 2, 4, 8};
    if (UnlockStep < 4) {
      if (SliderBits == sweep[UnlockStep]) ++UnlockStep;
      Form_Tip->LB_Cont->SetCaption(S_SliderX);
    } else if (SliderBits == 16) {
      UnlockStep = 0;
      SliderOn = true;
      Form_Tip->LB_Cont->SetCaption(S_Slideron);
      sliderArmTimer_.Start(1200);
    }
    Form_Tip->IMG_TIP->SetLeft(UnlockStep * 38 + 5);
    Form_Tip->FormShow(Form_Tip);
    sliderStepResetTimer_.Start(500);
  }
  if (SliderOn) sliderOffTimer_.Start(30000);

  if (SliderBits != SliderPrevBits && SliderOn && SliderArmed) {
    if (elapsed < 250) {
      SliderSwipe = true;
      swipeEndTimer_.Start(1500);
      StepVolume(SliderBits > SliderPrevBits ? +25 : -25);
    }
    SliderLastMove = now;
  }

  if (!SliderSwipe && SliderOn && SliderArmed) {
    switch (SliderBits) {
      case 1: PlayerUpKey(); break;
      case 2: PlayerPlayKey(); break;
      case 4: PlayerDownKey(); break;
      case 8: TogglePowerPlan(); break;
      case 16: RunHotkeyProgram(2); break;
      default: break;  // two segments at once
    }
  }
  SliderPrevBits = SliderBits;
}

void TForm_Main::SliderArmTimerProc() {
  sliderArmTimer_.Stop();
  SliderArmed = true;
}

void TForm_Main::SliderOffTimerProc() {
  sliderOffTimer_.Stop();
  SliderOn = false;
  SliderArmed = false;
  Form_Tip->IMG_TIP->SetLeft(10);
  Form_Tip->LB_Cont->SetCaption(S_Slideroff);
  Form_Tip->FormShow(Form_Tip);
}

void TForm_Main::SliderStepResetTimerProc() {
  sliderStepResetTimer_.Stop();
  UnlockStep = 0;
  if (!SliderOn) Form_Tip->IMG_TIP->SetLeft(10);
}

void TForm_Main::SwipeEndTimerProc() {
  swipeEndTimer_.Stop();
  SliderSwipe = false;
}

void TForm_Main::RunHotkeyProgram(int n) {
  TEdit* field;
  BYTE fallback;
  if (n == 1) {
    field = Edit_IRH;
    fallback = VK_LAUNCH_MEDIA_SELECT;
  } else if (n == 2) {
    field = Edit_SDH;
    fallback = VK_BROWSER_HOME;
  } else {
    return;
  }
  const std::string program = field->Text();
  if (program.empty())
    SendKeys({{fallback, KeyStroke::d}});  // a key-down only
  else
    ExeC(program);
}
