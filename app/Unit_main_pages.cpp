// The settings pages: their pictures and handlers, the language texts and
// the settings read at start.
#include <windows.h>
#include <mmsystem.h>
#include <shlobj.h>

#include <algorithm>

#include "CorvelAcpi.h"
#include "OutsideLibraries.h"
#include "Unit_Battery.h"
#include "Unit_MICMixer.h"
#include "Unit_Mixer.h"
#include "Unit_Systeminfo.h"
#include "Unit_global.h"
#include "Unit_ini.h"
#include "Unit_main.h"
#include "seams/Power.h"
#include "seams/System.h"

namespace {

// Language keys and the components they caption, in the order they are read.
struct CaptionKey {
  const char* key;
  const char* component;
};
const CaptionKey kCaptionKeys[] = {
    {"Lab_Camera", "Lab_camera"},    {"Lab_Main", "TSMain"},          {"Lab_sysinfo", "TSHW"},
    {"Lab_dispswitch", "TSDISP"},    {"Lab_pwrmg", "TSBatt"},         {"Lab_setting", "TSSet"},
    {"Lab_PrintSrc", "Lab_PrintSrc"}, {"Lab_mic", "Lab_mic"},         {"Lab_SRLK", "Lab_SRLK"},
    {"Lab_IRSD", "Lab_IRSD"},        {"SB_PWR", "SB_PWR"},            {"Lab_IRHK", "SB_IRH"},
    {"Lab_KESD", "SB_KE"},           {"Lab_KMSD", "SB_KM"},           {"Lab_SDHK", "SB_SDH"},
    {"S_Default", "SB_DEF"},         {"S_Save", "SB_SAV"},            {"Lab_S3", "Lab_S3"},
    {"Lab_S4", "Lab_S4"},            {"Lab_S5", "Lab_S5"},            {"Lab_GameH", "Lab_GameH"},
    {"Lab_WiFistatus", "Lab_WiFiStatus"}, {"Lab_Mute", "Lab_Mute"},   {"Lab_TPanel", "Lab_TPanel"},
    {"Lab_LRNTP", "Lab_LRNTP"},      {"Lab_ScrTurn", "Lab_ScrTurn"},
};
const CaptionKey kMenuKeys[] = {{"S_About", "About"}, {"S_Exit", "ExitW"}, {"S_Open", "Open"}};

std::string LanguageText(const char* key) {
  std::string text;
  RWINI(LanguageFileName(GetSystemDefaultLangID()), "Form_main", key, text, false);
  return text;
}

// Percent of the bar's own range; an empty range gives 0 rather than a division by zero.
int BarPercent(const TTrackBar* bar) {
  const int span = bar->Max() - bar->Min();
  return span ? (bar->Position() - bar->Min()) * 100 / span : 0;
}

}  // namespace

void ExeC(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  SetCurrentDirectoryA(slash == std::string::npos ? "" : path.substr(0, slash + 1).c_str());
  seams::shell().Open(path, SW_SHOW);
}

