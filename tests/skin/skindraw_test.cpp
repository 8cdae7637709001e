#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <vector>

#include "ExtCtrls.h"
#include "SkinTestBitmaps.h"
#include "SkinTestKit.h"
#include "StdCtrls.h"
#include "WinSkinDraw.h"

using skintest::Pixel;
using skintest::SetPixel;

namespace {
// Pixel (x, y) of a numbered source image names its position.
uint32_t At(int x, int y) { return uint32_t(x) << 12 | uint32_t(y); }
int XOf(uint32_t c) { return int(c >> 12); }
int YOf(uint32_t c) { return int(c & 0xFFF); }

void Number(TBitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) SetPixel(b, x, y, At(x, y));
}

void Paint(TBitmap& b, uint32_t rgb) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) SetPixel(b, x, y, rgb);
}

// Every pixel of `b` as f(x, y) expects; stops at the first mismatch.
void ExpectPixels(TBitmap& b, const std::function<uint32_t(int, int)>& f, const char* what) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (Pixel(b, x, y) != f(x, y)) {
        ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << Pixel(b, x, y) << ", expected "
                      << f(x, y);
        return;
      }
}

constexpr uint32_t kGround = 0x204060;  // what a target holds before drawing
constexpr RECT kNoMargins = {};
}  // namespace

// Which part of an image a frame index picks, through both strip readers.
TEST(SkinDrawTest, FramesOfAStrip) {
  const struct {
    int w, h, count, index;
    bool vertical;
    int sx, sy, fw, fh;
  } cases[] = {
      {100, 4, 5, 3, false, 40, 0, 20, 4},   // the 20-pixel column at 40
      {102, 4, 5, 3, false, 40, 0, 20, 4},   // the 2 columns left over change nothing
      {102, 4, 5, 5, false, 80, 0, 20, 4},   // and the last frame never reaches them
      {4, 100, 5, 3, true, 0, 40, 4, 20},    // stacked
      {30, 4, 0, 1, false, 0, 0, 30, 4},     // a count of 0 is one frame
      {30, 4, -2, 1, false, 0, 0, 30, 4},
      {30, 4, 2, 4, false, 15, 0, 15, 4},    // a state past a short strip shows its last frame
      {30, 4, 1, 2, false, 0, 0, 30, 4},     // a one-frame thumb dragged
      {4, 30, 2, 3, true, 0, 15, 4, 15},
      {30, 4, 2, 0, false, 0, 0, 15, 4},     // and before the first, the first
  };
  for (const auto& c : cases) {
    TBitmap image(c.w, c.h);
    Number(image);
    const RECT r = {0, 0, c.fw, c.fh};
    auto nine = StretchSkinImage(r, image, kNoMargins, c.vertical, false, c.count, c.index);
    ExpectPixels(*nine, [&](int x, int y) { return At(c.sx + x, c.sy + y); }, "StretchSkinImage");
    if (c.vertical) continue;
    TBitmap whole(c.fw, c.fh);
    DrawSkinBitmap(whole.Canvas().Handle(), r, image, false, c.count, c.index);
    ExpectPixels(whole, [&](int x, int y) { return At(c.sx + x, c.sy + y); }, "DrawSkinBitmap");
  }
}

namespace {
// Frame 2 of a two-frame image whose nine pieces (margins 3, 2, 4, 1 of a
// 10 x 8 frame) each have one colour.
constexpr RECT kMargins = {3, 2, 4, 1};
uint32_t PieceColour(int column, int row) { return 0x100000u * uint32_t(column + 1) + 0x1000u * uint32_t(row + 1) + 2; }
int Band(int v, int first, int last) { return v < first ? 0 : v < last ? 1 : 2; }

TBitmap& PieceImage() {
  static const auto image = [] {
    auto b = std::make_unique<TBitmap>(20, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 20; ++x)
        SetPixel(*b, x, y, x < 10 ? 0 : PieceColour(Band(x - 10, 3, 10 - 4), Band(y, 2, 8 - 1)));
    return b;
  }();
  return *image;
}
}  // namespace

