// TWinSkinPopMenu: the object the skin manager attaches to a popup-menu
// window ("#32768"). It answers WM_SKINQUERY, so the window is never taken
// twice, and lets go of the window when it is destroyed. The skinned border
// and the background the menu items are drawn over are still to come: the
// window keeps the platform's border.
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
  // Gives the window its procedure back (nothing when not hooked).
  void Unhook();
  bool Hooked() const { return WindowHook.Hooked(); }
  void WndProc(TMessage& m);

  skin::TWindowHook WindowHook;
  HWND Handle = nullptr;
  TSkinData* SkinData = nullptr;
  TBitmap Background;  // the window's background at the last paint; empty until then
  HMENU MenuHandle = nullptr;
};
