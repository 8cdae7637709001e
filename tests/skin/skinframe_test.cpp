// The skinned window frame on real windows: what it paints (a test skin whose
// every frame has its own colour), its sizes and hit test with the shipped
// skin, the window region, a reload, and giving the window back.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "Forms.h"
#include "Menus.h"
#include "SkinManage.h"
#include "SkinTestBitmaps.h"
#include "SkinTestKit.h"
#include "TestSupport.h"
#include "ThreadTimer.h"
#include "WaitPumping.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinMenu.h"

using namespace skintest;

bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
void PrintTo(const RECT& r, std::ostream* os) {
  *os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace {

// What the test windows' own procedure saw: "close" (the window stays, as
// the control center's does) and "query <action>".
std::vector<std::string> g_seen;
LRESULT CALLBACK FrameTestProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_CLOSE) return g_seen.push_back("close"), 0;
  if (msg == WM_SKINQUERY && w) g_seen.push_back("query " + std::to_string(w));
  return DefWindowProcA(h, msg, w, l);
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

class TFrameTestForm : public TForm {
  UI_CLASS(TFrameTestForm)
 public:
  using TForm::TForm;
};

class SkinFrameTest : public testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->OnException = [this](TObject*, const std::string& message) { errors.push_back(message); };
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FrameTestProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "SkinFrameWindow";
    RegisterClassA(&wc);
    data = std::make_unique<TSkinData>(nullptr);
    BuildTestSkin(*data);
    SkinManage = new TSkinManage();
    SkinManage->AddSkinData(data.get());
    SkinManage->Active = true;
    g_seen.clear();
  }
  void TearDown() override {
    for (HWND h : windows_) DestroyWindow(h);
    FreeSkinManage();
    data.reset();
    app.reset();
    EXPECT_EQ(errors, std::vector<std::string>{});
  }

  void UseShippedSkin() {
    TMemoryStream shipped;
    shipped.LoadFromFile(ShippedSkin());
    data->SkinStream.Bytes() = shipped.Bytes();
    ASSERT_TRUE(data->LoadFromStore());
  }
  // A window of that style and client size at (100, 100), shown unless said.
  HWND Window(DWORD style, int cw = 300, int ch = 150, HWND owner = nullptr, bool show = true) {
    RECT r{0, 0, cw, ch};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    HWND h = CreateWindowExA(0, "SkinFrameWindow", "test", style, 100, 100, Width(r), Height(r), owner, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(h);
    if (show) ShowWindow(h, SW_SHOW);
    return h;
  }
  // Taken over, and the takeover finished by the message loop.
  TWinSkinForm* Take(HWND h) {
    EXPECT_TRUE(SkinManage->AddWindow(h));
    Pump();
    return SkinManage->FindSkinForm(h);
  }
  void AddTitleButton(int action, int align, int x, int y, int visibility, int frames = 4) {
    auto b = std::make_unique<TDataSkinSysButton>("BUTTON");
    b->Action = action;
    b->Align = align;
    b->Xcoord = x;
    b->Ycoord = y;
    b->Visibility = visibility;
    SetElement(*b, kTitleButton + int(data->TitleButtons.size()), Strip{frames, 16, 14});
    data->TitleButtons.push_back(std::move(b));
  }
  static RECT WindowBox(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
  }
  // The client area's place in window coordinates.
  static RECT ClientBox(HWND h) {
    RECT c{}, w = WindowBox(h);
    GetClientRect(h, &c);
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&c), 2);
    OffsetRect(&c, -w.left, -w.top);
    return c;
  }
  static std::string Seen(HWND h, int x, int y) { return Describe(WindowPixel(h, x, y)); }
  // Whether the window's region holds a point in window coordinates.
  static bool InRegion(HWND h, int x, int y) {
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    const bool in = GetWindowRgn(h, r) != ERROR && PtInRegion(r, x, y);
    DeleteObject(r);
    return in;
  }

  std::unique_ptr<TApplication> app;
  std::unique_ptr<TSkinData> data;
  std::vector<std::string> errors;

 private:
  std::vector<HWND> windows_;
};

