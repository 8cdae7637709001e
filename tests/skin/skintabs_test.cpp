// Skinned tab controls and tab sets on real common controls, read through
// the screen; the tab set clicked with real input.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "SkinControlTest.h"
#include "SkinTestBitmaps.h"
#include "TestSupport.h"
#include "WinSkinTabs.h"

using namespace skintest;

namespace {

using SkinTabs = SkinControlTest;

constexpr COLORREF kNormalText = RGB(0x10, 0x80, 0x10), kSelectedText = RGB(0xC0, 0x10, 0x10);

// Tab frames whose three outer rows are keyed (the strip's face shows
// there), distinct text colours, and a border whose magenta top row marks
// the tabs' side.
void MarkTabs(TSkinData& data) {
  TDataSkinBorder& tabs = *data.Tabs;
  SetElement(tabs, kTabs, Strip{5, 20, 20, false, {0, 4, 0, 0}, {{0, 0, 20, 3}}});
  tabs.NormalColour2 = TColor(kNormalText);
  tabs.MouseOverColour2 = TColor(kSelectedText);
  FillStrip(tabs.Image2, kTabsBorder, Strip{1, 16, 16, false, {}, {{0, 0, 16, 1}}});
}

// A plain tab control that clips its children, as the class library's
// windows do.
HWND TabControl(ControlBench& b, DWORD style, const std::vector<std::string>& items) {
  HWND h = b.AddPlain(WC_TABCONTROLA, "", WS_CLIPCHILDREN | style, RECT{10, 10, 290, 190}, 1);
  SendMessageA(h, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  for (size_t i = 0; i < items.size(); ++i) {
    std::string text = items[i];
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageA(h, TCM_INSERTITEMA, i, LPARAM(&item));
  }
  Repaint(h);
  return h;
}

RECT ItemRect(HWND tab, int i) {
  RECT r{};
  SendMessageA(tab, TCM_GETITEMRECT, i, LPARAM(&r));
  return r;
}

POINT Middle(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::string Seen(TBitmap& shot, POINT p) { return Describe(BitmapPixel(shot, p.x, p.y)); }

// The smallest rectangle holding every pixel of that colour within `area`
// (empty when there is none).
RECT Extent(TBitmap& shot, const RECT& area, COLORREF c) {
  RECT box{};
  for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, shot.Height()); ++y)
    for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, shot.Width()); ++x) {
      if (BitmapPixel(shot, x, y) != c) continue;
      const RECT pixel{x, y, x + 1, y + 1};
      UnionRect(&box, &box, &pixel);
    }
  return box;
}
bool Shows(TBitmap& shot, const RECT& area, COLORREF c) {
  const RECT box = Extent(shot, area, c);
  return box.right > box.left;
}

bool Same(TBitmap& a, TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  GdiFlush();
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), size_t(a.Width()) * 3)) return false;
  return true;
}

}  // namespace

