#include "InstallSteps.h"

#include "Handles.h"

#include <vector>

#include "WaitPumping.h"

namespace installer {

const EmbeddedFile kEmbeddedFiles[19] = {
    {"CorvelAcpi.inf", Folder::DriverTemp, "INF", "INF"},
    {"CorvelAcpi.sys", Folder::DriverTemp, "SYS", "SYS"},
    {"Fitwright.dll", Folder::DriverTemp, "FITWRIGHT", "DLL"},
    {"Setup.exe", Folder::DriverTemp, "SETUP", "EXE"},
    {"camera.wav", Folder::Res, "CAMERA", "WAV"},
    {"KE.wav", Folder::Res, "KE", "WAV"},
    {"KM.wav", Folder::Res, "KM", "WAV"},
    {"Arrow.ani", Folder::Res, "ARROW", "ANI"},
    {"Config.ini", Folder::Config, "CONFIG", "INI"},
    {"Language_cn.ini", Folder::Config, "LCN", "INI"},
    {"Language_en.ini", Folder::Config, "LEN", "INI"},
    {"Lensbox.exe", Folder::Install, "CAM", "EXE"},
    {"Pavona.exe", Folder::Install, "QVX", "EXE"},
    {"Tiltrix.exe", Folder::Install, "TILTRIX", "EXE"},
    {"Volumebridge.dll", Folder::Install, "VOLUMEBRIDGE", "DLL"},
    {"Schemekeeper.dll", Folder::Install, "SCHEMEKEEPER", "DLL"},
    {"CorvelACPI.dll", Folder::Install, "CORVELACPI", "DLL"},
    {"Iconvault.dll", Folder::Install, "IMAGE", "DLL"},
    {"Planswitch.dll", Folder::Install, "PLANSWITCH", "DLL"},
};

std::string GetTempDir() {
  const DWORD needed = GetTempPathA(0, nullptr);
  if (needed == 0) return {};
  std::vector<char> buf(needed + 1);
  const DWORD n = GetTempPathA(static_cast<DWORD>(buf.size()), buf.data());
  if (n == 0 || n >= buf.size()) return {};
  return std::string(buf.data(), n);
}

std::string InstallRootFromSystemDir(const std::string& systemDir) {
  if (systemDir.size() < 2 || systemDir[1] != ':') return {};
  return systemDir.substr(0, 2) + "\\Program Files\\";
}

namespace {

bool IsRoot(const std::string& dir) {  // dir ends with a backslash
  if (dir == "\\" || (dir.size() == 3 && dir[1] == ':')) return true;
  if (dir.rfind("\\\\", 0) == 0) {  // \\server\share\ is the root of a share
    int parts = 0;
    for (size_t i = 2; i < dir.size(); ++i)
      if (dir[i] == '\\') ++parts;
    return parts <= 2;
  }
  return false;
}

bool IsDots(const char* name) {
  std::string s = name;
  const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
  s = a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
  return s == "." || s == "..";
}

constexpr DWORD kEnumerated = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              0x08 /* volume label */ | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE;

}  // namespace

bool DeleteDirTree(const std::string& folder) {
  if (folder.empty()) return false;
  std::string dir = folder;
  if (dir.back() != '\\') dir += '\\';
  if (IsRoot(dir)) return false;

  WIN32_FIND_DATAA fd;
  if (const ui::FindHandle find(FindFirstFileA((dir + "*.*").c_str(), &fd)); find) {
    do {
      if (IsDots(fd.cFileName)) continue;
      const std::string path = dir + fd.cFileName;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        // A junction's target is someone else's folder: take away the link only.
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) RemoveDirectoryA(path.c_str());
        else DeleteDirTree(path);
      } else if ((fd.dwFileAttributes & ~kEnumerated) == 0 || fd.dwFileAttributes == FILE_ATTRIBUTE_NORMAL) {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(find.get(), &fd));
  }
  RemoveDirectoryA(dir.c_str());
  return true;
}

void EnableLoadDriverPrivilege() {
  HANDLE opened = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) return;
  const ui::KernelHandle token(opened);
  TOKEN_PRIVILEGES tp = {};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueA(nullptr, "SeLoadDriverPrivilege", &tp.Privileges[0].Luid))
    AdjustTokenPrivileges(token.get(), FALSE, &tp, sizeof tp, nullptr, nullptr);
}

void BroadcastClose() {
  const UINT msg = RegisterWindowMessageA(kCloseMessage);
  DWORD_PTR result = 0;
  SendMessageTimeoutA(HWND_BROADCAST, msg, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, 5000, &result);
}

bool RunAndWait(const std::string& path) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string commandLine = path;
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  const ui::KernelHandle thread(pi.hThread), process(pi.hProcess);
  ui::WaitPumping(INFINITE, process.get());
  return true;
}

}  // namespace installer