void TForm_Main::BindPageHandlers() {
  Method("Image_cameraClick", &TForm_Main::Image_cameraClick);
  Method("Image_micClick", &TForm_Main::Image_micClick);
  Method("Image_PrintSrcClick", &TForm_Main::Image_PrintSrcClick);
  Method("Image_SRCLClick", &TForm_Main::Image_SRCLClick);
  Method("Image_S3Click", &TForm_Main::Image_S3Click);
  Method("Image_S5Click", &TForm_Main::Image_S5Click);
  Method("Image_S4Click", &TForm_Main::Image_S4Click);
  Method("Image_GameHClick", &TForm_Main::Image_GameHClick);
  Method("TSHWShow", &TForm_Main::TSHWShow);
  Method("TSBattShow", &TForm_Main::TSBattShow);
  Method("SB_PWRClick", &TForm_Main::SB_PWRClick);
  Method("BT_PWROKClick", &TForm_Main::BT_PWROKClick);
  Method("Image_LCDClick", &TForm_Main::Image_LCDClick);
  Method("Image_CRTClick", &TForm_Main::Image_CRTClick);
  Method("SB_OKClick", &TForm_Main::SB_OKClick);
  Method("Image_LITClick", &TForm_Main::Image_LITClick);
  Method("TSDISPShow", &TForm_Main::TSDISPShow);
  Method("TB_BrightChange", &TForm_Main::TB_BrightChange);
  Method("SB_HOTSET", &TForm_Main::SB_HOTSET);
  Method("SB_SAVClick", &TForm_Main::SB_SAVClick);
  Method("SB_DEFClick", &TForm_Main::SB_DEFClick);
  Method("Image_IRMUSICClick", &TForm_Main::Image_IRMUSICClick);
  Method("TSSetShow", &TForm_Main::TSSetShow);
  Method("Image_WiFiCtrClick", &TForm_Main::Image_WiFiCtrClick);
  Method("Image_MuteClick", &TForm_Main::Image_MuteClick);
  Method("Image_TPanelClick", &TForm_Main::Image_TPanelClick);
  Method("Image_ScrTurnClick", &TForm_Main::Image_ScrTurnClick);
  Method("Image_LRNTPClick", &TForm_Main::Image_LRNTPClick);
}

void TForm_Main::LoadPageImages() {
  const std::pair<TImage*, const char*> pictures[] = {
      {Image_camera, "IMG_CAM"}, {Image_PrintSrc, "IMG_PSC"}, {Image_mic, "IMG_MIC"},   {Image_SRCL, "IMG_LOK"},
      {Image_LCD, "IMG_LCD"},    {Image_CRT, "IMG_CRT"},      {Image_LIT, "IMG_LIT"},   {Image_S3, "IMG_PS3"},
      {Image_S4, "IMG_PS4"},     {Image_S5, "IMG_PS5"},       {Image_GameH, "IMG_GMH"}, {Image_LRNTP, "IMG_LRN"},
      {Image_BBB, "IMG_BBB"},
  };
  for (const auto& [image, name] : pictures) LoadIconvaultPng(image, name);
}

void TForm_Main::LoadLanguage() {
  ReadBacklightRange();
  for (const auto& k : kCaptionKeys)
    if (auto* control = dynamic_cast<TControl*>(FindComponent(k.component))) control->SetCaption(LanguageText(k.key));
  S_Lowp = LanguageText("S_Lowp");
  S_Highp = LanguageText("S_Highp");
  const int selected = RG_PWR->ItemIndex();
  RG_PWR->Items.Assign({"  " + S_Lowp, "  " + S_Highp});
  RG_PWR->SetItemIndex(selected);
  for (const auto& k : kMenuKeys)
    if (auto* item = dynamic_cast<TMenuItem*>(FindComponent(k.component))) item->Caption = LanguageText(k.key);
  ReadLanguageTexts(ConfigDir + LanguageFileName(GetSystemDefaultLangID()));
}

void TForm_Main::LoadSettings() {
  const std::string config = ConfigDir + "Config.ini";
  auto read = [&](const char* section, const char* key, const char* fallback = "") {
    char buf[1024] = {};
    GetPrivateProfileStringA(section, key, fallback, buf, sizeof buf, config.c_str());
    return std::string(buf);
  };
  KeySoundSetting = read("AVI", "KK", "False");
  Edit_KE->SetText(read("AVI", "KE"));
  Edit_KM->SetText(read("AVI", "KM"));
  Edit_IRH->SetText(read("HOTKEY", "HTIR"));
  Edit_SDH->SetText(read("HOTKEY", "HTSD"));
  const std::string savedWifi = read("WiFi", "State");

  // WiFi starts as it was at the last end of session.
  if (!savedWifi.empty() && savedWifi != std::to_string(GetAcpiValue(acpi::AcpiWifi))) acpi::Send(acpi::AcpiWifi);
  LoadIconvaultPng(Image_WiFiCtr, GetAcpiValue(acpi::AcpiWifi) == 1 ? "IMG_WON" : "IMG_WFF");
  if (IsVista()) {
    LoadIconvaultPng(Image_Mute, GetVistaMute() ? "IMG_VFF" : "IMG_VON");
    if (Model == "P0D6") LoadIconvaultPng(Image_TPanel, GetTouchGate() == 1 ? "IMG_TON" : "IMG_TFF");
  } else {
    LoadIconvaultPng(Image_Mute, GetSpeakerMute() ? "IMG_VFF" : "IMG_VON");
  }
  LoadIconvaultPng(Image_ScrTurn, AutoRotate ? "IMG_RON" : "IMG_RFF");
}

