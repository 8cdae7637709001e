// Binding to the vendor ACPI access library CorvelACPI.dll, shared by the
// control center and the tilt game control.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

extern "C" {
__declspec(dllimport) int __stdcall GetAcpiValue(int id);
__declspec(dllimport) BOOL __stdcall SetAcpiValue(int command);
__declspec(dllimport) BOOL __stdcall RegistDeivceNotify(HWND window);
}

namespace acpi {

// Ids, read with GetAcpiValue or sent as commands with SetAcpiValue.
constexpr int AcpiTilt = 0x55;
constexpr int AcpiSwivel = 0x56;
constexpr int AcpiTouchpad = 0x81;
constexpr int AcpiWifi = 0x83;           // command: toggle WiFi
constexpr int AcpiBrightness = 0x84;     // command: set the level
constexpr int AcpiCpuTemp = 0x85;
constexpr int AcpiDisplayOutput = 0x85;  // command: 1 CRT, 4 LCD, 5 both
constexpr int AcpiEventsOn = 0x86;
constexpr int AcpiEventsOff = 0x87;
constexpr int AcpiSlider = 0x88;
constexpr int AcpiModel = 0x90;
constexpr int AcpiBacklightOff = 0x93;
constexpr int AcpiTiltStart = 0x95;
constexpr int AcpiSuspendPrep = 0x97;

constexpr int DisplayCrt = 1;
constexpr int DisplayLcd = 4;
constexpr int DisplayBoth = 5;

// Id in bits 0-7, parameter in bits 8-15.
constexpr int Command(int id, int parameter = 0) { return ((parameter << 8) & 0xFF00) | (id & 0xFF); }

inline void Send(int id, int parameter = 0) { SetAcpiValue(Command(id, parameter)); }

// The brightness value: level in bits 0-7, lowest level 8-15, highest 16-23.
struct Brightness {
  int level, lowest, highest;
};
constexpr Brightness SplitBrightness(int value) {
  return {value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF};
}

// The event code of a device event: the first data byte of the custom event's
// DEV_BROADCAST_HANDLE, when wParam is DBT_CUSTOMEVENT and the record holds it.
std::optional<uint8_t> DeviceEventCode(WPARAM wParam, LPARAM lParam);

}  // namespace acpi
