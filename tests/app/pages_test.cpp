// The real main window on a fresh simulated machine, driven through its
// controls: pages, captions, settings, and the tools and power calls the
// pages start.
#include <windows.h>
#include <winioctl.h>
#include <poclass.h>
#include <commctrl.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "CorvelAcpi.h"
#include "FakeMachine.h"
#include "SkinManage.h"
#include "SkinTestKit.h"
#include "TestSupport.h"
#include "Unit_Battery.h"
#include "Unit_global.h"
#include "Unit_ini.h"
#include "Unit_main.h"
#include "seams/Battery.h"
#include "seams/Power.h"
#include "seams/System.h"

namespace {

using testsupport::Sim;

struct RecordingShell : seams::Shell {
  std::vector<std::string> opened;
  void Open(const std::string& path, int) override { opened.push_back(path); }
};

struct RecordingPower : seams::Power {
  std::vector<std::string> calls;
  BOOL Shutdown(UINT flags) override {
    calls.push_back("shutdown " + std::to_string(flags));
    return TRUE;
  }
  BOOL SetSuspendState(BOOL hibernate, BOOL force, BOOL) override {
    calls.push_back("suspendstate " + std::to_string(hibernate) + std::to_string(force));
    return TRUE;
  }
  BOOL SetSystemPowerState(BOOL suspend, BOOL force) override {
    calls.push_back("powerstate " + std::to_string(suspend) + std::to_string(force));
    return TRUE;
  }
};

// One battery whose driver answers with the given capacities.
struct OneBattery : seams::Battery {
  ULONG remaining = 30000, full = 0;
  std::optional<std::string> InterfacePath(DWORD n) override {
    return n == 0 ? std::optional<std::string>("\\\\?\\battery#0") : std::nullopt;
  }
  HANDLE Open(const std::string&) override { return reinterpret_cast<HANDLE>(0x100); }
  BOOL IoControl(HANDLE, DWORD code, const void* in, DWORD, void* out, DWORD outSize, DWORD* returned) override {
    memset(out, 0, outSize);
    *returned = outSize;
    if (code == IOCTL_BATTERY_QUERY_STATUS) {
      auto* s = static_cast<BATTERY_STATUS*>(out);
      s->PowerState = 2;
      s->Capacity = remaining;
      s->Voltage = 12000;
    } else if (code == IOCTL_BATTERY_QUERY_INFORMATION) {
      const auto* q = static_cast<const BATTERY_QUERY_INFORMATION*>(in);
      if (q->InformationLevel == BatteryInformation) {
        auto* i = static_cast<BATTERY_INFORMATION*>(out);
        memcpy(i->Chemistry, "LION", 4);
        i->DesignedCapacity = 50000;
        i->FullChargedCapacity = full;
      } else {
        wcscpy(static_cast<wchar_t*>(out), q->InformationLevel == BatteryUniqueID ? L"B1" : L"Maker");
      }
    }
    return TRUE;
  }
  BOOL PowerStatus(SYSTEM_POWER_STATUS& status) override {
    status = {};
    status.BatteryLifeTime = 3600;
    return TRUE;
  }
};

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// The device commands sent since the last call, as "0x0585" texts.
std::vector<std::string> SentCommands() {
  std::vector<std::string> sent;
  std::istringstream log(Sim("log"));
  Sim("log --clear");
  for (std::string line; std::getline(log, line);) {
    const size_t at = line.find(" set ");
    if (at != std::string::npos) sent.push_back(line.substr(at + 5));
  }
  return sent;
}

std::string Profile(const std::string& file, const char* section, const char* key) {
  char buf[512] = {};
  GetPrivateProfileStringA(section, key, "<none>", buf, sizeof buf, file.c_str());
  return buf;
}

// Answers the next open-file dialog of this thread with a file name (or
// cancels it when the name is empty), from a timer the dialog's loop runs.
std::string dialogAnswer;

BOOL CALLBACK FindDialog(HWND w, LPARAM p) {
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (strcmp(cls, "#32770") || !IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<HWND*>(p) = w;
  return FALSE;
}

void CALLBACK AnswerDialogTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  KillTimer(nullptr, id);
  if (dialogAnswer.empty()) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  // The file-name box: the combo box of the newer dialog, the edit of the older one.
  if (!SetDlgItemTextA(dialog, 0x47C, dialogAnswer.c_str())) SetDlgItemTextA(dialog, 0x480, dialogAnswer.c_str());
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

void AnswerOpenDialog(const std::string& path) {
  dialogAnswer = path;
  SetTimer(nullptr, 0, 200, AnswerDialogTimer);
}

class PagesTest : public testing::Test {
 protected:
  void SetUp() override {
    testsupport::UseFreshMachine("pages-test");
    if (model) Sim(std::string("set 0x90 ") + model);
    install = testsupport::InstallCopy("pages-test");
    SetEnvironmentVariableA("CORVEL_EXECLOG", execLog().c_str());
    DeleteFileA(execLog().c_str());
    app = std::make_unique<TApplication>();
    app->OnException = [this](TObject*, const std::string& m) { errors.push_back(m); };
    app->CreateForm(Form_Main);
    form = Form_Main;
    // The form looked for its files beside the test program; use a copy of
    // the shipped ones.
    ConfigDir = install + "Config\\";
    form->LoadLanguage();
    form->LoadSettings();
    SentCommands();
  }
  void TearDown() override {
    form->ExitRequested = true;
    app.reset();
    Form_Main = nullptr;
    SetEnvironmentVariableA("CORVEL_EXECLOG", nullptr);
    EXPECT_TRUE(errors.empty()) << errors.front();
  }
  std::string execLog() const { return testsupport::ExeDir() + "pages-exec.log"; }
  // Waits for the stand-in tools to log a number of lines.
  std::string ExecLines(size_t count) {
    testsupport::WaitFor([&] {
      const std::string s = ReadFile(execLog());
      return static_cast<size_t>(std::count(s.begin(), s.end(), '\n')) >= count;
    });
    std::string s = ReadFile(execLog());
    s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
    return s;
  }
  std::string config() const { return ConfigDir + "Config.ini"; }
  // Clicks a control where the user sees it, at an offset from its centre.
  static void ClickOn(TControl* c, int dx = 0) {
    POINT p = {c->Left() + c->Width() / 2 + dx, c->Top() + c->Height() / 2};
    ClientToScreen(c->Parent()->Handle(), &p);
    auto* window = dynamic_cast<TWinControl*>(c);
    EXPECT_EQ(WindowFromPoint(p), window ? window->Handle() : c->Parent()->Handle()) << c->Name << " lies hidden";
    testsupport::ClickAt(p);
    WaitPumping(200);
  }
  void ShowPage(TTabSheet* page) {
    form->ShowForm();
    form->PGC->SetActivePage(page);
    WaitPumping(300);
  }

  const char* model = nullptr;  // the board, when not the default one

  RecordingShell shell;
  RecordingPower power;
  seams::ScopedSeam<seams::Shell> shellSeam{shell};
  seams::ScopedSeam<seams::Power> powerSeam{power};
  std::string install;
  std::unique_ptr<TApplication> app;
  TForm_Main* form = nullptr;
  std::vector<std::string> errors;
};

TEST_F(PagesTest, EveryControlHasItsClassParentAndPlace) {
  WaitPumping(100);  // the skin's takeover of the window finishes
  struct Expected {
    const char *name, *cls, *parent;
    int left, top, width, height;  // -1: sized by its text
  };
  const Expected controls[] = {
      {"PGC", "TPageControl", "Form_Main", 0, 0, 675, 382},
      {"Image_camera", "TImage", "TSMain", 96, 56, 80, 80},       {"Lab_camera", "TLabel", "TSMain", 96, 152, -1, -1},
      {"Image_mic", "TImage", "TSMain", 216, 56, 80, 80},         {"Lab_mic", "TLabel", "TSMain", 216, 155, -1, -1},
      {"Image_PrintSrc", "TImage", "TSMain", 352, 56, 80, 80},    {"Lab_PrintSrc", "TLabel", "TSMain", 352, 155, -1, -1},
      {"Image_SRCL", "TImage", "TSMain", 480, 56, 80, 80},        {"Lab_SRLK", "TLabel", "TSMain", 480, 155, -1, -1},
      {"Image_S3", "TImage", "TSMain", 96, 192, 80, 80},          {"Lab_S3", "TLabel", "TSMain", 96, 288, -1, -1},
      {"Image_S5", "TImage", "TSMain", 224, 192, 80, 80},         {"Lab_S5", "TLabel", "TSMain", 232, 288, -1, -1},
      {"Image_S4", "TImage", "TSMain", 352, 192, 80, 80},         {"Lab_S4", "TLabel", "TSMain", 360, 288, -1, -1},
      {"Image_GameH", "TImage", "TSMain", 480, 192, 80, 80},      {"Lab_GameH", "TLabel", "TSMain", 488, 288, -1, -1},
      {"Lab_WFS", "TLabel", "TSMain", 16, 328, -1, -1},
      {"MInfo", "TMemo", "TSHW", 0, 0, 521, -1},                  {"Lab_CT", "TLabel", "TSHW", 528, 8, -1, -1},
      {"Image_BBB", "TImage", "TSBatt", 320, 96, 100, 105},       {"Lab_LeftTime", "TLabel", "TSBatt", 320, 216, -1, -1},
      {"RG_PWR", "TRadioGroup", "TSBatt", 480, 32, 177, 217},     {"BT_PWROK", "TButton", "TSBatt", 584, 216, 41, 18},
      {"SB_PWR", "TSpeedButton", "TSBatt", 520, 296, 105, 30},
      {"Image_LCD", "TImage", "TSDISP", 152, 40, 80, 80},         {"Image_CRT", "TImage", "TSDISP", 368, 40, 80, 80},
      {"CheckBox_LCD", "TCheckBox", "TSDISP", 168, 128, -1, -1},  {"CheckBox_CRT", "TCheckBox", "TSDISP", 384, 128, -1, -1},
      {"SB_OK", "TSpeedButton", "TSDISP", 504, 152, 49, 17},      {"Image_LIT", "TImage", "TSDISP", 88, 232, 50, 50},
      {"Lab_FBL", "TLabel", "TSDISP", 102, 248, -1, -1},          {"TB_Bright", "TTrackBar", "TSDISP", 136, 240, 417, 33},
      {"SB_IRH", "TSpeedButton", "TSSet", 24, 55, 97, 23},        {"Edit_IRH", "TEdit", "TSSet", 122, 56, 256, 23},
      {"SB_KE", "TSpeedButton", "TSSet", 24, 96, 97, 23},         {"Edit_KE", "TEdit", "TSSet", 122, 96, 256, 23},
      {"SB_KM", "TSpeedButton", "TSSet", 24, 136, 97, 23},        {"Edit_KM", "TEdit", "TSSet", 122, 136, 256, 23},
      {"SB_SDH", "TSpeedButton", "TSSet", 24, 176, 97, 23},       {"Edit_SDH", "TEdit", "TSSet", 122, 176, 256, 23},
      {"Image_IRMUSIC", "TImage", "TSSet", 488, 56, 50, 50},      {"Lab_IRSD", "TLabel", "TSSet", 488, 112, -1, -1},
      {"SB_DEF", "TSpeedButton", "TSSet", 136, 240, 105, 22},     {"SB_SAV", "TSpeedButton", "TSSet", 264, 240, 105, 22},
      {"Pl_L500", "TPanel", "TSSet", 0, 0, -1, -1},
      {"Image_WiFiCtr", "TImage", "Pl_L500", 96, 40, 80, 80},     {"Lab_WiFiStatus", "TLabel", "Pl_L500", 96, 136, -1, -1},
      {"Image_Mute", "TImage", "Pl_L500", 296, 40, 80, 80},       {"Lab_Mute", "TLabel", "Pl_L500", 296, 136, -1, -1},
      {"Image_ScrTurn", "TImage", "Pl_L500", 472, 40, 80, 80},    {"Lab_ScrTurn", "TLabel", "Pl_L500", 472, 136, -1, -1},
      {"Image_LRNTP", "TImage", "Pl_L500", 96, 168, 80, 80},      {"Lab_LRNTP", "TLabel", "Pl_L500", 96, 264, -1, -1},
      {"Image_TPanel", "TImage", "Pl_L500", 296, 168, 80, 80},    {"Lab_TPanel", "TLabel", "Pl_L500", 296, 264, -1, -1},
      // The skinned frame's client area is 2 pixels lower than the stored
      // one: the status bar overlaps the pages by as much.
      {"StatusBar1", "TStatusBar", "Form_Main", 0, 380, 675, 19},
  };
  for (const auto& e : controls) {
    auto* c = dynamic_cast<TControl*>(form->FindComponent(e.name));
    ASSERT_NE(c, nullptr) << e.name;
    EXPECT_EQ(c->ClassName(), e.cls) << e.name;
    ASSERT_NE(c->Parent(), nullptr) << e.name;
    EXPECT_EQ(c->Parent()->Name, e.parent) << e.name;
    EXPECT_EQ(c->Left(), e.left) << e.name;
    EXPECT_EQ(c->Top(), e.top) << e.name;
    if (e.width >= 0) {
      EXPECT_EQ(c->Width(), e.width) << e.name;
    }
    if (e.height >= 0) {
      EXPECT_EQ(c->Height(), e.height) << e.name;
    }
  }
  const char* pages[] = {"TSMain", "TSHW", "TSBatt", "TSDISP", "TSSet"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(form->PGC->Controls(i)->Name, pages[i]);
    EXPECT_EQ(form->PGC->Controls(i)->ClassName(), "TTabSheet");
  }
  EXPECT_EQ(form->PGC->ActivePage(), form->TSMain);
  RECT client;
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 675);
  EXPECT_EQ(client.bottom, 399);
  EXPECT_EQ(form->Caption(), "QVX Center");
}

TEST_F(PagesTest, CaptionsComeFromTheEnglishFile) {
  EXPECT_EQ(form->TSMain->Caption(), "Basic APP");
  EXPECT_EQ(form->TSHW->Caption(), "System Info.");
  EXPECT_EQ(form->TSBatt->Caption(), "Power Management");
  EXPECT_EQ(form->TSDISP->Caption(), "Display");
  EXPECT_EQ(form->TSSet->Caption(), "Setting");
  char tab[64] = {};
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = tab;
  item.cchTextMax = sizeof tab;
  SendMessageA(form->PGC->Handle(), TCM_GETITEMA, 4, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(tab, "Setting") << "the tab shows the new caption";
  EXPECT_EQ(form->SB_IRH->Caption(), "IR HotKey");
  EXPECT_EQ(form->SB_DEF->Caption(), "Load Default");
  EXPECT_EQ(form->Lab_TPanel->Caption(), "TouchPanel ON/OFF");
  EXPECT_EQ(form->RG_PWR->Items.Lines(), (std::vector<std::string>{"  Power Saver", "  High Performance"}));
  EXPECT_EQ(form->RG_PWR->ItemIndex(), 0);
  EXPECT_EQ(form->ExitW->Caption, "Exit");
  EXPECT_EQ(S_LAN, "Network Card");

  // A missing language file empties every caption and text and breaks nothing.
  ConfigDir = install + "Missing\\";
  form->LoadLanguage();
  EXPECT_EQ(form->TSMain->Caption(), "");
  EXPECT_EQ(form->RG_PWR->Items.Lines(), (std::vector<std::string>{"  ", "  "}));
  EXPECT_EQ(S_LAN, "");
}

TEST_F(PagesTest, MainPageActionsHideTheWindowFirst) {
  form->CameraRunning = true;
  form->ShowForm();
  form->Image_camera->Click();
  EXPECT_TRUE(form->Visible()) << "the camera runs: nothing happens";
  EXPECT_TRUE(shell.opened.empty());

  form->CameraRunning = false;
  form->Image_camera->Click();
  EXPECT_FALSE(form->Visible());
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0], form->GetSpecialFolderDir(CSIDL_PROGRAM_FILES) + "\\Corvel\\Lensbox.exe");

