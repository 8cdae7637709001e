// The device-event dispatcher and the navigation keys.
#define OEMRESOURCE  // OCR_NORMAL
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

#include "CorvelAcpi.h"
#include "Handles.h"
#include "ICOShow.h"
#include "OutsideLibraries.h"
#include "Unit_Battery.h"
#include "Unit_Mixer.h"
#include "Unit_global.h"
#include "Unit_ini.h"
#include "Unit_main.h"
#include "Unit_menu.h"
#include "seams/Input.h"
#include "seams/Power.h"
#include "seams/Sound.h"

namespace {

void ShowPicture(const char* name) { ICOForm->ShowIconText(name, ""); }

// Reads a two-state id twice, as the firmware's first answer may be stale:
// 1 shows the on picture; a second read of 0 shows the off picture.
void ShowStatePicture(int id, const char* on, const char* off) {
  if (GetAcpiValue(id) == 1)
    ShowPicture(on);
  else if (GetAcpiValue(id) == 0)
    ShowPicture(off);
}

}  // namespace

void TForm_Main::WMDeviceChange(TMessage& Msg) {
  const auto code = acpi::DeviceEventCode(Msg.WParam, Msg.LParam);
  if (!code) return;
  if (const auto event = LookupDeviceEvent(*code)) DispatchEvent(*event);
}

