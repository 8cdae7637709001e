#include <shlobj.h>

#include "ActionsFixture.h"
#include "StepClock.h"
#include "Unit_global.h"
#include "seams/System.h"

namespace {

struct RecordingShell : seams::Shell {
  std::vector<std::string> opened;
  void Open(const std::string& path, int) override { opened.push_back(path); }
};

RECT Bounds(TControl* c) { return RECT{c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()}; }
bool Shown(TForm* f) { return IsWindowVisible(f->Handle()) != FALSE; }

// A window of ours in front, as the program the remote drives would be.
class FrontWindow {
 public:
  FrontWindow() {
    wnd_ = CreateWindowExA(0, "STATIC", "front", WS_POPUP | WS_VISIBLE, 0, 300, 100, 100, nullptr, nullptr, nullptr,
                           nullptr);
    SetForegroundWindow(wnd_);
  }
  ~FrontWindow() { DestroyWindow(wnd_); }
  HWND wnd_;
};

}  // namespace

TEST_F(ActionsTest, MenuSelectionWrapsAndResizesThePictures) {
  EXPECT_EQ(Form_Menu->Left(), GetSystemMetrics(SM_CXSCREEN) / 2 - 592 / 2);
  EXPECT_EQ(Form_Menu->Top(), 0);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Form_Menu->Items[i]->Left(), i * 153);
    EXPECT_EQ(Form_Menu->Items[i]->Tag, i);
    EXPECT_EQ(Form_Menu->Items[i]->Parent(), Form_Menu);
  }
  Form_Menu->Show();
  Form_Menu->RIGHTKEY();
  EXPECT_EQ(Form_Menu->Selection, 0);
  EXPECT_EQ(Bounds(Form_Menu->Items[0]).top, 2);
  EXPECT_EQ(Form_Menu->Items[0]->Width(), 160);
  EXPECT_EQ(Form_Menu->Items[0]->Height(), 160);
  Form_Menu->leftkey();
  EXPECT_EQ(Form_Menu->Selection, 3);
  EXPECT_EQ(Form_Menu->Items[0]->Width(), 128);
  EXPECT_EQ(Bounds(Form_Menu->Items[0]).top, 34);
  EXPECT_EQ(Bounds(Form_Menu->Items[3]).left, 459) << "the left edge stays";
  EXPECT_EQ(Bounds(Form_Menu->Items[3]).right, 619);
  Form_Menu->RIGHTKEY();
  EXPECT_EQ(Form_Menu->Selection, 0);
  Form_Menu->Close();
  Form_Menu->Show();
  EXPECT_EQ(Form_Menu->Selection, 0) << "kept when the menu shows again";
}

TEST_F(ActionsTest, MenuFirstLeftSelectsTheLastItem) {
  Form_Menu->leftkey();
  EXPECT_EQ(Form_Menu->Selection, 3);
}

TEST_F(ActionsTest, MenuEnterRunsTheSelectedItemAndCloses) {
  Form_Menu->Show();
  EXPECT_TRUE(Shown(Form_Menu));
  Form_Menu->enterkey();
  EXPECT_TRUE(Shown(Form_Menu)) << "nothing selected: the menu stays";
  EXPECT_TRUE(Commands().empty());

  Form_Menu->RIGHTKEY();
  Form_Menu->RIGHTKEY();
  Form_Menu->RIGHTKEY();
  Form_Menu->enterkey();
  EXPECT_EQ(Commands(), std::vector<std::string>{"0x0093"});
  EXPECT_FALSE(Shown(Form_Menu));
  EXPECT_FALSE(Form_Menu->Visible());
  EXPECT_EQ(Form_Menu->Selection, 2);
}

// Shown, the menu takes the keyboard from the program in front: the keys a
// user types reach it.
TEST_F(ActionsTest, MenuTakesTheKeyboard) {
  FrontWindow front;
  auto type = [](WORD vk) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = vk;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    WaitPumping(100);
  };
  Form_Main->DispatchEvent(DeviceEvent::EvQuickMenu);
  ASSERT_TRUE(Shown(Form_Menu));
  EXPECT_EQ(GetForegroundWindow(), Form_Menu->Handle());
  type(VK_LEFT);
  EXPECT_EQ(Form_Menu->Selection, 3);
  type(VK_DOWN);
  EXPECT_EQ(Form_Menu->Selection, 0);
  type(VK_RIGHT);
  EXPECT_EQ(Form_Menu->Selection, 1);
  type(VK_UP);
  EXPECT_EQ(Form_Menu->Selection, 0);
  type(VK_ESCAPE);
  EXPECT_FALSE(Shown(Form_Menu));
  EXPECT_TRUE(Commands().empty());

  Form_Menu->Show();
  type(VK_RIGHT);
  type(VK_RIGHT);
  type(VK_RETURN);
  EXPECT_EQ(Commands(), std::vector<std::string>{"0x0093"});
  EXPECT_FALSE(Shown(Form_Menu));
}