  form->ShowForm();
  form->Image_S3->Click();
  EXPECT_FALSE(form->Visible());
  form->Image_S5->Click();
  EXPECT_EQ(power.calls, (std::vector<std::string>{"powerstate 10", "shutdown 5"}));

  form->ShowForm();
  form->Image_SRCL->Click();
  EXPECT_FALSE(form->Visible());
  form->Image_LRNTP->Click();
  form->Image_mic->Click();
  form->SB_PWR->Click();
  const std::string log = ExecLines(4);
  EXPECT_NE(log.find("RunDll32.exe user32.dll,LockWorkStation\n"), std::string::npos) << log;
  EXPECT_NE(log.find("tabcal.exe \n"), std::string::npos) << log;
  EXPECT_NE(log.find(IsVista() ? "SoundRecorder.exe" : "sndrec32.exe"), std::string::npos) << log;
  EXPECT_NE(log.find("RunDll32.exe Shell32.dll,Control_RunDLL powercfg.cpl\n"), std::string::npos) << log;
}

TEST_F(PagesTest, DisplayOkSendsTheChosenModeOrRepeatsTheLast) {
  form->CheckBox_LCD->SetChecked(false);
  form->SB_OK->Click();  // neither box right after start: mode 0
  form->Image_CRT->Click();
  form->SB_OK->Click();
  form->Image_LCD->Click();
  form->SB_OK->Click();
  form->Image_CRT->Click();
  form->SB_OK->Click();
  form->Image_LCD->Click();
  form->SB_OK->Click();  // neither again: the last mode, LCD
  form->Image_LIT->Click();
  EXPECT_EQ(SentCommands(), (std::vector<std::string>{"0x0085", "0x0185", "0x0585", "0x0485", "0x0485", "0x0093"}));
  EXPECT_FALSE(form->BacklightOffByUs);
}

