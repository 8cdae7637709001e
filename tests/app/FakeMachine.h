// A machine played through seams::SystemInfo for the hardware page's tests.
#pragma once
#include <windows.h>
#include <iphlpapi.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "seams/SystemInfo.h"

struct FakeMachine : seams::SystemInfo {
  // Into a zeroed field; a text as long as the field keeps no zero.
  template <size_t N>
  static void Put(char (&field)[N], const std::string& text) {
    memcpy(field, text.data(), std::min(text.size(), N));
  }

  struct Adapter {
    std::string description;
    std::vector<BYTE> address;
    UINT addressLength;
    std::vector<std::string> ips;
  };

  std::map<std::string, std::map<std::string, std::string>> keys;  // HKLM sub key -> values
  std::map<std::string, std::vector<seams::WmiRow>> results;       // query -> rows; other queries fail
  bool connectFails = false;
  std::vector<Adapter> adapters;
  DWORD adaptersError = ERROR_SUCCESS;
  std::vector<DISPLAY_DEVICEA> displays;
  unsigned long long totalPhys = 0;
  int calls = 0;

  std::optional<std::map<std::string, std::string>> MachineTexts(const std::string& subkey,
                                                                  const std::vector<std::string>& names) override {
    ++calls;
    const auto key = keys.find(subkey);
    if (key == keys.end()) return std::nullopt;
    std::map<std::string, std::string> texts;
    for (const auto& name : names)
      if (key->second.count(name)) texts[name] = key->second.at(name);
    return texts;
  }

  std::vector<seams::WmiRow> Query(const std::string& wql) override {
    ++calls;
    if (connectFails) throw seams::WmiConnectError("Cannot connect to root\\CIMV2");
    const auto found = results.find(wql);
    if (found == results.end()) throw seams::WmiQueryError("Invalid query");
    return found->second;
  }

  // Lays the records out in the caller's buffer as the platform does; the
  // addresses after the first live here.
  DWORD AdaptersInfo(IP_ADAPTER_INFO* buffer, ULONG* size) override {
    ++calls;
    if (adaptersError != ERROR_SUCCESS) return adaptersError;
    if (adapters.empty()) return ERROR_NO_DATA;
    const ULONG needed = static_cast<ULONG>(adapters.size() * sizeof(IP_ADAPTER_INFO));
    if (*size < needed) {
      *size = needed;
      return ERROR_BUFFER_OVERFLOW;
    }
    moreIps.clear();
    memset(buffer, 0, needed);
    for (size_t i = 0; i < adapters.size(); ++i) {
      IP_ADAPTER_INFO& info = buffer[i];
      const Adapter& a = adapters[i];
      info.Next = i + 1 < adapters.size() ? &buffer[i + 1] : nullptr;
      Put(info.Description, a.description);
      memcpy(info.Address, a.address.data(), std::min(a.address.size(), sizeof info.Address));
      info.AddressLength = a.addressLength;
      IP_ADDR_STRING* last = &info.IpAddressList;
      for (size_t n = 0; n < a.ips.size(); ++n) {
        IP_ADDR_STRING* entry = n == 0 ? last : &moreIps.emplace_back();
        if (n > 0) {
          *entry = {};
          last->Next = entry;
        }
        Put(entry->IpAddress.String, a.ips[n]);
        last = entry;
      }
    }
    return ERROR_SUCCESS;
  }

  BOOL DisplayDevice(DWORD index, DISPLAY_DEVICEA& device) override {
    ++calls;
    if (index >= displays.size()) return FALSE;
    device = displays[index];
    return TRUE;
  }

  BOOL MemoryStatus(MEMORYSTATUSEX& status) override {
    ++calls;
    status.ullTotalPhys = totalPhys;
    return TRUE;
  }

  static DISPLAY_DEVICEA Display(const char* text, DWORD flags = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) {
    DISPLAY_DEVICEA d = {};
    d.cb = sizeof d;
    Put(d.DeviceString, text);
    d.StateFlags = flags;
    return d;
  }

  static constexpr const char* kDisks = "Select MediaType,Model,Size  From win32_DiskDrive";
  static constexpr const char* kVideo = "Select AdapterRAM  From Win32_VideoController";
  static constexpr const char* kOsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  static std::string CpuKey(int n) { return "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\" + std::to_string(n); }

 private:
  std::deque<IP_ADDR_STRING> moreIps;
};

// The machine both the unit and the page tests play: two hard disks of
// 1.5 GB together, one removable, 128 MB of video memory, one adapter.
inline void PlayTypicalMachine(FakeMachine& m) {
  m.keys[FakeMachine::kOsKey] = {{"ProductName", "Windows 7 Professional "},
                                 {"CSDVersion", "Service Pack 1"},
                                 {"CurrentVersion", "6.1"},
                                 {"CurrentBuildNumber", "7601"}};
  m.keys[FakeMachine::CpuKey(0)] = {{"ProcessorNameString", "  Core 2 Duo T7200"}};
  m.keys[FakeMachine::CpuKey(1)] = {{"ProcessorNameString", "  Core 2 Duo T7200"}};
  m.results[FakeMachine::kDisks] = {
      {{"MediaType", "Fixed hard disk"}, {"Model", "A"}, {"Size", 1LL << 30}},
      {{"MediaType", "Removable Media"}, {"Model", "USB"}, {"Size", "4000000000"}},
      {{"MediaType", "External hard disk media"}, {"Model", "B"}, {"Size", "536870912"}},
  };
  m.results[FakeMachine::kVideo] = {{{"AdapterRAM", 134217728LL}}};
  m.displays = {FakeMachine::Display("Mobile Graphics"), FakeMachine::Display("Mirror", DISPLAY_DEVICE_MIRRORING_DRIVER)};
  m.totalPhys = 2048ull << 20;
  m.adapters = {{"Gigabit Ethernet", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}, 6, {"192.168.1.20", "10.0.0.7"}}};
}

// The user's decimal separator, which the disk size uses.
inline std::string DecimalSeparator() {
  char sep[8] = ".";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep, sizeof sep);
  return sep;
}
