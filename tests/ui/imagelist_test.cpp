// Image lists: strips from a bitmap resource with a mask colour, bitmaps in
// use on a canvas, and greyed drawing.
#include "Graphics.h"
#include "UiTest.h"

namespace {

constexpr COLORREF Red = RGB(255, 0, 0), Black = RGB(0, 0, 0);

// A canvas of w x h filled with red, to draw images on.
struct Board {
  Board(int w, int h) : bitmap(w, h) {
    bitmap.Canvas().Brush.Color = clRed;
    bitmap.Canvas().FillRect(RECT{0, 0, w, h});
  }
  COLORREF At(int x, int y) { return GetPixel(bitmap.Canvas().Handle(), x, y); }
  TBitmap bitmap;
};

TEST(ImageListTest, AddsTheFramesOfABitmapResourceWithItsMaskColourTransparent) {
  // The menu glyphs: 64 x 16, black on white; 2 is the minimize bar, 3 the close cross.
  TImageList list(16, 16);
  EXPECT_EQ(list.AddResource(GetModuleHandleA(nullptr), "GLYPHS", clWhite), 0);
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.AddResource(GetModuleHandleA(nullptr), "NOSUCHBITMAP", clWhite), -1);
  Board board(32, 16);
  list.Draw(board.bitmap.Canvas(), 0, 0, 2);
  list.Draw(board.bitmap.Canvas(), 16, 0, 3);
  const struct {
    int x, y;
    COLORREF colour;
  } table[] = {{6, 10, Black}, {6, 5, Red}, {0, 0, Red}, {16 + 7, 7, Black}, {16 + 4, 4, Black}, {16 + 7, 2, Red}};
  for (const auto& p : table) EXPECT_EQ(board.At(p.x, p.y), p.colour) << p.x << "," << p.y;
}

TEST(ImageListTest, AddsABitmapWhoseCanvasIsInUse) {
  TBitmap image(16, 16);
  image.Canvas().Brush.Color = clBlue;  // the canvas keeps the bitmap selected
  image.Canvas().FillRect(RECT{0, 0, 16, 16});
  image.Canvas().Brush.Color = clFuchsia;
  image.Canvas().FillRect(RECT{0, 0, 8, 16});
  TImageList list(16, 16);
  EXPECT_EQ(list.Add(image, clFuchsia), 0);
  Board board(16, 16);
  list.Draw(board.bitmap.Canvas(), 0, 0, 0);
  EXPECT_EQ(board.At(12, 8), RGB(0, 0, 255));
  EXPECT_EQ(board.At(3, 8), Red) << "the mask colour is transparent";
}

TEST(ImageListTest, GreyedDrawsTheShapeInShadowOverHighlightOffsetByOne) {
  TImageList list(16, 16);
  list.AddResource(GetModuleHandleA(nullptr), "GLYPHS", clWhite);
  Board board(18, 18);
  list.Draw(board.bitmap.Canvas(), 0, 0, 2, false);  // the bar: x 4..10, y 10..11
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(shadow, light);
  const struct {
    int x, y;
    COLORREF colour;
  } table[] = {{4, 10, shadow}, {10, 11, shadow}, {11, 12, light}, {5, 12, light}, {4, 12, Red}, {11, 10, Red},
               {2, 2, Red}};
  for (const auto& p : table) EXPECT_EQ(board.At(p.x, p.y), p.colour) << p.x << "," << p.y;
}

}  // namespace
