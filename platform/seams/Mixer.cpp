#include "Mixer.h"

namespace seams {
namespace {

HMIXEROBJ Object(HMIXER mixer) { return reinterpret_cast<HMIXEROBJ>(mixer); }

class RealMixer : public Mixer {
  UINT GetNumDevs() override { return mixerGetNumDevs(); }
  MMRESULT Open(HMIXER* mixer, UINT device, DWORD_PTR callback, DWORD flags) override {
    return mixerOpen(mixer, device, callback, 0, flags);
  }
  MMRESULT Close(HMIXER mixer) override { return mixerClose(mixer); }
  MMRESULT GetLineInfo(HMIXER mixer, MIXERLINEA& line, DWORD flags) override {
    return mixerGetLineInfoA(Object(mixer), &line, flags);
  }
  MMRESULT GetLineControls(HMIXER mixer, MIXERLINECONTROLSA& controls, DWORD flags) override {
    return mixerGetLineControlsA(Object(mixer), &controls, flags);
  }
  MMRESULT GetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS& details, DWORD flags) override {
    return mixerGetControlDetailsA(Object(mixer), &details, flags);
  }
  MMRESULT SetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS& details, DWORD flags) override {
    return mixerSetControlDetails(Object(mixer), &details, flags);
  }
};

}  // namespace

template <>
Mixer& Seam<Mixer>::Real() {
  static RealMixer real;
  return real;
}

}  // namespace seams
