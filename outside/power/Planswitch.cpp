// Stand-in for the Vista power-plan library: the simulated machine's plan.
#include <windows.h>

#include "SimState.h"

extern "C" {

int __stdcall MyGetPowerScheme() {
  try {
    return sim::Machine()->vistaPlan;
  } catch (...) {
    return -1;
  }
}

void __stdcall MySetPowerScheme(int plan) {
  try {
    sim::Machine()->vistaPlan = plan;
  } catch (...) {
  }
}

}  // extern "C"
