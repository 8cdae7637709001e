// The main window in this process: start-up, registered, session and power
// messages, and the device-event dispatcher, against a fresh simulated device.
#include <windows.h>
#include <dbt.h>
#include <mmsystem.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <thread>
#include <utility>

#include "CorvelAcpi.h"
#include "ICOShow.h"
#include "RecordingInput.h"
#include "SimState.h"
#include "StepClock.h"
#include "TestSupport.h"
#include "Unit_Tips.h"
#include "Unit_global.h"
#include "Unit_ini.h"
#include "Unit_main.h"
#include "Unit_menu.h"
#include "Unit_MICMixer.h"
#include "WinSkinData.h"
#include "seams/Mixer.h"
#include "seams/Power.h"
#include "seams/Sound.h"
#include "seams/System.h"

using testsupport::Sim;

namespace {

class RecordingPower : public seams::Power {
 public:
  std::vector<std::string> calls;
  BOOL Shutdown(UINT flags) override {
    calls.push_back("shutdown " + std::to_string(flags));
    return TRUE;
  }
  BOOL SetSuspendState(BOOL h, BOOL f, BOOL w) override {
    calls.push_back("suspend " + std::to_string(h) + std::to_string(f) + std::to_string(w));
    return TRUE;
  }
  BOOL SetSystemPowerState(BOOL s, BOOL f) override {
    calls.push_back("power " + std::to_string(s) + std::to_string(f));
    return TRUE;
  }
};

class RecordingSound : public seams::Sound {
 public:
  std::vector<std::string> calls;
  void PlayFile(const std::string& path, UINT flags) override {
    calls.push_back("sound " + path + (flags == SND_ASYNC ? "" : " (not async)"));
  }
  void Beep(DWORD frequency, DWORD ms) override {
    calls.push_back("beep " + std::to_string(frequency) + " " + std::to_string(ms));
  }
};

class RecordingShell : public seams::Shell {
 public:
  std::vector<std::string> opened;
  void Open(const std::string& path, int) override { opened.push_back("open " + path); }
};

// One 1024 x 768 mode; a rotation becomes the current mode, a size change is
// only recorded.
class RecordingDisplay : public seams::Display {
 public:
  DEVMODEA current = {};
  std::vector<std::string> changes;
  RecordingDisplay() {
    current.dmSize = sizeof current;
    current.dmPelsWidth = 1024;
    current.dmPelsHeight = 768;
    current.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYORIENTATION;
  }
  BOOL EnumSettings(DWORD n, DEVMODEA& mode) override {
    if (n != ENUM_CURRENT_SETTINGS && n != 0) return FALSE;
    mode = current;
    return TRUE;
  }
  LONG ChangeSettings(DEVMODEA* mode, DWORD) override {
    if (mode->dmFields & DM_DISPLAYORIENTATION) {
      changes.push_back("rotate " + std::to_string(mode->dmDisplayOrientation));
      current = *mode;
    } else {
      changes.push_back("resolution " + std::to_string(mode->dmPelsWidth) + "x" + std::to_string(mode->dmPelsHeight));
    }
    return DISP_CHANGE_SUCCESSFUL;
  }
};

// One mixer device with a speaker line and a microphone line whose mute
// (control 6) has the driver's switch (control 5) beside it.
class MicrophoneMixer : public seams::Mixer {
 public:
  std::map<DWORD, DWORD> values;
  UINT GetNumDevs() override { return 1; }
  MMRESULT Open(HMIXER* mixer, UINT, DWORD_PTR, DWORD) override {
    *mixer = reinterpret_cast<HMIXER>(1);
    return MMSYSERR_NOERROR;
  }
  MMRESULT Close(HMIXER) override { return MMSYSERR_NOERROR; }
  MMRESULT GetLineInfo(HMIXER, MIXERLINEA& line, DWORD) override {
    line.dwLineID = line.dwComponentType == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE ? 2 : 1;
    return MMSYSERR_NOERROR;
  }
  MMRESULT GetLineControls(HMIXER, MIXERLINECONTROLSA& controls, DWORD) override {
    const bool mute = controls.dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE;
    controls.pamxctrl->dwControlID = controls.dwLineID == 2 ? (mute ? 6 : 4) : (mute ? 1 : 0);
    return MMSYSERR_NOERROR;
  }
  MMRESULT GetControlDetails(HMIXER, MIXERCONTROLDETAILS& d, DWORD) override {
    *static_cast<DWORD*>(d.paDetails) = values[d.dwControlID];
    return MMSYSERR_NOERROR;
  }
  MMRESULT SetControlDetails(HMIXER, MIXERCONTROLDETAILS& d, DWORD) override {
    values[d.dwControlID] = *static_cast<DWORD*>(d.paDetails);
    return MMSYSERR_NOERROR;
  }
};

// A small titled window of ours in front, recording the system commands it is
// sent instead of carrying them out.
class ForegroundWindow {
 public:
  explicit ForegroundWindow(const char* title)
      : window_(title, [this](UINT msg, WPARAM w, LPARAM) {
          if (msg != WM_SYSCOMMAND) return false;
          commands.push_back(w);
          return true;
        }) {
    SetWindowPos(window_.hwnd(), HWND_TOP, 0, 0, 120, 40, SWP_SHOWWINDOW);
    TakeForeground();
  }
  HWND hwnd() const { return window_.hwnd(); }
  bool TakeForeground() const {
    SetForegroundWindow(window_.hwnd());
    return GetForegroundWindow() == window_.hwnd();
  }
  std::vector<WPARAM> commands;