TEST_F(PagesTest, BrightnessBarShowsTheDeviceLevelAndSendsPercentsOfTheRange) {
  Sim("set 0x84 " + std::to_string(60 | 20 << 8 | 120 << 16));
  form->PGC->SetActivePage(form->TSDISP);
  EXPECT_EQ(form->TB_Bright->Position(), 60);
  EXPECT_EQ(form->Lab_FBL->Caption(), "61%");
  EXPECT_TRUE(SentCommands().empty()) << "showing the page sends nothing";

  ReadBacklightRange();
  form->TB_Bright->SetPosition(97);
  EXPECT_EQ(BrightnessLevel, 117);
  EXPECT_EQ(form->Lab_FBL->Caption(), "100%");
  EXPECT_EQ(SentCommands(), std::vector<std::string>{"0x7584"});
}

TEST_F(PagesTest, PowerPlanOkSetsThePlanThenTheLevel) {
  ASSERT_TRUE(IsVista());
  BrightnessMin = 20;
  BrightnessMax = 120;
  Sim("set xpscheme 1");
  ShowPage(form->TSBatt);
  for (int item : {1, 0}) {
    ClickOn(form->RG_PWR->Buttons(item));
    EXPECT_EQ(form->RG_PWR->ItemIndex(), item);
    ClickOn(form->BT_PWROK);
    EXPECT_EQ(Sim("get vistaplan"), item ? "3\n" : "2\n");
    EXPECT_EQ(SentCommands(), std::vector<std::string>{item ? "0x7884" : "0x1484"});
  }
  EXPECT_EQ(Sim("get xpscheme"), "1\n") << "the XP library is not used on Vista";
  form->RG_PWR->SetItemIndex(-1);
  ClickOn(form->BT_PWROK);
  EXPECT_TRUE(SentCommands().empty());
}

