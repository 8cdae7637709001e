#include "WinSubClass.h"

#include <optional>

#include "Screen.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

RECT AtOrigin(const RECT& r) { return RECT{0, 0, r.right - r.left, r.bottom - r.top}; }

RECT SkinMargins(const TDataSkinObject& e) { return RECT{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }

TSkinControl::TSkinControl(TComponent* owner)
    : TComponent(owner), Hook([this](UINT msg, WPARAM w, LPARAM l) {
        TMessage m{msg, w, l, 0};
        WndProc(m);
        return m.Result;
      }) {}

TSkinControl::~TSkinControl() {
  if (OldWindowProc) {
    if (TControl* c = Control ? static_cast<TControl*>(Control) : GraphicControl) c->WindowProc = OldWindowProc;
    OldWindowProc = nullptr;
  }
  // Put back only while ours is the window's procedure; behind a later
  // subclass it stays in the chain as a pass-through.
  Hook.Release();
  if (Form) Form->RemoveSkinControl(this);
}

void TSkinControl::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool useSkinColour, TCanvas* canvas) {
  auto* control = dynamic_cast<TWinControl*>(Owner());
  if (Attached || !control) return;
  UseSkinColour = useSkinColour;
  ChainControl(control, skinData, form, canvas);
  control->DoubleBuffered = true;
  Focused = GetFocus() == Handle;
  Enabled = (GetWindowLongPtrA(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  Text = GetWindowCaption(Handle);
  if (UseSkinColour) {
    SavedColour = control->Color();
    control->SetColor(SkinData->Colours.ButtonFace);
  }
  control->Invalidate();
  Attached = true;
  State = scAttached;
}

void TSkinControl::ChainControl(TWinControl* control, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
  SkinData = skinData;
  Form = form;
  SharedCanvas = canvas;
  Control = control;
  Handle = control->Handle();
  OldWindowProc = control->WindowProc;
  control->WindowProc = [this](TMessage& m) { WndProc(m); };
  if (Form) Form->AddSkinControl(this);
}

bool TSkinControl::PaintsItself(TMessage& m) {
  if (m.Msg == WM_PAINT) PaintSkinControl(m);
  else if (m.Msg == WM_ERASEBKGND) m.Result = 1;
  else return false;
  return true;
}

void TSkinControl::SetPressed(bool pressed) {
  if (pressed) ButtonState |= bsPressed;
  else ButtonState &= ~bsPressed;
  PaintWindow(nullptr);
}

void TSkinControl::EndHot() {
  ButtonState &= ~(bsHot | bsPressed);
  if (Form) Form->ForgetHotButton(this);
}

void TSkinControl::AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
  // Once attached, hooking again would chain the window to itself.
  if (Attached || !Hook.Hook(handle)) return;
  SkinData = skinData;
  SharedCanvas = canvas;
  Form = form;
  Handle = handle;
  Enabled = true;
  if (Form) Form->AddSkinControl(this);
  Text = GetWindowCaption(handle);
  Attached = true;
  State = scAttached;
}

void TSkinControl::RestoreColor() {
  if (UseSkinColour && Control) Control->SetColor(SavedColour);
}

bool TSkinControl::BeforeMessage(TMessage& m) {
  if (m.Msg != WM_NCDESTROY) return true;
  CallDefault(m);
  State = scDestroyed;
  RestoreColor();
  return false;
}

void TSkinControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      // A disabled control hears no mouse-leave: its hot state ends here.
      if (!(Handle ? IsWindowEnabled(Handle) : GraphicControl && GraphicControl->Enabled())) EndHot();
      Redraw();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Redraw();
      break;
    case WM_SETTEXT:
      // SetWindowText(h, NULL) is legal: no text.
      Text = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
      Redraw();
      break;
    case WM_PAINT:
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      break;
  }
}

void TSkinControl::PaintWindow(HDC dc) {
  if (!Handle) return;
  std::optional<ui::WindowDC> own;
  if (!dc) dc = own.emplace(Handle, true).get();
  DrawWindow(dc);
}

void TSkinControl::DrawSkin(HDC, const RECT&) {}

void TSkinControl::UpdateSkin() {
  if (UseSkinColour && Control) Control->SetColor(SkinData->Colours.ButtonFace);
  if (Handle) InvalidateRect(Handle, nullptr, TRUE);
  else if (GraphicControl) GraphicControl->Invalidate();
}

void TSkinControl::WndProc(TMessage& m) {
  // A window made again for the control after ours was destroyed paints as
  // the control does.
  if (State == scDestroyed) {
    CallDefault(m);
    return;
  }
  if (!BeforeMessage(m)) return;
  CallDefault(m);
  AfterMessage(m);
}

void TSkinControl::CallDefault(TMessage& m) {
  if (OldWindowProc) OldWindowProc(m);
  else if (Hook.OldWndProc()) m.Result = Hook.CallDefault(Handle, m.Msg, m.WParam, m.LParam);
}

void TSkinControl::Redraw() {
  RECT screen;
  if (!Handle || !GetWindowRect(Handle, &screen) || !GetParent(Handle)) return;
  const RECT r = AtOrigin(screen);
  InvalidateRect(Handle, &r, FALSE);
  UpdateWindow(Handle);
}

void TSkinControl::FillBackground(HDC dc, const RECT& r) {
  ui::GdiObject brush(CreateSolidBrush(ButtonFace()));
  FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

void TSkinControl::PaintSkinControl(TMessage& m) {
  // The paint cycle ends whatever happens, or WM_PAINT would never stop.
  std::optional<ui::PaintDC> paint;
  DrawWindow(m.WParam ? reinterpret_cast<HDC>(m.WParam) : paint.emplace(Handle).get());
}

void TSkinControl::DrawWindow(HDC dc) {
  RECT screen;
  if (!GetWindowRect(Handle, &screen)) return;
  WindowRect = screen;
  Quietly([&] { DrawSkin(dc, AtOrigin(screen)); });
}

void TSkinControl::SkinMouseLeave(TSkinControl* control) {
  if (control && control->Handle) SendMessageA(control->Handle, CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::ControlFont(TFont& font) const {
  if (Control) {
    font.Assign(Control->Font);
  } else if (GraphicControl) {
    font.Assign(GraphicControl->Font);
  } else {
    auto handle = Handle ? reinterpret_cast<HGDIOBJ>(SendMessageA(Handle, WM_GETFONT, 0, 0)) : nullptr;
    LOGFONTA lf{};
    GetObjectA(handle ? handle : GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
    ui::AssignLogFont(font, lf);
  }
}

void TSkinControl::ReadWindowState() {
  Focused = GetFocus() == Handle;
  Enabled = (GetWindowLongPtrA(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  Text = GetWindowCaption(Handle);
  if (Text.empty() && Control) Text = Control->Caption();
}

COLORREF TSkinControl::ButtonFace() const { return ui::ColorToRGB(SkinData->Colours.ButtonFace); }
