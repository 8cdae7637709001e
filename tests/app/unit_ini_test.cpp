#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "Unit_global.h"
#include "Unit_ini.h"

namespace {

std::string StagedConfig() { return testsupport::ExeDir() + "..\\stage\\Corvel\\Config\\"; }

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

class IniTest : public testing::Test {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    dir_ = std::string(tmp) + "unit_ini_test\\";
    CreateDirectoryA(dir_.c_str(), nullptr);
    DeleteFileA((dir_ + "Config.ini").c_str());
    ConfigDir = dir_;
  }
  std::string dir_;
};

}  // namespace

TEST(ShippedFiles, ConfigIniIsByteExact) {
  EXPECT_EQ(ReadFile(StagedConfig() + "Config.ini"),
            "[HOTKEY]\r\nHTIR=\r\nHTSD=\r\n[WiFi]\r\nState       =\r\n[ROTE]\r\nSTATUS=\r\n[AVI]\r\nKK=False\r\n"
            "KM=\r\nKE=\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST(ShippedFiles, LanguageFilesHoldEveryText) {
  ReadLanguageTexts(StagedConfig() + "Language_en.ini");
  EXPECT_EQ(S_Battchm, "Chemistry:");
  EXPECT_EQ(S_hours, "hours");
  EXPECT_EQ(S_Temp, "\xB0" "C");  // code page 1252
  EXPECT_EQ(S_Slideroff, "Slider OFF");
  ReadLanguageTexts(StagedConfig() + "Language_cn.ini");
  EXPECT_EQ(S_hours, "\xD0\xA1\xCA\xB1");  // GBK
  EXPECT_EQ(S_Temp, "\xA1\xE6");
  EXPECT_EQ(S_Slideroff, "\xBB\xAC\xBF\xE9\xB9\xD8\xB1\xD5");

  // Every key of the English file has a value; the unread TCAM section is there too.
  char keys[8192];
  DWORD n = GetPrivateProfileSectionA("Form_main", keys, sizeof keys, (StagedConfig() + "Language_en.ini").c_str());
  int count = 0;
  for (const char* p = keys; p < keys + n && *p; p += strlen(p) + 1) ++count;
  EXPECT_EQ(count, 72);
  EXPECT_GT(GetPrivateProfileSectionA("TCAM", keys, sizeof keys, (StagedConfig() + "Language_en.ini").c_str()), 0u);
}

TEST(Language, ChineseOnlyForThePrcLanguageId) {
  EXPECT_EQ(LanguageFileName(2052), "language_cn.ini");
  EXPECT_EQ(LanguageFileName(1028), "language_en.ini");  // Chinese (Taiwan)
  EXPECT_EQ(LanguageFileName(1033), "language_en.ini");
}

TEST(Language, MissingFileLeavesTextsEmpty) {
  ReadLanguageTexts(StagedConfig() + "Language_en.ini");
  ASSERT_FALSE(S_hours.empty());
  ReadLanguageTexts(StagedConfig() + "no-such-file.ini");
  EXPECT_EQ(S_hours, "");
  EXPECT_EQ(S_Temp, "");
}

TEST_F(IniTest, RwiniRoundTripsAndCreatesTheFile) {
  std::string value = "1";
  RWINI("Config.ini", "ROTE", "STATUS", value, true);
  value = "junk";
  RWINI("Config.ini", "ROTE", "STATUS", value, false);
  EXPECT_EQ(value, "1");
  RWINI("Config.ini", "rote", "status", value, false);  // names match without regard to case
  EXPECT_EQ(value, "1");
  RWINI("Config.ini", "ROTE", "MISSING", value, false);
  EXPECT_EQ(value, "");
  std::string text = "C:\\Program Files\\Player\\play.exe";
  RWINI("Config.ini", "HOTKEY", "HTIR", text, true);
  RWINI("Config.ini", "HOTKEY", "HTIR", value, false);
  EXPECT_EQ(value, text);
}

TEST(Backlight, RangeComesFromOneDeviceRead) {
  testsupport::UseFreshMachine("unit-ini-backlight");
  ReadBacklightRange();
  EXPECT_EQ(BrightnessLevel, 50);
  EXPECT_EQ(BrightnessMin, 10);
  EXPECT_EQ(BrightnessMax, 110);
  testsupport::Sim("set 0x84 fail");
  ReadBacklightRange();
  EXPECT_EQ(BrightnessMin, 255);
  EXPECT_EQ(BrightnessMax, 255);
}
