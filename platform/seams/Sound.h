// Seam for sounds: key sounds and the beep.
#pragma once
#include <windows.h>

#include <string>

#include "Seam.h"

namespace seams {

class Sound {
 public:
  virtual ~Sound() = default;
  virtual void PlayFile(const std::string& path, UINT flags) = 0;  // sndPlaySound
  virtual void Beep(DWORD frequency, DWORD ms) = 0;
};

template <> Sound& Seam<Sound>::Real();
inline Sound& sound() { return Seam<Sound>::Get(); }

}  // namespace seams
