// The machine's batteries: found once at start, read on request.
#pragma once
#include <windows.h>

#include <string>

constexpr int kMaxBatteries = 5;

extern HANDLE BatteryHandles[kMaxBatteries];
extern int BatteryCount;

// The last battery read.
extern ULONG PowerState, Capacity, Voltage;
extern LONG Rate;
extern std::string StatusText;
extern std::string Chemistry;
extern ULONG DesignedCapacity, FullChargedCapacity;
extern std::string UniqueId, ManufactureName;

// The last power-status read (the percent text is a process-wide text).
extern std::string TimeLeftText;

void EnumBatteries();
void ReadBatteryInfo(int index);
void ReadPowerStatus();
