#include "System.h"

#include <shellapi.h>

namespace seams {
namespace {

class RealDisplay : public Display {
  BOOL EnumSettings(DWORD modeNum, DEVMODEA& mode) override {
    return EnumDisplaySettingsA(nullptr, modeNum, &mode);
  }
  LONG ChangeSettings(DEVMODEA* mode, DWORD flags) override { return ChangeDisplaySettingsA(mode, flags); }
};

class RealClock : public Clock {
  DWORD TickCount() override { return GetTickCount(); }
  BOOL LastInputInfo(LASTINPUTINFO& info) override { return GetLastInputInfo(&info); }
};

class RealShell : public Shell {
  void Open(const std::string& path, int show) override {
    ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, show);
  }
};

}  // namespace

template <>
Display& Seam<Display>::Real() {
  static RealDisplay real;
  return real;
}
template <>
Clock& Seam<Clock>::Real() {
  static RealClock real;
  return real;
}
template <>
Shell& Seam<Shell>::Real() {
  static RealShell real;
  return real;
}

}  // namespace seams
