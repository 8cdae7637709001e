// TWinSkinPopMenu: the object the skin manager attaches to a popup-menu
// window ("#32768"). It answers WM_SKINQUERY, so the window is never taken
// twice, paints the window's 3-pixel border from the skin's MenuBackground
// and keeps that background nine-sliced to the window's size, so the menu
// items can be drawn over the same picture. The items learn which window
// holds their menu through WaitingPopupMenu: a window that paints before its
// menu is known waits there, and the first item drawn hands it its menu.
#pragma once
#include <windows.h>

#include "Controls.h"
#include "Graphics.h"
#include "WindowHook.h"

class TSkinData;

class TWinSkinPopMenu {
 public:
  TWinSkinPopMenu();
  ~TWinSkinPopMenu() { Unhook(); }
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  // Puts WndProc in front of the window's procedure.
  void Hook(HWND window, TSkinData* skinData, HMENU menu);
  // Gives the window its procedure back (nothing when not hooked) and stops
  // waiting for a menu handle.
  void Unhook();
  bool Hooked() const { return WindowHook.Hooked(); }
  void WndProc(TMessage& m);
  void PaintBorder(TMessage& m);  // WM_NCPAINT
  void PaintPrint(TMessage& m);   // WM_PRINT

  skin::TWindowHook WindowHook;
  HWND Handle = nullptr;
  TSkinData* SkinData = nullptr;
  TBitmap Background;  // MenuBackground nine-sliced to the window at the last paint; empty until then
  HMENU MenuHandle = nullptr;

 private:
  void CallDefault(TMessage& m);
  // Whether the skin can paint the border: a loaded skin with a MenuBackground image.
  bool CanPaint() const;
  // Background for the window's size; false when the window is gone.
  bool BuildBackground(int& width, int& height);
};

// The skinned popup window that painted while its menu was unknown, or null.
extern TWinSkinPopMenu* WaitingPopupMenu;
// Gives the waiting popup window this menu handle (none waiting: nothing).
void HandOverPopupMenu(HMENU menu);