// A click on the bar sends no level while the range is unknown (its read
// failed); once the device answers, the next click reads it and sends.
TEST_F(PagesTest, ABrightnessBarClickWithAnUnknownRangeSendsNoLevel) {
  Sim("set 0x84 fail");
  ReadBacklightRange();
  ShowPage(form->TSDISP);
  ClickOn(form->TB_Bright, -150);
  EXPECT_LT(form->TB_Bright->Position(), 97) << "the click moved the bar";
  EXPECT_TRUE(SentCommands().empty());

  Sim("set 0x84 " + std::to_string(60 | 20 << 8 | 120 << 16));
  const int before = form->TB_Bright->Position();
  ClickOn(form->TB_Bright, -150);
  ASSERT_LT(form->TB_Bright->Position(), before);
  char level[16];
  snprintf(level, sizeof level, "0x%04X", acpi::Command(0x84, 20 + form->TB_Bright->Position()));
  EXPECT_EQ(SentCommands(), std::vector<std::string>{level}) << "20 + 100 * position div 100";
}

TEST_F(PagesTest, SaveWritesTheFieldsAndLoadDefaultEmptiesThem) {
  form->Edit_KE->SetText("C:\\a.wav");
  form->Edit_KM->SetText("C:\\b.wav");
  form->Edit_IRH->SetText("C:\\c.exe");
  form->Edit_SDH->SetText("C:\\d.exe");
  form->SB_SAV->Click();
  EXPECT_EQ(Profile(config(), "AVI", "KE"), "C:\\a.wav");
  EXPECT_EQ(Profile(config(), "AVI", "KM"), "C:\\b.wav");
  EXPECT_EQ(Profile(config(), "HOTKEY", "HTIR"), "C:\\c.exe");
  EXPECT_EQ(Profile(config(), "HOTKEY", "HTSD"), "C:\\d.exe");

  form->SB_DEF->Click();
  for (auto [section, key] : {std::pair{"AVI", "KE"}, {"AVI", "KM"}, {"HOTKEY", "HTIR"}, {"HOTKEY", "HTSD"}})
    EXPECT_EQ(Profile(config(), section, key), "") << key;
  for (TEdit* e : {form->Edit_KE, form->Edit_KM, form->Edit_IRH, form->Edit_SDH}) EXPECT_EQ(e->Text(), "");
}

