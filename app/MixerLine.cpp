#include "MixerLine.h"

#include "seams/Mixer.h"

MMRESULT MixerLine::Open(DWORD componentType, HWND callbackWindow) {
  Close();
  const UINT devices = seams::mixer().GetNumDevs();
  if (devices == 0) return static_cast<MMRESULT>(devices - 1);
  MMRESULT status = callbackWindow ? seams::mixer().Open(&mixer_, 0, reinterpret_cast<DWORD_PTR>(callbackWindow),
                                                         CALLBACK_WINDOW | MIXER_OBJECTF_MIXER)
                                   : seams::mixer().Open(&mixer_, 0, 0, MIXER_OBJECTF_MIXER);
  if (status != MMSYSERR_NOERROR) {
    mixer_ = nullptr;
    return status;
  }
  MIXERLINEA line = {};
  line.cbStruct = sizeof line;
  line.dwComponentType = componentType;
  status = seams::mixer().GetLineInfo(mixer_, line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE);
  if (status != MMSYSERR_NOERROR) return status;
  volumeFound_ = FindControl(line.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME, volume_, status);
  muteFound_ = FindControl(line.dwLineID, MIXERCONTROL_CONTROLTYPE_MUTE, mute_, status);
  return status;
}

bool MixerLine::FindControl(DWORD lineId, DWORD type, MIXERCONTROLA& control, MMRESULT& status) const {
  MIXERLINECONTROLSA controls = {};
  controls.cbStruct = sizeof controls;
  controls.dwLineID = lineId;
  controls.dwControlType = type;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof control;
  controls.pamxctrl = &control;
  status = seams::mixer().GetLineControls(mixer_, controls, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE);
  return status == MMSYSERR_NOERROR;
}

void MixerLine::Close() {
  if (mixer_) seams::mixer().Close(mixer_);
  mixer_ = nullptr;
  volumeFound_ = muteFound_ = false;
  volume_ = mute_ = {};
}

namespace {

// One channel, one 32-bit value: every control is read and written alike.
MIXERCONTROLDETAILS Details(DWORD controlId, DWORD& value) {
  MIXERCONTROLDETAILS details = {};
  details.cbStruct = sizeof details;
  details.dwControlID = controlId;
  details.cChannels = 1;
  details.cbDetails = sizeof value;
  details.paDetails = &value;
  return details;
}

}  // namespace

bool MixerLine::Read(DWORD controlId, DWORD& value) const {
  if (!mixer_) return false;
  MIXERCONTROLDETAILS details = Details(controlId, value);
  return seams::mixer().GetControlDetails(mixer_, details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) ==
         MMSYSERR_NOERROR;
}

void MixerLine::Write(DWORD controlId, DWORD value) const {
  if (!mixer_) return;
  MIXERCONTROLDETAILS details = Details(controlId, value);
  seams::mixer().SetControlDetails(mixer_, details, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

DWORD MixerLine::GetVolume() const {
  DWORD v = 0;
  return volumeFound_ && Read(volume_.dwControlID, v) ? v : 0;
}

void MixerLine::SetVolume(DWORD value) const {
  if (volumeFound_) Write(volume_.dwControlID, value);
}

bool MixerLine::GetMute() const { return muteFound_ && GetBool(mute_.dwControlID); }

void MixerLine::SetMute(bool on) const {
  if (muteFound_) SetBool(mute_.dwControlID, on);
}

bool MixerLine::GetBool(DWORD controlId) const {
  DWORD v = 0;
  return Read(controlId, v) && v != 0;
}

void MixerLine::SetBool(DWORD controlId, bool on) const { Write(controlId, on ? 1 : 0); }
