// The skinned menu bar on a form with a three-item main menu, moved along by
// keys in both reading orders, and an MDI frame (plain windows) whose
// children are taken over and maximised into the bar.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Forms.h"
#include "Menus.h"
#include "SkinManage.h"
#include "SkinTestKit.h"
#include "ThreadTimer.h"
#include "WaitPumping.h"
#include "WinSkinMenu.h"

using namespace skintest;

namespace {

// The menu of the topmost open menu window, or null.
HMENU OpenMenu() {
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
    if (IsWindowVisible(w)) return reinterpret_cast<HMENU>(SendMessageA(w, MN_GETHMENU, 0, 0));
  return nullptr;
}

// A key, with Shift or Alt held when given.
void Key(BYTE vk, BYTE held = 0) {
  for (BYTE k : {held, vk}) if (k) keybd_event(k, 0, 0, 0);
  for (BYTE k : {vk, held}) if (k) keybd_event(k, 0, KEYEVENTF_KEYUP, 0);
}

LRESULT CALLBACK FrameProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DefFrameProcA(h, FindWindowExA(h, nullptr, "MDIClient", nullptr), msg, w, l);
}

class SkinMenuBarTest : public testing::Test {
 protected:
  void SetUp() override {
    app.Initialize();
    BuildTestSkin(data);
    SetElement(*data.MenuBar, kMenuBar, Strip{2, 40, 20, true});
    SkinManage = new TSkinManage();
    SkinManage->AddSkinData(&data);
    SkinManage->Active = true;
  }
  void TearDown() override { FreeSkinManage(); }

  // File (More > Deep, Open), Edit (Copy, %, ') and Help (About), taken over.
  TWinSkinForm* MakeForm(bool rightToLeft) {
    form = new TForm(&app);
    form->SetBounds(100, 100, 400, 200);
    auto* menu = new TMainMenu(form);
    menu->OwnerDraw = true;  // the window's items carry no text
    menu->RightToLeft = rightToLeft;
    auto add = [&](TMenuItem* parent, const char* caption) {
      auto* item = new TMenuItem(form);
      item->Caption = caption;
      item->OnClick = [this, caption](TObject*) { clicked.push_back(caption); };
      parent->Add(item);
      return item;
    };
    TMenuItem* top[] = {add(menu->Items(), "&File"), add(menu->Items(), "&Edit"), add(menu->Items(), "&Help")};
    add(add(top[0], "&More"), "&Deep");
    for (auto [at, caption] : {std::pair{0, "&Open"}, {1, "&Copy"}, {1, "&%"}, {1, "&'"}, {2, "&About"}})
      add(top[at], caption);
    form->SetMenu(menu);
    form->Show();
    SetForegroundWindow(form->Handle());
    EXPECT_TRUE(SkinManage->AddWindow(form->Handle()));
    Pump();
    return SkinManage->FindSkinForm(form->Handle());
  }

  // Runs `open`, then at each tick notes the open menu (the bar index of its
  // button, "deep" or "none") and presses the next key, until none is left.
  std::vector<std::string> Walk(TWinSkinForm& frame, const std::function<void()>& open,
                                const std::vector<std::pair<BYTE, BYTE>>& keys = {}) {
    std::vector<std::string> seen;
    size_t next = 0;
    ui::ThreadTimer tick([&] {
      const HMENU m = OpenMenu();
      std::string name = m ? "deep" : "none";
      for (auto& b : frame.MenuBar->Buttons)
        if (m && b->SubMenu == m) name = std::to_string(b->Index);
      seen.push_back(name);
      if (next < keys.size()) Key(keys[next].first, keys[next].second);
      else if (m) EndMenu();  // never left open on a failure
      if (next++ < keys.size()) tick.Start(200);
    });
    tick.Start(200);
    open();
    for (int i = 0; i < 40 && tick.Armed(); ++i) ui::WaitPumping(100);
    return seen;
  }

  TApplication app;
  TSkinData data{nullptr};
  TForm* form = nullptr;
  std::vector<std::string> clicked;
};