TEST_F(PagesTest, ChoosingASoundFileTakesEffectBeforeSave) {
  const std::string wav = install + "Res\\KM.wav";
  AnswerOpenDialog(wav);
  form->SB_KE->Click();
  EXPECT_EQ(form->Edit_KE->Text(), wav);
  EXPECT_EQ(form->Fileopen->Filter, "Files(*.wav)|*.wav");
  EXPECT_EQ(Profile(config(), "AVI", "KE"), "") << "not saved yet";

  AnswerOpenDialog("");  // cancel
  form->SB_KE->Click();
  EXPECT_EQ(form->Edit_KE->Text(), wav);
}

TEST_F(PagesTest, KeySoundToggleWritesAtOnceAndOnlyExactTrueSilences) {
  WritePrivateProfileStringA("AVI", "KK", "true", config().c_str());
  form->LoadSettings();
  EXPECT_EQ(KeySoundSetting, "true");
  form->Image_IRMUSIC->Click();  // any text but "True" becomes "True"
  EXPECT_EQ(KeySoundSetting, "True");
  EXPECT_EQ(Profile(config(), "AVI", "KK"), "True");
  EXPECT_EQ(PictureName(form->Image_IRMUSIC), "IMG_IRC");
  form->Image_IRMUSIC->Click();
  EXPECT_EQ(KeySoundSetting, "False");
  EXPECT_EQ(PictureName(form->Image_IRMUSIC), "IMG_IRO");
  EXPECT_EQ(Profile(config(), "AVI", "KK"), "False");

  WritePrivateProfileStringA("AVI", "KK", nullptr, config().c_str());
  form->LoadSettings();
  EXPECT_EQ(KeySoundSetting, "False") << "a missing key reads as False";
}