void TForm_Main::DispatchEvent(DeviceEvent event) {
  using E = DeviceEvent;
  switch (event) {
    case E::EvOrient180:
    case E::EvOrient0:
    case E::EvOrient270:
    case E::EvOrient90:
      if (AutoRotate) {
        static const int orientation[] = {2, 0, 3, 1};
        Rotate(orientation[static_cast<int>(event) - static_cast<int>(E::EvOrient180)]);
      }
      break;
    case E::EvShowWindow:
      if (TouchOffByUs) SetTouchGate(1);
      if (CameraRunning)
        Snapshot();
      else if (Visible())
        HideForm();
      else
        ShowForm();
      break;
    case E::EvVolumeUp: StepVolume(+8); break;
    case E::EvVolumeDown: StepVolume(-8); break;
    case E::EvVolumeUpLarge: StepVolume(+10); break;
    case E::EvVolumeDownLarge: StepVolume(-10); break;
    case E::EvSlider: SliderEvent(); break;
    case E::EvSwivel: SwivelProcedure(); break;
    case E::EvBrightness: BrightnessKey(); break;
    case E::EvMute:
      if (IsVista()) {
        const bool muted = GetVistaMute();
        SetVistaMute(!muted);
        ShowPicture(muted ? "IMG_VON" : "IMG_VFF");
      } else {
        const bool muted = GetSpeakerMute();
        SetSpeakerMute(!muted);
        ShowPicture(muted ? "IMG_VON" : "IMG_VFF");
      }
      break;
    case E::EvDisplaySwitch:
      if (BacklightOffByUs)
        BacklightOffByUs = false;
      else
        CycleDisplayMode();
      break;
    case E::EvTouchpadState: ShowStatePicture(acpi::AcpiTouchpad, "IMG_TON", "IMG_TFF"); break;
    case E::EvWifiState: ShowStatePicture(acpi::AcpiWifi, "IMG_WON", "IMG_WFF"); break;
    case E::EvRightClick: {
      POINT p;
      GetCursorPos(&p);
      seams::input().SetCursorPos(p.x, p.y);
      seams::input().MouseEvent(MOUSEEVENTF_RIGHTDOWN, 0, 0);
      seams::input().MouseEvent(MOUSEEVENTF_RIGHTUP, 0, 0);
      break;
    }
    case E::EvMouseMode:
      MouseMode = !MouseMode;
      if (MouseMode) {
        ShowPicture("IMG_MON");
        MouseModeCursor = LoadCursorFromFileA((ResDir + "Arrow.ani").c_str());
        if (MouseModeCursor) SetSystemCursor(MouseModeCursor, OCR_NORMAL);
      } else {
        SystemParametersInfoA(SPI_SETCURSORS, 0, nullptr, SPIF_SENDCHANGE);
        ShowPicture("IMG_MFF");
      }
      break;
    case E::EvBeep:
      if (IsVista()) seams::sound().Beep(1500, 400);
      break;
    case E::EvCpuTemp:
      CpuTemperature = GetAcpiValue(acpi::AcpiCpuTemp);
      Lab_CT->SetCaption("CPU Temp " + std::to_string(CpuTemperature) + S_Temp);
      break;
    case E::EvCamera:
      if (CameraRunning)
        Snapshot();
      else
        ExeC(GetSpecialFolderDir(CSIDL_PROGRAM_FILES) + "\\Corvel\\Lensbox.exe");
      break;
    case E::EvCloseApp:
      KeySounds.EnterSoundPending = true;
      PlayKeySound();
      CloseForegroundProgram();
      break;
    case E::EvPower:
      KeySounds.EnterSoundPending = true;
      PlayKeySound();
      if (!ICOForm->Showing())
        ShowPicture("IMG_SHU");
      else if (EnableShutdownPrivilege())
        seams::power().Shutdown(EWX_SHUTDOWN | EWX_FORCE);
      break;
    case E::EvBackspace:
      SendKeys({{VK_BACK, KeyStroke::d}});
      KeySounds.EnterSoundPending = true;
      PlayKeySound();
      break;
    case E::EvUp: NavigationKey(NavKey::Up); break;
    case E::EvDown: NavigationKey(NavKey::Down); break;
    case E::EvLeft: NavigationKey(NavKey::Left); break;
    case E::EvRight: NavigationKey(NavKey::Right); break;
    case E::EvEnter: NavigationKey(NavKey::Enter); break;
    case E::EvTaskSwitch:
      TaskSwitchKey();
      KeySounds.EnterSoundPending = true;
      PlayKeySound();
      break;
    case E::EvFullScreen: FullScreenKey(); break;
    case E::EvWinKey:
      SendKeys({{VK_LWIN, KeyStroke::xd}, {VK_LWIN, KeyStroke::xu}});
      KeySounds.EnterSoundPending = true;
      PlayKeySound();
      break;
    case E::EvHotkeyProgram:
      RunHotkeyProgram(1);
      KeySounds.EnterSoundPending = true;
      PlayKeySound();
      break;
    case E::EvQuickMenu:
      if (Form_Menu->Visible())
        Form_Menu->Close();
      else
        Form_Menu->Show();
      KeySounds.EnterSoundPending = true;
      PlayKeySound();
      break;
    case E::EvPowerPlan:
      if (Model == "P9A7")
        TogglePowerPlan();
      else
        WinExec("RunDll32.exe user32.dll,LockWorkStation", SW_SHOWNORMAL);
      break;
    case E::EvBattery:
      ReadPowerStatus();
      ICOForm->ShowIconText("IMG_BAT", BatteryPercentText);
      break;
    case E::EvResolution: ResolutionKey(); break;
    case E::EvStop:
      StopKey();
      break;
    case E::EvMouseSettings:
      WinExec("RunDll32.exe Shell32.dll,Control_RunDLL main.cpl", SW_SHOWNORMAL);
      break;
    case E::EvHibernate:
      if (!IsHibernateAllowed()) WinExec("POWERCFG /HIBERNATE ON", SW_HIDE);
      if (EnableShutdownPrivilege()) seams::power().SetSuspendState(TRUE, TRUE, FALSE);
      break;
  }
}

void TForm_Main::Snapshot() {
  // Waits until every top-level window has handled it, but never for a hung one.
  DWORD_PTR result;
  SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("CORVELSNAPSHOT"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                      &result);
}

void TForm_Main::PlayKeySound() { KeySounds.Play(KeySoundSetting, Edit_KE->Text(), Edit_KM->Text(), ResDir); }

void TForm_Main::NavigationKey(NavKey key) {
  if (MouseMode) {
    POINT p;
    GetCursorPos(&p);
    switch (key) {
      case NavKey::Up: seams::input().SetCursorPos(p.x, p.y - 25); break;
      case NavKey::Down: seams::input().SetCursorPos(p.x, p.y + 25); break;
      case NavKey::Left: seams::input().SetCursorPos(p.x - 25, p.y); break;
      case NavKey::Right: seams::input().SetCursorPos(p.x + 25, p.y); break;
      case NavKey::Enter:
        seams::input().SetCursorPos(p.x, p.y);
        seams::input().MouseEvent(MOUSEEVENTF_LEFTDOWN, 0, 0);
        seams::input().MouseEvent(MOUSEEVENTF_LEFTUP, 0, 0);
        break;
    }
    return;
  }
  if (key == NavKey::Enter && CameraRunning) {
    Snapshot();
    return;
  }
  if (key == NavKey::Enter)
    KeySounds.EnterSoundPending = true;
  else
    KeySounds.ArrowSoundPending = true;
  PlayKeySound();
  if (Form_Menu->Visible()) {
    if (key == NavKey::Up || key == NavKey::Left)
      Form_Menu->leftkey();
    else if (key == NavKey::Down || key == NavKey::Right)
      Form_Menu->RIGHTKEY();
    else
      Form_Menu->enterkey();
    return;
  }
  SendPlayerKey(key);
}