TEST_F(SkinFrameTest, PaintsBordersTitleBarCaptionAndButtonsActiveThenInactive) {
  data->Title->LeftWidth = 40;   // TextShift
  data->Title->RightWidth = 60;  // TextRightClip
  data->Colours.TitleTextActive = RGB(250, 250, 1);
  data->Colours.TitleTextNoActive = RGB(1, 250, 250);
  AddTitleButton(0, 1, 30, 4, 200);  // close, at the right, always
  AddTitleButton(40, 0, 8, 4, 3);    // only while active
  AddTitleButton(40, 0, 26, 4, 4);   // only while inactive
  AddTitleButton(1, 1, 100, 4, 200); // maximize: the window has no maximize box
  HWND h = Window(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
  TWinSkinForm* frame = Take(h);
  ASSERT_NE(frame, nullptr);
  const int W = Width(WindowBox(h)), H = Height(WindowBox(h));
  ASSERT_EQ(W, 300 + 2 * kBorderWidth);
  ASSERT_EQ(H, 150 + kTitleHeight + kBorderWidth);
  const struct {
    int x, y;
    std::string active, inactive;
  } table[] = {
      {1, H / 2, "Left#1", "Left#2"},
      {W - 2, H / 2, "Right#1", "Right#2"},
      {W / 2, H - 2, "Bottom#1", "Bottom#2"},
      {kBorderWidth + 2, kTitleHeight - 1, "Top#1", "Top#2"},
      {W - 30 + 8, 4 + 7, "TitleButton0#1", "TitleButton0#4"},
      {8 + 8, 4 + 7, "TitleButton1#1", "Top#2"},
      {26 + 8, 4 + 7, "Top#1", "TitleButton2#4"},
      {W - 100 + 8, 4 + 7, "Top#1", "Top#2"},
  };
  // The caption: its background from the title's image, its text in the
  // title colour of the state, right of the text shift.
  auto expectCaption = [&](const char* background, COLORREF text, const char* state) {
    const RECT c = frame->CaptionRect;
    EXPECT_EQ(c.left, kBorderWidth + 40) << state;
    EXPECT_EQ(Seen(h, c.left + 1, 0), background) << state;
    int textPixels = 0;
    for (int y = c.top; y < c.bottom; ++y)
      for (int x = c.left; x < c.right; ++x) textPixels += WindowPixel(h, x, y) == text;
    EXPECT_GT(textPixels, 10) << state;
  };
  for (const auto& row : table) EXPECT_EQ(Seen(h, row.x, row.y), row.active) << row.x << "," << row.y;
  expectCaption("Title#1", RGB(250, 250, 1), "active");

  HWND other = Window(WS_OVERLAPPEDWINDOW, 100, 50);
  SetWindowPos(other, nullptr, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetForegroundWindow(other);
  Pump();
  ASSERT_FALSE(frame->Active);
  for (const auto& row : table) EXPECT_EQ(Seen(h, row.x, row.y), row.inactive) << row.x << "," << row.y;
  expectCaption("Title#2", RGB(1, 250, 250), "inactive");
}

TEST_F(SkinFrameTest, TheShippedSkinSizesTheFrameAndUnskinGivesThePlatformsBack) {
  UseShippedSkin();
  HWND owner = Window(WS_OVERLAPPEDWINDOW, 100, 100, nullptr, false);
  const struct {
    const char* what;
    DWORD style;
    HWND owner;
    int borderKind;
    DWORD stylesAfter;  // of WS_CAPTION and WS_SYSMENU, while skinned
  } table[] = {
      {"a popup with a caption", WS_POPUP | WS_CAPTION | WS_SYSMENU, nullptr, 1, WS_SYSMENU},
      {"an owned one", WS_POPUP | WS_CAPTION | WS_SYSMENU, owner, 1, WS_CAPTION},
      {"a sizeable window", WS_OVERLAPPEDWINDOW, nullptr, 0, WS_SYSMENU},
      {"a dialog frame", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, nullptr, 3, WS_SYSMENU},
  };
  for (const auto& row : table) {
    HWND h = Window(row.style, 300, 150, row.owner);
    const RECT before = WindowBox(h), platformClient = ClientBox(h);
    const LONG_PTR platformStyle = GetWindowLongPtrA(h, GWL_STYLE);
    TWinSkinForm* frame = Take(h);
    ASSERT_NE(frame, nullptr) << row.what;
    EXPECT_EQ(frame->BorderKind, row.borderKind) << row.what;
    EXPECT_EQ(std::vector({frame->LeftWidth, frame->TopHeight, frame->RightWidth, frame->BottomHeight}),
              std::vector({4, 30, 4, 4}))
        << row.what;
    // The client area keeps its size, under the skin's borders.
    const RECT skinned = WindowBox(h);
    EXPECT_EQ(ClientBox(h), (RECT{4, 30, 304, 180})) << row.what;
    EXPECT_EQ(Width(skinned), 308) << row.what;
    EXPECT_EQ(Height(skinned), 184) << row.what;
    EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU), LONG_PTR(row.stylesAfter)) << row.what;

    frame->Unskin();
    const RECT after = WindowBox(h);
    EXPECT_EQ(Width(after), Width(skinned) - 8 + Width(before) - Width(platformClient)) << row.what;
    EXPECT_EQ(Height(after), Height(skinned) - 34 + Height(before) - Height(platformClient)) << row.what;
    EXPECT_EQ(ClientBox(h), platformClient) << row.what;
    EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE), platformStyle) << row.what;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(h, region), ERROR) << row.what << ": the region dropped";
    DeleteObject(region);
    delete frame;
  }
}