TEST_F(PagesTest, WifiToggleKeepsThePictureWhenTheReadBackFails) {
  form->Image_WiFiCtr->Click();
  EXPECT_EQ(Sim("get 0x83"), "0\n");
  EXPECT_EQ(PictureName(form->Image_WiFiCtr), "IMG_WFF");
  Sim("set 0x83 fail");
  form->Image_WiFiCtr->Click();
  EXPECT_EQ(PictureName(form->Image_WiFiCtr), "IMG_WFF");
  Sim("set 0x83 0");
  form->Image_WiFiCtr->Click();
  EXPECT_EQ(PictureName(form->Image_WiFiCtr), "IMG_WON");
}

// The toggles' pictures at start follow the device, the mixer and the setting.
TEST_F(PagesTest, LoadSettingsShowsTheTogglesStates) {
  HKEY key;
  RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Wisp\\Touch", &key);
  RegCloseKey(key);
  const std::string board = Model;
  Model = "P0D6";  // the board that shows the touch state at start
  const struct {
    const char *wifi, *mute;
    bool rotate;
    int touch;
    const char *wifiPicture, *mutePicture, *rotatePicture, *touchPicture;
  } cases[] = {{"1", "0", true, 1, "IMG_WON", "IMG_VON", "IMG_RON", "IMG_TON"},
               {"0", "1", false, 0, "IMG_WFF", "IMG_VFF", "IMG_RFF", "IMG_TFF"},
               {"fail", "0", true, 0, "IMG_WFF", "IMG_VON", "IMG_RON", "IMG_TFF"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wifi);
    Sim(std::string("set 0x83 ") + c.wifi);
    Sim(std::string("set mute ") + c.mute);
    form->AutoRotate = c.rotate;
    SetTouchGate(c.touch);
    form->LoadSettings();
    EXPECT_EQ(PictureName(form->Image_WiFiCtr), c.wifiPicture);
    EXPECT_EQ(PictureName(form->Image_Mute), c.mutePicture);
    EXPECT_EQ(PictureName(form->Image_ScrTurn), c.rotatePicture);
    EXPECT_EQ(PictureName(form->Image_TPanel), c.touchPicture);
  }
  Model = board;
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Wisp\\Touch");
}

// On the boards with the toggle panel: the Mute picture, clicked where the
// user sees it, mutes and unmutes and shows which.
class GamePagesTest : public PagesTest {
 protected:
  GamePagesTest() { model = "0xB0D6"; }
};

TEST_F(GamePagesTest, TheMutePictureTogglesTheMute) {
  ShowPage(form->TSSet);
  ASSERT_TRUE(form->Pl_L500->Visible());
  for (const char* expected : {"IMG_VFF", "IMG_VON"}) {
    ClickOn(form->Image_Mute);
    EXPECT_EQ(Sim("get mute"), expected == std::string("IMG_VFF") ? "1\n" : "0\n");
    EXPECT_EQ(PictureName(form->Image_Mute), expected);
  }
}

