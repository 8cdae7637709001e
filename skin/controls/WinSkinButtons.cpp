#include "WinSkinButtons.h"

#include <algorithm>

#include "Buttons.h"
#include "ImgUtil.h"
#include "WinSkinCtrls.h"
#include "WinSkinData.h"
#include "WinSkinDraw.h"
#include "WinSkinForm.h"

namespace {
// Glyph frames: 1 normal and hot, 2 disabled, 3 pressed.
int GlyphFrame(int state) { return state == 3 ? 2 : state == 2 ? 3 : 1; }

TGlyphLayout* GlyphOf(TControl* control) {
  if (auto* bit = dynamic_cast<TBitBtn*>(control)) return &bit->Glyph;
  if (auto* speed = dynamic_cast<TSpeedButton*>(control)) return &speed->Glyph;
  return nullptr;
}
}  // namespace

TGlyphPlacement PlaceGlyph(SIZE C, SIZE G, SIZE T, TButtonLayout layout, int margin, int spacing, bool speedButton) {
  const bool across = layout == blGlyphLeft || layout == blGlyphRight;
  POINT glyph{}, text{};
  if (across) {
    glyph.y = (C.cy - G.cy + 1) / 2;
    text.y = (C.cy - T.cy + 1) / 2;
  } else {
    glyph.x = (C.cx - G.cx + 1) / 2;
    text.x = (C.cx - T.cx + 1) / 2;
  }
  if (T.cx == 0 || G.cx == 0) spacing = 0;
  // Sizes along the layout's axis.
  const int c = across ? C.cx : C.cy, g = across ? G.cx : G.cy, t = across ? T.cx : T.cy;
  if (margin == -1 && spacing == -1) {
    margin = (c - (g + t)) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (c - (g + spacing + t)) / 2 + (speedButton ? 1 : 0);
  } else if (spacing == -1) {
    spacing = ((c - margin - g) - t) / 2;
  }
  UINT flag = DT_CENTER;
  switch (layout) {
    case blGlyphLeft:
      glyph.x = margin;
      text.x = margin + G.cx + spacing;
      flag = DT_LEFT;
      break;
    case blGlyphRight:
      glyph.x = C.cx - margin - G.cx;
      text.x = glyph.x - spacing - T.cx;
      flag = DT_RIGHT;
      break;
    case blGlyphTop:
      glyph.y = margin;
      text.y = margin + G.cy + spacing;
      break;
    case blGlyphBottom:
      glyph.y = C.cy - margin - G.cy;
      text.y = glyph.y - spacing - T.cy;
      break;
  }
  return TGlyphPlacement{glyph, RECT{text.x, text.y, text.x + T.cx, text.y + T.cy}, flag};
}

void DrawGlyph(TCanvas& canvas, const RECT& r, int numGlyphs, int frame, TBitmap& glyph) {
  numGlyphs = std::max(numGlyphs, 1);
  const int w = glyph.Width() / numGlyphs, h = glyph.Height();
  if (w <= 0 || h <= 0) return;
  TBitmap part(w, h);
  const int from = numGlyphs == 4 ? std::clamp(frame, 1, 4) - 1 : 0;
  BitBlt(part.Canvas().Handle(), 0, 0, w, h, glyph.Canvas().Handle(), from * w, 0, SRCCOPY);
  if (frame == 2) GrayBitmap(part);
  part.Transparent = true;  // keyed on its bottom-left pixel
  canvas.Draw(r.left, r.top, &part);
}

// ---- TSkinButton ----

bool TSkinButton::HasFace() const { return !SkinData->Buttons->Image.Empty(); }

int TSkinButton::StateFrame(bool focused, bool enabled) const {
  int state = focused ? 4 : 1;
  if (ButtonState & bsPressed) state = 2;
  else if (ButtonState & bsHot) state = 4;
  return enabled ? state : 3;
}

TColor TSkinButton::StateTextColour(int state, bool enabled, TColor normal, bool onlyGiven) const {
  if (!enabled) return clSystemColor | COLOR_GRAYTEXT;
  const TDataSkinButton& e = *SkinData->Buttons;
  if (state == 1 && (!onlyGiven || e.HasNormalColour2)) return e.NormalColour2;
  if (state == 4 && (!onlyGiven || e.HasMouseOverColour2)) return e.MouseOverColour2;
  if (state == 2 && (!onlyGiven || e.HasPressedColour2)) return e.PressedColour2;
  return normal;
}

