#include "Unit_ini.h"

#include <vector>

#include "CorvelAcpi.h"
#include "Unit_global.h"

int BrightnessLevel = 0;
int BrightnessMin = 0;
int BrightnessMax = 0;

std::string S_Lowp, S_Highp;
std::string S_Battchm, S_BATMFT, S_BattLifePct, S_BattLifeTime, S_DisCharge, S_Charge, S_ChargeComplete, S_NoBattery,
    S_Unknown, S_Voltage, S_DesignCap, S_FullChargeCap, S_CurrentCap, S_Batstatus, S_hours, S_OSName, S_CPUINFO,
    S_VideoDevice, S_PhysicalMemory, S_HardDISK, S_VideoMem, S_LAN, S_HDMode, S_HDSize, S_Temp, S_SliderX,
    S_Slideron, S_Slideroff;

namespace {

struct TextKey {
  const char* key;
  std::string* text;
};

// In the order the file is read.
const TextKey kTextKeys[] = {
    {"S_Battchm", &S_Battchm},
    {"S_BATMFT", &S_BATMFT},
    {"S_BattLifePct", &S_BattLifePct},
    {"S_BattLifeTime", &S_BattLifeTime},
    {"S_DisCharge", &S_DisCharge},
    {"S_Charge", &S_Charge},
    {"S_ChargeComplete", &S_ChargeComplete},
    {"S_NoBattery", &S_NoBattery},
    {"S_Unknown", &S_Unknown},
    {"S_Voltage", &S_Voltage},
    {"S_DesignCap", &S_DesignCap},
    {"S_FullChargeCap", &S_FullChargeCap},
    {"S_CurrentCap", &S_CurrentCap},
    {"S_Batstatus", &S_Batstatus},
    {"S_hours", &S_hours},
    {"S_OSName", &S_OSName},
    {"S_CPUINFO", &S_CPUINFO},
    {"S_VideoDevice", &S_VideoDevice},
    {"S_PhysicalMemory", &S_PhysicalMemory},
    {"S_HardDISK", &S_HardDISK},
    {"S_VideoMem", &S_VideoMem},
    {"S_LAN", &S_LAN},
    {"S_HDMode", &S_HDMode},
    {"S_HDSize", &S_HDSize},
    {"S_Temp", &S_Temp},
    {"S_SliderX", &S_SliderX},
    {"S_Slideron", &S_Slideron},
    {"S_Slideroff", &S_Slideroff},
};

std::string ReadProfile(const std::string& path, const char* section, const char* key, const char* fallback = "") {
  // Profile texts are short; a value that fills the buffer is cut, as the
  // profile functions do.
  std::vector<char> buf(4096);
  GetPrivateProfileStringA(section, key, fallback, buf.data(), static_cast<DWORD>(buf.size()), path.c_str());
  return buf.data();
}

}  // namespace

void RWINI(const std::string& fileName, const std::string& section, const std::string& ident, std::string& value,
           bool write) {
  const std::string path = ConfigDir + fileName;
  if (write)
    WritePrivateProfileStringA(section.c_str(), ident.c_str(), value.c_str(), path.c_str());
  else
    value = ReadProfile(path, section.c_str(), ident.c_str());
}

std::string LanguageFileName(LANGID language) {
  return language == 2052 ? "language_cn.ini" : "language_en.ini";
}

void ReadBacklightRange() {
  const auto b = acpi::SplitBrightness(GetAcpiValue(acpi::AcpiBrightness));
  BrightnessLevel = b.level;
  BrightnessMin = b.lowest;
  BrightnessMax = b.highest;
}

bool BacklightRangeKnown() {
  auto unknown = [] { return BrightnessMin == 0xFF && BrightnessMax == 0xFF; };
  if (unknown()) {
    const int value = GetAcpiValue(acpi::AcpiBrightness);
    if (value == -1) return false;
    const auto b = acpi::SplitBrightness(value);
    BrightnessMin = b.lowest;
    BrightnessMax = b.highest;
  }
  return !unknown();
}

void ReadLanguageTexts(const std::string& path) {
  for (const auto& k : kTextKeys) *k.text = ReadProfile(path, "Form_main", k.key);
}
