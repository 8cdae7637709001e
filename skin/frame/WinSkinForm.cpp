#include "WinSkinForm.h"

#include <algorithm>

#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "Screen.h"
#include "SkinManage.h"
#include "WinSkinData.h"

std::string GetWindowCaption(HWND h) {
  char text[1000] = "";
  const LRESULT n = SendMessageA(h, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return std::string(text, size_t(std::clamp<LRESULT>(n, 0, sizeof text - 1)));
}

std::string GetWindowClass(HWND h) {
  char name[100] = "";
  const int n = GetClassNameA(h, name, sizeof name);
  return std::string(name, size_t(std::max(n, 0)));
}

void RepaintWindow(HWND h) {
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
}

TWinSkinForm::TWinSkinForm(TComponent* owner)
    : TComponent(owner),
      WindowHook([this](UINT msg, WPARAM w, LPARAM l) {
        TMessage m{msg, w, l, 0};
        WndProc(m);
        return m.Result;
      }),
      DoubleClickTime(int(GetDoubleClickTime())) {
  NONCLIENTMETRICSA metrics;
  if (ui::NonClientMetrics(metrics)) ui::AssignLogFont(CaptionFont, metrics.lfCaptionFont);
}

TWinSkinForm::~TWinSkinForm() {
  if (WindowHook.Hooked() || SavedFormWindowProc) {
    LifeState = lsDestroying;
    ReleaseOnDestroy();
  }
  FreeSkinControls();
  // Still to come: the title buttons (FreeSysButtons) and the menu bar are
  // freed here.
  if (SkinManage) SkinManage->RemoveWindow(Handle);
}

void TWinSkinForm::SkinForm(TSkinData* skinData, TCustomForm* form) {
  Form = form;
  if (skinData->SkinControls[xcMainMenu]) {
    SavedFormWindowProc = form->WindowProc;
    form->WindowProc = [this](TMessage& m) { FormWindowProc(m); };
  }
  SkinWindow(skinData);
  // Still to come: the form's colour from the skin (SavedColor, ButtonFace)
  // and its popup-menu items drawn skinned (HookMenuItems).
}

void TWinSkinForm::SkinWindow(TSkinData* skinData) {
  if (WindowHook.Hooked()) return;
  SkinData = skinData;
  HoverTimer = new TTimer(this);
  HoverTimer->SetEnabled(false);
  HoverTimer->SetInterval(250);  // its tick, the hover tracking, comes with the title buttons
  FrameTakeover = skinData->SkinControls[xcMainMenu];
  Style = DWORD(GetWindowLongPtrA(Handle, GWL_STYLE));
  RightToLeft = (GetWindowLongPtrA(Handle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  SystemMenu = GetSystemMenu(Handle, FALSE);
  LoadWindowIcon();
  Caption = GetWindowCaption(Handle);
  WindowClass = GetWindowClass(Handle);
  OwnerWindow = GetWindow(Handle, GW_OWNER);
  GetClientRect(Handle, &ClientRect);
  RECT r{};
  GetWindowRect(Handle, &r);
  PlatformFrame = RECT{0, 0, (r.right - r.left) - ClientRect.right, (r.bottom - r.top) - ClientRect.bottom};
  // Still to come: FrameStyles, BuildSysMenu, UpdateShowState, FindMdiClient,
  // BorderKind, HookMdiClient, the menu bar, SetFrameStyles and
  // RebuildSysButtons (the frame sizes).
  WindowHook.Hook(Handle);
  // Still to come: the skinned controls (SkinComponents for a form,
  // SkinChildWindows for a plain window).
  InvalidateRect(Handle, nullptr, TRUE);
}

void TWinSkinForm::LoadWindowIcon() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  IconBitmap.SetSize(cx, cy, pf24bit);
  TCanvas& canvas = IconBitmap.Canvas();
  canvas.Brush.Color = clFuchsia;
  canvas.FillRect(RECT{0, 0, cx, cy});
  auto icon = reinterpret_cast<HICON>(SendMessageA(Handle, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(Handle, WM_GETICON, ICON_BIG, 0));
  if (icon) {
    auto copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE));
    if (!copy) copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0));
    DrawIconEx(canvas.Handle(), 0, 0, copy ? copy : icon, 0, 0, 0, nullptr, DI_NORMAL);
    if (copy) DestroyIcon(copy);
    return;
  }
  // No icon of its own: this skin data's, else that of the last main-form
  // skin data that has one.
  TBitmap* source = SkinData->SkinIcon.Empty() ? nullptr : &SkinData->SkinIcon;
  if (!source && SkinManage)
    for (TSkinData* d : SkinManage->SkinDatas)
      if (d->SkinFormtype == sfMainform && !d->SkinIcon.Empty()) source = &d->SkinIcon;
  if (source) {
    IconBitmap.SetSize(source->Width(), source->Height(), pf24bit);
    BitBlt(IconBitmap.Canvas().Handle(), 0, 0, source->Width(), source->Height(), source->Canvas().Handle(), 0, 0,
           SRCCOPY);
  }
}