TEST_F(PagesTest, WifiIsRestoredToTheSavedState) {
  struct Case {
    const char* saved;
    const char* device;
    bool toggles;
  };
  const Case cases[] = {{"1", "0", true}, {"0", "1", true}, {"", "1", false}, {"1", "1", false}, {"1", "fail", true}};
  for (const auto& c : cases) {
    WritePrivateProfileStringA("WiFi", "State", c.saved, config().c_str());
    Sim(std::string("set 0x83 ") + c.device);
    SentCommands();
    form->LoadSettings();
    EXPECT_EQ(SentCommands(), c.toggles ? std::vector<std::string>{"0x0083"} : std::vector<std::string>{})
        << c.saved << " against " << c.device;
  }
}

// The hardware page on a played machine.
class HardwarePageTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    PlayTypicalMachine(machine);
  }
  const std::vector<std::string>& Shown() {
    form->PGC->SetActivePage(form->TSMain);
    form->PGC->SetActivePage(form->TSHW);
    return form->MInfo->Lines().Lines();
  }
  FakeMachine machine;
  seams::ScopedSeam<seams::SystemInfo> machineSeam{machine};
};

TEST_F(HardwarePageTest, GatheredOnceInPageOrder) {
  const std::vector<std::string> expected = {
      "Operating System", "  Windows 7 Professional Service Pack 1    Version6.1.7601", "",
      "Processor", "    Core 2 Duo T7200", "    Core 2 Duo T7200", "",
      "HDD", "  Mode:AB", "  Size:1" + DecimalSeparator() + "50GB", "",
      "Memory", "  2048 MB", "",
      "Video Card Info.", "  Mobile Graphics", "  Video Memory:128MB", "",
      "Network Card", "  Gigabit Ethernet", "      MAC Address:  00-1A-2B-3C-4D-5E",
      "      IP  Address:     192.168.1.2010.0.0.7"};
  EXPECT_EQ(Shown(), expected);
  EXPECT_TRUE(form->HardwareInfoShown);

  // Later visits neither ask the machine again nor touch the text.
  const int calls = machine.calls;
  form->MInfo->Lines().Assign({"kept"});
  EXPECT_EQ(Shown(), std::vector<std::string>{"kept"});
  EXPECT_EQ(machine.calls, calls);
}

TEST_F(HardwarePageTest, FailedQueriesAndAdapterListKeepTheirPlaces) {
  machine.results.clear();
  machine.adaptersError = ERROR_BUFFER_OVERFLOW;
  const auto& lines = Shown();
  ASSERT_EQ(lines.size(), 19u);
  EXPECT_EQ(lines[7], "HDD");
  EXPECT_EQ(lines[8], "Read Error");
  EXPECT_EQ(lines[9], "");
  EXPECT_EQ(lines[15], "  Video Memory:Read Error");
  EXPECT_EQ(lines[17], "Network Card");
  EXPECT_EQ(lines[18], "N/A");
}

// A connection failure leaves the page (a tab click's window procedure hands
// it to the error dialog); the lines found so far stay, and the next visit
// gathers again.
TEST_F(HardwarePageTest, ConnectionFailureStopsThePage) {
  machine.connectFails = true;
  EXPECT_THROW(Shown(), seams::WmiConnectError);
  const auto& lines = form->MInfo->Lines().Lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[3], "Processor");
  EXPECT_FALSE(form->HardwareInfoShown);

  machine.connectFails = false;
  EXPECT_EQ(Shown().size(), 22u);
  EXPECT_TRUE(form->HardwareInfoShown);
}

// The memo's skinned scroll bar looks the same when its page comes back
// (clicked on its tab) as on the page's first show.
TEST_F(HardwarePageTest, TheMemoScrollBarKeepsItsLookWhenThePageComesBack) {
  form->ShowForm();
  HWND tabs = form->PGC->Handle(), memo = form->MInfo->Handle();
  TBitmap shown[2];
  const std::pair<int, TTabSheet*> clicks[] = {{1, form->TSHW}, {0, form->TSMain}, {1, form->TSHW}};
  for (int k = 0; k < 3; ++k) {
    const auto [index, page] = clicks[k];
    RECT tab{};
    SendMessageA(tabs, TCM_GETITEMRECT, index, LPARAM(&tab));
    testsupport::ClickAt(skintest::ScreenPoint(tabs, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2));
    ASSERT_TRUE(testsupport::WaitFor([&] { return form->PGC->ActivePage() == page; }));
    skintest::Pump();  // every window painted
    if (page == form->TSHW) skintest::Snapshot(memo, shown[k / 2]);
  }
  // The bar takes the memo's right edge, as wide as the system's.
  const int left = shown[0].Width() - GetSystemMetrics(SM_CXVSCROLL);
  std::vector<int> changedRows;
  for (int y = 0; y < shown[0].Height(); ++y)
    for (int x = left; x < shown[0].Width(); ++x)
      if (skintest::BitmapPixel(shown[1], x, y) != skintest::BitmapPixel(shown[0], x, y)) {
        changedRows.push_back(y);
        break;
      }
  EXPECT_EQ(changedRows, std::vector<int>{});
}

