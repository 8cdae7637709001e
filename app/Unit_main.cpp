// Start-up, the tray icon, showing and hiding, closing, the registered,
// session and power messages, and idle dimming.
#include "Unit_main.h"

#include <cstdio>

#include "CorvelAcpi.h"
#include "Unit_Battery.h"
#include "Unit_MICMixer.h"
#include "Unit_Mixer.h"
#include "Unit_global.h"
#include "Unit_ini.h"
#include "seams/Battery.h"

TForm_Main* Form_Main = nullptr;
UINT CloseMessageId = 0, CameraCloseMessageId = 0, CameraOpenMessageId = 0;

namespace {

// Board models that offer the settings page.
bool IsModel(std::initializer_list<const char*> models) {
  for (const char* m : models)
    if (Model == m) return true;
  return false;
}

// A failed read (-1) is nothing to restore.
std::string WifiStateText(int state) { return state == -1 ? std::string() : std::to_string(state); }

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path);
  return dir.substr(0, dir.find_last_of('\\') + 1);
}

}  // namespace

void RegisterProgramMessages() {
  CloseMessageId = RegisterWindowMessageA("QVXPAVONACLOSE");
  CameraCloseMessageId = RegisterWindowMessageA("QVXCAMCLOSE");
  CameraOpenMessageId = RegisterWindowMessageA("QVXCAMOPEN");
}

TForm_Main::TForm_Main(TComponent* owner) : TForm(owner) {
  RegisterComponentClass<TSkinData>();
  Bind("PGC", PGC);
  Bind("TSMain", TSMain);
  Bind("TSHW", TSHW);
  Bind("TSBatt", TSBatt);
  Bind("TSDISP", TSDISP);
  Bind("TSSet", TSSet);
  Bind("Image_camera", Image_camera);
  Bind("Image_mic", Image_mic);
  Bind("Image_PrintSrc", Image_PrintSrc);
  Bind("Image_SRCL", Image_SRCL);
  Bind("Image_S3", Image_S3);
  Bind("Image_S5", Image_S5);
  Bind("Image_S4", Image_S4);
  Bind("Image_GameH", Image_GameH);
  Bind("Lab_camera", Lab_camera);
  Bind("Lab_mic", Lab_mic);
  Bind("Lab_PrintSrc", Lab_PrintSrc);
  Bind("Lab_SRLK", Lab_SRLK);
  Bind("Lab_S3", Lab_S3);
  Bind("Lab_S5", Lab_S5);
  Bind("Lab_S4", Lab_S4);
  Bind("Lab_GameH", Lab_GameH);
  Bind("Lab_WFS", Lab_WFS);
  Bind("MInfo", MInfo);
  Bind("Lab_CT", Lab_CT);
  Bind("Image_BBB", Image_BBB);
  Bind("Lab_LeftTime", Lab_LeftTime);
  Bind("RG_PWR", RG_PWR);
  Bind("BT_PWROK", BT_PWROK);
  Bind("SB_PWR", SB_PWR);
  Bind("Image_LCD", Image_LCD);
  Bind("Image_CRT", Image_CRT);
  Bind("Image_LIT", Image_LIT);
  Bind("CheckBox_LCD", CheckBox_LCD);
  Bind("CheckBox_CRT", CheckBox_CRT);
  Bind("SB_OK", SB_OK);
  Bind("Lab_FBL", Lab_FBL);
  Bind("TB_Bright", TB_Bright);
  Bind("SB_IRH", SB_IRH);
  Bind("SB_KE", SB_KE);
  Bind("SB_KM", SB_KM);
  Bind("SB_SDH", SB_SDH);
  Bind("SB_DEF", SB_DEF);
  Bind("SB_SAV", SB_SAV);
  Bind("Edit_IRH", Edit_IRH);
  Bind("Edit_KE", Edit_KE);
  Bind("Edit_KM", Edit_KM);
  Bind("Edit_SDH", Edit_SDH);
  Bind("Image_IRMUSIC", Image_IRMUSIC);
  Bind("Lab_IRSD", Lab_IRSD);
  Bind("Pl_L500", Pl_L500);
  Bind("Image_WiFiCtr", Image_WiFiCtr);
  Bind("Image_Mute", Image_Mute);
  Bind("Image_ScrTurn", Image_ScrTurn);
  Bind("Image_LRNTP", Image_LRNTP);
  Bind("Image_TPanel", Image_TPanel);
  Bind("Lab_WiFiStatus", Lab_WiFiStatus);
  Bind("Lab_Mute", Lab_Mute);
  Bind("Lab_ScrTurn", Lab_ScrTurn);
  Bind("Lab_LRNTP", Lab_LRNTP);
  Bind("Lab_TPanel", Lab_TPanel);
  Bind("StatusBar1", StatusBar1);
  Bind("PopupMenu1", PopupMenu1);
  Bind("Open", Open);
  Bind("About", About);
  Bind("ExitW", ExitW);
  Bind("Fileopen", Fileopen);
  Bind("Timer_Powersave", Timer_Powersave);
  Bind("Timer_PowerResume", Timer_PowerResume);
  Bind("SkinData1", SkinData1);

  Method("FormCreate", &TForm_Main::FormCreate);
  Method("FormClose", &TForm_Main::FormClose);
  Method("OpenClick", &TForm_Main::OpenClick);
  Method("About1Click", &TForm_Main::About1Click);
  Method("CLose1Click", &TForm_Main::CLose1Click);
  Method("Timer_PowersaveTimer", &TForm_Main::Timer_PowersaveTimer);
  Method("Timer_PowerResumeTimer", &TForm_Main::Timer_PowerResumeTimer);
  BindPageHandlers();

  OnMessage(WM_DEVICECHANGE, &TForm_Main::WMDeviceChange);
  OnMessage(WM_TRAYICON, &TForm_Main::WMTrayIcon);
  OnMessage(WM_QUERYENDSESSION, &TForm_Main::WMQueryEndSession);
  OnMessage(WM_POWERBROADCAST, &TForm_Main::WMPowerBroadcast);
}

