// Stand-in for the Vista volume library: the master volume and mute of the
// simulated machine.
#include <windows.h>

#include "SimState.h"

extern "C" {

float __stdcall GetVistaVolume() {
  try {
    return sim::Machine()->volume;
  } catch (...) {
    return 0.0f;
  }
}

BOOL __stdcall SetVistaVolume(float level) {
  try {
    sim::Machine()->volume = level < 0.0f ? 0.0f : level > 1.0f ? 1.0f : level;
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

BOOL __stdcall GetVistaMute() {
  try {
    return sim::Machine()->mute ? TRUE : FALSE;
  } catch (...) {
    return FALSE;
  }
}

BOOL __stdcall SetVistaMute(BOOL on) {
  try {
    sim::Machine()->mute = on ? 1 : 0;
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

}  // extern "C"