TCanvas& TSkinButton::PrepareBackBuffer(const RECT& r) {
  if (BackBuffer.Width() != r.right || BackBuffer.Height() != r.bottom) BackBuffer.SetSize(r.right, r.bottom, pf24bit);
  TCanvas& canvas = BackBuffer.Canvas();
  ControlFont(canvas.Font);
  return canvas;
}

bool TSkinButton::BeforeMessage(TMessage& m) {
  // Without an image the button paints itself, so it must see its press too.
  if (!HasFace()) return TSkinControl::BeforeMessage(m);
  if (PaintsItself(m)) return false;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!Focused) SetFocus(Handle);
      SetPressed(true);
      return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinButton::AfterMessage(TMessage& m) {
  if (!HasFace()) return TSkinControl::AfterMessage(m);
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam != VK_SPACE) return;
      if (m.Msg == WM_KEYDOWN) ButtonState |= bsPressed;
      else ButtonState &= ~bsPressed;
      Redraw();
      return;
    case WM_MOUSEMOVE:
      if (ButtonState & bsHot) return;
      ButtonState |= bsHot;
      // Its mouse-leave handling takes the other button off HotButton.
      if (Form && Form->HotButton && Form->HotButton != this) SkinMouseLeave(Form->HotButton);
      if (!Form || Form->HotButton != this) {
        Redraw();
        if (Form) {
          Form->HotButton = this;
          Form->WakeHoverTimer();
        }
      }
      return;
    case WM_LBUTTONUP:
      if (!(ButtonState & bsPressed)) return;
      ButtonState &= ~bsPressed;
      Redraw();
      Click();
      return;
    case CM_MOUSEENTER:
      if (!Enabled) return;
      ButtonState |= bsHot;
      Redraw();
      if (Form) {
        Form->HotButton = this;
        Form->WakeHoverTimer();
      }
      return;
    case CM_MOUSELEAVE:
      if (!Enabled) return;
      EndHot();
      Redraw();
      return;
  }
  TSkinControl::AfterMessage(m);
}

void TSkinButton::Click() {
  if (Control) Control->Click();
  else
    PostMessageA(GetParent(Handle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle), BN_CLICKED),
                 reinterpret_cast<LPARAM>(Handle));
}

void TSkinButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasFace()) return;
  TDataSkinButton& e = *SkinData->Buttons;
  ReadWindowState();
  const int state = StateFrame(Focused, Enabled);
  const RECT r = AtOrigin(rect);
  TCanvas& canvas = PrepareBackBuffer(r);
  FillBackground(canvas.Handle(), r);
  DrawSkinState(canvas.Handle(), r, 5, state, e);
  canvas.Font.SetColor(StateTextColour(state, Enabled, SkinData->Colours.ButtonText, false));
  DrawSkinCaption(canvas, r, DT_CENTER, Enabled, Text);
  BitBlt(dc, rect.left, rect.top, r.right, r.bottom, canvas.Handle(), 0, 0, SRCCOPY);
}

void TSkinButton::DrawGlyphAndCaption(TCanvas& canvas, TGlyphLayout* layout, SIZE client, int state,
                                      bool enabled, bool speedButton) {
  TBitmap* glyph = layout && !layout->Glyph.Empty() ? &layout->Glyph : nullptr;
  const int count = std::max(layout ? layout->NumGlyphs : 1, 1);
  const SIZE G = glyph ? SIZE{glyph->Width() / count, glyph->Height()} : SIZE{0, 0};
  canvas.Font.SetColor(StateTextColour(state, enabled, canvas.Font.Color(), true));
  canvas.UseFont();
  HDC dc = canvas.Handle();
  SIZE T{0, 0};
  if (!Text.empty()) {
    RECT measured{0, 0, client.cx, client.cy};
    DrawTextA(dc, Text.c_str(), int(Text.size()), &measured, DT_CALCRECT);
    T = SIZE{measured.right, measured.bottom};
  }
  const TGlyphPlacement at = PlaceGlyph(client, G, T, layout ? layout->Layout : blGlyphLeft,
                                        layout ? layout->Margin : -1, layout ? layout->Spacing : -1, speedButton);
  if (glyph)
    DrawGlyph(canvas, RECT{at.Glyph.x, at.Glyph.y, at.Glyph.x + G.cx, at.Glyph.y + G.cy}, count, GlyphFrame(state),
              *glyph);
  SkinDrawText(dc, WideText(Text), at.Text, at.TextFlag);
}

// ---- TSkinBitButton ----

