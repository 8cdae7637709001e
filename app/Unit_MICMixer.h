// The microphone mixer, watched through a callback window so the main form
// can keep the microphone's mute and the driver's neighbouring switch in step.
#pragma once
#include <windows.h>

// Id of the microphone's mute control; notifications carry it as lParam.
extern DWORD MicMuteControlId;

// Creates the callback window with the given procedure and opens the line.
int OpenMicMixer(WNDPROC callback);
// Whether the microphone line has a mute control (MicMuteControlId is valid).
bool HasMicMute();
bool GetMicMute();
void SetMicMute(bool on);
// The control numbered one below the microphone mute (the driver's switch).
bool GetMicLinkedControl();
void SetMicLinkedControl(bool on);
void CloseMicMixer();
HWND MicMixerWindow();
