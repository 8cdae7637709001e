// Seam for the power calls that must never run in a test: shutting down,
// suspending and hibernating.
#pragma once
#include <windows.h>

#include "Seam.h"

namespace seams {

class Power {
 public:
  virtual ~Power() = default;
  virtual BOOL Shutdown(UINT flags) = 0;                                         // ExitWindowsEx
  virtual BOOL SetSuspendState(BOOL hibernate, BOOL force, BOOL disableWake) = 0;  // powrprof
  virtual BOOL SetSystemPowerState(BOOL suspend, BOOL force) = 0;
};

template <> Power& Seam<Power>::Real();
inline Power& power() { return Seam<Power>::Get(); }

}  // namespace seams
