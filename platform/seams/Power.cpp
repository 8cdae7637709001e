#include "Power.h"

#include <powrprof.h>

namespace seams {
namespace {

class RealPower : public Power {
  BOOL Shutdown(UINT flags) override { return ExitWindowsEx(flags, 0); }
  BOOL SetSuspendState(BOOL hibernate, BOOL force, BOOL disableWake) override {
    return ::SetSuspendState(hibernate != FALSE, force != FALSE, disableWake != FALSE);
  }
  BOOL SetSystemPowerState(BOOL suspend, BOOL force) override { return ::SetSystemPowerState(suspend, force); }
};

}  // namespace

template <>
Power& Seam<Power>::Real() {
  static RealPower real;
  return real;
}

}  // namespace seams
