// Skinned menu items and the popup-menu border, drawn with the test skin of
// distinct colours (and our own skin for readability): items through the
// messages the platform sends, popup windows at message and bitmap level.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cmath>
#include <memory>

#include "Forms.h"
#include "Menus.h"
#include "Screen.h"
#include "SkinManage.h"
#include "SkinTestBitmaps.h"
#include "SkinTestKit.h"
#include "ThreadTimer.h"
#include "WinSkinDraw.h"
#include "WinSkinForm.h"
#include "WinSkinPopMenu.h"

using skintest::BitmapPixel;
using skintest::FrameColour;

namespace {
constexpr COLORREF kMenu = RGB(250, 248, 230), kMenuText = RGB(10, 20, 120), kHilight = RGB(0, 90, 60),
                   kHilightText = RGB(255, 240, 0), kShadow = RGB(150, 100, 50);
const COLORREF kItemNormal = FrameColour(skintest::kMenuItem, 1), kItemSelected = FrameColour(skintest::kMenuItem, 4),
               kItemSeparator = FrameColour(skintest::kMenuItem, 2);

// Pixels of exactly colour c (or, not matching, of any other) in columns
// x0 .. x1 - 1, and the first and last such column.
struct Ink {
  int count = 0, first = INT_MAX, last = -1;
};
Ink Find(TBitmap& b, COLORREF c, int x0 = 0, int x1 = INT_MAX, bool matching = true) {
  Ink ink;
  for (int x = x0; x < std::min(x1, b.Width()); ++x)
    for (int y = 0; y < b.Height(); ++y)
      if ((BitmapPixel(b, x, y) == c) == matching) {
        ++ink.count;
        ink.first = std::min(ink.first, x);
        ink.last = x;
      }
  return ink;
}

class SkinMenuTest : public testing::Test {
 protected:
  void SetUp() override {
    app.Initialize();
    skintest::BuildTestSkin(data);
    TSkinColours& c = data.Colours;
    c.Menu = TColor(kMenu), c.MenuText = TColor(kMenuText), c.Hilight = TColor(kHilight);
    c.HilightText = TColor(kHilightText), c.ButtonShadow = TColor(kShadow);
    frame.SkinData = &data;
    SkinManage = new TSkinManage();
    SkinManage->AddSkinData(&data);
  }
  void TearDown() override { FreeSkinManage(); }

