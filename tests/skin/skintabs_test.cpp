// Skinned tab controls and tab sets on real common controls, read through
// the screen; the tab set clicked with real input.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "ComCtrls.h"
#include "SkinControlTest.h"
#include "SkinTestBitmaps.h"
#include "TestSupport.h"
#include "WinSkinCtrls2.h"
#include "WinSkinTabs.h"

using namespace skintest;

namespace {

using SkinTabs = SkinControlTest;
constexpr COLORREF kSelectedText = RGB(0xC0, 0x10, 0x10);

// A skinned tab control that clips its children, as the class library's
// windows do. Its tab frames have their three outer rows keyed; the border's
// magenta top row marks the tabs' side.
HWND SkinnedTabs(ControlBench& b, DWORD style, int items, const std::string& text = "Tab") {
  SetElement(*b.Data.Tabs, kTabs, Strip{5, 20, 20, false, {0, 4, 0, 0}, {{0, 0, 20, 3}}});
  b.Data.Tabs->MouseOverColour2 = TColor(kSelectedText);
  FillStrip(b.Data.Tabs->Image2, kTabsBorder, Strip{1, 16, 16, false, {}, {{0, 0, 16, 1}}});
  HWND h = b.AddPlain(WC_TABCONTROLA, "", WS_CLIPCHILDREN | style, RECT{10, 10, 290, 190}, 1);
  for (int i = 0; i < items; ++i) {
    std::string caption = text + std::to_string(i);
    TCITEMA item{TCIF_TEXT, 0, 0, caption.data(), 0, 0, 0};
    SendMessageA(h, TCM_INSERTITEMA, i, LPARAM(&item));
  }
  b.AttachPlain<TSkinTab>(h);
  return h;
}

RECT ItemRect(HWND tab, int i) {
  RECT r{};
  SendMessageA(tab, TCM_GETITEMRECT, i, LPARAM(&r));
  return r;
}

std::string Seen(HWND h, int x, int y) { return Describe(WindowPixel(h, x, y)); }

// d pixels in from lo (d > 0) or from hi (d < 0); the middle for 0.
int Along(LONG lo, LONG hi, int d) { return d > 0 ? lo + d : d < 0 ? hi + d : (lo + hi) / 2; }

// The box around every pixel of that colour within `area`.
RECT Extent(TBitmap& shot, const RECT& area, COLORREF c) {
  RECT box{};
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (const RECT pixel{x, y, x + 1, y + 1}; BitmapPixel(shot, x, y) == c) UnionRect(&box, &box, &pixel);
  return box;
}

bool Same(TBitmap& a, TBitmap& b) {
  GdiFlush();
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         !std::memcmp(a.ScanLine(0), b.ScanLine(0), size_t(a.Stride()) * size_t(a.Height()));
}

// The window PixelsShownBetween updates, and what it showed each time one of
// its messages returned.
HWND watched;
std::vector<std::unique_ptr<TBitmap>> shown;

LRESULT CALLBACK CopyWhatItShows(int code, WPARAM w, LPARAM l) {
  if (code == HC_ACTION && reinterpret_cast<CWPRETSTRUCT*>(l)->hwnd == watched)
    Snapshot(watched, *shown.emplace_back(std::make_unique<TBitmap>()));
  return CallNextHookEx(nullptr, code, w, l);
}

// Updates the window with those copies taken and counts their pixels that are
// neither its old look nor its new one: a look the user saw in between.
int PixelsShownBetween(HWND window) {
  TBitmap before, after;
  Snapshot(window, before);
  watched = window;
  shown.clear();
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, CopyWhatItShows, nullptr, GetCurrentThreadId());
  UpdateWindow(window);
  UnhookWindowsHookEx(hook);
  Snapshot(window, after);
  int between = 0;
  for (auto& shot : shown)
    for (int y = 0; y < after.Height(); ++y)
      for (int x = 0; x < 3 * after.Width(); x += 3) {
        const auto seen = [&](TBitmap& b) { return !std::memcmp(shot->ScanLine(y) + x, b.ScanLine(y) + x, 3); };
        between += !seen(before) && !seen(after);
      }
  return between;
}

}  // namespace

