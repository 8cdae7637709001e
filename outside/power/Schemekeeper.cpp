// Stand-in for the XP power-plan library: the simulated machine's scheme.
#include <windows.h>

#include "SimState.h"

extern "C" {

int __stdcall GetDefaultPwrScheme() {
  try {
    return sim::Machine()->xpScheme;
  } catch (...) {
    return -1;
  }
}

BOOL __stdcall SetDefaultPwrScheme(int scheme) {
  try {
    sim::Machine()->xpScheme = scheme;
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

}  // extern "C"
