// Stand-in for the driver-installation library: records the request in the
// simulated machine, then asks the platform's device installer to update the
// driver of a present device with that hardware id (there is none under
// Wine, so nothing more happens there).
#include <windows.h>

#include <cstdio>

#include "SimState.h"

namespace {

using UpdateDriverProc = BOOL(WINAPI*)(HWND, LPCSTR, LPCSTR, DWORD, PBOOL);

BOOL AskPlatform(const char* inf, const char* hardwareId) {
  HMODULE newdev = LoadLibraryA("newdev.dll");
  if (!newdev) return FALSE;
  auto update = reinterpret_cast<UpdateDriverProc>(GetProcAddress(newdev, "UpdateDriverForPlugAndPlayDevicesA"));
  BOOL reboot = FALSE;
  const BOOL ok = update && update(nullptr, hardwareId, inf, 0, &reboot);
  FreeLibrary(newdev);
  return ok;
}

}  // namespace

extern "C" BOOL __stdcall Fitwright(const char* inf, const char* hardwareId, int flags) {
  if (!inf || !hardwareId) return FALSE;
  try {
    sim::Machine m;
    ++m->driverCount;
    snprintf(m->driverInf, sizeof m->driverInf, "%s", inf);
    snprintf(m->driverHwid, sizeof m->driverHwid, "%s", hardwareId);
    m->driverFlag = flags;
    m.Log("driver");
  } catch (...) {
  }
  return AskPlatform(inf, hardwareId);
}