TEST_F(SkinFrameTest, HitTestAnswersWhereThePlatformDoesNot) {
  UseShippedSkin();
  HWND h = Window(WS_POPUP | WS_CAPTION | WS_SYSMENU);
  ASSERT_NE(Take(h), nullptr);
  const RECT w = WindowBox(h);
  const struct {
    int x, y;
    LRESULT hit;
  } table[] = {
      {100, 0, HTNOWHERE}, {100, 3, HTNOWHERE},  // the top rows stay the platform's
      {100, 4, HTCAPTION}, {100, 29, HTCAPTION}, // the title bar
      {1, 31, HTMENU},     {150, Height(w) - 2, HTMENU},  // the borders below it
      {150, 100, HTCLIENT},
  };
  for (const auto& row : table)
    EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(w.left + row.x, w.top + row.y)), row.hit)
        << row.x << "," << row.y;
}

TEST_F(SkinFrameTest, TheWindowRegionLeavesOutTheTransparentBorderPixels) {
  const DWORD style = WS_POPUP | WS_CAPTION;
  {
    SCOPED_TRACE("the shipped skin: a plain rectangle");
    UseShippedSkin();
    HWND h = Window(style);
    Take(h);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(h, r), SIMPLEREGION);
    RECT box{};
    GetRgnBox(r, &box);
    DeleteObject(r);
    EXPECT_EQ(box, (RECT{0, 0, Width(WindowBox(h)), Height(WindowBox(h))}));
  }
  {
    SCOPED_TRACE("the left border's top corner keyed");
    BuildTestSkin(*data);
    SetElement(*data->Left, kLeft, Strip{2, kBorderWidth, 40, false, {0, 10, 0, 10}, {{0, 0, 2, 2}}});
    HWND h = Window(style);
    TWinSkinForm* frame = Take(h);
    EXPECT_FALSE(InRegion(h, 0, 0));
    EXPECT_FALSE(InRegion(h, 1, 1));
    EXPECT_TRUE(InRegion(h, 2, 0));
    EXPECT_TRUE(InRegion(h, 0, 20));
    const HRGN region = frame->Region;
    const RECT c = ClientBox(h);
    SendMessageA(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(Width(c), Height(c)));
    EXPECT_EQ(frame->Region, region) << "the same size keeps its region";
    EXPECT_FALSE(InRegion(h, 0, 0));
  }
  {
    SCOPED_TRACE("only the bottom border keyed");
    BuildTestSkin(*data);
    SetElement(*data->Bottom, kBottom, Strip{2, 60, kBorderWidth, true, {10, 0, 10, 0}, {{0, 2, 2, 4}}});
    HWND h = Window(style);
    Take(h);
    const int H = Height(WindowBox(h));
    EXPECT_FALSE(InRegion(h, kBorderWidth, H - 1));
    EXPECT_TRUE(InRegion(h, kBorderWidth + 2, H - 1));
    EXPECT_TRUE(InRegion(h, 0, H - 1));
  }
  {
    SCOPED_TRACE("the title bar's right end keyed, after a resize");
    BuildTestSkin(*data);
    SetElement(*data->Top, kTop, Strip{2, 60, kTitleHeight, true, {10, 0, 10, 0}, {{56, 0, 60, 3}}});
    HWND h = Window(style);
    Take(h);
    const int oldEnd = Width(WindowBox(h)) - kBorderWidth;
    EXPECT_FALSE(InRegion(h, oldEnd - 2, 1));
    SetWindowPos(h, nullptr, 0, 0, Width(WindowBox(h)) + 50, Height(WindowBox(h)), SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    const int newEnd = Width(WindowBox(h)) - kBorderWidth;
    EXPECT_FALSE(InRegion(h, newEnd - 2, 1)) << "cut where the title ends now";
    EXPECT_TRUE(InRegion(h, oldEnd - 2, 1)) << "not where it ended before";
    EXPECT_TRUE(InRegion(h, newEnd - 2, 5));
  }
}