TEST(SkinDrawTest, NineSliceKeepsCornersAndStretchesEdges) {
  const struct {
    int w, h;
  } kept[] = {{30, 20}, {10, 8}, {7, 3}};  // 7 x 3: margins exactly as wide and high as the target stay
  for (const auto& c : kept) {
    auto b = StretchSkinImage(RECT{0, 0, c.w, c.h}, PieceImage(), kMargins, false, false, 2, 2);
    ExpectPixels(*b, [&](int x, int y) { return PieceColour(Band(x, 3, c.w - 4), Band(y, 2, c.h - 1)); }, "kept");
  }
  // Too narrow or too low for the margins: that direction is stretched whole.
  const struct {
    int w, h;
    RECT same;
  } dropped[] = {{6, 20, {0, 2, 0, 1}}, {30, 2, {3, 0, 4, 0}}, {5, 2, {0, 0, 0, 0}}};
  for (const auto& c : dropped) {
    const RECT r = {0, 0, c.w, c.h};
    auto b = StretchSkinImage(r, PieceImage(), kMargins, false, false, 2, 2);
    auto expected = StretchSkinImage(r, PieceImage(), c.same, false, false, 2, 2);
    ExpectPixels(*b, [&](int x, int y) { return Pixel(*expected, x, y); }, "dropped");
  }
}

TEST(SkinDrawTest, TiledCentreRepeatsWholeCopiesUnderTheEdges) {
  // An 11 x 7 frame with margins of 2: a 7 x 3 centre tiled over 20 x 8, the
  // third copy in each direction running past the centre under the edges.
  TBitmap image(11, 7);
  Number(image);
  auto b = StretchSkinImage(RECT{0, 0, 24, 12}, image, RECT{2, 2, 2, 2}, false, true, 1, 1);
  ExpectPixels(*b, [&](int x, int y) {
    return x >= 2 && x < 22 && y >= 2 && y < 10 ? At(2 + (x - 2) % 7, 2 + (y - 2) % 3) : Pixel(*b, x, y);
  }, "centre");
  for (int y = 2; y < 10; ++y) EXPECT_EQ(XOf(Pixel(*b, 22, y)), 9) << y;   // the right edge, not the centre
  for (int x = 2; x < 22; ++x) EXPECT_EQ(YOf(Pixel(*b, x, 10)), 5) << x;   // the bottom edge
}

TEST(SkinDrawTest, BarsRepeatTheMiddleBetweenTheCaps) {
  const struct {
    int fw, width;
    std::function<int(int)> column;  // source column of target column x
  } cases[] = {
      // Middle of 4: repeated from 3, the last copy cut by the right cap at 23.
      {9, 25, [](int x) { return x < 3 ? x : x < 23 ? 3 + (x - 3) % 4 : x - 16; }},
      // No middle (3 + 2 = 5): the whole frame, three times wider, between the caps.
      {5, 20, [](int x) { return x < 3 ? x : x < 18 ? (x - 3) / 3 : x - 15; }},
      // A negative middle (3 + 2 > 4): the whole frame twice as wide.
      {4, 13, [](int x) { return x < 3 ? x : x < 11 ? (x - 3) / 2 : x - 9; }},
  };
  for (const auto& c : cases) {
    TBitmap image(2 * c.fw, 5), target(c.width, 5);
    Number(image);
    DrawSkinBar(target.Canvas(), RECT{0, 0, c.width, 5}, image, false, false, 2, 2, RECT{3, 0, 2, 0});
    ExpectPixels(target, [&](int x, int y) { return At(c.fw + c.column(x), y); }, "bar");
  }
}

TEST(SkinDrawTest, KeyedDrawingLeavesTheTargetUnderMagenta) {
  TBitmap image;
  skintest::FillStrip(image, skintest::kButtons, skintest::Strip{3, 10, 6, false, {}, {{4, 0, 6, 6}}});
  const RECT r = {2, 1, 12, 7};
  auto expect = [&](TBitmap& t, bool keyed, const char* what) {
    ExpectPixels(t, [&](int x, int y) -> uint32_t {
      if (x < 2 || x >= 12 || y < 1 || y >= 7) return kGround;
      if (x >= 6 && x < 8) return keyed ? kGround : 0xFF00FF;
      const COLORREF c = skintest::FrameColour(skintest::kButtons, 2);
      return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
    }, what);
  };
  for (bool keyed : {false, true}) {
    TBitmap nine(14, 8), bar(14, 8), strip(14, 8);
    for (TBitmap* t : {&nine, &bar, &strip}) Paint(*t, kGround);
    DrawSkinImage(nine.Canvas().Handle(), r, image, false, false, keyed, 3, 2, kNoMargins);
    DrawSkinBar(bar.Canvas(), r, image, false, keyed, 3, 2, kNoMargins);
    DrawSkinBitmap(strip.Canvas().Handle(), r, image, keyed, 3, 2);
    expect(nine, keyed, keyed ? "keyed DrawSkinImage" : "DrawSkinImage");
    expect(bar, keyed, keyed ? "keyed DrawSkinBar" : "DrawSkinBar");
    expect(strip, keyed, keyed ? "keyed DrawSkinBitmap" : "DrawSkinBitmap");
  }
}