 private:
  testsupport::MessageWindow window_;
};

using testsupport::InputEvent;
constexpr DWORD U = KEYEVENTF_KEYUP, X = KEYEVENTF_EXTENDEDKEY;
InputEvent Key(BYTE vk, DWORD flags) { return InputEvent::Key(vk, 0, flags); }

class MainForm : public testing::Test {
 protected:
  void SetUp() override { testsupport::UseFreshMachine("main-form"); }
  void TearDown() override { Stop(); }
  void Stop() {
    app.reset();
    Form_Main = nullptr;
    Form_Menu = nullptr;
    Form_Tip = nullptr;
    ICOForm = nullptr;
  }
  // The program block, with Config.ini in a folder of our own.
  void Start(const char* model = nullptr) {
    if (model) Sim(std::string("set 0x90 ") + model);
    RegisterProgramMessages();
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->OnException = [this](TObject*, const std::string& m) { errors.push_back(m); };
    app->CreateForm(Form_Main);
    app->CreateForm(Form_Menu);
    app->CreateForm(Form_Tip);
    app->CreateForm(ICOForm);
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    ConfigDir = std::string(tmp) + "main_form_test\\";
    CreateDirectoryA(ConfigDir.c_str(), nullptr);
    CopyFileA((testsupport::ExeDir() + "..\\stage\\Corvel\\Config\\Config.ini").c_str(),
              (ConfigDir + "Config.ini").c_str(), FALSE);
    Sim("log --clear");
  }
  void Event(BYTE code) {
    DEV_BROADCAST_HANDLE r = {};
    r.dbch_size = sizeof r;
    r.dbch_devicetype = DBT_DEVTYP_HANDLE;
    r.dbch_data[0] = code;
    SendMessageA(Form_Main->Handle(), WM_DEVICECHANGE, DBT_CUSTOMEVENT, reinterpret_cast<LPARAM>(&r));
  }
  std::string Ini(const char* section, const char* key) {
    std::string value;
    RWINI("Config.ini", section, key, value, false);
    return value;
  }
  std::unique_ptr<TApplication> app;
  std::vector<std::string> errors;
  RecordingPower power;
  seams::ScopedSeam<seams::Power> usePower{power};
  RecordingSound sound;
  seams::ScopedSeam<seams::Sound> useSound{sound};
};

}  // namespace

