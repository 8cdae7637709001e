// Seam for the multimedia mixer: this machine has no microphone line, so
// tests play one.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include "Seam.h"

namespace seams {

class Mixer {
 public:
  virtual ~Mixer() = default;
  virtual UINT GetNumDevs() = 0;
  virtual MMRESULT Open(HMIXER* mixer, UINT device, DWORD_PTR callback, DWORD flags) = 0;
  virtual MMRESULT Close(HMIXER mixer) = 0;
  virtual MMRESULT GetLineInfo(HMIXER mixer, MIXERLINEA& line, DWORD flags) = 0;
  virtual MMRESULT GetLineControls(HMIXER mixer, MIXERLINECONTROLSA& controls, DWORD flags) = 0;
  virtual MMRESULT GetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS& details, DWORD flags) = 0;
  virtual MMRESULT SetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS& details, DWORD flags) = 0;
};

template <> Mixer& Seam<Mixer>::Real();
inline Mixer& mixer() { return Seam<Mixer>::Get(); }

}  // namespace seams
