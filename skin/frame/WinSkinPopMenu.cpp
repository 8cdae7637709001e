#include "WinSkinPopMenu.h"

#include "Controls.h"
#include "SkinManage.h"

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
  if (!WindowHook.Hooked()) return;
  WindowHook.Release();
  Background.SetSize(0, 0, pf24bit);
}

void TWinSkinPopMenu::WndProc(TMessage& m) {
  if (m.Msg == WM_SKINQUERY) {
    m.Result = 1;
    return;
  }
  if (m.Msg == WM_DESTROY && SkinManage && SkinManage->Active) Unhook();
  m.Result = WindowHook.CallDefault(Handle, m.Msg, m.WParam, m.LParam);
}