TEST_F(MainForm, StartsHiddenRegisteredAndAdaptedToTheBoard) {
  Start();
  EXPECT_FALSE(IsWindowVisible(Form_Main->Handle()));
  EXPECT_EQ(Form_Main->Caption(), "QVX Center");
  EXPECT_EQ(Model, "P4D2");
  EXPECT_EQ(Sim("get events"), "1\n");
  // The system adds the window edge to a captioned window of its own accord.
  EXPECT_EQ(GetWindowLongPtrA(Application->Handle(), GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, WS_EX_TOOLWINDOW);
  EXPECT_TRUE(Form_Main->TSSet->TabVisible());
  EXPECT_TRUE(Form_Main->SB_SDH->Visible()) << "the slider row is P4D2's";
  EXPECT_FALSE(Form_Main->Pl_L500->Visible());
  EXPECT_FALSE(Form_Main->Image_GameH->Visible());
  EXPECT_TRUE(Form_Main->Image_TPanel->Visible());
  EXPECT_EQ(Form_Main->GameOnMessageId, 0u);
  EXPECT_EQ(Form_Main->StatusBar1->Panels.at(2).Text, "Corvel P4D2 MB");
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(MainForm, ModelTextAndBoardAdaptation) {
  // P4D2 is the default machine's board (the start-up test above).
  const struct {
    const char* value;
    const char* model;
    bool settings, sliderRow, game, touch;
  } boards[] = {
      {"0xB6E1", "P6E1", true, false, false, true},  {"0xB0D6", "P0D6", true, false, true, true},
      {"0xB1B7", "P1B7", true, false, true, false},  {"0xB1A2", "P1A2", false, true, false, true},
      {"0x1234", "1234", false, true, false, true},  {"fail", "FFFFFFFF", false, true, false, true},
  };
  const UINT gameOff = RegisterWindowMessageA("Gamehoff"), gameOn = RegisterWindowMessageA("Gamehon");
  for (const auto& b : boards) {
    SCOPED_TRACE(b.model);
    Start(b.value);
    TForm_Main* f = Form_Main;
    EXPECT_EQ(Model, b.model);
    EXPECT_EQ(f->StatusBar1->Panels.at(2).Text, std::string("Corvel ") + b.model + " MB");
    EXPECT_EQ(f->TSSet->TabVisible(), b.settings);
    EXPECT_EQ(f->SB_SDH->Visible(), b.sliderRow);
    EXPECT_EQ(f->Edit_SDH->Visible(), b.sliderRow);
    EXPECT_EQ(f->Pl_L500->Visible(), b.game);
    EXPECT_EQ(f->Lab_GameH->Visible(), b.game);
    EXPECT_EQ(f->Image_GameH->Visible(), b.game);
    for (TControl* c : std::initializer_list<TControl*>{f->Image_LRNTP, f->Image_TPanel, f->Lab_LRNTP, f->Lab_TPanel})
      EXPECT_EQ(c->Visible(), b.touch) << c->Name;
    // The tilt program's messages count only where they were registered.
    SendMessageA(f->Handle(), gameOff, 0, 1);
    EXPECT_EQ(f->AutoRotate, !b.game);
    SendMessageA(f->Handle(), gameOn, 0, 1);
    EXPECT_TRUE(f->AutoRotate);
    if (!b.game) {
      SendMessageA(f->Handle(), WM_NULL, 0, 0);  // the unregistered ids stay 0
      EXPECT_TRUE(f->AutoRotate);
      EXPECT_FALSE(f->ExitRequested);
    }
    EXPECT_TRUE(errors.empty()) << errors.front();
    Stop();
  }
}

TEST_F(MainForm, CameraMessagesAndTheSnapshot) {
  Start();
  int snapshots = 0;
  const UINT snapshot = RegisterWindowMessageA("CORVELSNAPSHOT");
  testsupport::MessageWindow camera("camera", [&](UINT msg, WPARAM w, LPARAM l) {
    if (msg == snapshot && w == 0 && l == 0) ++snapshots;
    return msg == snapshot;
  });
  SendMessageA(Form_Main->Handle(), CameraOpenMessageId, 0, 0);
  EXPECT_TRUE(Form_Main->CameraRunning);
  Event(160);  // camera key
  Event(166);  // enter
  Event(81);   // show-window key
  EXPECT_EQ(snapshots, 3);
  EXPECT_FALSE(IsWindowVisible(Form_Main->Handle())) << "the show key took the picture instead";
  SendMessageA(Form_Main->Handle(), CameraCloseMessageId, 0, 0);
  EXPECT_FALSE(Form_Main->CameraRunning);
}

TEST_F(MainForm, TheShowKeyTogglesTheWindowAndSwitchesTouchBackOn) {
  Start();
  HKEY key;
  RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Wisp\\Touch", &key);
  RegCloseKey(key);
  SetTouchGate(0);
  Form_Main->TouchOffByUs = true;
  Event(184);
  EXPECT_TRUE(IsWindowVisible(Form_Main->Handle()));
  EXPECT_EQ(GetTouchGate(), 1);
  EXPECT_TRUE(Form_Main->TouchOffByUs) << "the flag stays set";
  Event(81);
  EXPECT_FALSE(IsWindowVisible(Form_Main->Handle()));
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Wisp\\Touch");
}

TEST_F(MainForm, ClosingHidesUnlessExitWasChosen) {
  Start();
  Form_Main->ShowForm();
  PostMessageA(Form_Main->Handle(), WM_CLOSE, 0, 0);
  WaitPumping(100);
  EXPECT_FALSE(IsWindowVisible(Form_Main->Handle()));
  EXPECT_EQ(Sim("get events"), "1\n");
  SendMessageA(Form_Main->Handle(), CloseMessageId, 0, 0);
  EXPECT_TRUE(Form_Main->ExitRequested);
  EXPECT_EQ(Sim("log"), "app_main_test.exe set 0x0087\n");
}

TEST_F(MainForm, EndOfSessionSavesAndSwitchesWifiOffAndStopsEvents) {
  Start();
  EXPECT_EQ(SendMessageA(Form_Main->Handle(), WM_QUERYENDSESSION, 0, 0), 1);
  EXPECT_EQ(Ini("WiFi", "State"), "1");
  EXPECT_EQ(Sim("get 0x83"), "0\n");
  EXPECT_EQ(Sim("get events"), "0\n");
}

// A WiFi state that could not be read is nothing to restore: a working WiFi
// stays on at the next start and after the resume.
TEST_F(MainForm, AFailedWifiReadIsNotRestored) {
  Start();
  Sim("set 0x83 fail");
  SendMessageA(Form_Main->Handle(), WM_QUERYENDSESSION, 0, 0);
  EXPECT_EQ(Ini("WiFi", "State"), "");
  SendMessageA(Form_Main->Handle(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  EXPECT_EQ(Form_Main->Lab_WFS->Caption(), "");

  Sim("set 0x83 1");
  Sim("log --clear");
  SendMessageA(Form_Main->Handle(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
  Form_Main->LoadSettings();
  EXPECT_EQ(Sim("log"), "app_main_test.exe set 0x0086\n");
  EXPECT_EQ(Sim("get 0x83"), "1\n");
}

// RegisterWindowMessage gives 0 when it fails; message 0 is WM_NULL, which
// any program may send.
TEST_F(MainForm, AFailedRegistrationNeverActsOnWmNull) {
  Start();
  for (UINT* id : {&CloseMessageId, &CameraOpenMessageId, &CameraCloseMessageId}) {
    const UINT registered = std::exchange(*id, 0u);
    Form_Main->CameraRunning = id == &CameraCloseMessageId;
    SendMessageA(Form_Main->Handle(), WM_NULL, 0, 0);
    *id = registered;
    EXPECT_FALSE(Form_Main->ExitRequested);
    EXPECT_EQ(Form_Main->CameraRunning, id == &CameraCloseMessageId);
  }
  EXPECT_EQ(Sim("get events"), "1\n");
}

// Ending without the exit command (an error while the program starts, the
// loop ending otherwise) still stops the events and removes the tray icon.
TEST_F(MainForm, EndingOnAnyPathStopsEventsAndRemovesTheIcon) {
  Start();
  NOTIFYICONDATAA icon = {};
  icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
  icon.hWnd = Form_Main->Handle();
  icon.uFlags = NIF_TIP;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon)) << "the icon is there";
  Stop();
  EXPECT_EQ(Sim("log"), "app_main_test.exe set 0x0087\n");
  EXPECT_EQ(Sim("get events"), "0\n");
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &icon)) << "the icon stayed behind";
}

// The microphone's mute follows the driver's switch beside it: the mixer
// reports each change to the callback window by the control's id.
TEST_F(MainForm, MicrophoneMuteFollowsItsSwitch) {
  MicrophoneMixer mixer;
  seams::ScopedSeam<seams::Mixer> useMixer(mixer);
  Start();
  HWND callback = MicMixerWindow();
  ASSERT_NE(callback, nullptr);
  auto notify = [&](DWORD control) { SendMessageA(callback, MM_MIXM_CONTROL_CHANGE, 1, control); };
  const struct {
    DWORD switchOn, mute, changed;
    DWORD switchAfter, muteAfter;
  } cases[] = {
      {1, 0, 5, 1, 1},  // the switch turned on: the microphone is muted
      {0, 0, 5, 0, 0},  // turned off: nothing
      {1, 0, 6, 0, 0},  // the microphone unmuted: the switch goes off
      {1, 1, 6, 1, 1},  // muted: the switch stays
      {1, 0, 4, 1, 0},  // its volume: nothing
  };
  for (const auto& c : cases) {
    mixer.values[5] = c.switchOn;
    mixer.values[6] = c.mute;
    notify(c.changed);
    EXPECT_EQ(mixer.values[5], c.switchAfter) << c.changed;
    EXPECT_EQ(mixer.values[6], c.muteAfter) << c.changed;
  }
  EXPECT_EQ(SendMessageA(callback, WM_QUERYENDSESSION, 0, 0), 1);
  EXPECT_EQ(mixer.values[0], 0u) << "the speaker volume is never touched";
}

// The tray's right button opens the tray menu at the cursor; Open, About and
// Exit are clicked where they show. The menu's and the About box's loops run
// in this thread, so a helper thread clicks.
TEST_F(MainForm, TheTrayMenuOpensShowsAboutAndExits) {
  Start();
  auto choose = [&](int item, bool closeBox) {
    std::string seen;
    std::thread user([&] {
      const DWORD self = GetCurrentProcessId();
      HWND menu = nullptr, box = nullptr;
      if (!testsupport::WaitFor([&] { return (menu = testsupport::VisibleWindowOf(self, "#32768")) != nullptr; }))
        return;
      RECT r;
      GetWindowRect(menu, &r);
      seen = "menu at " + std::to_string(r.left) + "," + std::to_string(r.top);
      testsupport::ClickAt({(r.left + r.right) / 2, r.top + (r.bottom - r.top) * (2 * item + 1) / 6});
      if (!closeBox ||
          !testsupport::WaitFor([&] { return (box = testsupport::VisibleWindowOf(self, "#32770")) != nullptr; }))
        return;
      char caption[32] = {}, text[256] = {};
      GetWindowTextA(box, caption, sizeof caption);
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
      seen += std::string("; box ") + caption + ": " + text;
      testsupport::ClickOn(FindWindowExA(box, nullptr, "Button", nullptr));
    });
    SetCursorPos(300, 200);
    SendMessageA(Form_Main->Handle(), WM_TRAYICON, 0, WM_RBUTTONDOWN);  // returns once the menu has closed
    user.join();
    return seen;
  };
  EXPECT_EQ(choose(0, false), "menu at 300,200");  // Open
  EXPECT_TRUE(IsWindowVisible(Form_Main->Handle()));
  Form_Main->HideForm();
  EXPECT_EQ(choose(1, true), "menu at 300,200; box QVX: Corvel Computer Co., Ltd.\nQVX Center V1.3.0.9");  // About
  EXPECT_FALSE(Form_Main->ExitRequested);
  EXPECT_EQ(choose(2, false), "menu at 300,200");  // Exit
  EXPECT_TRUE(Form_Main->ExitRequested);
  EXPECT_EQ(Sim("log"), "app_main_test.exe set 0x0087\n");
}

// With the skin taken over, the tray menu's items are drawn from it: the
// selected one on the MenuItem element's selected frame.
TEST_F(MainForm, TheSkinDrawsTheTrayMenu) {
  Start();
  TPopupMenu& tray = *Form_Main->PopupMenu1;
  MENUITEMINFOA mii{sizeof mii, MIIM_FTYPE};
  GetMenuItemInfoA(tray.Handle(), 0, TRUE, &mii);
  EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
  TBitmap item(120, 22);
  DRAWITEMSTRUCT d{ODT_MENU, 0, Form_Main->Open->Command(), ODA_DRAWENTIRE, ODS_SELECTED,
                   reinterpret_cast<HWND>(tray.Handle()), item.Canvas().Handle(), {0, 0, 120, 22}, 0};
  SendMessageA(app->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
  TBitmap& element = Form_Main->SkinData1->MenuItem->Image;
  GdiFlush();
  EXPECT_EQ(GetPixel(item.Canvas().Handle(), 100, 11),
            GetPixel(element.Canvas().Handle(), element.Width() / 5 * 7 / 2, element.Height() / 2));
}

// The tray and the window show our own icon, drawn at 16, 32 and 48 pixels.
TEST_F(MainForm, TrayAndWindowShowOurIcon) {
  Start();
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC group = FindResourceA(self, "MAINICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
  std::vector<int> sizes;
  for (int i = 0; i < dir[4]; ++i) sizes.push_back(dir[6 + i * 14]);  // each entry's width
  EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));

  // What the user sees at 16 pixels: the blue tile with a white symbol, not
  // the platform's default icon.
  auto drawn = [](HICON icon) {
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all = {0, 0, 16, 16};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
  };
  const auto small = reinterpret_cast<HICON>(SendMessageA(Form_Main->Handle(), WM_GETICON, ICON_SMALL, 0));
  const auto big = reinterpret_cast<HICON>(SendMessageA(Form_Main->Handle(), WM_GETICON, ICON_BIG, 0));
  ASSERT_NE(small, nullptr);
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(big, Application->Icon);
  for (HICON icon : {small, big}) {
    const auto pixels = drawn(icon);
    const COLORREF edge = pixels[8 * 16 + 1];
    EXPECT_LT(abs(GetRValue(edge) - 0x2F) + abs(GetGValue(edge) - 0x80) + abs(GetBValue(edge) - 0xED), 12)
        << "the tile's edge: " << std::hex << edge;
    EXPECT_LT(GetBValue(pixels[0]), 0x80) << "the rounded corner lets the background through";
    EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), [](COLORREF c) {
      return GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200;
    })) << "the white symbol";
  }
}

