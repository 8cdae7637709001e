#include "Unit_Mixer.h"

#include "MixerLine.h"

namespace {
MixerLine speaker;
}

int OpenSpeakerMixer(int kind) {
  return static_cast<int>(
      speaker.Open(kind == 1 ? MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT : MIXERLINE_COMPONENTTYPE_DST_SPEAKERS));
}
DWORD GetSpeakerVolume() { return speaker.GetVolume(); }
void SetSpeakerVolume(DWORD value) { speaker.SetVolume(value); }
bool GetSpeakerMute() { return speaker.GetMute(); }
void SetSpeakerMute(bool on) { speaker.SetMute(on); }
void CloseSpeakerMixer() { speaker.Close(); }
