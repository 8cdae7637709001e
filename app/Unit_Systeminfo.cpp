#include "Unit_Systeminfo.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "Unit_ini.h"
#include "seams/SystemInfo.h"

namespace {

using seams::WmiValue;

std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// Text of at most max characters, ended by its first zero.
std::string Bounded(const char* text, size_t max) {
  size_t n = 0;
  while (n < max && text[n]) ++n;
  return std::string(text, n);
}

// A property the query selected; its absence is a failed read.
const std::optional<WmiValue>& Field(const seams::WmiRow& row, const char* name) {
  const auto it = row.find(name);
  if (it == row.end()) throw seams::WmiQueryError(std::string("no ") + name + " in the result");
  return it->second;
}

std::string Text(const std::optional<WmiValue>& v) {
  if (!v) return "";
  if (const auto* s = std::get_if<std::string>(&*v)) return *s;
  return std::to_string(std::get<long long>(*v));
}

// Unsigned 64-bit values arrive as decimal text; numbers keep their bit pattern.
unsigned long long Unsigned64(const std::optional<WmiValue>& v) {
  if (!v) throw seams::WmiQueryError("null number");
  if (const auto* n = std::get_if<long long>(&*v)) return static_cast<unsigned long long>(*n);
  const std::string& s = std::get<std::string>(*v);
  unsigned long long value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) throw seams::WmiQueryError("not a number: " + s);
  return value;
}

// Runs a query and gathers from its rows; nothing when the query, the walk
// or a value fails. Locator and connection errors go on to the caller.
template <class Gather>
auto Guarded(const char* wql, Gather gather) -> std::optional<decltype(gather(std::vector<seams::WmiRow>()))> {
  try {
    return gather(seams::systemInfo().Query(wql));
  } catch (const seams::WmiConnectError&) {
    throw;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

void AddOSInfo(Lines& lines) {
  // Read access is all this needs; full access fails for a standard user.
  const auto texts = seams::systemInfo().MachineTexts("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                                      {"ProductName", "CSDVersion", "CurrentVersion", "CurrentBuildNumber"});
  if (!texts) return;
  auto value = [&](const char* name) {
    const auto it = texts->find(name);
    return it == texts->end() ? std::string() : Trim(it->second);
  };
  lines.push_back("  " + value("ProductName") + " " + value("CSDVersion") + "    Version" + value("CurrentVersion") + "." +
                  value("CurrentBuildNumber"));
}

std::string GetCpuName(int n) {
  const auto texts = seams::systemInfo().MachineTexts(
      "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\" + std::to_string(n), {"ProcessorNameString"});
  if (!texts) return "";
  const auto it = texts->find("ProcessorNameString");
  return it == texts->end() ? "" : it->second;
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
  const auto disks = Guarded("Select MediaType,Model,Size  From win32_DiskDrive", [](const auto& rows) {
    std::string models;
    unsigned long long total = 0;
    for (const auto& row : rows) {
      const auto& media = Field(row, "MediaType");
      // Fixed and external hard disks; removable media say "Removable".
      if (!media || Text(media).find("hard disk") == std::string::npos) continue;
      models += Text(Field(row, "Model"));
      total += Unsigned64(Field(row, "Size"));
    }
    return Lines{"  " + S_HDMode + models, "  " + S_HDSize + FormatGigabytes(total) + "GB"};
  });
  if (!disks) {
    lines.push_back("Read Error");
    return;
  }
  lines.insert(lines.end(), disks->begin(), disks->end());
}

// The 64-bit status: the old one caps or cuts the total above 2 or 4 GB.
unsigned long long GetTotalPhysMem() {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof status;
  if (!seams::systemInfo().MemoryStatus(status)) return 0;
  return status.ullTotalPhys;
}

void AddDisplayDevices(Lines& lines) {
  DISPLAY_DEVICEA device = {};
  device.cb = sizeof device;
  for (DWORD i = 0; seams::systemInfo().DisplayDevice(i, device); ++i) {
    if (!(device.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER))
      lines.push_back("  " + Bounded(device.DeviceString, sizeof device.DeviceString));
    device = {};
    device.cb = sizeof device;
  }
}

std::string GetVideoMemory() {
  const auto text = Guarded("Select AdapterRAM  From Win32_VideoController", [](const auto& rows) {
    uint32_t ram = 0;
    for (const auto& row : rows) {
      // A 32-bit unsigned value that arrives signed: -1 is 4 GB, not "-1MB".
      const auto& value = Field(row, "AdapterRAM");
      if (value) ram = static_cast<uint32_t>(Unsigned64(value));
    }
    return ram != 0 ? std::to_string(ram / 1048576) + "MB" : std::string("UnKnown");
  });
  return text ? *text : "Read Error";
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
  if (seams::systemInfo().AdaptersInfo(info, &size) != ERROR_SUCCESS) {
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
