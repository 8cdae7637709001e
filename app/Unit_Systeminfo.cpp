#include "Unit_Systeminfo.h"

#include <oleauto.h>
#include <wbemcli.h>

#include <cstdio>
#include <stdexcept>

#include "Unit_ini.h"

namespace {

std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

std::string ReadRegText(HKEY key, const char* name) {
  char buf[512] = {};
  DWORD size = sizeof buf - 1, type = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return "";
  return buf;
}

// Text of at most max characters, ended by its first zero.
std::string Bounded(const char* text, size_t max) {
  size_t n = 0;
  while (n < max && text[n]) ++n;
  return std::string(text, n);
}

template <class T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
  T** operator&() { return &p; }
};

struct Variant {
  VARIANT v;
  Variant() { VariantInit(&v); }
  ~Variant() { VariantClear(&v); }
  bool IsNull() const { return v.vt == VT_NULL || v.vt == VT_EMPTY; }
  // Numbers may come as text (64-bit values do) or as integers.
  long long AsInt64() const {
    Variant t;
    if (FAILED(VariantChangeType(&t.v, const_cast<VARIANT*>(&v), 0, VT_I8))) throw std::runtime_error("not a number");
    return t.v.llVal;
  }
  std::string AsText() const {
    Variant t;
    if (FAILED(VariantChangeType(&t.v, const_cast<VARIANT*>(&v), 0, VT_BSTR)) || !t.v.bstrVal) return "";
    const int n = WideCharToMultiByte(CP_ACP, 0, t.v.bstrVal, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, t.v.bstrVal, -1, s.data(), n, nullptr, nullptr);
    return s;
  }
};

struct Bstr {
  BSTR b;
  explicit Bstr(const wchar_t* s) : b(SysAllocString(s)) {}
  ~Bstr() { SysFreeString(b); }
};

struct ComScope {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComScope() {
    if (SUCCEEDED(hr)) CoUninitialize();
  }
};

// Connects to root\CIMV2; failures here reach the caller as exceptions.
void ConnectWmi(ComPtr<IWbemServices>& services) {
  ComPtr<IWbemLocator> locator;
  HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                reinterpret_cast<void**>(&locator));
  if (FAILED(hr)) throw std::runtime_error("Cannot create the WMI locator");
  Bstr ns(L"root\\CIMV2");
  hr = locator->ConnectServer(ns.b, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services);
  if (FAILED(hr)) throw std::runtime_error("Cannot connect to root\\CIMV2");
  CoSetProxyBlanket(services.p, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                    RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

// Runs a query and calls row(object) for each row; throws on any error.
template <class Row>
void Query(IWbemServices* services, const wchar_t* wql, Row row) {
  Bstr lang(L"WQL"), query(wql);
  ComPtr<IEnumWbemClassObject> rows;
  if (FAILED(services->ExecQuery(lang.b, query.b, WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, &rows)))
    throw std::runtime_error("query failed");
  for (;;) {
    ComPtr<IWbemClassObject> obj;
    ULONG got = 0;
    HRESULT hr = rows->Next(WBEM_INFINITE, 1, &obj, &got);
    if (FAILED(hr)) throw std::runtime_error("walk failed");
    if (got == 0) break;
    row(obj.p);
  }
}

Variant Get(IWbemClassObject* obj, const wchar_t* name) {
  Variant v;
  if (FAILED(obj->Get(name, 0, &v.v, nullptr, nullptr))) throw std::runtime_error("no such property");
  return v;
}

}  // namespace

void AddOSInfo(Lines& lines) {
  HKEY key;
  // Read access is all this needs; full access fails for a standard user.
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return;
  const std::string product = Trim(ReadRegText(key, "ProductName")), csd = Trim(ReadRegText(key, "CSDVersion")),
                    version = Trim(ReadRegText(key, "CurrentVersion")),
                    build = Trim(ReadRegText(key, "CurrentBuildNumber"));
  RegCloseKey(key);
  lines.push_back("  " + product + " " + csd + "    Version" + version + "." + build);
}

std::string GetCpuName(int n) {
  HKEY key;
  const std::string path = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\" + std::to_string(n);
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  std::string name = ReadRegText(key, "ProcessorNameString");
  RegCloseKey(key);
  return name;
}

