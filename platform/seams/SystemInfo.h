// Seam for the hardware page's sources: machine registry texts, WMI queries,
// the network adapter list, the display devices and the memory status.
#pragma once
#include <windows.h>
#include <iphlpapi.h>

#include <cstring>

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "Seam.h"

namespace seams {

// A WMI property: text or a number (64-bit values keep their bit pattern).
using WmiValue = std::variant<std::string, long long>;
// Property names are case-blind, as WMI's are.
struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const { return _stricmp(a.c_str(), b.c_str()) < 0; }
};
// One result row: property name -> value, nothing for a null value.
using WmiRow = std::map<std::string, std::optional<WmiValue>, NoCase>;

// The locator could not be created or could not connect to root\CIMV2.
struct WmiConnectError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// The query or the walk through its results failed.
struct WmiQueryError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // Text values of a key under HKEY_LOCAL_MACHINE, opened read-only; nothing
  // when the key cannot be opened. Missing or non-text values are left out.
  virtual std::optional<std::map<std::string, std::string>> MachineTexts(const std::string& subkey,
                                                                          const std::vector<std::string>& names) = 0;
  // A WQL query in root\CIMV2 with the caller's credentials.
  virtual std::vector<WmiRow> Query(const std::string& wql) = 0;
  // GetAdaptersInfo into the caller's buffer.
  virtual DWORD AdaptersInfo(IP_ADAPTER_INFO* buffer, ULONG* size) = 0;
  // EnumDisplayDevices(no device name, index, flags 0).
  virtual BOOL DisplayDevice(DWORD index, DISPLAY_DEVICEA& device) = 0;
  virtual BOOL MemoryStatus(MEMORYSTATUSEX& status) = 0;
};

template <> SystemInfo& Seam<SystemInfo>::Real();
inline SystemInfo& systemInfo() { return Seam<SystemInfo>::Get(); }

}  // namespace seams