TEST(SkinDrawTest, DirectDrawingLeavesTheCentre) {
  TBitmap target(40, 30);
  Paint(target, kGround);
  DrawSkinImageDirect(target.Canvas().Handle(), RECT{5, 4, 35, 24}, PieceImage(), false, 2, 2, kMargins);
  EXPECT_EQ(GetStretchBltMode(target.Canvas().Handle()), COLORONCOLOR);
  ExpectPixels(target, [](int x, int y) {
    if (x < 5 || x >= 35 || y < 4 || y >= 24) return kGround;
    const int column = Band(x - 5, 3, 30 - 4), row = Band(y - 4, 2, 20 - 1);
    return column == 1 && row == 1 ? kGround : PieceColour(column, row);
  }, "direct");
}

TEST(SkinDrawTest, InvertedRectanglesDrawNothing) {
  TBitmap image(8, 8);
  Number(image);
  const std::function<void(TBitmap&, const RECT&)> draws[] = {
      [&](TBitmap& t, const RECT& r) {
        DrawSkinImage(t.Canvas().Handle(), r, image, false, false, false, 1, 1, kNoMargins);
      },
      [&](TBitmap& t, const RECT& r) { DrawSkinBar(t.Canvas(), r, image, false, false, 1, 1, kNoMargins); },
      [&](TBitmap& t, const RECT& r) { DrawSkinBitmap(t.Canvas().Handle(), r, image, false, 1, 1); },
      [&](TBitmap& t, const RECT& r) { DrawTransparent(t.Canvas().Handle(), r, image, clFuchsia); },
      [&](TBitmap& t, const RECT& r) { TileBitmap(t.Canvas(), RECT{0, 0, 8, 8}, image, r); },
  };
  for (const auto& draw : draws)
    for (const RECT& r : {RECT{6, 0, 2, 8}, RECT{0, 6, 8, 2}}) {
      TBitmap target(8, 8);
      Paint(target, kGround);
      draw(target, r);
      ExpectPixels(target, [](int, int) { return kGround; }, "inverted");
    }
  for (const RECT& empty : {RECT{2, 2, 2, 6}, RECT{2, 2, 6, 2}}) {
    TBitmap target(8, 8);
    Paint(target, kGround);
    TileBitmap(target.Canvas(), RECT{0, 0, 8, 8}, image, empty);
    ExpectPixels(target, [](int, int) { return kGround; }, "empty tile");
  }
}

TEST(SkinDrawTest, TransparentDrawingIsExactToOneChannelStep) {
  const uint32_t source[] = {0xFF00FF, 0xFE00FF, 0xFF01FF, 0xFF00FE, 0x000000};
  for (TPixelFormat pf : {pf24bit, pf32bit}) {
    TBitmap image(5, 2, pf), target(8, 3);
    for (int x = 0; x < 5; ++x)
      for (int y = 0; y < 2; ++y)
        SetPixelV(image.Canvas().Handle(), x, y, RGB(source[x] >> 16, source[x] >> 8, source[x]));
    Paint(target, kGround);
    DrawTransparent(target.Canvas().Handle(), RECT{1, 1, 9, 2}, image, clFuchsia);  // one row, clipped to the image
    ExpectPixels(target, [&](int x, int y) {
      return y == 1 && x >= 1 && x < 6 && source[x - 1] != 0xFF00FF ? source[x - 1] : kGround;
    }, pf == pf24bit ? "24-bit" : "32-bit");
  }
}

TEST(SkinDrawTest, TilesRunWholePastTheTarget) {
  TBitmap image(6, 6), target(12, 12);
  Number(image);
  Paint(target, kGround);
  TileBitmap(target.Canvas(), RECT{1, 1, 9, 6}, image, RECT{1, 2, 5, 5});  // 4 x 3 copies at x 1, 5 and y 1, 4
  ExpectPixels(target, [](int x, int y) {
    return x >= 1 && x < 9 && y >= 1 && y < 7 ? At(1 + (x - 1) % 4, 2 + (y - 1) % 3) : kGround;
  }, "tiles");
}

