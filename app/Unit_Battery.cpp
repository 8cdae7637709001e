#include "Unit_Battery.h"

#include <winioctl.h>
#include <poclass.h>

#include <cstdio>

#include "Unit_global.h"
#include "Unit_ini.h"
#include "seams/Battery.h"

HANDLE BatteryHandles[kMaxBatteries] = {};
int BatteryCount = 0;

ULONG PowerState = 0, Capacity = 0, Voltage = 0;
LONG Rate = 0;
std::string StatusText;
std::string Chemistry;
ULONG DesignedCapacity = 0, FullChargedCapacity = 0;
std::string UniqueId, ManufactureName;
std::string TimeLeftText;

namespace {

constexpr int kNameChars = 33;

bool Usable(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }

ULONG QueryTag(HANDLE h) {
  ULONG wait = 0, tag = 0;
  DWORD returned = 0;
  seams::battery().IoControl(h, IOCTL_BATTERY_QUERY_TAG, &wait, sizeof wait, &tag, sizeof tag, &returned);
  return tag;
}

// A wide text of up to 33 characters, ended by its first zero or by the buffer.
std::string QueryText(HANDLE h, ULONG tag, BATTERY_QUERY_INFORMATION_LEVEL level) {
  BATTERY_QUERY_INFORMATION query = {tag, level, 0};
  wchar_t text[kNameChars] = {};
  DWORD returned = 0;
  seams::battery().IoControl(h, IOCTL_BATTERY_QUERY_INFORMATION, &query, sizeof query, text, sizeof text, &returned);
  int length = 0;
  while (length < kNameChars && text[length]) ++length;
  if (length == 0) return "";
  char out[kNameChars * 2 + 1] = {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text, length, out, sizeof out - 1, nullptr, nullptr);
  return std::string(out, n > 0 ? n : 0);
}

}  // namespace

void EnumBatteries() {
  for (DWORD n = 0; n < kMaxBatteries; ++n) {
    auto path = seams::battery().InterfacePath(n);
    if (!path) break;
    BatteryHandles[n] = seams::battery().Open(*path);
    BatteryCount = static_cast<int>(n) + 1;
  }
}

void ReadBatteryInfo(int index) {
  const HANDLE h = index >= 0 && index < kMaxBatteries ? BatteryHandles[index] : nullptr;
  BATTERY_STATUS status = {};
  if (Usable(h)) {
    BATTERY_WAIT_STATUS wait = {};
    wait.BatteryTag = QueryTag(h);
    DWORD returned = 0;
    seams::battery().IoControl(h, IOCTL_BATTERY_QUERY_STATUS, &wait, sizeof wait, &status, sizeof status, &returned);
    if (returned != sizeof status) status = {};  // a partial record is no status
  }
  PowerState = status.PowerState;
  Capacity = status.Capacity;
  Voltage = status.Voltage;
  Rate = status.Rate;
  // By the state bits, so no state keeps an earlier read's text.
  if (PowerState & BATTERY_CHARGING)
    StatusText = S_Charge;
  else if (PowerState & BATTERY_DISCHARGING)
    StatusText = S_DisCharge;
  else
    StatusText = S_Unknown;

  if (!Usable(h)) {
    Chemistry.clear();
    UniqueId.clear();
    ManufactureName.clear();
    return;
  }
  try {
    const ULONG tag = QueryTag(h);
    BATTERY_QUERY_INFORMATION query = {tag, BatteryInformation, 0};
    BATTERY_INFORMATION info = {};
    DWORD returned = 0;
    seams::battery().IoControl(h, IOCTL_BATTERY_QUERY_INFORMATION, &query, sizeof query, &info, sizeof info,
                               &returned);
    if (returned == sizeof info) {
      int n = 0;
      while (n < 4 && info.Chemistry[n]) ++n;
      Chemistry.assign(reinterpret_cast<const char*>(info.Chemistry), n);
      DesignedCapacity = info.DesignedCapacity;
      FullChargedCapacity = info.FullChargedCapacity;
    } else {
      Chemistry.clear();
    }
    UniqueId = QueryText(h, tag, BatteryUniqueID);
    ManufactureName = QueryText(h, tag, BatteryManufactureName);
  } catch (...) {
    UniqueId = ManufactureName = Chemistry = S_Unknown;
    DesignedCapacity = FullChargedCapacity = 0;
  }
}

void ReadPowerStatus() {
  SYSTEM_POWER_STATUS ps = {};
  seams::battery().PowerStatus(ps);
  const DWORD s = ps.BatteryLifeTime;
  if (s > 0 && s < 360000) {
    const DWORD m = s / 60;
    char text[32];
    snprintf(text, sizeof text, "%lu:%02lu", static_cast<unsigned long>(m / 60), static_cast<unsigned long>(m % 60));
    TimeLeftText = text + S_hours;
  } else {
    TimeLeftText = S_Unknown;
  }
  BatteryPercentText = ps.BatteryFlag == 128 ? S_Unknown : std::to_string(ps.BatteryLifePercent) + "%";
}
