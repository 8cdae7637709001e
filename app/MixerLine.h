// One line of mixer device 0 with its volume and mute controls: what the
// speaker and microphone mixers share.
#pragma once
#include <windows.h>
#include <mmsystem.h>

class MixerLine {
 public:
  // Opens device 0 (notifying callbackWindow when given) and looks up the
  // line of that component type with its volume and mute controls. Returns
  // the status of the last step, as the callers' results do.
  MMRESULT Open(DWORD componentType, HWND callbackWindow = nullptr);
  void Close();

  DWORD GetVolume() const;
  void SetVolume(DWORD value) const;
  bool GetMute() const;
  void SetMute(bool on) const;

  // Any control of the device by id, read and written as a boolean.
  bool GetBool(DWORD controlId) const;
  void SetBool(DWORD controlId, bool on) const;

  bool HasMute() const { return muteFound_; }
  DWORD MuteControlId() const { return mute_.dwControlID; }

 private:
  bool Read(DWORD controlId, DWORD& value) const;
  void Write(DWORD controlId, DWORD value) const;
  bool FindControl(DWORD lineId, DWORD type, MIXERCONTROLA& control, MMRESULT& status) const;

  HMIXER mixer_ = nullptr;
  MIXERCONTROLA volume_ = {};
  MIXERCONTROLA mute_ = {};
  // Control id 0 is a real control: only a found control is ever written.
  bool volumeFound_ = false;
  bool muteFound_ = false;
};