TEST_F(MainForm, SuspendNotesWifiAndResumeRestoresIt) {
  Start();
  SendMessageA(Form_Main->Handle(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  EXPECT_EQ(Form_Main->Lab_WFS->Caption(), "1");
  EXPECT_EQ(Sim("get 0x83"), "0\n");
  EXPECT_EQ(Sim("log"), "app_main_test.exe set 0x0083\napp_main_test.exe set 0x0097\n");
  Sim("log --clear");
  SendMessageA(Form_Main->Handle(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
  EXPECT_EQ(Sim("get 0x83"), "1\n");
  EXPECT_EQ(Sim("log"), "app_main_test.exe set 0x0086\napp_main_test.exe set 0x0083\n");
  Sim("log --clear");
  SendMessageA(Form_Main->Handle(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);  // already as noted
  EXPECT_EQ(Sim("log"), "app_main_test.exe set 0x0086\n");
}

TEST_F(MainForm, StatePicturesReadTheDeviceTwice) {
  Start();
  Event(136);
  EXPECT_TRUE(ICOForm->Showing());
  EXPECT_EQ(ICOForm->PictureName(), "IMG_WON");
  ICOForm->Close();
  Sim("set 0x81 fail");
  Event(135);
  EXPECT_FALSE(ICOForm->Showing()) << "a failed read shows nothing";
  Sim("set 0x81 0");
  Event(135);
  EXPECT_TRUE(ICOForm->Showing());
  EXPECT_EQ(ICOForm->PictureName(), "IMG_TFF");
}

TEST_F(MainForm, PowerKeyArmsThenShutsDown) {
  Start();
  Event(162);
  EXPECT_EQ(ICOForm->PictureName(), "IMG_SHU");
  EXPECT_TRUE(power.calls.empty());
  Event(162);  // while the overlay shows, whatever picture
  ASSERT_TRUE(EnableShutdownPrivilege()) << "the test process may shut down";
  EXPECT_EQ(power.calls, std::vector<std::string>{"shutdown 5"});
}

TEST_F(MainForm, HibernateAndCpuTemperature) {
  Start();
  Event(186);
  ASSERT_TRUE(EnableShutdownPrivilege());
  EXPECT_EQ(power.calls, std::vector<std::string>{"suspend 110"});
  S_Temp = "\xB0" "C";
  Event(143);
  EXPECT_EQ(Form_Main->Lab_CT->Caption(), "CPU Temp 45\xB0" "C");
  Sim("set 0x85 fail");
  Event(143);
  EXPECT_EQ(Form_Main->Lab_CT->Caption(), "CPU Temp -1\xB0" "C");
}

TEST_F(MainForm, MuteTogglesOnTheVistaPath) {
  Start();
  ASSERT_TRUE(IsVista()) << "a default Wine prefix reports 6.1";
  Event(133);
  EXPECT_EQ(Sim("get mute"), "1\n");
  EXPECT_EQ(ICOForm->PictureName(), "IMG_VFF") << "muted";
  Event(173);
  EXPECT_EQ(Sim("get mute"), "0\n");
  EXPECT_EQ(ICOForm->PictureName(), "IMG_VON");
}

TEST_F(MainForm, RightClickAndMouseModeGoThroughTheInputSeam) {
  Start();
  testsupport::RecordingInput input;
  seams::ScopedSeam<seams::Input> use(input);
  POINT p;
  GetCursorPos(&p);
  Event(140);  // clicks in any mode
  auto events = input.Events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, testsupport::InputEvent::Kind::Cursor);
  EXPECT_EQ(events[1].flags, static_cast<DWORD>(MOUSEEVENTF_RIGHTDOWN));
  EXPECT_EQ(events[2].flags, static_cast<DWORD>(MOUSEEVENTF_RIGHTUP));

  input.Clear();
  Form_Main->MouseMode = true;
  Event(164);  // up moves the pointer 25 pixels
  events = input.Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].x, p.x);
  EXPECT_EQ(events[0].y, p.y - 25);
  input.Clear();
  Event(183);  // enter clicks
  events = input.Events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[1].flags, static_cast<DWORD>(MOUSEEVENTF_LEFTDOWN));
  EXPECT_TRUE(input.Keys().empty());
}

TEST_F(MainForm, SwivelSavesAndRestoresAutomaticRotation) {
  Start();
  RecordingDisplay display;
  seams::ScopedSeam<seams::Display> useDisplay(display);
  Sim("set 0x56 0");
  for (int press = 0; press < 2; ++press) {  // a repeated 0 keeps the setting saved by the turn
    display.current.dmDisplayOrientation = 1;
    Event(86);
    EXPECT_EQ(Ini("ROTE", "STATUS"), "1") << press;
    EXPECT_FALSE(Form_Main->AutoRotate);
    EXPECT_EQ(PictureName(Form_Main->Image_ScrTurn), "IMG_RFF");
    EXPECT_EQ(display.changes.size(), press + 1u) << "turned to 0 every time";
  }
  Sim("set 0x56 1");
  Event(86);
  EXPECT_TRUE(Form_Main->AutoRotate) << "the saved \"1\"";
  EXPECT_EQ(PictureName(Form_Main->Image_ScrTurn), "IMG_RON");
  std::string off = "0";
  RWINI("Config.ini", "ROTE", "STATUS", off, true);
  Event(86);
  EXPECT_FALSE(Form_Main->AutoRotate);
  EXPECT_EQ(PictureName(Form_Main->Image_ScrTurn), "IMG_RFF");
  Sim("set 0x56 fail");
  Form_Main->AutoRotate = true;
  Event(86);
  EXPECT_TRUE(Form_Main->AutoRotate) << "a failed read does nothing";
  EXPECT_EQ(display.changes, (std::vector<std::string>{"rotate 0", "rotate 0"}));
}

TEST_F(MainForm, TaskSwitchReleasesAltOnce600MsAfterTheLastPress) {
  Start();
  testsupport::RecordingInput input;
  seams::ScopedSeam<seams::Input> use(input);
  testsupport::StepClock steps;
  Event(171);
  steps.Advance(400);
  Event(171);
  steps.Advance(599);  // the first press's delay was restarted
  const InputEvent altTab[] = {Key(VK_MENU, X), Key(VK_TAB, X), Key(VK_TAB, U | X)};
  std::vector<InputEvent> expected(std::begin(altTab), std::end(altTab));
  expected.insert(expected.end(), std::begin(altTab), std::end(altTab));
  EXPECT_EQ(input.Keys(), expected);
  steps.Advance(1);
  expected.push_back(Key(VK_MENU, U | X));
  EXPECT_EQ(input.Keys(), expected);
  steps.Advance(5000);
  EXPECT_EQ(input.Keys().size(), 7u) << "one release only";
  // Both sounds were pending at start; each press asks for the enter sound.
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"sound " + ResDir + "KE.wav", "sound " + ResDir + "KM.wav",
                                                   "sound " + ResDir + "KE.wav"}));
}