// Composed with the tabs on top and turned to their side: each tab's outer
// edge, the border's mark and the text's direction follow the side. The tab
// selected by code shows frame 2 and its text colour.
TEST_F(SkinTabs, TabsTurnToTheirSideAndShowTheSelectedOne) {
  ControlBench& b = Bench(300, 200);
  const struct {
    DWORD style;
    int outerX, outerY;  // inside the tab's outer edge (Along)
    RECT tabsHalf;       // the half of the control the border's mark is in
  } cases[] = {{0, 0, 2, {0, 0, 280, 90}},
               {TCS_BOTTOM, 0, -3, {0, 90, 280, 180}},
               {TCS_VERTICAL | TCS_MULTILINE, 1, 0, {0, 0, 140, 180}},
               {TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, -2, 0, {140, 0, 280, 180}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    HWND tab = SkinnedTabs(b, c.style, 4);
    SendMessageA(tab, TCM_SETCURSEL, 2, 0);
    EXPECT_EQ(PixelsShownBetween(tab), 0) << "the control's own painting shows";
    TBitmap shot;
    Snapshot(tab, shot);
    const bool vertical = c.style & TCS_VERTICAL;
    for (int i : {0, 2}) {
      const RECT t = ItemRect(tab, i);
      EXPECT_EQ(Seen(tab, Along(t.left, t.right, vertical ? 0 : 3), Along(t.top, t.bottom, vertical ? 3 : 0)),
                Frame(kTabs, i == 2 ? 2 : 1));
      const RECT text = Extent(shot, t, kSelectedText);
      EXPECT_EQ(text.bottom - text.top > text.right - text.left, i == 2 && vertical) << "along the strip";
      EXPECT_EQ(text.right > text.left, i == 2);
    }
    const RECT t = ItemRect(tab, 2);
    EXPECT_EQ(Seen(tab, Along(t.left, t.right, c.outerX), Along(t.top, t.bottom, c.outerY)), "ButtonFace");
    const RECT mark = Extent(shot, RECT{0, 0, 280, 180}, kMagenta);
    RECT inside;
    EXPECT_TRUE(IntersectRect(&inside, &mark, &c.tabsHalf) && EqualRect(&inside, &mark)) << "the border's mark";
    DestroyWindow(tab);
  }
}

// Without items a tab control keeps a strip of one pixel; flat buttons have
// none, and the border is drawn all the same. A crowded strip leaves its
// scroll arrows as they painted themselves when it is painted again alone.
TEST_F(SkinTabs, EmptyAndCrowdedStrips) {
  ControlBench& b = Bench(300, 200);
  for (auto [style, top] : {std::pair{0ul, "ButtonFace"}, {TCS_BUTTONS | TCS_FLATBUTTONS, "Tabs.Border#1"}}) {
    HWND tab = SkinnedTabs(b, style, 0);
    EXPECT_EQ(Seen(tab, 140, 0), top);
    EXPECT_EQ(Seen(tab, 140, 178), "Tabs.Border#1");
    DestroyWindow(tab);
  }
  HWND tab = SkinnedTabs(b, 0, 12, "Tab number ");
  HWND arrows = FindWindowExA(tab, nullptr, UPDOWN_CLASSA, nullptr);
  ASSERT_TRUE(arrows && IsWindowVisible(arrows));
  EXPECT_NE(dynamic_cast<TSkinUpDown*>(b.Frame.FindSkinControl(arrows)), nullptr);
  TBitmap before, after;
  Snapshot(arrows, before);
  EXPECT_GT(CountColour(before, FrameColour(kUpDownHorz, 1)), 0) << "the arrows drawn from the skin";
  SendMessageA(tab, TCM_SETCURSEL, 1, 0);  // the tab control alone is painted
  EXPECT_EQ(PixelsShownBetween(tab), 0);
  const RECT t = ItemRect(tab, 1);
  EXPECT_EQ(Seen(tab, t.left + 3, t.bottom - 3), Frame(kTabs, 2));
  Snapshot(arrows, after);
  EXPECT_TRUE(Same(before, after));
  // A click on the right arrow scrolls the strip: the selected tab comes first.
  RECT a;
  GetWindowRect(arrows, &a);
  for (DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) MouseAt(POINT{a.right - 4, a.top + 4}, button);
  ASSERT_TRUE(testsupport::WaitFor([&] { return ItemRect(tab, 1).left < 5; }));
  Pump();
  const RECT first = ItemRect(tab, 1);
  EXPECT_EQ(Seen(tab, first.left + 3, first.bottom - 3), Frame(kTabs, 2));
}

// Without a usable element (a tab control's also without its Border) the
// controls paint themselves.
TEST_F(SkinTabs, UnusableTabsLeaveTheControlsToThemselves) {
  ControlBench& b = Bench(300, 240);
  HWND tab = SkinnedTabs(b, 0, 2);
  delete b.Frame.FindSkinControl(tab);
  auto* set = b.Add<TTabSet>(10, 200, 200, 21);
  set->Tabs.Assign({"One", "Two"});
  Repaint(b.Form->Handle());
  TBitmap before[2];
  Snapshot(tab, before[0]);
  Snapshot(*set, before[1]);
  const auto paintsItself = [](HWND h, TBitmap& own) {
    RECT r;
    GetClientRect(h, &r);
    FillRect(ui::WindowDC(h).get(), &r, HBRUSH(GetStockObject(BLACK_BRUSH)));  // what shows until it paints
    Repaint(h);
    TBitmap now;
    Snapshot(h, now);
    return Same(own, now);
  };
  b.Data.Tabs->Image2.SetSize(0, 0, pf24bit);
  b.AttachPlain<TSkinTab>(tab);
  EXPECT_TRUE(paintsItself(tab, before[0])) << "no Border";
  b.Data.Tabs.reset();
  b.Attach<TSkinTab31>(set);
  EXPECT_TRUE(paintsItself(set->Handle(), before[1])) << "no Tabs";
}

// The tab set's tabs from FirstIndex, from StartMargin, without one that does
// not fit: a click on each drawn tab selects it. A new skin's tabs show after
// UpdateSkin.
TEST_F(SkinTabs, ClicksOnTheDrawnTabsOfATabSetSelectThem) {
  ControlBench& b = Bench(300, 100);
  SetElement(*b.Data.Tabs, kTabs, Strip{5, 20, 20, false, {2, 0, 0, 0}, {{0, 0, 1, 20}}});  // tabs set apart
  auto* set = b.Add<TTabSet>(10, 10, 200, 21);
  set->Tabs.Assign({"Zero", "One", "A caption far too long to show here", "Two"});
  set->StartMargin = 20;
  set->FirstIndex = 1;
  auto* skin = b.Attach<TSkinTab31>(set);
  std::vector<int> starts;  // of the drawn tabs, along a row above the text
  for (int x = 1; x < set->Width(); ++x)
    if (Name(ControlPixel(*set, x, 1)).element == kTabs && Name(ControlPixel(*set, x - 1, 1)).element != kTabs)
      starts.push_back(x);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0], 21) << "after the start margin and the keyed column";
  for (int k : {1, 0}) {
    testsupport::ClickAt(ScreenPoint(set->Handle(), starts[k] + 4, 10));
    EXPECT_EQ(set->TabIndex(), k ? 3 : 1);
    EXPECT_EQ(At(*set, starts[k] + 1, 1), Frame(kTabs, 2));
    EXPECT_EQ(At(*set, starts[1 - k] + 1, 1), Frame(kTabs, 1));
  }
  SetElement(*b.Data.Tabs, kTabsBorder, Strip{5, 20, 20});
  skin->UpdateSkin();
  Repaint(set->Handle());
  EXPECT_EQ(At(*set, starts[0] + 1, 1), Frame(kTabsBorder, 2));
}

