// screenshot OUT.bmp [DELAY_MS]: saves the whole screen as a 24-bit BMP.
// screenshot --pages CAPTION PREFIX: shows each page of the window with that
// caption, as a user would (a click on each tab), and saves the window as
// PREFIX1.bmp, PREFIX2.bmp, ...
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool SaveScreenArea(const RECT& r, const std::string& path) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER bih = {sizeof bih, w, h, 1, 24, BI_RGB};
  std::vector<BYTE> pixels(static_cast<size_t>((w * 3 + 3) & ~3) * h);
  const bool ok = GetDIBits(mem, bmp, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  FILE* f = ok ? fopen(path.c_str(), "wb") : nullptr;
  if (!f) return false;
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

int Pages(const char* caption, const std::string& prefix) {
  HWND window = FindWindowA(nullptr, caption);
  HWND tabs = window ? FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr) : nullptr;
  if (!tabs) return 1;
  const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int page = 0; page < count; ++page) {
    RECT r;
    if (!TabRect(tabs, page, r)) return 1;
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Input(INPUT_MOUSE, MOUSEEVENTF_LEFTDOWN);
    Input(INPUT_MOUSE, MOUSEEVENTF_LEFTUP);
    // A page may gather its content when first shown: wait until the window
    // answers again, then for its painting.
    Sleep(200);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 15000, nullptr);
    Sleep(500);
    GetWindowRect(window, &r);
    if (!SaveScreenArea(r, prefix + std::to_string(page + 1) + ".bmp")) return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--pages") return Pages(argv[2], argv[3]);
  if (argc < 2) return 2;
  if (argc > 2) Sleep(static_cast<DWORD>(atoi(argv[2])));
  const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return SaveScreenArea(screen, argv[1]) ? 0 : 1;
}
