#include <gtest/gtest.h>

#include "ImgUtil.h"
#include "SkinTestBitmaps.h"

using skintest::Pixel;
using skintest::SetPixel;

namespace {
// Pixel (x, y) gets a value that names it: 0x0000yx.
void Number(TBitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) SetPixel(b, x, y, uint32_t(y << 4 | x));
}
uint32_t Id(int x, int y) { return uint32_t(y << 4 | x); }
}  // namespace

TEST(ImgUtilTest, RotatesThreeByTwo) {
  TBitmap left(3, 2), right(3, 2);
  Number(left);
  Number(right);
  RotateBitmapLeft(left);
  RotateBitmapRight(right);
  ASSERT_EQ(left.Width(), 2);
  ASSERT_EQ(left.Height(), 3);
  ASSERT_EQ(right.Width(), 2);
  ASSERT_EQ(right.Height(), 3);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(Pixel(left, y, 2 - x), Id(x, y)) << x << "," << y;  // column y of row W-1-x
      EXPECT_EQ(Pixel(right, 1 - y, x), Id(x, y)) << x << "," << y;  // column H-1-y of row x
    }
  EXPECT_EQ(Pixel(left, 0, 0), Id(2, 0));   // the top-right corner comes to the top left
  EXPECT_EQ(Pixel(right, 1, 0), Id(0, 0));  // the top-left corner goes to the top right
}

TEST(ImgUtilTest, RotationsUndoEachOtherOnABitmapInUse) {
  TBitmap b(5, 3);
  Number(b);
  b.Canvas();  // selected into its own DC, as a drawn bitmap is
  RotateBitmapLeft(b);
  RotateBitmapRight(b);
  ASSERT_EQ(b.Width(), 5);
  ASSERT_EQ(b.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Pixel(b, x, y), Id(x, y));
}

TEST(ImgUtilTest, EmptyBitmapsOnlySwapTheirSize) {
  TBitmap b(4, 0);
  RotateBitmapRight(b);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 4);
  MirrorBitmap(b);
  FlipBitmap(b);
  GrayBitmap(b);
  EXPECT_TRUE(b.Empty());
}

TEST(ImgUtilTest, MirrorsAndFlipsPaddedRows) {
  // 5 pixels of 3 bytes: every row carries a byte of padding that must stay put.
  TBitmap m(5, 3), f(5, 3);
  Number(m);
  Number(f);
  for (TBitmap* b : {&m, &f})
    for (int y = 0; y < 3; ++y) b->ScanLine(y)[15] = 0xEE;
  MirrorBitmap(m);
  FlipBitmap(f);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(Pixel(m, x, y), Id(4 - x, y));
      EXPECT_EQ(Pixel(f, x, y), Id(x, 2 - y));
    }
    EXPECT_EQ(m.ScanLine(y)[15], 0xEE);
    EXPECT_EQ(f.ScanLine(y)[15], 0xEE);
  }
}

TEST(ImgUtilTest, GreysToTheChannelsMean) {
  TBitmap b(2, 1);
  SetPixel(b, 0, 0, 0x020201);  // red 2, green 2, blue 1
  SetPixel(b, 1, 0, 0xFFFFFE);
  GrayBitmap(b);
  EXPECT_EQ(Pixel(b, 0, 0), 0x010101u);
  EXPECT_EQ(Pixel(b, 1, 0), 0xFEFEFEu);

  TBitmap deep(1, 1, pf32bit);
  deep.ScanLine(0)[0] = 30;  // blue
  deep.ScanLine(0)[1] = 60;
  deep.ScanLine(0)[2] = 90;
  deep.ScanLine(0)[3] = 255;
  GrayBitmap(deep);
  EXPECT_EQ(deep.PixelFormat(), pf24bit);
  EXPECT_EQ(Pixel(deep, 0, 0), 0x3C3C3Cu);
}