// A page control like the settings window's with the shipped skin. With
// SKIN_TABS_SHOT set, the form's screen area is saved there as a BMP.
TEST_F(SkinTabs, ShippedSkinDrawsAFlatButtonPageControl) {
  ControlBench& b = Bench(675, 382);
  b.Data.SkinStream.LoadFromFile(ShippedSkin());
  ASSERT_TRUE(b.Data.LoadFromStore());
  b.Form->SetColor(b.Data.Colours.ButtonFace);
  auto* pages = b.Add<TPageControl>(0, 0, 675, 382);
  pages->Font.SetName("Arial");
  pages->Font.SetHeight(-12);
  pages->FlatButtons = true;
  pages->TabWidth = 120;
  pages->TabHeight = 25;
  for (const char* caption : {"Basic APP", "System Info.", "Power Management", "Display", "Setting"})
    b.Add<TTabSheet>(0, 0, 10, 10, caption)->SetParent(pages);
  pages->RecreateWnd();  // the style as a stored form gives it
  pages->SetActivePage(pages->Pages(2));
  b.AttachPlain<TSkinTab>(pages->Handle());
  const RECT selected = ItemRect(pages->Handle(), 2);
  EXPECT_EQ(At(*pages, selected.left + 3, selected.bottom - 3), "#ffffff");
  EXPECT_EQ(At(*pages, selected.left + 60, selected.top + 2), "#2b6cd6") << "the selected tab's accent";
  if (const char* shot = std::getenv("SKIN_TABS_SHOT")) SaveScreenArea(b.Form->Handle(), shot);
}