TEST_F(PagesTest, TouchAndRotationToggles) {
  form->ShowForm();
  form->Image_TPanel->Click();
  EXPECT_TRUE(form->TouchOffByUs);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(PictureName(form->Image_TPanel), "IMG_TFF");
  form->Image_TPanel->Click();
  EXPECT_FALSE(form->TouchOffByUs);
  EXPECT_EQ(PictureName(form->Image_TPanel), "IMG_TON");
  form->Image_ScrTurn->Click();
  EXPECT_FALSE(form->AutoRotate);
  EXPECT_EQ(PictureName(form->Image_ScrTurn), "IMG_RFF");
  form->Image_ScrTurn->Click();
  EXPECT_TRUE(form->AutoRotate);
  EXPECT_EQ(PictureName(form->Image_ScrTurn), "IMG_RON");
}

// A battery whose full capacity reads 0 (or unknown) has no percent.
class BatteryPageTest : public PagesTest {
 protected:
  void SetUp() override { PagesTest::SetUp(); }
  static OneBattery battery;
  seams::ScopedSeam<seams::Battery> batterySeam{battery};
};
OneBattery BatteryPageTest::battery;

TEST_F(BatteryPageTest, UnknownFullCapacityShowsNoPercent) {
  ASSERT_EQ(form->BatteryMemos.size(), 1u);
  EXPECT_EQ(form->BatteryMemos[0]->Top(), 10);
  for (ULONG full : {0UL, 0xFFFFFFFFUL}) {
    battery.full = full;
    form->PGC->SetActivePage(form->TSBatt);
    const auto& lines = form->BatteryMemos[0]->Lines().Lines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "NO1:");
    EXPECT_EQ(lines[1], "Manufacture:Maker");
    EXPECT_EQ(lines[2], "Chemistry:LION");
    EXPECT_EQ(lines[7], "Battery Status:Discharge...");
    EXPECT_EQ(lines[8], "percentage:Unknown");
  }
  battery.full = 0xFFFFFFF0;  // large: the percent must not overflow 32 bits
  battery.remaining = 0xFFFFFFF0;
  form->PGC->SetActivePage(form->TSMain);
  form->PGC->SetActivePage(form->TSBatt);
  EXPECT_EQ(form->BatteryMemos[0]->Lines()[8], "percentage:100%");
  EXPECT_EQ(form->Lab_LeftTime->Caption(), "Left time:1:00hours");
}

// The skin's takeover gives every control of the window its skinned control;
// the battery memos, made after it, keep the platform's look.
TEST_F(BatteryPageTest, EveryControlHasTheSkinnedControlOfItsClass) {
  const TWinSkinForm* frame = SkinManage->FindSkinForm(form->Handle());
  ASSERT_NE(frame, nullptr);
  const std::map<std::string, std::string> skinOf = {
      {"TPageControl", "TSkinTab"},        {"TMemo", "TSkinScrollbar"},   {"TRadioGroup", "TSkinGroupBox"},
      {"TButton", "TSkinButton"},          {"TSpeedButton", "TSkinSpeedButton"}, {"TCheckBox", "TSkinCheckBox"},
      {"TTrackBar", "TSkinTrackBar"},      {"TEdit", "TSkinEdit"},        {"TPanel", "TSkinBox"},
      {"TStatusBar", "TSkinStatusBar"},    {"TTabSheet", ""},             {"TImage", ""},
      {"TLabel", ""}};
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* c = dynamic_cast<TControl*>(form->Components(i));
    if (!c) continue;
    const bool later = c == form->BatteryMemos[0];
    ASSERT_TRUE(later || skinOf.count(c->ClassName())) << c->Name << " of a class the test does not know";
    EXPECT_EQ(skintest::SkinnedClassOf(*frame, c), later ? "" : skinOf.at(c->ClassName())) << c->Name;
  }
  for (int i = 0; i < 2; ++i) EXPECT_EQ(skintest::SkinnedClassOf(*frame, form->RG_PWR->Buttons(i)), "TSkinRadioButton");
  EXPECT_FALSE(form->StatusBar1->SizeGrip());
}

}  // namespace
