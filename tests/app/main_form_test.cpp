// The main window in this process: start-up, registered, session and power
// messages, and the device-event dispatcher, against a fresh simulated device.
#include <windows.h>
#include <dbt.h>
#include <gtest/gtest.h>

#include "CorvelAcpi.h"
#include "ICOShow.h"
#include "RecordingInput.h"
#include "TestSupport.h"
#include "Unit_Tips.h"
#include "Unit_global.h"
#include "Unit_ini.h"
#include "Unit_main.h"
#include "Unit_menu.h"
#include "seams/Power.h"
#include "seams/Sound.h"

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

class SilentSound : public seams::Sound {
 public:
  void PlayFile(const std::string&, UINT) override {}
  void Beep(DWORD, DWORD) override {}
};

class MainForm : public testing::Test {
 protected:
  void SetUp() override { testsupport::UseFreshMachine("main-form"); }
  void TearDown() override {
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
  SilentSound sound;
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
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(MainForm, GameBoardsGetTheTogglesAndTheGameMessages) {
  Start("0xB1B7");
  EXPECT_EQ(Model, "P1B7");
  EXPECT_TRUE(Form_Main->Pl_L500->Visible());
  EXPECT_TRUE(Form_Main->Image_GameH->Visible());
  EXPECT_FALSE(Form_Main->SB_SDH->Visible());
  EXPECT_FALSE(Form_Main->Image_TPanel->Visible());
  SendMessageA(Form_Main->Handle(), RegisterWindowMessageA("Gamehoff"), 0, 1);
  EXPECT_FALSE(Form_Main->AutoRotate);
  SendMessageA(Form_Main->Handle(), RegisterWindowMessageA("Gamehon"), 0, 1);
  EXPECT_TRUE(Form_Main->AutoRotate);
}

TEST_F(MainForm, OtherBoardsHideTheSettingsPageAndIgnoreTheGameMessages) {
  Start("0xB9A7");
  EXPECT_EQ(Model, "P9A7");
  EXPECT_FALSE(Form_Main->TSSet->TabVisible());
  SendMessageA(Form_Main->Handle(), RegisterWindowMessageA("Gamehoff"), 0, 1);
  EXPECT_TRUE(Form_Main->AutoRotate);
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
  EXPECT_TRUE(ICOForm->Showing()) << "WiFi on";
  ICOForm->Close();
  Sim("set 0x81 fail");
  Event(135);
  EXPECT_FALSE(ICOForm->Showing()) << "a failed read shows nothing";
  Sim("set 0x81 0");
  Event(135);
  EXPECT_TRUE(ICOForm->Showing());
}

TEST_F(MainForm, PowerKeyArmsThenShutsDown) {
  Start();
  Event(162);
  EXPECT_TRUE(ICOForm->Showing());
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
  EXPECT_TRUE(ICOForm->Showing());
  Event(173);
  EXPECT_EQ(Sim("get mute"), "0\n");
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
  Sim("set 0x56 0");
  Event(86);
  EXPECT_EQ(Ini("ROTE", "STATUS"), "1");
  EXPECT_FALSE(Form_Main->AutoRotate);
  Sim("set 0x56 1");
  Event(86);
  EXPECT_TRUE(Form_Main->AutoRotate) << "the saved \"1\"";
  std::string off = "0";
  RWINI("Config.ini", "ROTE", "STATUS", off, true);
  Event(86);
  EXPECT_FALSE(Form_Main->AutoRotate);
  Sim("set 0x56 fail");
  Form_Main->AutoRotate = true;
  Event(86);
  EXPECT_TRUE(Form_Main->AutoRotate) << "a failed read does nothing";
}

TEST_F(MainForm, UnlistedCodesAndOtherMessagesAreIgnored) {
  Start();
  for (BYTE code : {85, 87, 130, 137, 144, 151, 159, 187, 0}) Event(code);
  SendMessageA(Form_Main->Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
  SendMessageA(Form_Main->Handle(), WM_DEVICECHANGE, DBT_CUSTOMEVENT, 0);
  EXPECT_EQ(Sim("log"), "");
  EXPECT_FALSE(ICOForm->Showing());
  EXPECT_TRUE(errors.empty());
}
