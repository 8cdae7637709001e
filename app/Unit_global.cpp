#include "Unit_global.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "ExtCtrls.h"
#include "Forms.h"
#include "Handles.h"
#include "Streams.h"
#include "seams/System.h"

std::string Model;
std::string ConfigDir;
std::string ResDir;
std::string KeySoundSetting;
std::string RotationText;
std::string BatteryPercentText;

namespace {

constexpr char kRegistrySection[] = "RegistrySection";
constexpr char kTouchKey[] = "Software\\Microsoft\\Wisp\\Touch";
constexpr char kDontShowKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DontShowMeThisDialogAgain";

// A REG_SZ value as text; missing or of another type reads as empty.
std::string ReadText(HKEY key, const char* name, bool* exists = nullptr) {
  char buf[256] = {};
  DWORD size = sizeof buf - 1, type = 0;
  LONG r = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  if (exists) *exists = r == ERROR_SUCCESS;
  return r == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) ? std::string(buf) : std::string();
}

void WriteText(HKEY key, const char* name, const char* text) {
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
}

// Plan functions of Planswitch.dll, loaded at every call and never freed.
FARPROC PlanSwitchProc(const char* name) {
  HMODULE lib = LoadLibraryA("Planswitch.dll");
  return lib ? GetProcAddress(lib, name) : nullptr;
}

bool SaveBitmapFile(HBITMAP bmp, HDC dc, int width, int height, const std::string& path) {
  BITMAPINFOHEADER bih = {sizeof bih, width, height, 1, 24, BI_RGB};
  const DWORD stride = ((width * 3 + 3) & ~3);
  std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
  if (!GetDIBits(dc, bmp, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS))
    return false;
  BITMAPFILEHEADER bfh = {};
  bfh.bfType = 0x4D42;
  bfh.bfOffBits = sizeof bfh + sizeof bih;
  bfh.bfSize = bfh.bfOffBits + static_cast<DWORD>(pixels.size());
  ui::KernelHandle f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return false;
  DWORD written;
  return WriteFile(f.get(), &bfh, sizeof bfh, &written, nullptr) &&
         WriteFile(f.get(), &bih, sizeof bih, &written, nullptr) &&
         WriteFile(f.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
}

}  // namespace

bool IsVista() { return LOBYTE(LOWORD(GetVersion())) == 6; }

namespace {
StartupPictures* tolerantLoads = nullptr;
}  // namespace

StartupPictures::StartupPictures() : outer_(tolerantLoads) { tolerantLoads = this; }

StartupPictures::~StartupPictures() { tolerantLoads = outer_; }

void StartupPictures::ReportFirstFailure() {
  if (!first_) return;
  try {
    std::rethrow_exception(std::exchange(first_, nullptr));
  } catch (...) {
    ui::HandleException(Application);
  }
}

TIconvaultPicture::TIconvaultPicture(HMODULE library, const std::string& name) : Name(name), library_(library) {
  TResourceStream stream(library, name, RT_RCDATA);
  // The size from the header (signature, then the IHDR chunk first).
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  uint8_t head[24];
  auto number = [&](int at) { return head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3]; };
  if (stream.Read(head, sizeof head) != sizeof head || std::memcmp(head, kSignature, 8) != 0 ||
      std::memcmp(head + 12, "IHDR", 4) != 0 || number(16) <= 0 || number(16) > 16384 || number(20) <= 0 ||
      number(20) > 16384)
    throw Exception("PNG image is not valid");
  width_ = number(16);
  height_ = number(20);
}

void TIconvaultPicture::Draw(TCanvas& c, const RECT& r) {
  if (!decoded_) {
    TResourceStream stream(library_, Name, RT_RCDATA);
    auto picture = std::make_unique<TPngImage>();
    picture->LoadFromStream(stream);
    picture->PremultiplyAlpha();
    decoded_ = std::move(picture);
  }
  decoded_->Transparent = Transparent;
  decoded_->Draw(c, r);
}

void LoadIconvaultPng(TImage* image, const std::string& name) {
  try {
    // Loaded at every call and never freed: the module stays for the process.
    image->Picture().SetGraphic(std::make_unique<TIconvaultPicture>(LoadLibraryA("Iconvault.dll"), name));
  } catch (...) {
    if (!tolerantLoads) throw;
    image->Picture().SetGraphic(nullptr);
    if (!tolerantLoads->first_) tolerantLoads->first_ = std::current_exception();
  }
}

std::string PictureName(TImage* image) {
  const auto* picture = dynamic_cast<const TIconvaultPicture*>(image->Picture().Graphic());
  return picture ? picture->Name : std::string();
}

bool IsHibernateAllowed() {
  ui::Module lib(LoadLibraryA("powrprof.dll"));
  if (!lib) return false;
  using Fn = BOOLEAN(WINAPI*)();
  auto fn = reinterpret_cast<Fn>(GetProcAddress(lib.get(), "IsPwrHibernateAllowed"));
  return fn && fn();
}

