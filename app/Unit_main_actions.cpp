// Volume, brightness, display output, rotation, resolution and power plan;
// the touch slider and the hot-key programs.
#include "Unit_main.h"

void TForm_Main::StepVolume(int) {}
void TForm_Main::BrightnessKey() {}
void TForm_Main::CycleDisplayMode() {}
void TForm_Main::ApplyDisplayModeTimerProc() {}
void TForm_Main::Rotate(int) {}
void TForm_Main::brightlessdown() {}
void TForm_Main::brightlessup() {}
void TForm_Main::ResolutionKey() {}
void TForm_Main::GetMaxResolution() {}
void TForm_Main::TogglePowerPlan() {}
void TForm_Main::SliderEvent() {}
void TForm_Main::RunHotkeyProgram(int) {}
void TForm_Main::SliderArmTimerProc() {}
void TForm_Main::SliderOffTimerProc() {}
void TForm_Main::SliderStepResetTimerProc() {}
void TForm_Main::SwipeEndTimerProc() {}
