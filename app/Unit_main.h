// The control center's main window "QVX Center": hidden at start, it lives in
// the notification area, receives the ACPI device's events and holds the
// five settings pages. Its members are implemented in several files:
//   Unit_main.cpp          start-up, tray icon, closing, session and power
//                          messages, idle dimming, registered messages
//   Unit_main_events.cpp   the device-event dispatcher and the navigation keys
//   Unit_main_actions.cpp  volume, brightness, display, rotation, resolution,
//                          power plan, touch slider, hot-key programs
//   Unit_main_pages.cpp    the pages' handlers, settings and language texts
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "Buttons.h"
#include "ComCtrls.h"
#include "DeviceEvents.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "PlayerKeys.h"
#include "StdCtrls.h"
#include "ThreadTimer.h"
#include "WinSkinData.h"

// Tray icon callback message.
constexpr UINT WM_TRAYICON = WM_USER + 1000;

// Registered at program start (the program block).
extern UINT CloseMessageId, CameraCloseMessageId, CameraOpenMessageId;
void RegisterProgramMessages();

// Starts a program or opens a document: the current folder becomes the
// program's folder first.
void ExeC(const std::string& path);

// Volume and brightness arithmetic of the actions (rounding halves to even).
int VolumePercentAfterStep(double fraction, int step);  // 0..100
DWORD SpeakerValueOfPercent(int percent);                // the speaker mixer's 0..65535
int BrightnessPercent(int level, int lowest, int highest);

class TForm_Main : public TForm {
  UI_CLASS(TForm_Main)
 public:
  explicit TForm_Main(TComponent* owner);
  ~TForm_Main() override;

  // Stored components.
  TPageControl* PGC = nullptr;
  TTabSheet *TSMain = nullptr, *TSHW = nullptr, *TSBatt = nullptr, *TSDISP = nullptr, *TSSet = nullptr;
  TImage *Image_camera = nullptr, *Image_mic = nullptr, *Image_PrintSrc = nullptr, *Image_SRCL = nullptr,
         *Image_S3 = nullptr, *Image_S5 = nullptr, *Image_S4 = nullptr, *Image_GameH = nullptr;
  TLabel *Lab_camera = nullptr, *Lab_mic = nullptr, *Lab_PrintSrc = nullptr, *Lab_SRLK = nullptr, *Lab_S3 = nullptr,
         *Lab_S5 = nullptr, *Lab_S4 = nullptr, *Lab_GameH = nullptr, *Lab_WFS = nullptr;
  TMemo* MInfo = nullptr;
  TLabel* Lab_CT = nullptr;
  TImage* Image_BBB = nullptr;
  TLabel* Lab_LeftTime = nullptr;
  TRadioGroup* RG_PWR = nullptr;
  TButton* BT_PWROK = nullptr;
  TSpeedButton* SB_PWR = nullptr;
  TImage *Image_LCD = nullptr, *Image_CRT = nullptr, *Image_LIT = nullptr;
  TCheckBox *CheckBox_LCD = nullptr, *CheckBox_CRT = nullptr;
  TSpeedButton* SB_OK = nullptr;
  TLabel* Lab_FBL = nullptr;
  TTrackBar* TB_Bright = nullptr;
  TSpeedButton *SB_IRH = nullptr, *SB_KE = nullptr, *SB_KM = nullptr, *SB_SDH = nullptr, *SB_DEF = nullptr,
               *SB_SAV = nullptr;
  TEdit *Edit_IRH = nullptr, *Edit_KE = nullptr, *Edit_KM = nullptr, *Edit_SDH = nullptr;
  TImage* Image_IRMUSIC = nullptr;
  TLabel* Lab_IRSD = nullptr;
  TPanel* Pl_L500 = nullptr;
  TImage *Image_WiFiCtr = nullptr, *Image_Mute = nullptr, *Image_ScrTurn = nullptr, *Image_LRNTP = nullptr,
         *Image_TPanel = nullptr;
  TLabel *Lab_WiFiStatus = nullptr, *Lab_Mute = nullptr, *Lab_ScrTurn = nullptr, *Lab_LRNTP = nullptr,
         *Lab_TPanel = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem *Open = nullptr, *About = nullptr, *ExitW = nullptr;
  TOpenDialog* Fileopen = nullptr;
  TTimer *Timer_Powersave = nullptr, *Timer_PowerResume = nullptr;
  TSkinData* SkinData1 = nullptr;
  std::vector<TMemo*> BatteryMemos;