  TMenuItem* Add(TMenu& menu, const std::string& caption) {
    auto* item = new TMenuItem(&menu);
    item->Caption = caption;
    menu.Items()->Add(item);
    frame.HookMenuItem(item);
    return item;
  }
  // The item drawn as the platform has it drawn: WM_DRAWITEM to its owner,
  // at the bottom of a bitmap h high.
  void Draw(TBitmap& b, TMenuItem* item, bool selected, int w = 120, int h = 20, int top = 0) {
    b.SetSize(w, top + h, pf24bit);
    DRAWITEMSTRUCT d{ODT_MENU, 0, item->Command(), ODA_DRAWENTIRE, selected ? UINT(ODS_SELECTED) : 0,
                     reinterpret_cast<HWND>(item->Parent()->Handle()), b.Canvas().Handle(), {0, top, w, top + h}, 0};
    SendMessageA(app.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
  }

  TApplication app;
  TSkinData data{nullptr};
  TWinSkinForm frame{nullptr};
  TPopupMenu popup{nullptr};
};

TEST_F(SkinMenuTest, MeasuredWidthsAddToTheClassLibrarysMeasure) {
  TImageList images(24, 24);
  const struct {
    bool main, images;
    int leftWidth;  // -1: no MenuItem element
    int added;
  } cases[] = {{false, false, 6, 41}, {false, true, 6, 18}, {true, false, -1, 35}, {true, true, 0, 10}};
  ui::WindowDC dc;
  TCanvas canvas(dc.get());
  canvas.Font.Assign(Screen->MenuFont());
  TMenuItem* item = Add(popup, "Open the window");
  item->ShortCut = scCtrl | 'O';
  for (const auto& c : cases) {
    std::unique_ptr<TDataSkinObject> removed;
    if (c.leftWidth < 0) removed.swap(data.MenuItem);
    else data.MenuItem->LeftWidth = c.leftWidth;
    popup.Images = c.images ? &images : nullptr;
    int w = 0, h = 0, width = 0, height = 0;
    item->DefaultMeasure(&canvas, w, h);
    MEASUREITEMSTRUCT m{ODT_MENU, 0, item->Command(), 0, 0, 0};  // Wine's width of 0
    if (c.main) {
      frame.MeasureMainMenuItem(item, &canvas, width, height);
    } else {
      SendMessageA(app.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
      width = int(m.itemWidth), height = int(m.itemHeight);
    }
    EXPECT_EQ(width, w + c.added) << c.main << c.images << c.leftWidth;
    EXPECT_EQ(height, h);
    if (removed) removed.swap(data.MenuItem);
  }
}

TEST_F(SkinMenuTest, ItemsShowTheirFrameAndReadableColours) {
  const COLORREF systemShadow = GetSysColor(COLOR_BTNSHADOW);
  const struct {
    bool element, selected, enabled, shadowIsText;
    COLORREF background, text;
  } cases[] = {
      {true, false, true, false, kItemNormal, kMenuText},       {true, true, true, false, kItemSelected, kHilightText},
      {true, false, false, false, kItemNormal, kShadow},        {true, false, false, true, kItemNormal, systemShadow},
      {false, false, true, false, kMenu, kMenuText},            {false, true, true, false, kHilight, kHilightText},
      {false, true, false, true, kHilight, systemShadow},
  };
  TMenuItem* item = Add(popup, "Caption");
  for (const auto& c : cases) {
    std::unique_ptr<TDataSkinObject> removed;
    if (!c.element) removed.swap(data.MenuItem);
    data.Colours.ButtonShadow = TColor(c.shadowIsText ? kMenuText : kShadow);
    item->Enabled = c.enabled;
    TBitmap b;
    Draw(b, item, c.selected);
    EXPECT_EQ(BitmapPixel(b, 117, 2), c.background) << skintest::Describe(BitmapPixel(b, 117, 2));
    EXPECT_GT(Find(b, c.text).count, 10) << c.element << c.selected << c.enabled << c.shadowIsText;
    EXPECT_EQ(Find(b, kMenuText).count > 0, c.text == kMenuText) << "disabled items differ from enabled ones";
    if (removed) removed.swap(data.MenuItem);
  }
}

TEST_F(SkinMenuTest, SeparatorsComeFromFrameTwoOrAnEtchedLine) {
  // Frames 20 high whose top 12 rows are magenta: an 8-row separator takes the bottom rows only.
  SetElement(*data.MenuItem, skintest::kMenuItem, skintest::Strip{5, 16, 20, false, {2, 0, 2, 0}, {{0, 0, 16, 12}}});
  TBitmap b;
  Draw(b, Add(popup, "-"), false, 120, 8);
  EXPECT_EQ(Find(b, kItemSeparator).count, 120 * 8);

  // A separator of a menu without class-library items: the normal frame and an etched line 4 rows down.
  skintest::BuildTestSkin(data);
  HMENU native = CreatePopupMenu();
  AppendMenuA(native, MF_OWNERDRAW, 7, nullptr);
  AppendMenuA(native, MF_STRING | MF_GRAYED | MF_CHECKED, 8, "Gone");
  frame.WindowMenu = frame.TrackedMenu = native;
  for (UINT id : {7u, 8u}) {
    b.SetSize(120, 20, pf24bit);
    DRAWITEMSTRUCT d{ODT_MENU, 0, id, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(native), b.Canvas().Handle(), {0, 0, 120, 20}, 0};
    TMessage m{WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d), 0};
    frame.DrawItem(m);
    EXPECT_EQ(m.Result, TRUE);
    EXPECT_EQ(BitmapPixel(b, 117, 12), kItemNormal);
    if (id == 7) {
      EXPECT_EQ(BitmapPixel(b, 60, 4), GetSysColor(COLOR_BTNSHADOW));
      EXPECT_EQ(BitmapPixel(b, 60, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
    } else {
      EXPECT_GT(Find(b, kShadow, 19).count, 10) << "greyed text";
      EXPECT_GT(Find(b, GetSysColor(COLOR_BTNTEXT), 0, 18).count, 10) << "check mark";
    }
  }
  MEASUREITEMSTRUCT mi{ODT_MENU, 0, 8, 0, 0, 0};
  TMessage m{WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi), 0};
  frame.MeasureItem(m);
  TCanvas canvas(b.Canvas().Handle());
  canvas.Font.Assign(Screen->MenuFont());
  EXPECT_EQ(int(mi.itemWidth), canvas.TextWidth("Gone") + 26);
  EXPECT_EQ(mi.itemHeight, 4u) << "the text's height in the menu plus 4";
  DestroyMenu(native);
}

TEST_F(SkinMenuTest, CheckMarksAndGlyphs) {
  TMenuItem* checked = Add(popup, "Checked");
  checked->Checked = true;
  TBitmap b;
  Draw(b, checked, false);
  const Ink mark = Find(b, GetSysColor(COLOR_BTNTEXT), 0, 40);
  EXPECT_GT(mark.count, 10);
  EXPECT_TRUE(mark.first >= 1 && mark.last < 1 + 16) << "in the 16-pixel box at x = 1";

  // The close glyph of MenuGlyphs: its cross passes (8, 8) of the box, white is transparent.
  TPopupMenu glyphs(nullptr);
  glyphs.Images = &data.MenuGlyphs;
  TMenuItem* close = Add(glyphs, " Close ");
  close->ImageIndex = 3;
  for (bool enabled : {true, false}) {
    close->Enabled = enabled;
    Draw(b, close, false);
    EXPECT_EQ(BitmapPixel(b, 1 + 8, 1 + 8) == RGB(0, 0, 0), enabled);
    EXPECT_EQ(BitmapPixel(b, 1, 1), kItemNormal);
  }

  // A checked item of 24-pixel images (this one all transparent): a sunken 24-pixel box.
  TImageList list(24, 24);
  TBitmap clear(24, 24);  // a new bitmap is black
  list.Add(clear, clBlack);
  glyphs.Images = &list;
  close->Checked = true;
  close->ImageIndex = 0;
  Draw(b, close, false, 120, 30);
  EXPECT_EQ(BitmapPixel(b, 1, 1), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(BitmapPixel(b, 24, 24), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(BitmapPixel(b, 25, 25), kItemNormal);
}

TEST_F(SkinMenuTest, ShortcutsAlignToTheFarSide) {
  TPopupMenu mirrored(nullptr);
  mirrored.RightToLeft = true;
  for (TPopupMenu* menu : {&popup, &mirrored}) {
    TMenuItem* item = Add(*menu, "Ab");
    item->ShortCut = scShift | VK_F4;
    TBitmap b;
    Draw(b, item, false, 160);
    // Text edges are smoothed: any colour but the frame's is ink.
    if (menu == &popup) {
      const Ink shortCut = Find(b, kItemNormal, 80, INT_MAX, false);
      EXPECT_GE(shortCut.last, 160 - 11 - 3);
      EXPECT_LT(shortCut.last, 160 - 11) << "ends 11 pixels left of the item's right edge";
    } else {
      const Ink shortCut = Find(b, kItemNormal, 0, 80, false), caption = Find(b, kItemNormal, 80, INT_MAX, false);
      EXPECT_GE(shortCut.first, 11);
      EXPECT_LT(shortCut.first, 11 + 3);
      EXPECT_LT(caption.last, 160 - 1 - 16 - 3);
      EXPECT_GT(caption.last, 160 - 1 - 16 - 3 - 4) << "caption beside the glyph box on the right";
    }
  }
}

TEST_F(SkinMenuTest, AnItemShowsItsPopupWindowsBackgroundAndHandsItItsMenu) {
  // An element frame with a magenta hole; the popup's picture numbers its pixels.
  SetElement(*data.MenuItem, skintest::kMenuItem, skintest::Strip{5, 20, 20, false, {}, {{4, 0, 16, 20}}});
  auto* window = new TWinSkinPopMenu();
  SkinManage->PopupMenus.push_back(window);
  window->Background.SetSize(200, 100, pf24bit);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) skintest::SetPixel(window->Background, x, y, uint32_t(x) << 8 | uint32_t(y));
  WaitingPopupMenu = window;
  TBitmap b;
  Draw(b, Add(popup, ""), false, 120, 20, 20);
  EXPECT_EQ(WaitingPopupMenu, nullptr);
  EXPECT_EQ(window->MenuHandle, popup.Handle());
  EXPECT_EQ(SkinManage->GetPopupBitmap(popup.Handle()), &window->Background);
  GdiFlush();
  for (int y = 20; y < 40; ++y) {
    EXPECT_EQ(skintest::Pixel(b, 50, y), uint32_t(50 + 3) << 8 | uint32_t(y + 3)) << y;
    EXPECT_EQ(BitmapPixel(b, 10, y), kItemNormal) << y;
  }
}

TEST_F(SkinMenuTest, HookMenuItemsSkinsPopupComponentsAndGivesThemBack) {
  TForm form(nullptr);
  auto* skinned = new TPopupMenu(&form);
  auto* kept = new TPopupMenu(&form);
  kept->Tag = 199;  // DisableTag 99
  TMenuItem *parent = new TMenuItem(&form), *child = new TMenuItem(&form), *own = new TMenuItem(&form);
  own->OnDrawItem = [](TObject*, TCanvas*, RECT, bool) {};
  parent->Add(child);
  skinned->Items()->Add(parent);
  skinned->Items()->Add(own);
  kept->Items()->Add(new TMenuItem(&form));
  auto ownerDrawn = [](TMenu* menu) {
    MENUITEMINFOA mii{sizeof mii, MIIM_FTYPE};
    GetMenuItemInfoA(menu->Handle(), 0, TRUE, &mii);
    return (mii.fType & MFT_OWNERDRAW) != 0;
  };
  frame.HookMenuItems(&form, true);
  EXPECT_TRUE(skinned->OwnerDraw && ownerDrawn(skinned));
  EXPECT_TRUE(child->OnDrawItem && child->OnMeasureItem && parent->OnDrawItem);
  EXPECT_FALSE(kept->OwnerDraw || kept->Items()->Items(0)->OnDrawItem);
  EXPECT_FALSE(own->OnMeasureItem) << "an item with its own drawing is left alone";

  frame.HookMenuItems(&form, false);
  EXPECT_FALSE(skinned->OwnerDraw || ownerDrawn(skinned));
  EXPECT_FALSE(child->OnDrawItem || parent->OnDrawItem);
  EXPECT_TRUE(own->OnDrawItem) << "its own handler survives the skin";

  data.SkinControls.reset(xcPopupMenu);
  frame.HookMenuItems(&form, true);
  EXPECT_FALSE(skinned->OwnerDraw || child->OnDrawItem);
}

TEST_F(SkinMenuTest, OurSkinsItemTextsStandOutFromTheirFrames) {
  TSkinData ours(nullptr);
  ours.SkinStream.LoadFromFile(skintest::ShippedSkin());
  ASSERT_TRUE(ours.LoadFromStore());
  frame.SkinData = &ours;
  auto luminance = [](COLORREF c) {  // relative luminance, for a contrast ratio
    auto linear = [](int v) { return v <= 10 ? v / 3294.6 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(GetRValue(c)) + 0.7152 * linear(GetGValue(c)) + 0.0722 * linear(GetBValue(c));
  };
  TMenuItem* item = Add(popup, "Open");
  for (bool selected : {false, true}) {
    TBitmap b;
    Draw(b, item, selected, 120, 22);
    const COLORREF text = ui::ColorToRGB(selected ? ours.Colours.HilightText : ours.Colours.MenuText);
    const COLORREF back = BitmapPixel(b, 60, 11);
    EXPECT_GT(Find(b, text).count, 10) << selected;
    const double l1 = luminance(text), l2 = luminance(back);
    EXPECT_GE((std::max(l1, l2) + 0.05) / (std::min(l1, l2) + 0.05), 4.5) << "contrast, selected " << selected;
  }
}

// The popup window's border, with the manager's hook on real menus.
class SkinPopupTest : public SkinMenuTest {
 protected:
  void SetUp() override {
    SkinMenuTest::SetUp();
    NumberBackground();
    SkinManage->Active = true;
    SkinManage->StartHook();
  }
  // A MenuBackground whose every pixel differs, with 3-pixel margins.
  void NumberBackground() {
    data.MenuBackground->Image.SetSize(12, 12, pf24bit);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) skintest::SetPixel(data.MenuBackground->Image, x, y, 0x102030u + uint32_t(x * 16 + y) * 0x10101u);
    data.MenuBackground->LeftWidth = data.MenuBackground->TopHeight = data.MenuBackground->RightWidth =
        data.MenuBackground->BottomHeight = 3;
  }
  // The window as WM_PRINT has it draw itself.
  static void Print(HWND h, TBitmap& b) {
    RECT r{};
    GetWindowRect(h, &r);
    b.SetSize(r.right - r.left, r.bottom - r.top, pf24bit);
    b.Canvas().Brush.Color = clBlack;
    b.Canvas().FillRect(RECT{0, 0, b.Width(), b.Height()});
    SendMessageA(h, WM_PRINT, reinterpret_cast<WPARAM>(b.Canvas().Handle()), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  }
};

TEST_F(SkinPopupTest, AShownMenuIsBorderedAndItsItemsKnowItsPicture) {
  for (const char* caption : {"First", "-", "Second"}) Add(popup, caption);
  popup.OwnerDraw = true;
  bool checked = false;
  ui::ThreadTimer look([&] {
    EndMenu();  // closes once this returns, whatever fails here
    checked = true;
    HWND h = FindWindowA("#32768", nullptr);
    ASSERT_NE(h, nullptr);
    TWinSkinPopMenu* window = SkinManage->PopupMenus.empty() ? nullptr : SkinManage->PopupMenus.back();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageA(h, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(window->MenuHandle, popup.Items()->ExistingHandle()) << "handed over by the first item drawn";
    TBitmap b;
    Print(h, b);
    const int w = b.Width(), hh = b.Height();
    auto expected = StretchSkinImage(RECT{0, 0, w, hh}, data.MenuBackground->Image, RECT{3, 3, 3, 3}, false, false, 1, 1);
    EXPECT_EQ(SkinManage->GetPopupBitmap(window->MenuHandle), &window->Background);
    for (POINT p : {POINT{0, 0}, POINT{2, hh / 2}, POINT{w / 2, 1}, POINT{w - 1, hh - 1}, POINT{w - 3, 5}, POINT{7, hh - 2}}) {
      EXPECT_EQ(BitmapPixel(b, p.x, p.y), BitmapPixel(*expected, p.x, p.y)) << p.x << "," << p.y;
      EXPECT_EQ(BitmapPixel(window->Background, p.x, p.y), BitmapPixel(*expected, p.x, p.y));
    }
    EXPECT_EQ(BitmapPixel(b, w / 2, 3 + 8), kItemNormal) << "the items inside it";
  });
  look.Start(300);
  popup.Popup(100, 100);
  EXPECT_TRUE(checked);
}

TEST_F(SkinPopupTest, ThePlatformBorderStaysWhenTheSkinCannotPaintIt) {
  enum Case { inactive, noBackground, emptyImage, skinned };
  for (Case c : {inactive, noBackground, emptyImage, skinned}) {
    SkinManage->Active = false;  // the hook leaves this one alone
    HWND plain = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 60, 40, nullptr, nullptr, nullptr, nullptr);
    SkinManage->Active = true;
    HWND h = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 60, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(SkinManage->IsPopupMenu(h) && !SkinManage->IsPopupMenu(plain));
    std::unique_ptr<TDataSkinObject> saved;
    if (c == inactive) SkinManage->Active = false;
    if (c == noBackground) saved.swap(data.MenuBackground);
    if (c == emptyImage) data.MenuBackground->Image.SetSize(0, 0, pf24bit);
    EXPECT_EQ(SendMessageA(h, WM_SKINQUERY, 0, 0), 1) << c;
    TBitmap own, platform;
    Print(h, own);
    Print(plain, platform);
    EXPECT_EQ(BitmapPixel(own, 1, 1) == BitmapPixel(platform, 1, 1), c != skinned) << c;
    EXPECT_EQ(WaitingPopupMenu != nullptr, c == skinned) << c;
    DestroyWindow(h);
    EXPECT_EQ(WaitingPopupMenu, nullptr) << "a window going away waits no longer";
    DestroyWindow(plain);
    SkinManage->Active = true;
    if (saved) saved.swap(data.MenuBackground);
    NumberBackground();
  }
}

}  // namespace