std::string TForm_Main::GetSpecialFolderDir(int csidl) { return GetSpecialFolder(csidl); }

// --- Main page: every action but the running camera's hides the window first.

void TForm_Main::Image_cameraClick(TObject*) {
  if (CameraRunning) return;
  HideForm();
  ExeC(GetSpecialFolderDir(CSIDL_PROGRAM_FILES) + "\\Corvel\\Lensbox.exe");
}

void TForm_Main::Image_micClick(TObject*) {
  HideForm();
  WinExec(IsVista() ? "SoundRecorder" : "sndrec32", SW_SHOWNORMAL);
}

void TForm_Main::Image_PrintSrcClick(TObject*) {
  HideForm();
  WaitPumping(200);  // let the window vanish from the screen first
  SaveScreenshot();
}

void TForm_Main::Image_SRCLClick(TObject*) {
  HideForm();
  WinExec("RunDll32.exe user32.dll,LockWorkStation", SW_SHOWNORMAL);
}

void TForm_Main::Image_S3Click(TObject*) {
  HideForm();
  if (EnableShutdownPrivilege()) seams::power().SetSystemPowerState(TRUE, FALSE);
}

void TForm_Main::Image_S5Click(TObject*) {
  HideForm();
  if (EnableShutdownPrivilege()) seams::power().Shutdown(EWX_SHUTDOWN | EWX_FORCE);
}

void TForm_Main::Image_S4Click(TObject*) {
  HideForm();
  if (!IsHibernateAllowed()) WinExec("POWERCFG /HIBERNATE ON", SW_HIDE);
  if (EnableShutdownPrivilege()) seams::power().SetSystemPowerState(FALSE, TRUE);
}

void TForm_Main::Image_GameHClick(TObject*) {
  HideForm();
  ExeC(GetSpecialFolderDir(CSIDL_PROGRAM_FILES) + "\\Corvel\\Tiltrix.exe");
}

// --- Hardware page: the hardware is asked once per run.

void TForm_Main::TSHWShow(TObject*) {
  if (HardwareInfoShown) return;
  TStringList& memo = MInfo->Lines();
  memo.Clear();
  // Each block is shown as soon as it is gathered, so an error in a later
  // one keeps the lines already found.
  auto block = [&](const std::string& heading, auto gather, bool blankAfter = true) {
    Lines lines{heading};
    gather(lines);
    if (blankAfter) lines.push_back("");
    for (const auto& line : lines) memo.Add(line);
  };
  block(S_OSName, AddOSInfo);
  block(S_CPUINFO, AddCpuInfo);
  block(S_HardDISK, AddDiskInfo);
  block(S_PhysicalMemory, [](Lines& l) { l.push_back("  " + std::to_string(GetTotalPhysMem() >> 20) + " MB"); });
  block(S_VideoDevice, [](Lines& l) {
    AddDisplayDevices(l);
    l.push_back("  " + S_VideoMem + GetVideoMemory());
  });
  block(S_LAN, AddAdapterInfo, false);
  HardwareInfoShown = true;
}

// --- Battery page.

void TForm_Main::TSBattShow(TObject*) {
  Refresh_battinfo();
  ReadPowerStatus();
}