void TForm_Main::StopKey() {
  KeySounds.EnterSoundPending = true;
  PlayKeySound();
  SendKeys(StopKeysFor(ForegroundProgram({"wmplayer.exe", "TTPlayer.exe", "storm.exe", "realplay.exe",
                                          "QvodPlayer.exe", "PPStream.exe", "PPLive.exe", "PowerDVD.exe"})));
}

void TForm_Main::CloseForegroundProgram() {
  const std::string program = ForegroundProgram({"cmd.exe", "PPLive.exe", "PPStream.exe", "HelpCtr.exe",
                                                 "Stline.exe", "Storm.exe", "QvodPlayer.exe", "PowerDVD.exe",
                                                 "realplay.exe"});
  if (program.empty()) {
    SendKeys({{VK_MENU, KeyStroke::d}, {VK_F4, KeyStroke::xd}, {VK_MENU, KeyStroke::u}, {VK_F4, KeyStroke::xu}});
    return;
  }
  const ui::KernelHandle process(
      OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, FindProcessId(program)));
  if (process) {
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    TerminateProcess(process.get(), code);
  }
}

void TForm_Main::FullScreenKey() {
  HWND window = GetForegroundWindow();
  char title[256] = {};
  GetWindowTextA(window, title, 255);
  const std::string program = ForegroundProgram({"wmplayer.exe", "storm.exe", "PPStream.exe", "PPLive.exe",
                                                 "POWERPNT.EXE", "realplay.exe", "TTPlayer.exe",
                                                 "QvodPlayer.exe", "PowerDVD.exe"});
  if (!program.empty()) {
    SendKeys(FullScreenKeysFor(program));
  } else if (title[0]) {
    PostMessageA(window, WM_SYSCOMMAND, IsZoomed(window) ? SC_MINIMIZE : SC_MAXIMIZE, 0);
  } else if (ForegroundProgram({"explorer.exe"}).empty()) {
    SendKeys({{VK_LWIN, KeyStroke::xd}, {'D', KeyStroke::d}, {'D', KeyStroke::xu}, {VK_LWIN, KeyStroke::xu}});
  } else {
    return;  // the desktop: nothing at all, no sound either
  }
  KeySounds.EnterSoundPending = true;
  PlayKeySound();
}

void TForm_Main::TaskSwitchKey() {
  SendKeys({{VK_MENU, KeyStroke::xd}, {VK_TAB, KeyStroke::xd}, {VK_TAB, KeyStroke::xu}});
  releaseAltTimer_.Start(600);  // Alt stays down until 600 ms after the last press
}

void TForm_Main::ReleaseAltTimerProc() { SendKeys({{VK_MENU, KeyStroke::xu}}); }

void TForm_Main::SwivelProcedure() {
  const int first = GetAcpiValue(acpi::AcpiSwivel);
  if (first == 0) {
    // Saved only when the swivel turns: a repeated 0 would save the "0" it
    // set itself and lose the setting to restore.
    if (LastSwivel != 0) {
      std::string status = AutoRotate ? "1" : "0";
      RWINI("Config.ini", "ROTE", "STATUS", status, true);
    }
    LastSwivel = 0;
    LoadIconvaultPng(Image_ScrTurn, "IMG_RFF");
    AutoRotate = false;
    Rotate(0);
    return;
  }
  if (GetAcpiValue(acpi::AcpiSwivel) != 1) return;
  LastSwivel = 1;
  RWINI("Config.ini", "ROTE", "STATUS", RotationText, false);
  if (RotationText == "0") {
    LoadIconvaultPng(Image_ScrTurn, "IMG_RFF");
    AutoRotate = false;
  } else {
    LoadIconvaultPng(Image_ScrTurn, "IMG_RON");
    AutoRotate = true;
  }
}
