// Small BMP files, pixel helpers and the shipped skin for the skin tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Graphics.h"

namespace skintest {

// The build's packed skin, beside the test programs' folder.
inline std::string ShippedSkin() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  dir.resize(dir.find_last_of('\\') + 1);
  return dir + "..\\skin\\corvel.skn";
}

// A 24-bit bottom-up BMP file of w x h whose pixel (x, y) is colour(x, y) as 0xRRGGBB.
template <class F>
std::vector<uint8_t> Bmp(int w, int h, F colour) {
  const uint32_t stride = (uint32_t(w) * 3 + 3) & ~3u, size = stride * uint32_t(h);
  std::vector<uint8_t> out(54 + size, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&out[at], &v, 4); };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, uint32_t(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(w));
  put32(22, uint32_t(h));
  out[26] = 1;
  out[28] = 24;
  put32(34, size);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = colour(x, y);
      uint8_t* p = &out[54 + size_t(h - 1 - y) * stride + size_t(x) * 3];
      p[0] = uint8_t(c);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c >> 16);
    }
  return out;
}

inline std::vector<uint8_t> Plain(int w, int h) {
  return Bmp(w, h, [](int, int) { return 0x336699u; });
}

// Pixel (x, y) of a 24-bit bitmap as 0xRRGGBB.
inline uint32_t Pixel(TBitmap& b, int x, int y) {
  GdiFlush();
  const uint8_t* p = b.ScanLine(y) + size_t(x) * 3;
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

inline void SetPixel(TBitmap& b, int x, int y, uint32_t rgb) {
  GdiFlush();
  uint8_t* p = b.ScanLine(y) + size_t(x) * 3;
  p[0] = uint8_t(rgb);
  p[1] = uint8_t(rgb >> 8);
  p[2] = uint8_t(rgb >> 16);
}

}  // namespace skintest