void TForm_Main::Refresh_battinfo() {
  const int count = std::min<int>(BatteryCount, static_cast<int>(BatteryMemos.size()));
  for (int i = 0; i < count; ++i) {
    TStringList& memo = BatteryMemos[i]->Lines();
    memo.Clear();
    memo.Add("NO" + std::to_string(i + 1) + ":");
    ReadBatteryInfo(i);
    if (!UniqueId.empty()) {
      memo.Add(S_BATMFT + ManufactureName);
      memo.Add(S_Battchm + Chemistry);
      memo.Add(S_DesignCap + std::to_string(DesignedCapacity) + "mWh");
      memo.Add(S_FullChargeCap + std::to_string(FullChargedCapacity) + "mWh");
      memo.Add(S_CurrentCap + std::to_string(Capacity) + "mWh");
      memo.Add(S_Voltage + std::to_string(Voltage) + "mV");
      memo.Add(S_Batstatus + (PowerState == 1 ? S_ChargeComplete : StatusText));
      // 64-bit product; the driver's unknown capacity is no number to divide.
      constexpr ULONG unknown = 0xFFFFFFFF;
      const bool known = FullChargedCapacity != 0 && FullChargedCapacity != unknown && Capacity != unknown;
      memo.Add(S_BattLifePct +
               (known ? std::to_string(Capacity * 100ULL / FullChargedCapacity) + "%" : S_Unknown));
    } else {
      for (const std::string* label : {&S_BATMFT, &S_Battchm, &S_DesignCap, &S_FullChargeCap, &S_CurrentCap,
                                       &S_Voltage})
        memo.Add(*label + S_Unknown);
      memo.Add(S_Batstatus + S_NoBattery);
      memo.Add(S_BattLifePct + S_Unknown);
    }
  }
  ReadPowerStatus();
  Lab_LeftTime->SetCaption(S_BattLifeTime + TimeLeftText);
}

void TForm_Main::SB_PWRClick(TObject*) {
  WinExec("RunDll32.exe Shell32.dll,Control_RunDLL powercfg.cpl", SW_SHOWNORMAL);
}

void TForm_Main::BT_PWROKClick(TObject*) {
  const int item = RG_PWR->ItemIndex();
  if (item != 0 && item != 1) return;
  const bool saver = item == 0;
  if (IsVista())
    SetVistaPlan(saver ? 2 : 3);
  else
    SetDefaultPwrScheme(saver ? 1 : 3);
  if (BacklightRangeKnown()) acpi::Send(acpi::AcpiBrightness, saver ? BrightnessMin : BrightnessMax);
}

// --- Display page.

void TForm_Main::Image_LCDClick(TObject*) { CheckBox_LCD->SetChecked(!CheckBox_LCD->Checked()); }
void TForm_Main::Image_CRTClick(TObject*) { CheckBox_CRT->SetChecked(!CheckBox_CRT->Checked()); }

void TForm_Main::SB_OKClick(TObject*) {
  const bool lcd = CheckBox_LCD->Checked(), crt = CheckBox_CRT->Checked();
  if (lcd && crt)
    DisplayMode = acpi::DisplayBoth;
  else if (lcd)
    DisplayMode = acpi::DisplayLcd;
  else if (crt)
    DisplayMode = acpi::DisplayCrt;
  acpi::Send(acpi::AcpiDisplayOutput, DisplayMode);
}

void TForm_Main::Image_LITClick(TObject*) { acpi::Send(acpi::AcpiBacklightOff); }

void TForm_Main::TSDISPShow(TObject*) {
  BrightnessLevel = GetAcpiValue(acpi::AcpiBrightness) & 0xFF;
  BrightBarArmed = false;  // showing the level must not send it back
  TB_Bright->SetPosition(BrightnessLevel);
  BrightBarArmed = true;
  Lab_FBL->SetCaption(std::to_string(BarPercent(TB_Bright)) + "%");
}

void TForm_Main::TB_BrightChange(TObject*) {
  Lab_FBL->SetCaption(std::to_string(BarPercent(TB_Bright)) + "%");
  if (!BacklightRangeKnown()) return;
  BrightnessLevel = BrightnessMin + (BrightnessMax - BrightnessMin) * TB_Bright->Position() / 100;
  if (BrightBarArmed) acpi::Send(acpi::AcpiBrightness, BrightnessLevel);
}

// --- Settings page.

