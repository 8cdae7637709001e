#include "ImgUtil.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
int BytesPerPixel(const TBitmap& b) { return b.PixelFormat() / 8; }

// The 32-bit bottom-up image of a bitmap no device context has selected, as
// GetDIBits wants it; throws when the pixels cannot be had.
std::vector<uint8_t> ReadBits32(const TBitmap& unselected) {
  const int w = unselected.Width(), h = unselected.Height();
  std::vector<uint8_t> bits(size_t(w) * size_t(h) * 4);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  bi.bmiHeader.biSizeImage = DWORD(bits.size());
  bi.bmiHeader.biXPelsPerMeter = 1;
  bi.bmiHeader.biYPelsPerMeter = 1;
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, unselected.Handle(), 0, UINT(h), bits.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != h) throw Exception("Cannot read the bitmap's pixels");
  return bits;
}

void Rotate(TBitmap& bitmap, bool left) {
  const int w = bitmap.Width(), h = bitmap.Height();
  if (w == 0 || h == 0) {
    bitmap.SetSize(h, w, pf24bit);
    return;
  }
  // The bitmap itself may be selected into its canvas's DC; GetDIBits reads
  // from a copy that never is.
  std::vector<uint8_t> bits;
  {
    TBitmap copy;
    CopyBitmap24(bitmap, copy);
    bits = ReadBits32(copy);
  }
  bitmap.SetSize(h, w, pf24bit);
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = &bits[size_t(h - 1 - y) * size_t(w) * 4];  // bottom-up
    for (int x = 0; x < w; ++x) {
      uint8_t* dst = left ? bitmap.ScanLine(w - 1 - x) + size_t(y) * 3 : bitmap.ScanLine(x) + size_t(h - 1 - y) * 3;
      std::memcpy(dst, src + size_t(x) * 4, 3);
    }
  }
}
}  // namespace

void CopyBitmap24(TBitmap& source, TBitmap& dest) {
  const int w = source.Width(), h = source.Height(), bpp = BytesPerPixel(source);
  dest.SetSize(w, h, pf24bit);
  GdiFlush();
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = source.ScanLine(y);
    uint8_t* dst = dest.ScanLine(y);
    for (int x = 0; x < w; ++x) std::memcpy(dst + size_t(x) * 3, src + size_t(x) * bpp, 3);
  }
}

void GrayBitmap(TBitmap& bitmap) {
  if (bitmap.PixelFormat() != pf24bit) {
    TBitmap copy;
    CopyBitmap24(bitmap, copy);
    bitmap.SetSize(copy.Width(), copy.Height(), pf24bit);
    for (int y = 0; y < copy.Height(); ++y)
      std::memcpy(bitmap.ScanLine(y), copy.ScanLine(y), size_t(copy.Width()) * 3);
  }
  GdiFlush();
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
      const uint8_t m = uint8_t((p[0] + p[1] + p[2]) / 3);
      p[0] = p[1] = p[2] = m;
    }
  }
}

void MirrorBitmap(TBitmap& bitmap) {
  const int w = bitmap.Width(), bpp = BytesPerPixel(bitmap);
  std::vector<uint8_t> row(size_t(w) * bpp);
  GdiFlush();
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    std::memcpy(row.data(), p, row.size());
    for (int x = 0; x < w; ++x) std::memcpy(p + size_t(x) * bpp, &row[size_t(w - 1 - x) * bpp], size_t(bpp));
  }
}

void FlipBitmap(TBitmap& bitmap) {
  const size_t rowBytes = size_t(bitmap.Width()) * BytesPerPixel(bitmap);
  GdiFlush();
  for (int top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(bitmap.ScanLine(top), bitmap.ScanLine(top) + rowBytes, bitmap.ScanLine(bottom));
}

void RotateBitmapLeft(TBitmap& bitmap) { Rotate(bitmap, true); }
void RotateBitmapRight(TBitmap& bitmap) { Rotate(bitmap, false); }