TEST_F(SkinFrameTest, AReloadRebuildsTheButtonsAndResizesTheFrame) {
  AddTitleButton(0, 1, 30, 4, 200);
  HWND h = Window(WS_POPUP | WS_CAPTION);
  TWinSkinForm* frame = Take(h);
  ASSERT_EQ(frame->SysButtons.size(), 1u);
  const RECT client = ClientBox(h);

  // A skin with wider sides and no title buttons, as a new load leaves it.
  SetElement(*data->Left, kLeft, Strip{2, 7, 40, false, {0, 10, 0, 10}});
  data->TitleButtons.clear();
  data->SkinChanged();
  EXPECT_TRUE(frame->SysButtons.empty()) << "freed before the records they pointed to";
  Pump();  // nothing runs before the timer
  SkinManage->DoAction();
  Pump();
  EXPECT_EQ(frame->LeftWidth, 7);
  EXPECT_EQ(frame->LifeState, lsActive);
  EXPECT_EQ(ClientBox(h), (RECT{7, client.top, 7 + Width(client), client.bottom}));
  EXPECT_EQ(Seen(h, 6, 60), "Left#1");
  EXPECT_EQ(Seen(h, Width(WindowBox(h)) - 30 + 8, 11), "Top#1") << "the old close button is gone";
}

TEST_F(SkinFrameTest, FrameCountsOfZeroOrLessCountAsOne) {
  data->Top->FrameCount = 0;                      // 48 pixels high, one frame
  AddTitleButton(40, 0, 8, 4, 200, 1);
  data->TitleButtons.back()->FrameCount = -1;     // 16 pixels wide, one frame
  HWND h = Window(WS_POPUP | WS_CAPTION);
  TWinSkinForm* frame = Take(h);
  EXPECT_EQ(frame->TopHeight, 2 * kTitleHeight);
  EXPECT_EQ(frame->SysButtons[0]->Rect, (RECT{8, 4, 24, 18}));
  EXPECT_EQ(Seen(h, 8 + 15, 4 + 7), "TitleButton0#1");
}