TEST_F(MainForm, KeySoundsPlayTheSettingsPageFiles) {
  Start();
  testsupport::RecordingInput input;
  seams::ScopedSeam<seams::Input> use(input);
  const std::string saved = KeySoundSetting;
  const std::string enter = "sound C:\\snd\\enter.wav", arrow = "sound C:\\snd\\arrow.wav";
  Form_Main->Edit_KE->SetText("C:\\snd\\enter.wav");
  Form_Main->Edit_KM->SetText("");
  KeySoundSetting = "False";
  Event(165);  // left: both pending from the start, enter sound first
  EXPECT_EQ(sound.calls, (std::vector<std::string>{enter, "sound " + ResDir + "KM.wav"}));
  sound.calls.clear();
  Form_Main->Edit_KM->SetText("C:\\snd\\arrow.wav");
  Event(183);  // enter
  Event(167);  // right
  EXPECT_EQ(sound.calls, (std::vector<std::string>{enter, arrow}));

  sound.calls.clear();
  KeySoundSetting = "True";
  Event(164);
  Event(166);
  EXPECT_TRUE(sound.calls.empty());
  EXPECT_EQ(input.Keys().size(), 5u) << "the keys still go out";
  KeySoundSetting = "False";
  Event(163);  // backspace asks for the enter sound; the arrow sound was left pending
  EXPECT_EQ(sound.calls, (std::vector<std::string>{enter, arrow}));
  KeySoundSetting = saved;
}

