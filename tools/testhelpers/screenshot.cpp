// screenshot OUT.bmp [DELAY_MS]: saves the whole screen as a 24-bit BMP.
// screenshot --pages CAPTION PREFIX: shows each page of the window with that
// caption, as a user would (a click on each tab), and saves the window as
// PREFIX1.bmp, PREFIX2.bmp, ...
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

// A screen area's pixels as the rows of a bottom-up 24-bit DIB; empty when
// they cannot be read.
std::vector<BYTE> ScreenArea(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER bih = {sizeof bih, w, h, 1, 24, BI_RGB};
  std::vector<BYTE> pixels(static_cast<size_t>((w * 3 + 3) & ~3) * h);
  if (!GetDIBits(mem, bmp, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS)) pixels.clear();
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool SaveScreenArea(const RECT& r, const std::vector<BYTE>& pixels, const std::string& path) {
  FILE* f = pixels.empty() ? nullptr : fopen(path.c_str(), "wb");
  if (!f) return false;
  BITMAPINFOHEADER bih = {sizeof bih, r.right - r.left, r.bottom - r.top, 1, 24, BI_RGB};
  BITMAPFILEHEADER bfh = {0x4D42, 0, 0, 0, sizeof bfh + sizeof bih};
  bfh.bfSize = bfh.bfOffBits + static_cast<DWORD>(pixels.size());
  fwrite(&bfh, sizeof bfh, 1, f);
  fwrite(&bih, sizeof bih, 1, f);
  fwrite(pixels.data(), 1, pixels.size(), f);
  return fclose(f) == 0;
}

void Input(DWORD type, DWORD flags) {
  INPUT in = {};
  in.type = type;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
}

// A tab's rectangle on the screen, asked of the other process through a
// buffer in its memory.
bool TabRect(HWND tabs, int index, RECT& r) {
  DWORD pid = 0;
  GetWindowThreadProcessId(tabs, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return false;
  void* remote = VirtualAllocEx(process, nullptr, sizeof r, MEM_COMMIT, PAGE_READWRITE);
  const bool ok = remote && SendMessageA(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote)) &&
                  ReadProcessMemory(process, remote, &r, sizeof r, nullptr);
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return ok;
}

// Polls until pred() holds or 15 s have passed.
template <class Pred>
bool WaitUntil(Pred pred) {
  for (ULONGLONG end = GetTickCount64() + 15000; !pred();) {
    if (GetTickCount64() > end) return false;
    Sleep(20);
  }
  return true;
}

int Pages(const char* caption, const std::string& prefix) {
  HWND window = nullptr;
  // Shown and in front, as the user sees it before clicking.
  if (!WaitUntil([&] { return (window = FindWindowA(nullptr, caption)) && GetForegroundWindow() == window; })) return 1;
  HWND tabs = FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr);
  if (!tabs) return 1;
  const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int page = 0; page < count; ++page) {
    RECT r;
    if (!TabRect(tabs, page, r)) return 1;
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Input(INPUT_MOUSE, MOUSEEVENTF_LEFTDOWN);
    Input(INPUT_MOUSE, MOUSEEVENTF_LEFTUP);
    // The click taken, the page's content gathered (its window answers
    // again) and painted: then what the screen shows stops changing.
    if (!WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == page; })) return 1;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 15000, nullptr);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GetWindowRect(window, &r);
    std::vector<BYTE> shown = ScreenArea(r);
    WaitUntil([&] {
      Sleep(100);
      std::vector<BYTE> now = ScreenArea(r);
      const bool still = now == shown;
      shown = std::move(now);
      return still;
    });
    if (!SaveScreenArea(r, shown, prefix + std::to_string(page + 1) + ".bmp")) return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--pages") return Pages(argv[2], argv[3]);
  if (argc < 2) return 2;
  if (argc > 2) Sleep(static_cast<DWORD>(atoi(argv[2])));
  const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return SaveScreenArea(screen, ScreenArea(screen), argv[1]) ? 0 : 1;
}