// Windows given back, smaller than their borders, and painted with a region
// their caller still owns; a hidden window taken over stays behind.
TEST_F(SkinFrameTest, TheFrameLeavesWhatIsNotItsOwnAlone) {
  HWND front = Window(WS_OVERLAPPEDWINDOW, 100, 50);
  SetForegroundWindow(front);
  HWND h = Window(WS_POPUP | WS_CAPTION | WS_SYSMENU, 300, 150, nullptr, false);
  TWinSkinForm* frame = Take(h);
  EXPECT_EQ(frame->LifeState, lsActive);
  EXPECT_EQ(GetForegroundWindow(), front) << "the takeover's resize activated the hidden window";
  EXPECT_FALSE(IsWindowVisible(h));

  ShowWindow(h, SW_SHOWNOACTIVATE);
  HRGN update = CreateRectRgn(0, 0, 2000, 2000);
  SendMessageA(h, WM_NCPAINT, reinterpret_cast<WPARAM>(update), 0);
  RECT box{};
  EXPECT_EQ(GetRgnBox(update, &box), SIMPLEREGION) << "the caller's update region was deleted";
  EXPECT_TRUE(DeleteObject(update));
  EXPECT_EQ(Name(WindowPixel(h, 1, 60)).element, kLeft) << Seen(h, 1, 60);

  SetWindowPos(h, nullptr, 0, 0, 5, 5, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  GetClientRect(h, &client);
  EXPECT_EQ(client, (RECT{0, 0, 0, 0}));
}

// The icon button draws the window's small icon, also one given after the
// takeover; a new window text reaches the caption.
TEST_F(SkinFrameTest, AnIconOrTextSetLaterReachesTheFrame) {
  data->Title->LeftWidth = 40;  // the caption starts right of the icon
  AddTitleButton(3, 0, 8, 4, 200, 1);
  data->TitleButtons.back()->Image.SetSize(0, 0, pf24bit);  // as parsed: the icon is drawn instead
  HWND h = Window(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
  TWinSkinForm* frame = Take(h);
  EXPECT_EQ(Seen(h, 16, 12), "Top#1") << "no icon: the title bar shows through";

  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  TBitmap colour(cx, cy);
  colour.Canvas().Brush.Color = TColor(RGB(10, 200, 30));
  colour.Canvas().FillRect(RECT{0, 0, cx, cy});
  HBITMAP mask = CreateBitmap(cx, cy, 1, 1, nullptr);  // all opaque
  ICONINFO info{TRUE, 0, 0, mask, colour.Handle()};
  HICON icon = CreateIconIndirect(&info);
  SendMessageA(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  EXPECT_EQ(WindowPixel(h, 16, 12), RGB(10, 200, 30));

  const int before = Width(frame->CaptionRect);
  SetWindowTextA(h, "a caption much longer than the first");
  EXPECT_EQ(frame->Caption, "a caption much longer than the first");
  EXPECT_GT(Width(frame->CaptionRect), before + 100);
  DestroyIcon(icon);
  DeleteObject(mask);
}

// A message box too narrow for its caption is widened to it, its controls
// moved into the middle of the added width in their order.
TEST_F(SkinFrameTest, AMessageFormIsWidenedToItsCaption) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TMessageForm";
  RegisterClassA(&wc);
  const std::string caption(40, 'W');
  HWND h = CreateWindowExA(0, "TMessageForm", caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                           100, 100, 120, 80, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND first = CreateWindowExA(0, "BUTTON", "1", WS_CHILD | WS_VISIBLE, 10, 10, 30, 20, h, nullptr, nullptr, nullptr);
  HWND second = CreateWindowExA(0, "BUTTON", "2", WS_CHILD | WS_VISIBLE, 50, 10, 30, 20, h, nullptr, nullptr, nullptr);
  RECT client{};
  GetClientRect(h, &client);
  ShowWindow(h, SW_SHOW);
  TWinSkinForm* frame = Take(h);
  ASSERT_GT(frame->SpaceWidth, 0);
  const int needed = (40 + 7) * frame->SpaceWidth + 2 * kBorderWidth;
  ASSERT_GT(needed, client.right + 2 * kBorderWidth);
  EXPECT_EQ(Width(WindowBox(h)), needed);
  const int shift = (needed - client.right - 2 * kBorderWidth) / 2;
  RECT r{};
  GetWindowRect(first, &r);
  MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 10 + shift);
  GetWindowRect(second, &r);
  MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 50 + shift);
  EXPECT_EQ(GetWindow(h, GW_CHILD), first) << "the tab order changed";
  DestroyWindow(h);
}

TEST_F(SkinFrameTest, TheSystemMenuHasTheWindowsBoxesAndItsCloseClosesIt) {
  const struct {
    DWORD style;
    std::vector<std::string> captions;
  } table[] = {
      {WS_POPUP | WS_CAPTION | WS_SYSMENU, {" Restore ", "-", " Close "}},
      {WS_OVERLAPPEDWINDOW, {" Restore ", " Maximize ", " Minimize ", "-", " Close "}},
  };
  for (const auto& row : table) {
    HWND h = Window(row.style);
    TWinSkinForm* frame = Take(h);
    ASSERT_NE(frame->SysMenu, nullptr);
    EXPECT_EQ(frame->SysMenu->Tag, 33333);
    std::vector<std::string> captions;
    TMenuItem* items = frame->SysMenu->Items();
    for (int i = 0; i < items->Count(); ++i) {
      captions.push_back(items->Items(i)->Caption);
      const int tags[] = {0, 1, 2, 100, 3};
      const int tag = items->Items(i)->Tag;
      EXPECT_NE(std::find(std::begin(tags), std::end(tags), tag), std::end(tags));
      EXPECT_EQ(items->Items(i)->ImageIndex, tag);
    }
    EXPECT_EQ(captions, row.captions);
    TMenuItem* close = items->Items(items->Count() - 1);
    EXPECT_EQ(ui::ShortCutToText(close->ShortCut), "Shift+F4");
    g_seen.clear();
    close->Click();
    Pump();
    EXPECT_EQ(g_seen, std::vector<std::string>{"close"});
    EXPECT_FALSE(frame->HoverTimer->Enabled());
  }
}

TEST_F(SkinFrameTest, TitleButtonsShowByTheirVisibilityKeys) {
  HWND h = Window(WS_POPUP | WS_CAPTION | WS_SYSMENU);
  for (int i = 0; i < 2; ++i) AddTitleButton(0, 0, 8, 4, 0);
  TWinSkinForm* frame = Take(h);
  TDataSkinSysButton& d = *data->TitleButtons[0];
  const struct {
    int visibility, visibility1, action, borderKind;
    bool active;
    uint8_t frameStyles, showState;
    bool visible;
  } table[] = {
      {0, 0, 0, 1, true, 8, 0, true},      {0, 0, 0, 3, true, 8, 0, false},  // not on dialog frames
      {0, 0, 0, 1, true, 0, 0, false},     {0, 0, 40, 1, true, 0, 0, true},  // a close box needs the system menu
      {1, 0, 40, 1, true, 0, 1, true},     {1, 0, 40, 1, true, 0, 0, false}, {2, 0, 40, 1, true, 0, 1, false},
      {3, 0, 40, 1, false, 0, 0, false},   {4, 0, 40, 1, false, 0, 0, true}, {6, 0, 40, 1, true, 9, 0, true},
      {6, 0, 40, 1, true, 1, 0, false},    {7, 0, 40, 1, true, 1, 0, false}, {8, 0, 40, 1, true, 10, 0, true},
      {9, 0, 40, 1, true, 2, 0, false},    {5, 0, 40, 1, true, 0, 0, false}, {-1, 0, 40, 1, true, 0, 0, false},
      {200, 0, 40, 3, true, 0, 0, true},   {2000, 0, 40, 3, true, 0, 0, true}, {2001, 0, 40, 3, true, 0, 0, false},
      {200, 3, 40, 1, false, 0, 0, false}, {200, 6, 40, 1, true, 1, 0, true}, {200, 6, 40, 1, true, 8, 0, false},
      {200, 100, 40, 1, true, 0, 0, true}, {200, 5, 40, 1, true, 0, 0, false},
      {200, 0, 1, 1, true, 0, 0, false},   {200, 0, 1, 1, true, 1, 0, true}, {200, 0, 2, 1, true, 1, 0, false},
  };
  for (const auto& row : table) {
    d.Visibility = row.visibility;
    d.Visibility1 = row.visibility1;
    d.Action = row.action;
    frame->BorderKind = uint8_t(row.borderKind);
    frame->Active = row.active;
    frame->FrameStyles = row.frameStyles;
    frame->ShowState = row.showState;
    EXPECT_EQ(frame->SysButtonVisible(0), row.visible)
        << row.visibility << "/" << row.visibility1 << " action " << row.action << " kind " << row.borderKind;
    EXPECT_EQ(frame->SysButtons[0]->Visible, row.visible);
  }
}

// Real input on two title buttons of an owned window (the platform answers
// their place as its caption): hot under the cursor, pressed on a press,
// clicked by a release on the button pressed; the hover tick restores one the
// mouse left, over the title bar (the normal frame is keyed where the others
// are not). A reload leaves no hot element behind.
TEST_F(SkinFrameTest, TitleButtonsFollowTheMouse) {
  AddTitleButton(0, 1, 30, 4, 200);   // close
  AddTitleButton(40, 1, 50, 4, 200);  // an action of the program's own
  TCanvas& normal = data->TitleButtons[0]->Image.Canvas();
  normal.Brush.Color = TColor(kMagenta);
  normal.FillRect(RECT{0, 0, 4, 4});
  HWND h = Window(WS_POPUP | WS_CAPTION | WS_SYSMENU, 300, 150, Window(WS_OVERLAPPEDWINDOW, 100, 100, nullptr, false));
  TWinSkinForm* frame = Take(h);
  const int W = Width(WindowBox(h));
  const POINT close = ScreenPoint(h, W - 22, 11), own = ScreenPoint(h, W - 42, 11), client = ScreenPoint(h, 150, 100);
  constexpr DWORD down = MOUSEEVENTF_LEFTDOWN, up = MOUSEEVENTF_LEFTUP;
  const struct {
    const char* what;
    POINT at;
    DWORD buttons;
    std::string close, closeCorner, own;
    std::vector<std::string> seen;
  } steps[] = {
      {"hover", close, 0, "TitleButton0#3", "TitleButton0#3", "TitleButton1#1", {}},
      {"press", close, down, "TitleButton0#2", "TitleButton0#2", "TitleButton1#1", {}},
      {"leave", client, 0, "TitleButton0#1", "Top#1", "TitleButton1#1", {}},
      {"release away", client, up, "TitleButton0#1", "Top#1", "TitleButton1#1", {}},
      {"press again", close, down, "TitleButton0#2", "TitleButton0#2", "TitleButton1#1", {}},
      {"onto the other", own, 0, "TitleButton0#1", "Top#1", "TitleButton1#3", {}},
      {"release there", own, up, "TitleButton0#1", "Top#1", "TitleButton1#3", {}},
      {"click", close, down | up, "TitleButton0#3", "TitleButton0#3", "TitleButton1#1", {"close"}},
      {"click the other", own, down | up, "TitleButton0#1", "Top#1", "TitleButton1#3", {"close", "query 40"}},
  };
  for (const auto& step : steps) {
    MouseAt(step.at, step.buttons);
    ui::WaitPumping(300);  // a hover tick
    EXPECT_EQ(Seen(h, W - 22, 11), step.close) << step.what;
    EXPECT_EQ(Seen(h, W - 29, 5), step.closeCorner) << step.what;
    EXPECT_EQ(Seen(h, W - 42, 11), step.own) << step.what;
    EXPECT_EQ(g_seen, step.seen) << step.what;
    EXPECT_EQ(frame->HoverTimer->Enabled(), frame->HotObject != nullptr) << step.what << ": ticks only while hot";
  }
  ASSERT_NE(frame->HotObject, nullptr);
  data->SkinChanged();
  EXPECT_EQ(frame->HotObject, nullptr) << "its buttons are freed";
}

// A sizeable class-library form (owned: it keeps WS_CAPTION) and a plain
// window, maximised, restored and minimised as a user does it: title buttons
// clicked, the caption double-clicked, restored from the taskbar. After each
// the client lies under the skin's borders, the styles are the skinned ones
// and the region (the top-left corner keyed) follows the window's size.
TEST_F(SkinFrameTest, MaximisedMinimisedAndRestoredByTheUser) {
  SetElement(*data->Left, kLeft, Strip{2, kBorderWidth, 40, false, {0, 10, 0, 10}, {{0, 0, 2, 2}}});
  AddTitleButton(1, 1, 50, 4, 2);    // maximize, while not maximized
  AddTitleButton(1, 1, 50, 4, 1);    // restore, while maximized
  AddTitleButton(2, 1, 70, 4, 200);  // minimize
  SetDoubleClickTime(2000);          // room for a loaded machine
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  enum Shown { kNormal, kMaximized, kMinimized };
  const struct {
    const char* what;
    POINT at;  // a negative x counts from the right edge
    int clicks;
    Shown shown;
  } steps[] = {
      {"the maximize button", {-50 + 8, 11}, 1, kMaximized},
      {"the restore button", {-50 + 8, 11}, 1, kNormal},
      {"a double click on the caption", {60, 12}, 2, kMaximized},
      {"a double click on the maximised caption", {60, 12}, 2, kNormal},
      {"the minimize button", {-70 + 8, 11}, 1, kMinimized},
      {"the taskbar's restore", {}, 0, kNormal},
      {"the maximize button again", {-50 + 8, 11}, 1, kMaximized},
      {"the minimize button, maximised", {-70 + 8, 11}, 1, kMinimized},
      {"the taskbar's restore, to maximised", {}, 0, kMaximized},
      {"the restore button at last", {-50 + 8, 11}, 1, kNormal},
  };
  for (const bool plain : {false, true}) {
    SCOPED_TRACE(plain ? "a plain window" : "a form");
    HWND h = plain ? Window(WS_OVERLAPPEDWINDOW) : nullptr;
    if (!plain) {
      auto* form = new TFrameTestForm(Application);
      form->BorderStyle = bsSizeable;
      form->SetBounds(100, 100, 300, 150);
      form->Show();
      h = form->Handle();
    }
    TWinSkinForm* frame = Take(h);
    const RECT normal = WindowBox(h);
    const LONG_PTR skinned = GetWindowLongPtrA(h, GWL_STYLE);
    for (const auto& step : steps) {
      SCOPED_TRACE(step.what);
      const RECT before = WindowBox(h);
      const POINT at = ScreenPoint(h, step.at.x < 0 ? Width(before) + step.at.x : step.at.x, step.at.y);
      for (int click = 0; click < step.clicks; ++click) MouseAt(at, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
      if (!step.clicks) PostMessageA(h, WM_SYSCOMMAND, SC_RESTORE, 0);
      const auto shown = [h] { return IsZoomed(h) ? kMaximized : IsIconic(h) ? kMinimized : kNormal; };
      ASSERT_TRUE(testsupport::WaitFor([&] { return shown() == step.shown; }));
      Pump();
      EXPECT_EQ(frame->ShowState, step.shown);
      if (step.shown == kMinimized) continue;
      const RECT w = WindowBox(h);
      RECT visible{};
      if (step.shown == kNormal) EXPECT_EQ(w, normal);
      else EXPECT_TRUE(IntersectRect(&visible, &w, &work) && EqualRect(&visible, &work)) << "fills the work area";
      const int W = Width(w), H = Height(w);
      EXPECT_EQ(ClientBox(h), (RECT{kBorderWidth, kTitleHeight, W - kBorderWidth, H - kBorderWidth}));
      EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE) & ~LONG_PTR(WS_MAXIMIZE), skinned);
      EXPECT_FALSE(InRegion(h, 0, 0)) << "the keyed corner";
      EXPECT_TRUE(InRegion(h, 2, 0));
      EXPECT_TRUE(InRegion(h, W - 1, H - 1));
      EXPECT_FALSE(InRegion(h, W, H - 1));
      // The restore button while maximised, else the maximize button (hot or not).
      EXPECT_EQ(Name(WindowPixel(h, W - 50 + 8, 11)).element, kTitleButton + (step.shown == kMaximized))
          << Seen(h, W - 50 + 8, 11);
      EXPECT_EQ(Seen(h, 2, H / 2), "Left#1");
    }
  }
  SetDoubleClickTime(0);
}

