// The speaker mixer: master volume and mute on the XP path.
#pragma once
#include <windows.h>

// kind 0: the speakers destination line; 1: the wave-out source line.
int OpenSpeakerMixer(int kind);
DWORD GetSpeakerVolume();
void SetSpeakerVolume(DWORD value);
bool GetSpeakerMute();
void SetSpeakerMute(bool on);
void CloseSpeakerMixer();