namespace {
// Whether the region covers exactly the pixels `inside` names, w x h at (dx, dy).
void ExpectRegion(HRGN rgn, int dx, int dy, int w, int h, const std::function<bool(int, int)>& inside) {
  ASSERT_NE(rgn, nullptr);
  for (int y = -1; y <= h; ++y)
    for (int x = -1; x <= w; ++x) {
      const bool want = x >= 0 && y >= 0 && x < w && y < h && inside(x, y);
      if (PtInRegion(rgn, dx + x, dy + y) != want) {
        ADD_FAILURE() << "pixel " << x << "," << y << (want ? " missing" : " not left out");
        return;
      }
    }
}
}  // namespace

TEST(SkinDrawTest, RegionLeavesOutTheKeyRange) {
  // Red, green, blue; with tolerance 1 the key range is 255, 0..1, 255..255.
  const struct {
    int r, g, b;
    bool in;
  } pixels[] = {{255, 0, 255, false}, {254, 0, 255, true}, {255, 1, 255, false}, {255, 2, 255, true},
                {255, 0, 254, true},  {0, 0, 0, true},     {255, 0, 0, true}};
  constexpr int n = std::size(pixels);
  for (TPixelFormat pf : {pf24bit, pf32bit}) {
    TBitmap b(n, 2, pf);
    for (int x = 0; x < n; ++x) SetPixelV(b.Canvas().Handle(), x, 1, RGB(pixels[x].r, pixels[x].g, pixels[x].b));
    SetPixelV(b.Canvas().Handle(), 3, 0, RGB(255, 0, 255));
    ui::GdiObject rgn(RegionFromBitmap(b, 10, 20, clFuchsia, 1, 1, 1));
    ExpectRegion(static_cast<HRGN>(rgn.get()), 10, 20, n, 2,
                 [&](int x, int y) { return y == 0 ? x != 3 : pixels[x].in; });
  }
}

TEST(SkinDrawTest, AllKeyOrNoPixelsGiveAnEmptyRegion) {
  TBitmap keyed(9, 4), none;
  Paint(keyed, 0xFF00FF);
  for (TBitmap* b : {&keyed, &none}) {
    ui::GdiObject rgn(RegionFromBitmap(*b, 3, 3, clFuchsia, 1, 1, 1));
    ASSERT_NE(rgn.get(), nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(static_cast<HRGN>(rgn.get()), &box), NULLREGION);
  }
}

TEST(SkinDrawTest, RegionsInBatchesEqualOneBatch) {
  // A checkerboard row of 100 pixels is 50 rectangles: 40 rows fill one batch
  // exactly, 50 rows need a second.
  for (int rows : {1, 40, 41, 50}) {
    TBitmap b(100, rows);
    std::vector<RECT> rects;
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < 100; ++x) {
        const bool key = (x + y) % 2 == 0;
        SetPixel(b, x, y, key ? 0xFF00FF : 0x808080);
        if (!key) rects.push_back(RECT{x - 5, y + 7, x - 4, y + 8});
      }
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof *header;
    header->iType = RDH_RECTANGLES;
    header->nCount = DWORD(rects.size());
    std::memcpy(header + 1, rects.data(), rects.size() * sizeof(RECT));
    ui::GdiObject whole(ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<RGNDATA*>(data.data())));
    ui::GdiObject batched(RegionFromBitmap(b, -5, 7, clFuchsia, 1, 1, 1));
    ASSERT_NE(whole.get(), nullptr);
    ASSERT_NE(batched.get(), nullptr);
    EXPECT_TRUE(EqualRgn(static_cast<HRGN>(whole.get()), static_cast<HRGN>(batched.get()))) << rows << " rows";
  }
}

TEST(SkinDrawTest, SetsEnumerationsByName) {
  TLabel label(nullptr);
  TSpeedButton button(nullptr);
  label.Tag = 7;
  label.SetCaption("Volume");
  SetEnumPropByName(&label, "Transparent", "True");
  SetEnumPropByName(&label, "Alignment", "taCenter");
  SetEnumPropByName(&button, "Flat", "True");
  SetEnumPropByName(&label, "Tag", "True");     // an integer refuses a name
  SetEnumPropByName(&label, "Caption", "True");  // and a text
  SetEnumPropByName(&label, "NoSuch", "True");  // and an unknown property is no error
  SetEnumPropByName(nullptr, "Flat", "True");
  EXPECT_TRUE(label.Transparent);
  EXPECT_EQ(label.Alignment, taCenter);
  EXPECT_TRUE(button.Flat);
  EXPECT_EQ(label.Tag, 7);
  EXPECT_EQ(label.Caption(), "Volume");
}