// The system menu from a right click on the title bar, drawn from the skin
// (Restore greyed in the normal state); Escape closes it. A double click on the icon opens it, then
// closes the window (the second open within the double-click time).
TEST_F(SkinFrameTest, TheSystemMenuOpensFromTheTitleBar) {
  constexpr COLORREF text = RGB(10, 20, 120), shadow = RGB(150, 100, 50);
  data->Colours.MenuText = TColor(text);
  data->Colours.ButtonShadow = TColor(shadow);
  AddTitleButton(3, 0, 8, 4, 200, 1);  // the icon
  SetDoubleClickTime(1000);             // room for a loaded machine
  HWND h = Window(WS_OVERLAPPEDWINDOW);
  Take(h);
  std::vector<std::string> shown;
  ui::ThreadTimer look([&] {
    HWND menu = FindWindowA("#32768", nullptr);
    const auto items = menu ? reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)) : nullptr;
    for (int i = 0; items && i < GetMenuItemCount(items); ++i) {
      RECT r{};
      GetMenuItemRect(nullptr, items, UINT(i), &r);
      TBitmap b(Width(r), Height(r));
      HDC screen = GetDC(nullptr);
      BitBlt(b.Canvas().Handle(), 0, 0, b.Width(), b.Height(), screen, r.left, r.top, SRCCOPY);
      ReleaseDC(nullptr, screen);
      const COLORREF back = BitmapPixel(b, b.Width() - 2, 1);
      shown.push_back(Describe(back) + (CountColour(b, text) > 5 ? " text" : "") +
                      (CountColour(b, shadow) > 5 ? " shadow" : ""));
    }
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
  });
  look.Start(100);
  MouseAt(ScreenPoint(h, 150, 12), MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP);
  EXPECT_EQ(shown, (std::vector<std::string>{"MenuItem#1 shadow", "MenuItem#1 text", "MenuItem#1 text", "MenuItem#2",
                                             "MenuItem#1 text"}));
  EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr) << "Escape closed it";
  EXPECT_EQ(g_seen, std::vector<std::string>{});

  HWND other = Window(WS_OVERLAPPEDWINDOW);
  Take(other);
  bool opened = false;
  ui::ThreadTimer end([&] {
    opened = FindWindowA("#32768", nullptr) != nullptr;
    EndMenu();
  });
  end.Start(100);
  MouseAt(ScreenPoint(other, 16, 11), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(opened);
  EXPECT_EQ(g_seen, std::vector<std::string>{});
  MouseAt(ScreenPoint(other, 16, 11), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(g_seen, std::vector<std::string>{"close"});
  EXPECT_FALSE(IsZoomed(other)) << "not the title bar's double click";
  SetDoubleClickTime(0);
}

}  // namespace