  // State shared by the control center's actions.
  bool ExitRequested = false;
  bool CameraRunning = false;
  bool AutoRotate = true;
  bool MouseMode = false;
  bool BacklightOffByUs = false;
  bool TouchOffByUs = false;
  bool BrightBarArmed = true;
  bool HardwareInfoShown = false;
  int CpuTemperature = 0;
  int DisplayMode = 0;
  int DisplayCycleState = 4;
  int LastSwivel = -1;  // the swivel's last read state; -1 before the first
  DWORD MaxScreenWidth = 0, MaxScreenHeight = 0;
  UINT GameOnMessageId = 0, GameOffMessageId = 0;
  HCURSOR MouseModeCursor = nullptr;
  KeySound KeySounds;
  // Touch slider.
  DWORD SliderBits = 0, SliderPrevBits = 0, SliderLastMove = 0;
  int UnlockStep = 0;
  bool SliderOn = false, SliderArmed = false, SliderSwipe = false;

  // Showing and hiding the window (the application window goes with it).
  void ShowForm();
  void HideForm();
  bool AddTrayIcon();

  // Device events.
  void WMDeviceChange(TMessage& Msg);
  void DispatchEvent(DeviceEvent event);
  void Snapshot();
  void NavigationKey(NavKey key);
  void PlayKeySound();
  void StopKey();
  void CloseForegroundProgram();
  void FullScreenKey();
  void TaskSwitchKey();
  void SwivelProcedure();

  // Display, volume and power actions.
  void StepVolume(int step);
  void BrightnessKey();
  void CycleDisplayMode();
  void ApplyDisplayModeTimerProc();
  void Rotate(int orientation);
  void brightlessdown();
  void brightlessup();
  void ResolutionKey();
  void GetMaxResolution();
  void TogglePowerPlan();
  // Touch slider and the hot-key programs.
  void SliderEvent();
  void RunHotkeyProgram(int n);
  // The slider's one-shot timers' procedures.
  void SliderArmTimerProc();
  void SliderOffTimerProc();
  void SliderStepResetTimerProc();
  void SwipeEndTimerProc();

  // Pages.
  void LoadPageImages();
  void LoadLanguage();
  void LoadSettings();
  void Refresh_battinfo();
  std::string GetSpecialFolderDir(int csidl);
  static LRESULT CALLBACK micmessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  void WndProc(TMessage& m) override;

 private:
  // Start-up, tray and closing.
  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void StopDevice();
  void AdaptToModel();
  void CreateBatteryMemos();
  void WMTrayIcon(TMessage& Msg);
  void WMQueryEndSession(TMessage& Msg);
  void WMPowerBroadcast(TMessage& Msg);
  void OpenClick(TObject* Sender);
  void About1Click(TObject* Sender);
  void CLose1Click(TObject* Sender);
  void Timer_PowersaveTimer(TObject* Sender);
  void Timer_PowerResumeTimer(TObject* Sender);
  NOTIFYICONDATAA TrayIcon();
  HICON smallIcon_ = nullptr;
  bool deviceStarted_ = false;  // event reporting, tray icon and mixers to undo
  int rotationDepth_ = 0;       // rotations running, nested by the ramps' waits

  // Page handlers.
  void Image_cameraClick(TObject* Sender);
  void Image_micClick(TObject* Sender);
  void Image_PrintSrcClick(TObject* Sender);
  void Image_SRCLClick(TObject* Sender);
  void Image_S3Click(TObject* Sender);
  void Image_S5Click(TObject* Sender);
  void Image_S4Click(TObject* Sender);
  void Image_GameHClick(TObject* Sender);
  void TSHWShow(TObject* Sender);
  void TSBattShow(TObject* Sender);
  void SB_PWRClick(TObject* Sender);
  void BT_PWROKClick(TObject* Sender);
  void Image_LCDClick(TObject* Sender);
  void Image_CRTClick(TObject* Sender);
  void SB_OKClick(TObject* Sender);
  void Image_LITClick(TObject* Sender);
  void TSDISPShow(TObject* Sender);
  void TB_BrightChange(TObject* Sender);
  void SB_HOTSET(TObject* Sender);
  void SB_SAVClick(TObject* Sender);
  void SB_DEFClick(TObject* Sender);
  void Image_IRMUSICClick(TObject* Sender);
  void TSSetShow(TObject* Sender);
  void Image_WiFiCtrClick(TObject* Sender);
  void Image_MuteClick(TObject* Sender);
  void Image_TPanelClick(TObject* Sender);
  void Image_ScrTurnClick(TObject* Sender);
  void Image_LRNTPClick(TObject* Sender);
  void BindPageHandlers();

  // Delayed work: one-shot thread timers.
  void ReleaseAltTimerProc();
  ui::ThreadTimer applyDisplayTimer_{[this] { ApplyDisplayModeTimerProc(); }};
  ui::ThreadTimer releaseAltTimer_{[this] { ReleaseAltTimerProc(); }};
  ui::ThreadTimer sliderArmTimer_{[this] { SliderArmTimerProc(); }};
  ui::ThreadTimer sliderOffTimer_{[this] { SliderOffTimerProc(); }};
  ui::ThreadTimer sliderStepResetTimer_{[this] { SliderStepResetTimerProc(); }};
  ui::ThreadTimer swipeEndTimer_{[this] { SwipeEndTimerProc(); }};
};

extern TForm_Main* Form_Main;
