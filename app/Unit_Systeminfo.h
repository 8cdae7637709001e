// The hardware page's text: Windows, processors, disks, memory, display and
// network adapters. The Add functions append finished lines. The sources are
// read through seams::SystemInfo; the WMI operations let a locator or
// connection failure (seams::WmiConnectError) reach the caller.
#pragma once
#include <windows.h>
#include <iphlpapi.h>

#include <string>
#include <vector>

using Lines = std::vector<std::string>;

void AddOSInfo(Lines& lines);
std::string GetCpuName(int n);
void AddCpuInfo(Lines& lines);
void AddDiskInfo(Lines& lines);
unsigned long long GetTotalPhysMem();
void AddDisplayDevices(Lines& lines);
std::string GetVideoMemory();
void AddAdapterInfo(Lines& lines);

std::string BytesToHex(const BYTE* bytes, unsigned count);
std::string IpListToString(const IP_ADDR_STRING* list);
// "0.00" with the user's decimal separator.
std::string FormatGigabytes(unsigned long long bytes);
