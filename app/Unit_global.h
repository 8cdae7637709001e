// Small operating-system routines of the control center and its
// process-wide texts.
#pragma once
#include <windows.h>

#include <string>

#include "WaitPumping.h"

class TImage;

// Process-wide texts.
extern std::string Model;
extern std::string ConfigDir;
extern std::string ResDir;
extern std::string KeySoundSetting;
extern std::string RotationText;
extern std::string BatteryPercentText;

bool IsVista();
// Puts the picture library's PNG picture of that name into the image.
void LoadIconvaultPng(TImage* image, const std::string& name);
bool IsHibernateAllowed();
bool EnableShutdownPrivilege();
bool SetResolution(WORD width, WORD height);
DWORD GetIdleTime();
int GetVistaPlan();
void SetVistaPlan(int plan);
void SuppressScreenCheck();
bool SetTouchGate(int value);
int GetTouchGate();
DWORD FindProcessId(const std::string& exeName);
std::string GetSpecialFolder(int csidl);
void SaveScreenshot();
using ui::WaitPumping;

// "YYYYMMDDhhnnss" and the milliseconds without leading zeros.
std::string ScreenshotFileName(const SYSTEMTIME& t);

// Sends a broadcast without hanging on a window that does not answer.
void BroadcastSettingChange();
