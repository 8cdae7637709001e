// screenshot OUT.bmp [DELAY_MS]: saves the whole screen as a 24-bit BMP.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (argc > 2) Sleep(static_cast<DWORD>(atoi(argv[2])));
  HDC screen = GetDC(nullptr);
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER bih = {sizeof bih, w, h, 1, 24, BI_RGB};
  std::vector<BYTE> pixels(static_cast<size_t>((w * 3 + 3) & ~3) * h);
  const bool ok = GetDIBits(mem, bmp, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  FILE* f = ok ? fopen(argv[1], "wb") : nullptr;
  if (!f) return 1;
  BITMAPFILEHEADER bfh = {0x4D42, 0, 0, 0, sizeof bfh + sizeof bih};
  bfh.bfSize = bfh.bfOffBits + static_cast<DWORD>(pixels.size());
  fwrite(&bfh, sizeof bfh, 1, f);
  fwrite(&bih, sizeof bih, 1, f);
  fwrite(pixels.data(), 1, pixels.size(), f);
  return fclose(f) == 0 ? 0 : 1;
}
