// Seams for display settings, idle time and the shell.
#pragma once
#include <windows.h>

#include <string>

#include "Seam.h"

namespace seams {

class Display {
 public:
  virtual ~Display() = default;
  virtual BOOL EnumSettings(DWORD modeNum, DEVMODEA& mode) = 0;
  virtual LONG ChangeSettings(DEVMODEA* mode, DWORD flags) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DWORD TickCount() = 0;
  virtual BOOL LastInputInfo(LASTINPUTINFO& info) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecute "open" of a document or program.
  virtual void Open(const std::string& path, int show) = 0;
};

template <> Display& Seam<Display>::Real();
template <> Clock& Seam<Clock>::Real();
template <> Shell& Seam<Shell>::Real();

inline Display& display() { return Seam<Display>::Get(); }
inline Clock& clock() { return Seam<Clock>::Get(); }
inline Shell& shell() { return Seam<Shell>::Get(); }

}  // namespace seams