TEST_F(MainForm, FullScreenCloseAndStopForAProgramOfOurs) {
  Start();
  testsupport::RecordingInput input;
  seams::ScopedSeam<seams::Input> use(input);
  ForegroundWindow target("Player of ours");
  ASSERT_TRUE(target.TakeForeground());
  Form_Main->KeySounds.EnterSoundPending = Form_Main->KeySounds.ArrowSoundPending = false;
  const std::string enter = "sound " + ResDir + "KE.wav";

  Event(172);
  WaitPumping(50);
  EXPECT_EQ(target.commands, std::vector<WPARAM>{SC_MAXIMIZE});
  // Maximized by its style alone: the window stays small.
  SetWindowLongPtrA(target.hwnd(), GWL_STYLE, GetWindowLongPtrA(target.hwnd(), GWL_STYLE) | WS_MAXIMIZE);
  ASSERT_TRUE(IsZoomed(target.hwnd()));
  Event(172);
  WaitPumping(50);
  EXPECT_EQ(target.commands, (std::vector<WPARAM>{SC_MAXIMIZE, SC_MINIMIZE}));
  EXPECT_TRUE(input.Keys().empty());
  EXPECT_EQ(sound.calls, (std::vector<std::string>{enter, enter}));

  // Without a title, and not the shell's desktop: show the desktop.
  SetWindowTextA(target.hwnd(), "");
  Event(172);
  WaitPumping(50);
  EXPECT_EQ(input.Keys(), (std::vector<InputEvent>{Key(VK_LWIN, X), Key('D', 0), Key('D', U | X), Key(VK_LWIN, U | X)}));
  EXPECT_EQ(target.commands.size(), 2u);
  EXPECT_EQ(sound.calls.size(), 3u);

  // Close: not a program that is ended by force, so Alt+F4.
  input.Clear();
  Event(161);
  EXPECT_EQ(input.Keys(), (std::vector<InputEvent>{Key(VK_MENU, 0), Key(VK_F4, X), Key(VK_MENU, U), Key(VK_F4, U | X)}));
  // Stop: nothing for another program but the sound.
  input.Clear();
  Event(182);
  EXPECT_TRUE(input.Keys().empty());
  EXPECT_EQ(sound.calls.size(), 5u);
  EXPECT_TRUE(IsWindow(target.hwnd()));
}