void AddCpuInfo(Lines& lines) {
  for (int n = 0; n <= 5; ++n) {
    const std::string name = GetCpuName(n);
    if (!name.empty()) lines.push_back("  " + name);
  }
}

std::string FormatGigabytes(unsigned long long bytes) {
  char text[64];
  snprintf(text, sizeof text, "%.2f", static_cast<double>(bytes) / 1073741824.0);
  char sep[8] = ".";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep, sizeof sep);
  std::string s = text;
  const size_t dot = s.find('.');
  if (dot != std::string::npos) s.replace(dot, 1, sep);
  return s;
}

void AddDiskInfo(Lines& lines) {
  ComScope com;
  ComPtr<IWbemServices> services;
  ConnectWmi(services);
  try {
    std::string models;
    unsigned long long total = 0;
    Query(services.p, L"Select MediaType,Model,Size  From win32_DiskDrive", [&](IWbemClassObject* row) {
      Variant media = Get(row, L"MediaType");
      if (media.IsNull() || media.AsText().find("hard disk") == std::string::npos) return;
      models += Get(row, L"Model").AsText();
      total += static_cast<unsigned long long>(Get(row, L"Size").AsInt64());
    });
    lines.push_back("  " + S_HDMode + models);
    lines.push_back("  " + S_HDSize + FormatGigabytes(total) + "GB");
  } catch (const std::exception&) {
    lines.push_back("Read Error");
  }
}

// The 64-bit status: the old one caps or cuts the total above 2 or 4 GB.
unsigned long long GetTotalPhysMem() {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof status;
  GlobalMemoryStatusEx(&status);
  return status.ullTotalPhys;
}

void AddDisplayDevices(Lines& lines) {
  DISPLAY_DEVICEA device = {};
  device.cb = sizeof device;
  for (DWORD i = 0; EnumDisplayDevicesA(nullptr, i, &device, 0); ++i) {
    if (!(device.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER))
      lines.push_back("  " + Bounded(device.DeviceString, sizeof device.DeviceString));
    device = {};
    device.cb = sizeof device;
  }
}

std::string GetVideoMemory() {
  ComScope com;
  ComPtr<IWbemServices> services;
  ConnectWmi(services);
  try {
    long long ram = 0;
    Query(services.p, L"Select AdapterRAM  From Win32_VideoController", [&](IWbemClassObject* row) {
      Variant v = Get(row, L"AdapterRAM");
      // Reported as a signed 32-bit value: read it back as unsigned.
      if (!v.IsNull()) ram = static_cast<long long>(static_cast<uint32_t>(v.AsInt64()));
    });
    return ram != 0 ? std::to_string(ram / 1048576) + "MB" : "UnKnown";
  } catch (const std::exception&) {
    return "Read Error";
  }
}

std::string BytesToHex(const BYTE* bytes, unsigned count) {
  std::string s;
  char pair[4];
  for (unsigned i = 0; i < count; ++i) {
    snprintf(pair, sizeof pair, "%02X-", bytes[i]);
    s += pair;
  }
  if (!s.empty()) s.pop_back();
  return s;
}

std::string IpListToString(const IP_ADDR_STRING* list) {
  std::string s;
  for (; list; list = list->Next) s += Bounded(list->IpAddress.String, sizeof list->IpAddress.String);
  return s;
}

void AddAdapterInfo(Lines& lines) {
  alignas(IP_ADAPTER_INFO) BYTE buffer[5120];
  ULONG size = sizeof buffer;
  auto* info = reinterpret_cast<IP_ADAPTER_INFO*>(buffer);
  if (GetAdaptersInfo(info, &size) != ERROR_SUCCESS) {
    lines.push_back("N/A");
    return;
  }
  for (; info; info = info->Next) {
    const unsigned length = info->AddressLength < sizeof info->Address ? info->AddressLength : sizeof info->Address;
    lines.push_back("  " + Bounded(info->Description, sizeof info->Description));
    lines.push_back("      MAC Address:  " + BytesToHex(info->Address, length));
    lines.push_back("      IP  Address:     " + IpListToString(&info->IpAddressList));
  }
}
