#include "Sound.h"

#include <mmsystem.h>

namespace seams {
namespace {

class RealSound : public Sound {
  void PlayFile(const std::string& path, UINT flags) override { sndPlaySoundA(path.c_str(), flags); }
  void Beep(DWORD frequency, DWORD ms) override { ::Beep(frequency, ms); }
};

}  // namespace

template <>
Sound& Seam<Sound>::Real() {
  static RealSound real;
  return real;
}

}  // namespace seams