void TWinSkinForm::RecalcFrame() {
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinSkinForm::CallDefault(TMessage& m) { m.Result = WindowHook.CallDefault(Handle, m.Msg, m.WParam, m.LParam); }

void TWinSkinForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY:
      LifeState = lsDestroying;
      ReleaseOnDestroy();
      CallDefault(m);
      LifeState = lsDead;
      return;
    case WM_SKINQUERY:
      m.Result = 1;
      return;
  }
  // A plain child window keeps the platform's frame.
  if (!FrameTakeover || ((Style & WS_CHILD) && WindowKind != 2)) {
    CallDefault(m);
    return;
  }
  if (m.Msg == WM_SKINACTIVATE) {
    FinishTakeover();
    return;
  }
  CallDefault(m);
}

void TWinSkinForm::FinishTakeover() {
  // Still to come, for a frame still new: the first resize to the skin's frame
  // sizes (ResizeForSkin) and the window region (UpdateWindowRegion); an MDI
  // child in the maximised layout keeps its caption styles (SetFrameStyles).
  LifeState = lsActive;
  HoverTimer->SetEnabled(true);
}

void TWinSkinForm::FormWindowProc(TMessage& m) {
  // Still to come: WM_SKINRESKIN (Reskin) and CM_DIALOGCHAR (DialogChar, the
  // menu bar's accelerators) are taken here.
  SavedFormWindowProc(m);
  if (m.Msg == WM_SETTEXT) RecalcFrame();
}

void TWinSkinForm::RestoreWindowProcs() {
  if (Form && SavedFormWindowProc) {
    Form->WindowProc = SavedFormWindowProc;
    SavedFormWindowProc = nullptr;
  }
  WindowHook.Release();
}

bool TWinSkinForm::StopFrame() {
  if (!FrameTakeover) {
    UnskinControlsOnly();
    return false;
  }
  delete SysMenu;
  SysMenu = nullptr;
  if (HoverTimer) HoverTimer->SetEnabled(false);
  return true;
}

void TWinSkinForm::Unskin() {
  if (!StopFrame() || !WindowHook.Hooked()) return;
  RestoreWindowProcs();
  FreeSkinControls();
  // Still to come: the menu items given back, the form's
  // colour, the caption styles (SetFrameStyles), the window menu, the MDI
  // client, the outer size the platform's frame needs, and the region dropped.
}

void TWinSkinForm::UnskinControlsOnly() {
  if (HoverTimer) HoverTimer->SetEnabled(false);
  FreeSkinControls();
  // Still to come: the menu items given back, the form's colour, the MDI
  // client.
  WindowHook.Release();
  if (Form && LifeState != lsDestroying)
    for (int i = 0; i < Form->ComponentCount(); ++i)
      if (auto* control = dynamic_cast<TControl*>(Form->Components(i))) control->Invalidate();
}

void TWinSkinForm::ReleaseOnDestroy() {
  if (!StopFrame()) return;
  RestoreWindowProcs();
  FreeSkinControls();
  // Still to come: the menu bar freed.
  TitleBuffer.SetSize(0, 0, pf24bit);
}