// The strip is composed with the tabs on top and turned to the tabs' side:
// the outer edge of each tab, the border's mark and the text's direction
// follow the side. The tab selected by code shows frame 2 and its colour.
TEST_F(SkinTabs, TabsTurnToTheirSideAndShowTheSelectedOne) {
  ControlBench& b = Bench(300, 200);
  MarkTabs(b.Data);
  const struct {
    const char* what;
    DWORD style;
    std::function<POINT(const RECT&)> outer;  // inside a tab's outer edge
    RECT tabsHalf, otherHalf;
  } cases[] = {
      {"top", 0, [](const RECT& t) { return POINT{Middle(t).x, t.top + 2}; }, {0, 0, 280, 90}, {0, 90, 280, 180}},
      {"bottom", TCS_BOTTOM, [](const RECT& t) { return POINT{Middle(t).x, t.bottom - 3}; }, {0, 90, 280, 180},
       {0, 0, 280, 90}},
      {"left", TCS_VERTICAL | TCS_MULTILINE, [](const RECT& t) { return POINT{t.left + 1, Middle(t).y}; },
       {0, 0, 140, 180}, {140, 0, 280, 180}},
      {"right", TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, [](const RECT& t) { return POINT{t.right - 2, Middle(t).y}; },
       {140, 0, 280, 180}, {0, 0, 140, 180}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HWND tab = TabControl(b, c.style, {"First", "Second", "Third", "Fourth"});
    b.AttachPlain<TSkinTab>(tab);
    SendMessageA(tab, TCM_SETCURSEL, 2, 0);
    UpdateWindow(tab);
    TBitmap shot;
    Snapshot(tab, shot);
    const RECT first = ItemRect(tab, 0), third = ItemRect(tab, 2);
    const bool vertical = c.style & TCS_VERTICAL;
    // Beside the text, near the tab's start along the strip.
    const auto face = [vertical](const RECT& t) {
      return vertical ? POINT{Middle(t).x, t.top + 3} : POINT{t.left + 3, Middle(t).y};
    };
    EXPECT_EQ(Seen(shot, face(third)), Frame(kTabs, 2));
    EXPECT_EQ(Seen(shot, c.outer(third)), "ButtonFace");
    EXPECT_EQ(Seen(shot, face(first)), Frame(kTabs, 1));
    EXPECT_FALSE(Shows(shot, first, kSelectedText));
    EXPECT_TRUE(Shows(shot, first, kNormalText));
    const RECT text = Extent(shot, third, kSelectedText);
    EXPECT_EQ(text.bottom - text.top > text.right - text.left, vertical) << "the text reads along the strip";
    EXPECT_TRUE(Shows(shot, c.tabsHalf, kMagenta)) << "the border's mark";
    EXPECT_FALSE(Shows(shot, c.otherHalf, kMagenta));
    DestroyWindow(tab);
  }
}

// A skin without a usable Tabs element (for a tab control also without its
// Border) leaves the control's own painting as it was.
TEST_F(SkinTabs, UnusableTabsLeaveTheControlsToThemselves) {
  ControlBench& b = Bench(300, 240);
  const struct {
    const char* what;
    std::function<void(TSkinData&)> spoil;
    bool tabSetToo;
  } cases[] = {
      {"no Tabs", [](TSkinData& d) { d.Tabs.reset(); }, true},
      {"an empty Image", [](TSkinData& d) { d.Tabs->Image.SetSize(0, 0, pf24bit); }, true},
      {"an empty Border", [](TSkinData& d) { d.Tabs->Image2.SetSize(0, 0, pf24bit); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    BuildTestSkin(b.Data);
    UseTestColours(b.Data);
    c.spoil(b.Data);
    HWND tab = TabControl(b, 0, {"First", "Second"});
    auto* set = b.Add<TTabSet>(10, 200, 200, 21);
    set->Tabs.Assign({"One", "Two"});
    Repaint(b.Form->Handle());
    TBitmap before[2], after[2];
    Snapshot(tab, before[0]);
    Snapshot(*set, before[1]);
    b.AttachPlain<TSkinTab>(tab);
    if (c.tabSetToo) b.Attach<TSkinTab31>(set);
    for (HWND h : {tab, set->Handle()}) {  // what shows until the control paints again
      RECT r;
      GetClientRect(h, &r);
      FillRect(ui::WindowDC(h).get(), &r, HBRUSH(GetStockObject(BLACK_BRUSH)));
    }
    Repaint(b.Form->Handle());
    Snapshot(tab, after[0]);
    Snapshot(*set, after[1]);
    EXPECT_TRUE(Same(before[0], after[0])) << "the tab control";
    EXPECT_TRUE(Same(before[1], after[1])) << "the tab set";
    DestroyWindow(tab);
    delete set;
  }
}

// Without items a tab control keeps a strip of one pixel; flat buttons have
// none, and the border is drawn all the same.
TEST_F(SkinTabs, TabControlsWithoutItems) {
  ControlBench& b = Bench(300, 200);
  MarkTabs(b.Data);
  const struct {
    DWORD style;
    const char* row0;  // what the top row shows
  } cases[] = {{0, "ButtonFace"}, {TCS_BUTTONS | TCS_FLATBUTTONS, "Tabs.Border#1"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    HWND tab = TabControl(b, c.style, {});
    b.AttachPlain<TSkinTab>(tab);
    TBitmap shot;
    Snapshot(tab, shot);
    EXPECT_EQ(Seen(shot, {140, 0}), c.row0);
    EXPECT_EQ(Seen(shot, {140, 178}), "Tabs.Border#1");
    DestroyWindow(tab);
  }
}

// A crowded strip's scroll arrows keep their own painting when the strip is
// painted again on its own.
TEST_F(SkinTabs, CrowdedTabsLeaveTheirScrollArrowsUncovered) {
  ControlBench& b = Bench(300, 200);
  std::vector<std::string> items;
  for (int i = 0; i < 12; ++i) items.push_back("Tab number " + std::to_string(i));
  HWND tab = TabControl(b, 0, items);
  b.AttachPlain<TSkinTab>(tab);
  HWND arrows = FindWindowExA(tab, nullptr, UPDOWN_CLASSA, nullptr);
  ASSERT_TRUE(arrows && IsWindowVisible(arrows));
  TBitmap before, after;
  Snapshot(arrows, before);
  SendMessageA(tab, TCM_SETCURSEL, 1, 0);  // repaints the tab control alone
  UpdateWindow(tab);
  Snapshot(tab, after);
  EXPECT_EQ(Seen(after, Middle(ItemRect(tab, 1))), Frame(kTabs, 2));
  TBitmap shown;
  Snapshot(arrows, shown);
  EXPECT_TRUE(Same(before, shown));
  DestroyWindow(tab);
}

// The tab set's tabs, from FirstIndex, from StartMargin, leaving out one that
// does not fit: a click on each drawn tab selects it. A new skin's tabs show
// after UpdateSkin.
TEST_F(SkinTabs, ClicksOnTheDrawnTabsOfATabSetSelectThem) {
  ControlBench& b = Bench(300, 100);
  // A keyed first column sets each tab apart.
  SetElement(*b.Data.Tabs, kTabs, Strip{5, 20, 20, false, {2, 0, 0, 0}, {{0, 0, 1, 20}}});
  auto* set = b.Add<TTabSet>(10, 10, 200, 21);
  set->Tabs.Assign({"Zero", "One", "A caption far too long to show here", "Two"});
  set->StartMargin = 20;
  set->FirstIndex = 1;
  auto* skin = b.Attach<TSkinTab31>(set);
  // Drawn tabs: runs of tab colour along a row above the text.
  const auto drawn = [&] {
    std::vector<std::pair<int, int>> runs;
    TBitmap shot;
    Snapshot(*set, shot);
    for (int x = 0; x < shot.Width(); ++x) {
      const Painted p = Name(BitmapPixel(shot, x, 1));
      if (p.element != kTabs && p.element != kTabsBorder) continue;
      if (runs.empty() || runs.back().second != x) runs.push_back({x, x + 1});
      else runs.back().second = x + 1;
    }
    return runs;
  };
  const auto runs = drawn();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].first, 21) << "after the start margin and the keyed column";
  const int shown[] = {1, 3};
  for (int k : {1, 0}) {
    testsupport::ClickAt(ScreenPoint(set->Handle(), (runs[k].first + runs[k].second) / 2, 10));
    EXPECT_EQ(set->TabIndex(), shown[k]);
    EXPECT_EQ(At(*set, runs[k].first + 2, 1), Frame(kTabs, 2));
    EXPECT_EQ(At(*set, runs[1 - k].first + 2, 1), Frame(kTabs, 1));
  }
  SetElement(*b.Data.Tabs, kTabsBorder, Strip{5, 20, 20});
  skin->UpdateSkin();
  Repaint(set->Handle());
  EXPECT_EQ(At(*set, runs[0].first + 2, 1), Frame(kTabsBorder, 2));
}

// A page control like the settings window's, attached directly with the
// shipped skin. With SKIN_TABS_SHOT set, the form's screen area is saved
// there as a BMP.
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
  for (const char* caption : {"Basic APP", "System Info.", "Power Management", "Display", "Setting"}) {
    auto* sheet = new TTabSheet(b.Form);
    sheet->SetCaption(caption);
    sheet->SetParent(pages);
  }
  pages->RecreateWnd();  // the style as a stored form gives it
  pages->SetActivePage(pages->Pages(2));
  auto* label = b.Add<TLabel>(20, 20, 200, 20, "Power plan");
  label->SetParent(pages->Pages(2));
  b.AttachPlain<TSkinTab>(pages->Handle());

  const std::string face = Describe(ui::ColorToRGB(b.Data.Colours.ButtonFace));
  const RECT normal = ItemRect(pages->Handle(), 0), selected = ItemRect(pages->Handle(), 2);
  EXPECT_EQ(At(*pages, normal.left + 3, normal.bottom - 3), face) << "a tab's face";
  EXPECT_EQ(At(*pages, selected.left + 3, selected.bottom - 3), "#ffffff") << "the selected tab";
  EXPECT_EQ(At(*pages, Middle(selected).x, selected.top + 2), "#2b6cd6") << "the selected tab's accent";
  if (const char* shot = std::getenv("SKIN_TABS_SHOT")) SaveScreenArea(b.Form->Handle(), shot);
}
