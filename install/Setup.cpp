// Setup: has the driver-installation library install the ACPI device's
// driver from the information file beside this program.
#include <windows.h>

#include <string>

extern "C" BOOL __stdcall Fitwright(const char* inf, const char* hardwareId, int flags);

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  folder.erase(folder.find_last_of('\\') + 1);
  // The folder keeps its backslash; the platform accepts the doubled one.
  const std::string inf = folder + "\\CorvelAcpi.inf";
  Fitwright(inf.c_str(), "*CorvelACPI01", 0);
  return 0;
}