TForm_Main::~TForm_Main() { StopDevice(); }

void TForm_Main::FormCreate(TObject*) {
  SuppressScreenCheck();
  // Our own icon, in the tray and on the window.
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (HICON icon = LoadIconA(instance, "MAINICON")) {
    Application->Icon = icon;
    SetIcon(icon);
    smallIcon_ = static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  }
  deviceStarted_ = true;
  AddTrayIcon();
  // No taskbar button: the hidden application window becomes a tool window.
  SetWindowLongPtrA(Application->Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  OpenSpeakerMixer(0);
  OpenMicMixer(micmessage);
  acpi::Send(acpi::AcpiEventsOn);
  RegistDeivceNotify(Handle());
  char model[16];
  snprintf(model, sizeof model, "%04X", static_cast<unsigned>(GetAcpiValue(acpi::AcpiModel)));
  Model = model;
  if (Model[0] == 'B') Model[0] = 'P';
  EnumBatteries();
  ConfigDir = ProgramFolder() + "Config\\";
  ResDir = ProgramFolder() + "Res\\";
  LoadLanguage();
  LoadPageImages();
  AdaptToModel();
  StatusBar1->SetPanelText(2, "Corvel " + Model + " MB");
  LoadSettings();
  CreateBatteryMemos();
}

void TForm_Main::AdaptToModel() {
  const bool listed = IsModel({"P4D2", "P6E1", "P6E5", "P6E9", "A7C3", "P0D6", "P1B7"});
  TSSet->SetTabVisible(listed);
  if (!listed) return;
  if (Model != "P4D2") {
    SB_SDH->Hide();
    Edit_SDH->Hide();
  }
  if (IsModel({"P0D6", "P1B7"})) {
    GameOnMessageId = RegisterWindowMessageA("Gamehon");
    GameOffMessageId = RegisterWindowMessageA("Gamehoff");
    Pl_L500->Show();
    Lab_GameH->Show();
    Image_GameH->Show();
  }
  if (Model == "P1B7") {
    Image_LRNTP->Hide();
    Image_TPanel->Hide();
    Lab_LRNTP->Hide();
    Lab_TPanel->Hide();
  }
}

void TForm_Main::CreateBatteryMemos() {
  for (int i = 0; i < BatteryCount; ++i) {
    auto* memo = new TMemo(this);
    memo->SetBounds(20, i * 170 + 10, 270, 160);
    memo->SetParentColor(true);
    memo->SetReadOnly(true);
    memo->SetParent(TSBatt);
    BatteryMemos.push_back(memo);
  }
}

NOTIFYICONDATAA TForm_Main::TrayIcon() {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = Handle();
  data.uID = 0;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_TRAYICON;
  data.hIcon = smallIcon_ ? smallIcon_ : LoadIconA(nullptr, IDI_APPLICATION);
  lstrcpynA(data.szTip, "QVX Center", sizeof data.szTip);
  return data;
}

bool TForm_Main::AddTrayIcon() {
  NOTIFYICONDATAA data = TrayIcon();
  return Shell_NotifyIconA(NIM_ADD, &data);
}

void TForm_Main::ShowForm() {
  ShowWindow(Application->Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(Application->Handle());
  SetVisible(true);
}

void TForm_Main::HideForm() {
  SetVisible(false);
  ShowWindow(Application->Handle(), SW_HIDE);
  AddTrayIcon();
}

void TForm_Main::WMTrayIcon(TMessage& Msg) {
  if (Msg.LParam == WM_RBUTTONDOWN) {
    SetForegroundWindow(Handle());
    POINT p;
    GetCursorPos(&p);
    PopupMenu1->Popup(p.x, p.y);
  } else if (Msg.LParam == WM_LBUTTONDBLCLK) {
    ShowForm();
  }
}

void TForm_Main::OpenClick(TObject*) { ShowForm(); }

void TForm_Main::About1Click(TObject*) {
  MessageBoxA(nullptr, "Corvel Computer Co., Ltd.\nQVX Center V1.3.0.9", "QVX", MB_OK);
}

void TForm_Main::CLose1Click(TObject*) {
  ExitRequested = true;
  Close();
}

void TForm_Main::FormClose(TObject*, TCloseAction& Action) {
  if (ExitRequested) {
    StopDevice();
    return;
  }
  HideForm();
  Action = caNone;
}

// However the program ends (the exit command, the close message, an error
// during start-up), the device stops reporting and the tray icon goes.
void TForm_Main::StopDevice() {
  if (!deviceStarted_) return;
  deviceStarted_ = false;
  acpi::Send(acpi::AcpiEventsOff);
  if (HandleAllocated()) {
    NOTIFYICONDATAA data = TrayIcon();
    Shell_NotifyIconA(NIM_DELETE, &data);
  }
  CloseMicMixer();
  CloseSpeakerMixer();
}

void TForm_Main::WndProc(TMessage& m) {
  TForm::WndProc(m);
  // A registration that failed gives 0, which is WM_NULL: never act on it.
  if (m.Msg == 0) return;
  if (m.Msg == CloseMessageId) {
    ExitRequested = true;
    Close();
  } else if (m.Msg == CameraOpenMessageId) {
    CameraRunning = true;
  } else if (m.Msg == CameraCloseMessageId) {
    CameraRunning = false;
  } else if (m.Msg == GameOnMessageId) {
    AutoRotate = true;
  } else if (m.Msg == GameOffMessageId) {
    AutoRotate = false;
  }
}

void TForm_Main::WMQueryEndSession(TMessage& Msg) {
  Msg.Result = 1;
  std::string state = WifiStateText(GetAcpiValue(acpi::AcpiWifi));
  RWINI("Config.ini", "WiFi", "State", state, true);
  if (GetAcpiValue(acpi::AcpiWifi) == 1) acpi::Send(acpi::AcpiWifi);
  acpi::Send(acpi::AcpiEventsOff);
}

void TForm_Main::WMPowerBroadcast(TMessage& Msg) {
  switch (Msg.WParam) {
    case PBT_APMPOWERSTATUSCHANGE:
      if (PGC->ActivePage() == TSBatt) {
        ReadPowerStatus();
        Refresh_battinfo();
      }
      break;
    case PBT_APMSUSPEND: {
      const int wifi = GetAcpiValue(acpi::AcpiWifi);
      Lab_WFS->SetCaption(WifiStateText(wifi));
      if (wifi == 1) acpi::Send(acpi::AcpiWifi);
      acpi::Send(acpi::AcpiSuspendPrep);
      break;
    }
    case PBT_APMRESUMESUSPEND: {
      acpi::Send(acpi::AcpiEventsOn);
      const std::string saved = Lab_WFS->Caption();
      if (!saved.empty() && atoi(saved.c_str()) != GetAcpiValue(acpi::AcpiWifi)) acpi::Send(acpi::AcpiWifi);
      break;
    }
  }
  Msg.Result = 0;
}

void TForm_Main::Timer_PowersaveTimer(TObject*) {
  SYSTEM_POWER_STATUS power = {};
  seams::battery().PowerStatus(power);
  // Without a known range there is no lowest level to dim to.
  if (GetIdleTime() > 60000 && power.ACLineStatus != 1 && BacklightRangeKnown()) {
    BrightnessLevel = GetAcpiValue(acpi::AcpiBrightness) & 0xFF;
    acpi::Send(acpi::AcpiBrightness, BrightnessMin);
    Timer_Powersave->SetEnabled(false);
    Timer_PowerResume->SetEnabled(true);
  }
}

void TForm_Main::Timer_PowerResumeTimer(TObject*) {
  if (GetIdleTime() < 60000) {
    acpi::Send(acpi::AcpiBrightness, BrightnessLevel);
    Timer_Powersave->SetEnabled(true);
    Timer_PowerResume->SetEnabled(false);
  }
}