// Item 0 starts the camera program; item 3 shows the battery reading of that moment.
TEST_F(ActionsTest, MenuCameraAndBatteryItems) {
  RecordingShell shell;
  seams::ScopedSeam<seams::Shell> useShell(shell);
  Form_Menu->Show();
  Form_Menu->RIGHTKEY();
  Form_Menu->enterkey();
  EXPECT_EQ(shell.opened, std::vector<std::string>{Form_Main->GetSpecialFolderDir(CSIDL_PROGRAM_FILES) +
                                                   "\\Corvel\\Lensbox.exe"});
  EXPECT_FALSE(Shown(Form_Menu));

  S_Unknown = "unknown";
  Form_Menu->Show();
  Form_Menu->leftkey();
  Form_Menu->enterkey();
  EXPECT_EQ(ICOForm->PictureName(), "IMG_BAT");
  EXPECT_EQ(ICOForm->Text(), "unknown") << "no system battery here";
  EXPECT_FALSE(Shown(Form_Menu));
}

TEST_F(ActionsTest, MenuPowerPlanItem) {
  sim::Machine()->vistaPlan = 2;
  Form_Menu->Show();
  Form_Menu->RIGHTKEY();
  Form_Menu->RIGHTKEY();
  Form_Menu->enterkey();
  EXPECT_EQ(sim::Machine()->vistaPlan, 3);
  EXPECT_EQ(ICOForm->PictureName(), "IMG_PRH");
  EXPECT_FALSE(Shown(Form_Menu));
}

TEST_F(ActionsTest, MenuClosesFiveSecondsAfterTheLastMove) {
  testsupport::StepClock clock;
  Form_Menu->Show();
  clock.Advance(3000);
  Form_Menu->RIGHTKEY();
  clock.Advance(4999);
  EXPECT_TRUE(Shown(Form_Menu)) << "the move restarted the 5 s";
  clock.Advance(1);
  EXPECT_FALSE(Shown(Form_Menu));
}

TEST_F(ActionsTest, MenuClosesByItselfInRealTime) {
  const ULONGLONG shown = GetTickCount64();  // before the timer starts: showing takes its time
  Form_Menu->Show();
  EXPECT_TRUE(testsupport::WaitFor([] { return !Shown(Form_Menu); }));
  EXPECT_GE(GetTickCount64() - shown, 4900u);
}

TEST_F(ActionsTest, TipSitsAtTheBottomRight) {
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  RECT r;
  GetWindowRect(Form_Tip->Handle(), &r);
  EXPECT_EQ(r.left, cx - 220 - 2);
  EXPECT_EQ(r.top, cy - 62 - 30);
  EXPECT_EQ(r.right - r.left, 220);
  EXPECT_EQ(r.bottom - r.top, 62);
  EXPECT_EQ(Bounds(Form_Tip->IMG_TIP).top, 11);
  EXPECT_EQ(Bounds(Form_Tip->LB_Cont).left, 50);
  EXPECT_EQ(Bounds(Form_Tip->LB_Cont).top, 24);
  EXPECT_FALSE(Form_Tip->ImgShapeBG->Visible());
  EXPECT_EQ(Form_Tip->ImgShapeBG->Picture().Width(), 11);
  EXPECT_EQ(Form_Tip->IMG_TIP->Picture().Width(), 30);
  EXPECT_FALSE(Shown(Form_Tip));
}

TEST_F(ActionsTest, TipStaysFourSecondsAfterTheLastShow) {
  FrontWindow front;
  testsupport::StepClock clock;
  Form_Tip->LB_Cont->SetCaption("one");
  Form_Tip->FormShow(Form_Tip);
  EXPECT_TRUE(Shown(Form_Tip));
  EXPECT_EQ(GetForegroundWindow(), front.wnd_) << "the player in front keeps the keys";
  clock.Advance(2000);
  Form_Tip->LB_Cont->SetCaption("two");
  Form_Tip->FormShow(Form_Tip);
  clock.Advance(3999);
  EXPECT_TRUE(Shown(Form_Tip)) << "6 s after the first show, 4 s after the second";
  EXPECT_EQ(Form_Tip->LB_Cont->Caption(), "two");
  clock.Advance(1);
  EXPECT_FALSE(Shown(Form_Tip));
  EXPECT_FALSE(Form_Tip->Visible());
}

TEST_F(ActionsTest, TipClosesByItselfInRealTime) {
  const ULONGLONG shown = GetTickCount64();  // before the timer starts: showing takes its time
  Form_Tip->FormShow(Form_Tip);
  EXPECT_TRUE(testsupport::WaitFor([] { return !Shown(Form_Tip); }));
  EXPECT_GE(GetTickCount64() - shown, 3900u);
}