void TSkinBitButton::AttachGraphic(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas) {
  auto* control = dynamic_cast<TGraphicControl*>(Owner());
  // A second attach would chain the control's WindowProc to itself.
  if (!control || GraphicControl) return;
  SkinData = skinData;
  SharedCanvas = canvas;
  Form = form;
  GraphicControl = control;
  OldWindowProc = control->WindowProc;
  control->WindowProc = [this](TMessage& m) { WndProc(m); };
  if (Form) Form->AddSkinControl(this);
  State = scAttached;
}

void TSkinBitButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasFace()) return;
  TDataSkinButton& e = *SkinData->Buttons;
  ReadWindowState();
  const int state = StateFrame(Focused, Enabled);
  const RECT r = AtOrigin(rect);
  TCanvas& canvas = PrepareBackBuffer(r);
  FillBackground(canvas.Handle(), r);
  DrawSkinState(canvas.Handle(), r, e.FrameCount, state, e);
  RECT client{};
  GetClientRect(Handle, &client);
  DrawGlyphAndCaption(canvas, GlyphOf(Control), SIZE{client.right, client.bottom}, state, Enabled, false);
  BitBlt(dc, rect.left, rect.top, r.right, r.bottom, canvas.Handle(), 0, 0, SRCCOPY);
}

// ---- TSkinSpeedButton ----

bool TSkinSpeedButton::BeforeMessage(TMessage& m) {
  if (!HasFace()) return TSkinControl::BeforeMessage(m);
  switch (m.Msg) {
    case WM_PAINT:
      if (m.WParam && GraphicControl) {
        TCanvas canvas(reinterpret_cast<HDC>(m.WParam));
        Quietly([&] { DrawButton(canvas, GraphicControl->ClientRect()); });
      }
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallDefault(m);  // the speed button keeps its own press
      SetPressed(true);
      return false;
  }
  return TSkinButton::BeforeMessage(m);
}

void TSkinSpeedButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY:
    case CM_RELEASE:
      if (OldWindowProc && GraphicControl) GraphicControl->WindowProc = OldWindowProc;
      OldWindowProc = nullptr;
      return;
    case WM_KEYDOWN:
      if (m.WParam != VK_SPACE) break;
      SetPressed(true);
      return;
    case WM_KEYUP:
      if (m.WParam != VK_SPACE) break;
      [[fallthrough]];
    case WM_LBUTTONUP:
      ButtonState &= ~bsPressed;
      PaintWindow(nullptr);
      return;
    case CM_MOUSEENTER:
      ButtonState |= bsHot;
      PaintWindow(nullptr);
      return;
    case CM_MOUSELEAVE:
      ButtonState &= ~(bsHot | bsPressed);
      if (GraphicControl && GraphicControl->Visible()) PaintWindow(nullptr);
      return;
  }
  TSkinButton::AfterMessage(m);
}

void TSkinSpeedButton::PaintWindow(HDC) {
  if (!GraphicControl) return;
  TCanvas& canvas = GraphicControl->Canvas();
  if (!canvas.Handle()) return;
  Quietly([&] { DrawButton(canvas, AtOrigin(GraphicControl->ClientRect())); });
}

void TSkinSpeedButton::DrawButton(TCanvas& canvas, const RECT& rect) {
  if (!HasFace() || !GraphicControl) return;
  TDataSkinButton& e = *SkinData->Buttons;
  auto* speed = dynamic_cast<TSpeedButton*>(GraphicControl);
  const bool enabled = GraphicControl->Enabled();
  int state = StateFrame(false, enabled);
  if (speed && speed->Down()) state = 2;  // even when disabled
  const RECT r = AtOrigin(rect);
  TBitmap& scratch = FrameScratchBitmap();
  scratch.SetSize(r.right, r.bottom, pf24bit);
  TCanvas& c = scratch.Canvas();
  ControlFont(c.Font);
  DrawSkinStateOnScratch(*this, r, e, e.Trans == 1, e.FrameCount, state);
  Text = GraphicControl->Caption();
  TGlyphLayout* layout = GlyphOf(GraphicControl);
  if (!layout || layout->Glyph.Empty()) DrawSkinCaption(c, r, DT_CENTER, enabled, Text);
  else DrawGlyphAndCaption(c, layout, SIZE{r.right, r.bottom}, state, enabled, true);
  BitBlt(canvas.Handle(), rect.left, rect.top, r.right, r.bottom, c.Handle(), 0, 0, SRCCOPY);
}
