// Config.ini and the language files.
#pragma once
#include <windows.h>

#include <string>

// Reads or writes one key of ConfigDir + fileName; a read hands the text
// back in value (empty when missing).
void RWINI(const std::string& fileName, const std::string& section, const std::string& ident, std::string& value,
           bool write);

// "language_cn.ini" for Chinese (PRC), "language_en.ini" for every other language.
std::string LanguageFileName(LANGID language);

// Backlight level and range read at start from the device.
extern int BrightnessLevel;
extern int BrightnessMin;
extern int BrightnessMax;
void ReadBacklightRange();
// A failed read leaves the range unknown (both ends 255): no level may be
// computed from it. While it is unknown, each call reads it again.
bool BacklightRangeKnown();

// Texts of the language file kept for the whole run.
extern std::string S_Lowp, S_Highp;
extern std::string S_Battchm, S_BATMFT, S_BattLifePct, S_BattLifeTime, S_DisCharge, S_Charge, S_ChargeComplete,
    S_NoBattery, S_Unknown, S_Voltage, S_DesignCap, S_FullChargeCap, S_CurrentCap, S_Batstatus, S_hours, S_OSName,
    S_CPUINFO, S_VideoDevice, S_PhysicalMemory, S_HardDISK, S_VideoMem, S_LAN, S_HDMode, S_HDSize, S_Temp,
    S_SliderX, S_Slideron, S_Slideroff;

// Reads the text globals from a language file (full path).
void ReadLanguageTexts(const std::string& path);