void TForm_Main::SB_HOTSET(TObject* Sender) {
  struct Choice {
    TSpeedButton* button;
    const char* filter;
    TEdit* edit;
  };
  const Choice choices[] = {{SB_IRH, "All Files|*.*", Edit_IRH},
                            {SB_KE, "Files(*.wav)|*.wav", Edit_KE},
                            {SB_KM, "Files(*.wav)|*.wav", Edit_KM},
                            {SB_SDH, "All Files|*.*", Edit_SDH}};
  for (const auto& c : choices) {
    if (Sender != c.button) continue;
    Fileopen->Filter = c.filter;
    if (Fileopen->Execute()) c.edit->SetText(Fileopen->FileName);
    return;
  }
}

void TForm_Main::SB_SAVClick(TObject*) {
  const struct {
    const char *section, *key;
    TEdit* edit;
  } keys[] = {{"AVI", "KE", Edit_KE}, {"AVI", "KM", Edit_KM}, {"HOTKEY", "HTIR", Edit_IRH}, {"HOTKEY", "HTSD", Edit_SDH}};
  for (const auto& k : keys) {
    std::string text = k.edit->Text();
    RWINI("Config.ini", k.section, k.key, text, true);
  }
}

void TForm_Main::SB_DEFClick(TObject*) {
  for (TEdit* edit : {Edit_KE, Edit_KM, Edit_IRH, Edit_SDH}) edit->SetText("");
  SB_SAVClick(nullptr);  // the same four keys, now empty, in the same order
}

void TForm_Main::Image_IRMUSICClick(TObject*) {
  KeySoundSetting = KeySoundSetting != "True" ? "True" : "False";
  TSSetShow(nullptr);
  RWINI("Config.ini", "AVI", "KK", KeySoundSetting, true);
}

void TForm_Main::TSSetShow(TObject*) {
  LoadIconvaultPng(Image_IRMUSIC, KeySoundSetting == "True" ? "IMG_IRC" : "IMG_IRO");
}

void TForm_Main::Image_WiFiCtrClick(TObject*) {
  acpi::Send(acpi::AcpiWifi);
  const int state = GetAcpiValue(acpi::AcpiWifi);
  if (state == 1)
    LoadIconvaultPng(Image_WiFiCtr, "IMG_WON");
  else if (state == 0)
    LoadIconvaultPng(Image_WiFiCtr, "IMG_WFF");
}

void TForm_Main::Image_MuteClick(TObject*) {
  if (IsVista()) {
    const bool muted = GetVistaMute();
    SetVistaMute(!muted);
    LoadIconvaultPng(Image_Mute, muted ? "IMG_VON" : "IMG_VFF");
  } else {
    const bool muted = GetSpeakerMute();
    SetSpeakerMute(!muted);
    LoadIconvaultPng(Image_Mute, muted ? "IMG_VON" : "IMG_VFF");
  }
}

void TForm_Main::Image_TPanelClick(TObject*) {
  if (TouchOffByUs) {
    SetTouchGate(1);
    TouchOffByUs = false;
    LoadIconvaultPng(Image_TPanel, "IMG_TON");
  } else {
    HideForm();
    SetTouchGate(0);
    TouchOffByUs = true;
    LoadIconvaultPng(Image_TPanel, "IMG_TFF");
  }
}

void TForm_Main::Image_ScrTurnClick(TObject*) {
  AutoRotate = !AutoRotate;
  LoadIconvaultPng(Image_ScrTurn, AutoRotate ? "IMG_RON" : "IMG_RFF");
}

void TForm_Main::Image_LRNTPClick(TObject*) {
  HideForm();
  WinExec("tabcal", SW_SHOWNORMAL);
}

// --- Microphone mute link.

LRESULT CALLBACK TForm_Main::micmessage(HWND, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_QUERYENDSESSION || msg == WM_ENDSESSION) return 1;
  // Without a microphone mute control its id 0 would match unrelated messages.
  if (msg != MM_MIXM_CONTROL_CHANGE || !HasMicMute()) return 0;
  const DWORD id = static_cast<DWORD>(lParam);
  if (id == MicMuteControlId - 1 && GetMicLinkedControl())
    SetMicMute(true);
  else if (id == MicMuteControlId && !GetMicMute())
    SetMicLinkedControl(false);
  return 0;
}