bool EnableShutdownPrivilege() {
  HANDLE opened = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened);
  const ui::KernelHandle token(opened);
  TOKEN_PRIVILEGES tp = {};
  if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &tp.Privileges[0].Luid)) return false;
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  // The call also succeeds when the privilege was not granted: only
  // ERROR_SUCCESS means it is held now.
  return AdjustTokenPrivileges(token.get(), FALSE, &tp, sizeof tp, nullptr, nullptr) &&
         GetLastError() == ERROR_SUCCESS;
}

bool SetResolution(WORD width, WORD height) {
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  if (!seams::display().EnumSettings(0, mode)) return false;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmPelsWidth = width;
  mode.dmPelsHeight = height;
  return seams::display().ChangeSettings(&mode, CDS_UPDATEREGISTRY) == DISP_CHANGE_SUCCESSFUL;
}

DWORD GetIdleTime() {
  LASTINPUTINFO info = {sizeof info, 0};
  seams::clock().LastInputInfo(info);
  return seams::clock().TickCount() - info.dwTime;
}

int GetVistaPlan() {
  using Fn = int(WINAPI*)();
  auto fn = reinterpret_cast<Fn>(PlanSwitchProc("MyGetPowerScheme"));
  return fn ? fn() : -1;
}

void SetVistaPlan(int plan) {
  using Fn = void(WINAPI*)(int);
  if (auto fn = reinterpret_cast<Fn>(PlanSwitchProc("MySetPowerScheme"))) fn(plan);
}

void BroadcastSettingChange() {
  DWORD_PTR result;
  SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(kRegistrySection),
                      SMTO_ABORTIFHUNG, 5000, &result);
}

void SuppressScreenCheck() {
  HKEY opened = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kDontShowKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &opened,
                      nullptr) != ERROR_SUCCESS)
    return;
  const ui::RegKey key(opened);
  bool changed = false;
  if (ReadText(key.get(), nullptr) != "0") {
    WriteText(key.get(), nullptr, "0");
    changed = true;
  }
  bool exists = false;
  if (ReadText(key.get(), "ScreenCheck", &exists) != "0" || !exists) {
    WriteText(key.get(), "ScreenCheck", "0");
    changed = true;
  }
  if (changed) BroadcastSettingChange();
}

bool SetTouchGate(int value) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kTouchKey, 0, KEY_WRITE, &opened) == ERROR_SUCCESS) {
    const ui::RegKey key(opened);
    DWORD v = static_cast<DWORD>(value);
    RegSetValueExA(key.get(), "TouchGate", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
  }
  BroadcastSettingChange();
  return true;
}

int GetTouchGate() {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kTouchKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) return 0;
  const ui::RegKey key(opened);
  DWORD v = 0, size = sizeof v, type = 0;
  if (RegQueryValueExA(key.get(), "TouchGate", nullptr, &type, reinterpret_cast<BYTE*>(&v), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return 0;
  return static_cast<int>(v);
}

DWORD FindProcessId(const std::string& exeName) {
  const ui::KernelHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snap) return 0;
  auto upper = [](std::string s) {
    for (char& c : s)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
  };
  const std::string wanted = upper(exeName);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snap.get(), &entry); more; more = Process32Next(snap.get(), &entry))
    if (upper(entry.szExeFile) == wanted) return entry.th32ProcessID;
  return 0;
}

std::string GetSpecialFolder(int csidl) {
  LPITEMIDLIST pidl = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, csidl, &pidl) != S_OK) return "";
  char path[MAX_PATH] = {};
  const bool ok = SHGetPathFromIDListA(pidl, path);
  CoTaskMemFree(pidl);
  return ok ? path : "";
}

std::string ScreenshotFileName(const SYSTEMTIME& t) {
  char name[32];
  snprintf(name, sizeof name, "%04u%02u%02u%02u%02u%02u%u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
           t.wMilliseconds);
  return name;
}

void SaveScreenshot() {
  const std::string folder = GetSpecialFolder(CSIDL_MYPICTURES);
  if (folder.empty()) return;  // never at the drive's root
  const ui::WindowDC screen;
  const int width = GetDeviceCaps(screen.get(), HORZRES), height = GetDeviceCaps(screen.get(), VERTRES);
  const ui::MemoryDC mem(CreateCompatibleDC(screen.get()));
  const ui::GdiObject bmp(CreateCompatibleBitmap(screen.get(), width, height));
  {
    const ui::SelectedObject selected(mem.get(), bmp.get());  // GetDIBits wants it unselected again
    BitBlt(mem.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
  }
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::string path = folder + "\\" + ScreenshotFileName(now) + ".bmp";
  if (SaveBitmapFile(static_cast<HBITMAP>(bmp.get()), mem.get(), width, height, path))
    seams::shell().Open(path, SW_SHOWNORMAL);
}