TEST(SkinDrawTest, ScratchBitmapIsSharedAndStretchesColourOnColour) {
  TBitmap& scratch = FrameScratchBitmap();
  scratch.SetSize(50, 20, pf24bit);
  EXPECT_EQ(&FrameScratchBitmap(), &scratch);
  EXPECT_EQ(GetStretchBltMode(FrameScratchBitmap().Canvas().Handle()), COLORONCOLOR);
}

// ---- the test skin's own promises ----

TEST(SkinTestKitTest, ColoursNameElementAndFrame) {
  for (int e = 1; e <= skintest::kMaxElement; ++e)
    for (int k = 1; k <= skintest::kMaxFrame; ++k)
      ASSERT_EQ(skintest::Name(skintest::FrameColour(e, k)), (skintest::Painted{e, k})) << e << " " << k;
  for (COLORREF other : {skintest::kMagenta, RGB(0, 0, 0), RGB(255, 255, 255), GetSysColor(COLOR_BTNFACE)})
    EXPECT_EQ(skintest::Name(other).element, 0) << skintest::Describe(other);
  EXPECT_EQ(skintest::Describe(skintest::FrameColour(skintest::kTop, 2)), "Top#2");
}

TEST(SkinTestKitTest, EveryFrameOfTheTestSkinNamesItself) {
  TSkinData data(nullptr);
  skintest::BuildTestSkin(data);
  std::vector<std::pair<TDataSkinObject*, int>> records = {
      {data.Left.get(), skintest::kLeft}, {data.Top.get(), skintest::kTop}, {data.Title.get(), skintest::kTitle},
      {data.Buttons.get(), skintest::kButtons}, {data.Scrollbar.get(), skintest::kScrollbar},
      {data.UpDownVert.get(), skintest::kUpDownVert}};
  for (auto [record, element] : records) {
    ASSERT_NE(record, nullptr) << element;
    const bool stacked = record == data.Top.get();
    for (int k = 1; k <= record->FrameCount; ++k) {
      // Each frame drawn on its own and read back at its centre.
      TBitmap one(6, 6);
      DrawSkinImage(one.Canvas().Handle(), RECT{0, 0, 6, 6}, record->Image, stacked, false, false, record->FrameCount,
                    k, kNoMargins);
      EXPECT_EQ(skintest::Describe(skintest::BitmapPixel(one, 3, 3)),
                skintest::Describe(skintest::FrameColour(element, k)));
    }
  }
  EXPECT_EQ(data.Top->Image.Height(), 2 * skintest::kTitleHeight);
  EXPECT_EQ(data.Element("Trackbar.ThumbDown")->FrameCount, 5);
}

namespace {
TBitmap* painted;  // what the test window draws while it paints

LRESULT CALLBACK PaintingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProcA(h, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  TCanvas canvas(dc);
  canvas.Brush.Color = 0x00AA00;
  canvas.FillRect(RECT{0, 0, 200, 100});
  DrawSkinImage(dc, RECT{10, 10, 110, 60}, *painted, false, false, true, 5, 4, RECT{3, 3, 3, 3});
  EndPaint(h, &ps);
  return 0;
}
}  // namespace

// The way the frame and controls use it: drawn while a real window paints,
// seen through the window's DC.
TEST(SkinDrawTest, DrawsIntoAPaintingWindow) {
  TBitmap image;
  skintest::FillStrip(image, skintest::kMenuItem, skintest::Strip{5, 12, 12, false, {}, {{0, 0, 12, 3}}});
  painted = &image;
  WNDCLASSA wc = {};
  wc.lpszClassName = "SkinDrawTestWindow";
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpfnWndProc = PaintingProc;
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 100, 100, 200, 100,
                           nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(w, SW_SHOWNOACTIVATE);
  UpdateWindow(w);
  skintest::Pump();
  const COLORREF green = RGB(0, 0xAA, 0);
  const COLORREF frame4 = skintest::FrameColour(skintest::kMenuItem, 4);
  const struct {
    int x, y;
    COLORREF c;
  } probes[] = {{5, 5, green}, {10, 10, green}, {60, 12, green}, {109, 12, green},  // keyed top rows of the frame
                {10, 13, frame4}, {60, 35, frame4}, {109, 59, frame4}, {110, 59, green}, {60, 60, green}};
  for (const auto& p : probes)
    EXPECT_EQ(skintest::Describe(skintest::ClientPixel(w, p.x, p.y)), skintest::Describe(p.c)) << p.x << "," << p.y;
  DestroyWindow(w);
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
}
