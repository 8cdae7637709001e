#include "WinSkinPopMenu.h"

#include "Controls.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinDraw.h"

TWinSkinPopMenu* WaitingPopupMenu = nullptr;

void HandOverPopupMenu(HMENU menu) {
  if (!WaitingPopupMenu || !menu) return;
  WaitingPopupMenu->MenuHandle = menu;
  WaitingPopupMenu = nullptr;
}

namespace {
// The popup window's whole non-client area.
constexpr int kBorder = 3;
}  // namespace

TWinSkinPopMenu::TWinSkinPopMenu()
    : WindowHook([this](UINT msg, WPARAM w, LPARAM l) {
        TMessage m{msg, w, l, 0};
        WndProc(m);
        return m.Result;
      }) {}

void TWinSkinPopMenu::Hook(HWND window, TSkinData* skinData, HMENU menu) {
  Handle = window;
  SkinData = skinData;
  MenuHandle = menu;
  WindowHook.Hook(window);
}

void TWinSkinPopMenu::Unhook() {
  // The next item drawn must not hand its menu to a window going away.
  if (WaitingPopupMenu == this) WaitingPopupMenu = nullptr;
  if (!WindowHook.Hooked()) return;
  WindowHook.Release();
  Background.SetSize(0, 0, pf24bit);
}

void TWinSkinPopMenu::CallDefault(TMessage& m) {
  m.Result = WindowHook.CallDefault(Handle, m.Msg, m.WParam, m.LParam);
}

void TWinSkinPopMenu::WndProc(TMessage& m) {
  if (m.Msg == WM_SKINQUERY) {
    m.Result = 1;
    return;
  }
  if (!SkinManage || !SkinManage->Active) return CallDefault(m);
  switch (m.Msg) {
    case WM_DESTROY:
      Unhook();
      return CallDefault(m);
    case WM_NCPAINT: return PaintBorder(m);
    case WM_PRINT: return PaintPrint(m);
    default: return CallDefault(m);
  }
}

bool TWinSkinPopMenu::CanPaint() const {
  return SkinData && !SkinData->NoSkin && SkinData->MenuBackground && !SkinData->MenuBackground->Image.Empty();
}

bool TWinSkinPopMenu::BuildBackground(int& width, int& height) {
  RECT r{};
  if (!GetWindowRect(Handle, &r)) return false;
  width = r.right - r.left;
  height = r.bottom - r.top;
  TDataSkinObject& e = *SkinData->MenuBackground;
  const RECT margins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
  auto picture = StretchSkinImage(RECT{0, 0, width, height}, e.Image, margins, false, e.Tile != 0, 1, 1);
  Background.SetSize(width, height, pf24bit);
  BitBlt(Background.Canvas().Handle(), 0, 0, width, height, picture->Canvas().Handle(), 0, 0, SRCCOPY);
  return true;
}

void TWinSkinPopMenu::PaintBorder(TMessage& m) {
  if (!CanPaint()) return CallDefault(m);
  int w = 0, h = 0;
  if (!BuildBackground(w, h)) return;
  if (!MenuHandle) WaitingPopupMenu = this;
  HDC dc = GetWindowDC(Handle);
  HDC src = Background.Canvas().Handle();
  BitBlt(dc, 0, 0, w, kBorder, src, 0, 0, SRCCOPY);
  BitBlt(dc, 0, h - kBorder, w, kBorder, src, 0, h - kBorder, SRCCOPY);
  BitBlt(dc, 0, kBorder, kBorder, h - kBorder, src, 0, kBorder, SRCCOPY);
  BitBlt(dc, w - kBorder, kBorder, kBorder, h - kBorder, src, w - kBorder, kBorder, SRCCOPY);
  ReleaseDC(Handle, dc);
  m.Result = 0;
}

void TWinSkinPopMenu::PaintPrint(TMessage& m) {
  if (!CanPaint()) return CallDefault(m);
  if (!MenuHandle) WaitingPopupMenu = this;
  int w = 0, h = 0;
  if (!BuildBackground(w, h)) return CallDefault(m);
  const auto dc = reinterpret_cast<HDC>(m.WParam);
  BitBlt(dc, 0, 0, w, h, Background.Canvas().Handle(), 0, 0, SRCCOPY);
  // The platform's own drawing lands inside the border only; the caller's
  // clip region comes back afterwards.
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  HRGN saved = CreateRectRgn(0, 0, 0, 0);
  const bool hadClip = GetClipRgn(dc, saved) == 1;
  HRGN inner = CreateRectRgn(kBorder, kBorder, w - kBorder, h - kBorder);
  ExtSelectClipRgn(dc, inner, RGN_AND);
  DeleteObject(inner);
  CallDefault(m);
  SelectClipRgn(dc, hadClip ? saved : nullptr);
  DeleteObject(saved);
  SetBkMode(dc, oldMode);
}