TEST_F(SkinMenuBarTest, TheBarTakesTheMenuLaysOutItsCellsAndGivesItBack) {
  data.Colours.MenuBarText = TColor(RGB(200, 10, 10));
  TWinSkinForm* frame = MakeForm(false);
  ASSERT_NE(frame->MenuBar, nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  TWinSkinMenu& bar = *frame->MenuBar;
  ASSERT_EQ(bar.Buttons.size(), 3u);
  int x = frame->LeftWidth + 4;  // the element's left width (0) + 4
  const int top = frame->TopHeight, bottom = top + frame->MenuBarHeight - 1;
  for (auto& b : bar.Buttons) {
    EXPECT_EQ(b->Rect.left, x) << b->Caption;
    EXPECT_EQ((std::vector<LONG>{b->Rect.top, b->Rect.bottom}), (std::vector<LONG>{top, bottom})) << b->Caption;
    EXPECT_GT(b->Rect.right, x + 10) << b->Caption;
    x = b->Rect.right;
  }
  EXPECT_EQ(Describe(WindowPixel(form->Handle(), x + 20, top + 2)), "MenuBar#1");
  TBitmap shot;
  Snapshot(form->Handle(), shot);
  EXPECT_GT(CountColour(shot, RGB(200, 10, 10)), 20) << "the captions";
  const RECT help = bar.Buttons[2]->Rect;
  const POINT middle{(help.left + help.right) / 2, (help.top + help.bottom) / 2};
  EXPECT_EQ(bar.ButtonAt(middle), bar.Buttons[2].get());
  bar.Buttons[2]->Caption.clear();
  EXPECT_EQ(bar.ButtonAt(middle), nullptr) << "an empty caption is never hit";
  data.MenuBar->LeftWidth = 5000;  // beyond the bar: the cells start at 12
  frame->PaintFrame(nullptr);
  EXPECT_EQ(bar.Buttons[0]->Rect.left, frame->LeftWidth + 12);
  // A rebuild without a menu leaves ButtonCount behind; the walk does not use it.
  const HMENU menu = std::exchange(bar.MenuHandle, nullptr);
  bar.BuildFromHandle();
  EXPECT_TRUE(bar.Buttons.empty());
  EXPECT_EQ(bar.ButtonCount, 3);
  MenuHookFrame = frame;
  for (int index : {2, 0})
    for (bool forward : {true, false}) EXPECT_EQ((MenuHookIndex = index, NextMenuButton(forward)), nullptr);
  MenuHookFrame = nullptr;
  bar.MenuHandle = menu;
  frame->Unskin();
  EXPECT_EQ(GetMenu(form->Handle()), form->Menu()->Handle());
}

// Opened on Help (a click; Alt+H for right to left), Right wraps to File,
// whose first item opens its sub-menu instead; Left comes back from it, then
// wraps to Help and moves to Edit, where '%' chooses its own item. Right to
// left the arrow keys are exchanged.
TEST_F(SkinMenuBarTest, ArrowKeysMoveAlongTheBarInBothReadingOrders) {
  for (bool rtl : {false, true}) {
    TWinSkinForm* frame = MakeForm(rtl);
    ASSERT_NE(frame, nullptr);
    const BYTE right = rtl ? VK_LEFT : VK_RIGHT, left = rtl ? VK_RIGHT : VK_LEFT;
    clicked.clear();
    const RECT help = frame->MenuBar->Buttons[2]->Rect;
    auto open = [&] {
      if (rtl) return Key('H', VK_MENU);
      MouseAt(ScreenPoint(form->Handle(), help.left + 3, help.top + 3), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
    };
    const auto seen = Walk(*frame, open, {{right, 0}, {right, 0}, {left, 0}, {left, 0}, {left, 0}, {'5', VK_SHIFT}});
    EXPECT_EQ(seen, (std::vector<std::string>{"2", "0", "deep", "0", "2", "1", "none"})) << "rtl " << rtl;
    EXPECT_EQ(clicked, std::vector<std::string>{"&%"}) << "rtl " << rtl;
    EXPECT_FALSE(frame->MenuTracking);
    delete form;
  }
}

// Hidden while a menu of its bar is open, the window ends the menu: left on
// screen, it would take no key and no click.
TEST_F(SkinMenuBarTest, HidingTheWindowEndsItsOpenMenu) {
  TWinSkinForm* frame = MakeForm(false);
  const RECT help = frame->MenuBar->Buttons[2]->Rect;
  bool hidden = false, stayed = false;
  ui::ThreadTimer rescue([&] {
    if ((stayed = OpenMenu() != nullptr)) EndMenu();
  });
  ui::ThreadTimer hide([&] {
    if (!OpenMenu()) return hide.Start(20);  // not open yet
    form->Hide();
    hidden = true;
    rescue.Start(1000);
  });
  hide.Start(20);
  MouseAt(ScreenPoint(form->Handle(), help.left + 3, help.top + 3), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
  for (int i = 0; i < 50 && !hidden; ++i) ui::WaitPumping(100);
  ASSERT_TRUE(hidden) << "the menu never opened";
  EXPECT_EQ(OpenMenu(), nullptr);
  EXPECT_FALSE(stayed) << "the menu stayed on screen";
}

// A plain MDI frame with a Window menu and two children made through its
// client: each child is taken over; the maximised one's three buttons show in
// the bar and act on it; with the last child gone the frame's menu is back.
TEST_F(SkinMenuBarTest, AnMdiFramesChildrenAreTakenOverAndMaximisedIntoTheBar) {
  for (int k = 0; k < 3; ++k) {
    auto b = std::make_unique<TDataSkinSysButton>("MDIBUTTON");
    b->Action = 7 + k;
    b->Align = b->Visibility = b->Visibility1 = 100;
    b->Xcoord = 20 * (3 - k);
    SetElement(*b, kTitleButton + k, Strip{4, 16, 14});
    data.TitleButtons.push_back(std::move(b));
  }
  for (auto [proc, name] : {std::pair{&FrameProc, "SkinMdiFrame"}, {&DefMDIChildProcA, "SkinMdiChild"}}) {
    WNDCLASSA wc{0, proc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, name};
    RegisterClassA(&wc);
  }
  HMENU menu = CreateMenu(), window = CreatePopupMenu();
  AppendMenuA(window, MF_STRING, 100, "&Tile");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(window), "&Window");
  HWND h = CreateWindowExA(0, "SkinMdiFrame", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 99, 99, 500, 350, 0, menu, 0, 0);
  CLIENTCREATESTRUCT ccs{window, 1000};
  HWND client = CreateWindowExA(0, "MDIClient", "", WS_CHILD | WS_VISIBLE, 0, 0, 480, 280, h, 0, 0, &ccs);
  SetForegroundWindow(h);
  ASSERT_TRUE(SkinManage->AddWindow(h));
  Pump();
  TWinSkinForm* frame = SkinManage->FindSkinForm(h);
  ASSERT_EQ(frame->WindowKind, 1);
  EXPECT_EQ(Walk(*frame, [] { Key('W', VK_MENU); }), std::vector<std::string>{"0"}) << "Alt and its accelerator";
  auto newChild = [&](const char* title) {
    MDICREATESTRUCTA mcs{"SkinMdiChild", title, nullptr, 10, 10, 200, 120, WS_VISIBLE, 0};
    auto c = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
    Pump();
    return c;
  };
  HWND first = newChild("one"), second = newChild("two");
  for (HWND c : {first, second}) {
    ASSERT_NE(SkinManage->FindSkinForm(c), nullptr);
    EXPECT_FALSE(GetWindowLongPtrA(c, GWL_STYLE) & WS_CAPTION) << "the skin's frame";
  }
  EXPECT_EQ(SkinManage->MdiChildCount(), 2);
  // Minimize, restore, close: the buttons from the right.
  auto buttonAt = [&](int k) {
    const RECT r = frame->SysButtons[size_t(k)]->Rect;
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  auto click = [&](int k) {
    MouseAt(ScreenPoint(h, buttonAt(k).x, buttonAt(k).y), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
  };
  auto maximise = [&](HWND c) {
    SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(c), 0);
    Pump();
    ASSERT_TRUE(SkinManage->MdiMaximized);
    EXPECT_TRUE(GetWindowLongPtrA(c, GWL_STYLE) & WS_CAPTION) << "the platform's maximised layout";
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(Describe(WindowPixel(h, buttonAt(k).x, buttonAt(k).y)), "TitleButton" + std::to_string(k) + "#1");
  };
  maximise(second);
  click(1);
  EXPECT_FALSE(IsZoomed(second)) << "restored";
  EXPECT_FALSE(SkinManage->MdiMaximized);
  EXPECT_FALSE(GetWindowLongPtrA(second, GWL_STYLE) & WS_CAPTION);
  maximise(second);
  click(2);
  EXPECT_FALSE(IsWindow(second)) << "closed";
  EXPECT_EQ(SkinManage->MdiChildCount(), 1);
  SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(first), 0);
  EXPECT_EQ(SkinManage->MdiChildCount(), 0);
  ASSERT_EQ(frame->MenuBar->Buttons.size(), 1u);
  EXPECT_EQ(frame->MenuBar->Buttons[0]->Caption, "&Window");
  DestroyWindow(h);
}

}  // namespace
