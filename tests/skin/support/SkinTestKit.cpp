#include "SkinTestKit.h"

#include <cstdio>
#include <iterator>

namespace skintest {
namespace {
// Red names the element, green the frame; blue marks the colour as ours.
constexpr int kRedBase = 40, kRedStep = 5, kGreenStep = 10, kBlueMark = 0x35;

const char* const kNames[] = {
    "", "Left", "Right", "Top", "Bottom", "Title", "Buttons", "Progress", "MenuBar", "GroupBoxEdge", "GroupBox",
    "Toolbars", "Tabs", "StatusBarEdges", "ComboButton", "SunkEdge", "ExtraImages", "Headerbar", "MenuItem",
    "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb",
    "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight", "Trackbar.ThumbUp",
    "Trackbar.ThumbDown", "UpDown.Horz", "UpDown.Vert"};
static_assert(std::size(kNames) == kTitleButton);

void Fill(TBitmap& b, const RECT& r, COLORREF c) {
  HBRUSH brush = CreateSolidBrush(c);
  FillRect(b.Canvas().Handle(), &r, brush);
  DeleteObject(brush);
}

template <class T>
void Make(std::unique_ptr<T>& record, const char* name, int element, int frames) {
  record = std::make_unique<T>(name);
  SetElement(*record, element, Strip{frames});
}
}  // namespace

COLORREF FrameColour(int element, int frame) {
  return RGB(kRedBase + kRedStep * element, kGreenStep * frame, kBlueMark);
}

Painted Name(COLORREF c) {
  const int r = GetRValue(c), g = GetGValue(c);
  if (GetBValue(c) != kBlueMark || r < kRedBase + kRedStep || (r - kRedBase) % kRedStep || g % kGreenStep || g == 0)
    return {};
  const Painted p{(r - kRedBase) / kRedStep, g / kGreenStep};
  return p.element <= kMaxElement && p.frame <= kMaxFrame ? p : Painted{};
}

std::string Describe(COLORREF c) {
  if (c == kMagenta) return "magenta";
  if (c == CLR_INVALID) return "no pixel";  // outside the DC's visible area
  char text[40];
  if (const Painted p = Name(c); p.element) {
    if (p.element < kTitleButton) std::snprintf(text, sizeof text, "%s#%d", kNames[p.element], p.frame);
    else std::snprintf(text, sizeof text, "TitleButton%d#%d", p.element - kTitleButton, p.frame);
  } else {
    std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
  }
  return text;
}

void FillStrip(TBitmap& image, int element, const Strip& s) {
  image.SetSize(s.vertical ? s.width : s.width * s.frames, s.vertical ? s.height * s.frames : s.height, pf24bit);
  for (int k = 0; k < s.frames; ++k) {
    const int ox = s.vertical ? 0 : k * s.width, oy = s.vertical ? k * s.height : 0;
    Fill(image, RECT{ox, oy, ox + s.width, oy + s.height}, FrameColour(element, k + 1));
    for (RECT key : s.key) {
      OffsetRect(&key, ox, oy);
      Fill(image, key, kMagenta);
    }
  }
  GdiFlush();
}

void SetElement(TDataSkinObject& record, int element, const Strip& s) {
  FillStrip(record.Image, element, s);
  record.FrameCount = s.frames;
  record.LeftWidth = s.margins.left;
  record.TopHeight = s.margins.top;
  record.RightWidth = s.margins.right;
  record.BottomHeight = s.margins.bottom;
  record.Trans = s.key.empty() ? 0 : 1;
}

void BuildTestSkin(TSkinData& data) {
  data.SkinName = "Test";
  // Border frames lie across the thickness; their margins run along it.
  SetElement(*data.Left, kLeft, Strip{2, kBorderWidth, 40, false, {0, 10, 0, 10}});
  SetElement(*data.Right, kRight, Strip{2, kBorderWidth, 40, false, {0, 10, 0, 10}});
  SetElement(*data.Top, kTop, Strip{2, 60, kTitleHeight, true, {10, 0, 10, 0}});
  SetElement(*data.Bottom, kBottom, Strip{2, 60, kBorderWidth, true, {10, 0, 10, 0}});
  for (TDataSkinBorder* b : {data.Left.get(), data.Right.get(), data.Top.get(), data.Bottom.get()}) b->Tile = 1;
  SetElement(*data.Title, kTitle, Strip{2, 40, 18});
  SetElement(*data.Buttons, kButtons, Strip{5, 20, 20, false, {3, 3, 3, 3}});
  data.TitleButtons.clear();
  Make(data.Progress, "Progress", kProgress, 2);
  Make(data.MenuBar, "MenuBar", kMenuBar, 2);
  Make(data.GroupBoxEdge, "GroupBoxEdge", kGroupBoxEdge, 2);
  Make(data.GroupBox, "GroupBox", kGroupBox, 1);
  Make(data.Toolbars, "Toolbars", kToolbars, 5);
  Make(data.Tabs, "Tabs", kTabs, 5);
  Make(data.StatusBarEdges, "StatusBarEdges", kStatusBarEdges, 3);
  Make(data.ComboButton, "ComboButton", kComboButton, 4);
  Make(data.SunkEdge, "SunkEdge", kSunkEdge, 4);
  Make(data.ExtraImages, "ExtraImages", kExtraImages, 5);
  Make(data.Headerbar, "Headerbar", kHeaderbar, 5);
  Make(data.MenuItem, "MenuItem", kMenuItem, 5);
  Make(data.MenuBackground, "MenuBackground", kMenuBackground, 1);
  Make(data.Scrollbar, "Scrollbar", kScrollbar, 23);
  Make(data.HorzScroll, "HorzScroll", kHorzScroll, 4);
  Make(data.VertScroll, "VertScroll", kVertScroll, 4);
  Make(data.HorzScrollThumb, "HorzScrollThumb", kHorzScrollThumb, 3);
  Make(data.VertScrollThumb, "VertScrollThumb", kVertScrollThumb, 3);
  Make(data.TrackbarThumbHorz, "Trackbar.ThumbHorz", kThumbHorz, 5);
  Make(data.TrackbarThumbVert, "Trackbar.ThumbVert", kThumbVert, 5);
  Make(data.TrackbarThumbLeft, "Trackbar.ThumbLeft", kThumbLeft, 5);
  Make(data.TrackbarThumbRight, "Trackbar.ThumbRight", kThumbRight, 5);
  Make(data.TrackbarThumbUp, "Trackbar.ThumbUp", kThumbUp, 5);
  Make(data.TrackbarThumbDown, "Trackbar.ThumbDown", kThumbDown, 5);
  Make(data.UpDownHorz, "UpDown.Horz", kUpDownHorz, 8);
  Make(data.UpDownVert, "UpDown.Vert", kUpDownVert, 8);
  data.NoSkin = false;
}

COLORREF WindowPixel(HWND window, int x, int y) {
  HDC dc = GetWindowDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

COLORREF ClientPixel(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

COLORREF BitmapPixel(TBitmap& bitmap, int x, int y) {
  GdiFlush();
  return GetPixel(bitmap.Canvas().Handle(), x, y);
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

}  // namespace skintest