namespace {

std::string Keys(std::initializer_list<std::pair<const char*, BYTE>> keys) {
  std::string s = "keys";
  char item[16];
  for (auto [kind, vk] : keys) {
    snprintf(item, sizeof item, " %s%02X", kind, vk);
    s += item;
  }
  return s;
}

}  // namespace

TEST_F(MainForm, EveryCodeReachesItsActionAndNoOtherCodeActs) {
  Start();
  TForm_Main* f = Form_Main;
  f->Timer_Powersave->SetEnabled(false);  // idle dimming would send commands of its own
  testsupport::RecordingInput input;
  seams::ScopedSeam<seams::Input> useInput(input);
  RecordingShell shell;
  seams::ScopedSeam<seams::Shell> useShell(shell);
  RecordingDisplay display;
  seams::ScopedSeam<seams::Display> useDisplay(display);
  ForegroundWindow target("Player of ours");
  const std::string execLog = testsupport::ExeDir() + "main-form-exec.log";
  DeleteFileA(execLog.c_str());
  SetEnvironmentVariableA("CORVEL_EXECLOG", execLog.c_str());
  f->Edit_KE->SetText("ke.wav");
  f->Edit_KM->SetText("km.wav");
  f->Edit_IRH->SetText("C:\\hot\\program.exe");
  S_Temp = " C";
  S_Unknown = "n/a";  // the battery percent without a battery
  const std::string saved = KeySoundSetting;
  KeySoundSetting = "False";
  size_t execLines = 0;

  // Everything a code can do, in a fixed order, as one line.
  auto observe = [&] {
    WaitPumping(0);
    std::vector<std::string> seen;
    {
      sim::Machine m;
      std::string ids;
      for (uint32_t i = 0; i < m->logCount; ++i) {
        const std::string text = m->log[i].text;
        char id[8];
        snprintf(id, sizeof id, " %02lX", strtoul(text.c_str() + 4, nullptr, 16) & 0xFF);
        if (text.rfind("set 0x", 0) != 0)
          ids += " " + text;
        else if (ids.find(id) == std::string::npos)
          ids += id;
      }
      if (!ids.empty()) seen.push_back("acpi" + ids);
      for (const auto& c : display.changes) seen.push_back(c);
      if (m->volume != 0.5f) seen.push_back("volume " + std::to_string(std::lround(m->volume * 100)));
      if (m->mute) seen.push_back("mute");
      if (m->vistaPlan != 2) seen.push_back("plan " + std::to_string(m->vistaPlan));
    }
    if (ICOForm->Showing()) {
      std::string shown = "overlay " + ICOForm->PictureName();
      if (ICOForm->Level()) shown += " " + std::to_string(*ICOForm->Level());
      if (!ICOForm->Text().empty()) shown += " '" + ICOForm->Text() + "'";
      seen.push_back(shown);
    }
    if (f->Visible()) seen.push_back("shown");
    if (Form_Menu->Visible()) seen.push_back("menu");
    if (Form_Tip->Visible()) seen.push_back("tip");
    if (!f->AutoRotate) seen.push_back("autorotate off");
    if (f->MouseMode) seen.push_back("mouse mode");
    if (!f->Lab_CT->Caption().empty()) seen.push_back("label " + f->Lab_CT->Caption());
    if (f->DisplayCycleState != 4) seen.push_back("cycle " + std::to_string(f->DisplayCycleState));
    std::string keys = "keys";
    for (const auto& e : input.Events()) {
      char item[32];
      if (e.kind == InputEvent::Kind::Key) {
        const char* kind = e.flags & U ? (e.flags & X ? "xu" : "u") : (e.flags & X ? "xd" : "d");
        snprintf(item, sizeof item, " %s%02X", kind, e.vk);
        keys += item;
      } else if (e.kind == InputEvent::Kind::Mouse) {
        seen.push_back("mouse " + std::to_string(e.flags));
      } else if (e.kind == InputEvent::Kind::Cursor) {
        seen.push_back("cursor");
      }
    }
    if (keys != "keys") seen.push_back(keys);
    for (const auto& c : sound.calls) seen.push_back(c);
    for (const auto& c : power.calls) seen.push_back("power " + c);
    for (const auto& c : shell.opened) seen.push_back(c);
    for (WPARAM c : target.commands) seen.push_back("syscommand " + std::to_string(c));
    std::string log = testsupport::ReadFileText(execLog);
    log.erase(std::remove(log.begin(), log.end(), '\r'), log.end());
    for (size_t i = 0, at = 0; at < log.size(); ++i) {
      const size_t end = log.find('\n', at);
      if (i >= execLines) seen.push_back("exec " + log.substr(at, end - at));
      at = end == std::string::npos ? log.size() : end + 1;
    }
    std::string line;
    for (const auto& s : seen) line += (line.empty() ? "" : "; ") + s;
    return line;
  };
  auto reset = [&] {
    {
      sim::Machine m;
      m->logCount = 0;
      m->volume = 0.5f;
      m->mute = 0;
      m->vistaPlan = 2;
      m->value[0x56] = 0;                               // swivel turned
      m->value[0x88] = 1;                               // slider: first segment
      m->value[0x84] = sim::BrightnessValue(6, 10, 110);  // a short dim ramp
    }
    display.changes.clear();
    input.Clear();
    sound.calls.clear();
    power.calls.clear();
    shell.opened.clear();
    target.commands.clear();
    if (ICOForm->Showing()) ICOForm->Close();
    if (Form_Menu->Visible()) Form_Menu->Close();
    if (Form_Tip->Visible()) Form_Tip->Close();
    if (f->Visible()) f->HideForm();
    f->SliderStepResetTimerProc();
    f->UnlockStep = 0;
    f->AutoRotate = true;
    f->MouseMode = false;
    f->CameraRunning = false;
    f->TouchOffByUs = false;
    f->BacklightOffByUs = false;
    f->DisplayCycleState = 4;
    f->DisplayMode = 0;
    f->Lab_CT->SetCaption("");
    f->KeySounds.EnterSoundPending = f->KeySounds.ArrowSoundPending = false;
    target.TakeForeground();
  };

  const std::string ke = "sound ke.wav", km = "sound km.wav", dim = "acpi 84 93; ";
  const std::string lensbox = "open " + f->GetSpecialFolderDir(CSIDL_PROGRAM_FILES) + "\\Corvel\\Lensbox.exe";
  const std::map<int, std::string> expected = {
      {48, dim + "rotate 2"},
      {49, dim + "rotate 0"},
      {50, dim + "rotate 3"},
      {51, dim + "rotate 1"},
      {81, "shown"},
      {82, "volume 58; overlay IMG_VOL 58"},
      {83, "volume 42; overlay IMG_VOL 42"},
      {84, "tip"},
      {86, dim + "rotate 0; autorotate off"},
      {128, "overlay IMG_BRT -4"},
      {129, "overlay IMG_BRT -4"},
      {131, "volume 58; overlay IMG_VOL 58"},
      {132, "volume 42; overlay IMG_VOL 42"},
      {133, "mute; overlay IMG_VFF"},
      {134, "overlay IMG_LCD; cycle 1"},
      {135, "overlay IMG_TON"},
      {136, "overlay IMG_WON"},
      {140, "cursor; mouse 8; mouse 16"},
      {141, "overlay IMG_MON; mouse mode"},
      {142, "beep 1500 400"},
      {143, "label CPU Temp 45 C"},
      {149, "volume 60; overlay IMG_VOL 60"},
      {150, "volume 40; overlay IMG_VOL 40"},
      {160, lensbox},
      {161, Keys({{"d", VK_MENU}, {"xd", VK_F4}, {"u", VK_MENU}, {"xu", VK_F4}}) + "; " + ke},
      {162, "overlay IMG_SHU; " + ke},
      {163, Keys({{"d", VK_BACK}}) + "; " + ke},
      {164, Keys({{"d", VK_UP}}) + "; " + km},
      {165, Keys({{"d", VK_LEFT}}) + "; " + km},
      {166, Keys({{"d", VK_RETURN}}) + "; " + ke},
      {167, Keys({{"d", VK_RIGHT}}) + "; " + km},
      {168, "volume 40; overlay IMG_VOL 40"},
      {169, Keys({{"d", VK_DOWN}}) + "; " + km},
      {170, "volume 60; overlay IMG_VOL 60"},
      {171, Keys({{"xd", VK_MENU}, {"xd", VK_TAB}, {"xu", VK_TAB}, {"xu", VK_MENU}}) + "; " + ke},
      {172, ke + "; syscommand " + std::to_string(SC_MAXIMIZE)},
      {173, "mute; overlay IMG_VFF"},
      {174, Keys({{"xd", VK_LWIN}, {"xu", VK_LWIN}}) + "; " + ke},
      {175, ke + "; open C:\\hot\\program.exe"},
      {176, "menu; " + ke},
      {177, "exec RunDll32.exe user32.dll,LockWorkStation"},
      {178, "overlay IMG_BAT 'n/a'"},
      {179, "resolution 640x480"},
      {180, Keys({{"d", VK_UP}}) + "; " + km},
      {181, Keys({{"d", VK_DOWN}}) + "; " + km},
      {182, ke},
      {183, Keys({{"d", VK_RETURN}}) + "; " + ke},
      {184, "shown"},
      {185, "exec RunDll32.exe Shell32.dll,Control_RunDLL main.cpl"},
      {186, "power suspend 110"},
  };
  ASSERT_EQ(expected.size(), 50u);
  ASSERT_TRUE(EnableShutdownPrivilege());

  for (int code = 0; code < 256; ++code) {
    reset();
    Event(static_cast<BYTE>(code));
    const auto it = expected.find(code);
    const std::string want = it == expected.end() ? "" : it->second;
    if (code == 171) WaitPumping(700);  // the Alt release belongs to this code, in real time
    if (want.rfind("exec ", 0) == 0)
      testsupport::WaitFor(
          [&] { return testsupport::ReadFileText(execLog).find(want.substr(5)) != std::string::npos; });
    EXPECT_EQ(observe(), want) << "code " << code;
    const std::string log = testsupport::ReadFileText(execLog);
    execLines = static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
    if (code == 134) f->ApplyDisplayModeTimerProc();  // its delayed command is another test's
    if (code == 141) SystemParametersInfoA(SPI_SETCURSORS, 0, nullptr, SPIF_SENDCHANGE);
  }
  // Only the two tools were started, once each; other device changes do nothing.
  WaitPumping(300);
  reset();
  SendMessageA(f->Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
  SendMessageA(f->Handle(), WM_DEVICECHANGE, DBT_CUSTOMEVENT, 0);
  EXPECT_EQ(observe(), "");

  // The power-plan key toggles the plan on its one board instead of locking.
  Model = "P9A7";
  Event(177);
  WaitPumping(300);
  const std::string plan = observe();
  EXPECT_NE(plan.find("plan 3"), std::string::npos) << plan;
  EXPECT_NE(plan.find("overlay IMG_PRH"), std::string::npos) << plan;
  EXPECT_EQ(plan.find("exec"), std::string::npos) << plan;

  SetEnvironmentVariableA("CORVEL_EXECLOG", nullptr);
  KeySoundSetting = saved;
  EXPECT_TRUE(errors.empty()) << errors.front();
}
