// The outside libraries the control center links: the Vista volume library
// and the XP power-plan library. (The Vista power-plan library and the picture
// library are loaded by name.)
#pragma once
#include <windows.h>

extern "C" {
__declspec(dllimport) float __stdcall GetVistaVolume();
__declspec(dllimport) BOOL __stdcall SetVistaVolume(float level);
__declspec(dllimport) BOOL __stdcall GetVistaMute();
__declspec(dllimport) BOOL __stdcall SetVistaMute(BOOL on);

__declspec(dllimport) int __stdcall GetDefaultPwrScheme();
__declspec(dllimport) BOOL __stdcall SetDefaultPwrScheme(int scheme);
}
