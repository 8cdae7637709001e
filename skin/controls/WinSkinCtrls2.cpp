#include "WinSkinCtrls2.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "SkinRead.h"
#include "WinSkinCtrls.h"
#include "WinSkinData.h"
#include "WinSkinDraw.h"
#include "WinSkinForm.h"

namespace {
// The class library's message 0xB0D0: nothing sends it here, but a check box
// repaints on it.
constexpr UINT CM_REDRAWBOX = 0xB0D0;

LONG_PTR StyleOf(HWND h) { return GetWindowLongPtrA(h, GWL_STYLE); }

void FrameWith(HDC dc, const RECT& r, COLORREF colour) {
  ui::GdiObject brush(CreateSolidBrush(colour));
  FrameRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

// A check box or radio button repaints after every message that changes its
// check, pushed state or capture: the control paints its own box (white, or
// grey while pushed) at once on each.
void AfterBoxMessage(TSkinControl& skin, TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam != VK_SPACE) break;
      [[fallthrough]];
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_CAPTURECHANGED:
    case CM_EXIT:
    case CM_REDRAWBOX:
      skin.Redraw();
      return;
    case WM_MOUSEMOVE:
      // A press dragged on or off the box pushes it in or out.
      if (GetCapture() == skin.Handle) skin.Redraw();
      return;
  }
  skin.TSkinControl::AfterMessage(m);
}

// The control's published Checked ("true" in any case) when it has one,
// else `window`, the window's own check.
bool ShownChecked(const TSkinControl& skin, bool window) {
  if (!skin.Control) return window;
  const std::optional<std::string> published = skin.Control->GetProp("Checked");
  return published ? skin::SkinLowerCase(*published) == "true" : window;
}

// The wide strips put the states elsewhere: 2 -> 5, 3 -> 4, 4 -> 8.
int WideStripFrame(int frame) {
  static const int wide[] = {0, 1, 5, 4, 8};
  return wide[frame];
}

// Clears the box's side of the control and draws frame `frame` of `strip`
// there, vertically centred; `inset` more pixels from the left edge.
void DrawBox(TSkinControl& skin, HDC dc, const RECT& r, TBitmap& strip, int count, int frame, int inset) {
  const int fw = strip.Width() / count, fh = strip.Height(), check = GetSystemMetrics(SM_CXMENUCHECK);
  const int centring = fw < 15 ? (14 - fw) / 2 : 0;
  RECT box{0, r.top + (r.bottom - r.top - fh) / 2, 0, 0}, cleared = r;
  if (StyleOf(skin.Handle) & BS_LEFTTEXT) {
    box.right = r.right - (fw < 15 ? centring : 1);
    box.left = box.right - fw;
    cleared.left = r.right - check - 3;
  } else {
    box.left = r.left + inset + centring;
    box.right = box.left + fw;
    cleared.right = r.left + check + 3;
  }
  box.bottom = box.top + fh;
  skin.FillBackground(dc, cleared);
  DrawFrameOnSharedCanvas(skin, dc, box, count, frame, strip);
}
}  // namespace

// ---- TSkinCheckBox, TSkinRadioButton ----

void TSkinCheckBox::AfterMessage(TMessage& m) { AfterBoxMessage(*this, m); }

void TSkinCheckBox::DrawSkin(HDC dc, const RECT& r) {
  TDataSkinButton* e = SkinData->Buttons.get();
  if (!e || e->CheckButton.Empty()) return;
  const int count = std::max(e->CheckButtonFrame, 1);
  const LRESULT state = SendMessageA(Handle, BM_GETSTATE, 0, 0);
  const bool checked = ShownChecked(*this, state & BST_CHECKED), grey = state & BST_INDETERMINATE;
  Enabled = !(StyleOf(Handle) & WS_DISABLED);
  int frame = grey ? 4 : Enabled ? (checked ? 2 : 1) : (checked ? 4 : 3);
  if (count == 12) frame = grey ? (Enabled ? 9 : 12) : WideStripFrame(frame);
  DrawBox(*this, dc, r, e->CheckButton, count, frame, 2);
}

void TSkinRadioButton::AfterMessage(TMessage& m) { AfterBoxMessage(*this, m); }

void TSkinRadioButton::DrawSkin(HDC dc, const RECT& r) {
  TDataSkinButton* e = SkinData->Buttons.get();
  if (!e || e->RadioButton.Empty()) return;
  const int count = std::max(e->RadioButtonFrame, 1);
  const bool checked = ShownChecked(*this, SendMessageA(Handle, BM_GETCHECK, 0, 0) & BST_CHECKED);
  Enabled = !(StyleOf(Handle) & WS_DISABLED);
  int frame = Enabled ? (checked ? 2 : 1) : (checked ? 4 : 3);
  if (count == 8) frame = WideStripFrame(frame);
  DrawBox(*this, dc, r, e->RadioButton, count, frame, 0);
}

// ---- TSkinTrackBar ----

bool TSkinTrackBar::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return false;
  }
  if ((m.Msg == WM_NOTIFY || m.Msg == CN_BASE + WM_NOTIFY) && m.LParam &&
      reinterpret_cast<const NMHDR*>(m.LParam)->code == UINT(NM_CUSTOMDRAW)) {
    m.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(m.LParam));
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& draw) {
  if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.dwDrawStage != CDDS_ITEMPREPAINT || draw.dwItemSpec != TBCD_THUMB) return CDRF_DODEFAULT;
  RECT thumb{};
  SendMessageA(Handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  TDataSkinObject* e = SkinData->TrackbarThumbHorz.get();
  if ((StyleOf(Handle) & TBS_VERT) && SkinData->TrackbarThumbVert) e = SkinData->TrackbarThumbVert.get();
  Quietly([&] {
    if (e && !e->Image.Empty()) {
      DrawFrameTransparent(draw.hdc, thumb, 5, 2, e->Image);
      return;
    }
    ui::GdiObject pen(CreatePen(PS_SOLID, 1, ui::ColorToRGB(SkinData->Colours.ButtonShadow)));
    ui::SelectedObject selected(draw.hdc, pen.get());
    Rectangle(draw.hdc, thumb.left, thumb.top, thumb.right, thumb.bottom);
  });
  return CDRF_SKIPDEFAULT;
}

// ---- TSkinProgress ----

void TSkinProgress::DrawSkin(HDC dc, const RECT& r) {
  TDataSkinBorder* e = SkinData->Progress.get();
  if (!e || e->Image.Empty()) return;
  const bool chunks = e->Style == 1;
  if (chunks && e->Image2.Empty()) return;
  TBitmap& scratch = FrameScratchBitmap();
  scratch.SetSize(r.right, r.bottom, pf24bit);
  HDC s = scratch.Canvas().Handle();
  FillBackground(s, RECT{0, 0, r.right, r.bottom});
  const int pos = int(SendMessageA(Handle, PBM_GETPOS, 0, 0)), high = int(SendMessageA(Handle, PBM_GETRANGE, FALSE, 0));
  const int width = r.right - r.left, height = r.bottom - r.top;
  // A 64-bit product: a large range must not overflow.
  const int filled = high > 0 && pos > 0 ? int(int64_t(pos) * width / high) : 0;
  const RECT margins = SkinMargins(*e);
  const bool tile = e->Tile != 0;
  if (!chunks) {
    const RECT done{r.left, r.top, r.left + filled, r.bottom};
    DrawSkinImage(s, r, e->Image, false, tile, true, 2, 1, margins);
    if (filled > 0) DrawSkinImage(s, done, e->Image, false, tile, true, 2, 2, margins);
  } else {
    DrawSkinImage(s, r, e->Image, false, tile, true, 1, 1, margins);
    TBitmap& chunk = e->Image2;
    const int cw = chunk.Width(), ch = chunk.Height();
    if (filled > 0) {
      TBitmap strip(filled, ch);
      for (int k = 0; k <= filled / cw; ++k)
        BitBlt(strip.Canvas().Handle(), k * cw, 0, cw, ch, chunk.Canvas().Handle(), 0, 0, SRCCOPY);
      const int x = r.left + e->LeftWidth, y = r.top + (height - ch) / 2;
      DrawTransparent(s, RECT{x, y, x + filled, y + ch}, strip, SkinKeyColor);
    }
  }
  BitBlt(dc, r.left, r.top, width, height, s, r.left, r.top, SRCCOPY);
}

// ---- TSkinUpDown ----

TSkinUpDown* TSkinUpDown::AttachFor(TSkinControl& by, HWND upDown, bool insideEdit) {
  auto* skin = new TSkinUpDown(by.Owner());
  skin->AttachHandle(upDown, by.SkinData, by.Form, by.SharedCanvas);
  skin->InsideEdit = insideEdit;
  return skin;
}

bool TSkinUpDown::BeforeMessage(TMessage& m) {
  if (PaintsItself(m)) return false;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallDefault(m);
      SetPressed(true);
      return false;
    case WM_LBUTTONUP:
      ButtonState &= ~bsPressed;
      CallDefault(m);
      PaintWindow(nullptr);
      return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinUpDown::DrawSkin(HDC dc, const RECT& r) {
  RECT c{};
  GetClientRect(Handle, &c);
  TBitmap buffer(c.right, c.bottom);
  TCanvas& canvas = buffer.Canvas();
  HDC b = canvas.Handle();
  FillBackground(b, c);
  if (InsideEdit) InflateRect(&c, -1, -1);
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(Handle, &cursor);
  const LONG_PTR style = StyleOf(Handle);
  Enabled = !(style & WS_DISABLED);
  const bool across = Horizontal == 1 || (style & UDS_HORZ);
  struct Part {
    RECT r;
    int direction;
    bool under;  // the cursor is over it
  };
  Part parts[2];
  if (across) {
    const int h = (c.right - c.left) / 2;
    parts[0] = {{c.left, c.top, c.left + h, c.bottom}, 2, cursor.x < h};
    parts[1] = {{c.left + h, c.top, c.right, c.bottom}, 3, cursor.x >= h};
  } else {
    const int h = (c.bottom - c.top) / 2;
    parts[0] = {{c.left, c.top, c.right, c.top + h}, 0, cursor.y < h};
    parts[1] = {{c.left, c.top + h, c.right, c.bottom}, 1, cursor.y >= h};
  }
  TDataSkinBorder* e = across ? SkinData->UpDownHorz.get() : SkinData->UpDownVert.get();
  for (const Part& p : parts) {
    const int state = !Enabled ? 3 : !p.under ? 1 : (ButtonState & bsPressed) ? 2 : (ButtonState & bsHot) ? 4 : 1;
    if (e && !e->Image.Empty()) {
      const int frame = state + 4 * (p.direction % 2);
      DrawSkinBitmap(b, p.r, e->Image, true, e->FrameCount, frame);
      if (!e->Image2.Empty()) {
        const int gw = e->Image2.Width() / std::max(e->FrameCount, 1), gh = e->Image2.Height();
        const int x = p.r.left + (p.r.right - p.r.left - gw) / 2, y = p.r.top + (p.r.bottom - p.r.top - gh) / 2;
        DrawSkinBitmap(b, RECT{x, y, x + gw, y + gh}, e->Image2, true, e->FrameCount, frame);
      }
      continue;
    }
    const bool down = state == 2 || state == 4;
    ui::GdiObject fill(CreateSolidBrush(down ? ui::ColorToRGB(SkinData->Colours.ButtonShadow) : ButtonFace()));
    FillRect(b, &p.r, static_cast<HBRUSH>(fill.get()));
    FrameWith(b, p.r, ui::ColorToRGB(SkinData->Colours.ButtonDkShadow));
    const int x = (p.r.left + p.r.right) / 2, y = (p.r.top + p.r.bottom) / 2 - (p.direction < 2 ? 2 : 0);
    DrawArrow(canvas, x, y, p.direction);
  }
  BitBlt(dc, r.left, r.top, buffer.Width(), buffer.Height(), b, 0, 0, SRCCOPY);
}

// ---- TSkinEdit ----

bool TSkinEdit::BeforeMessage(TMessage& m) {
  // The edit's painting leaves the DC clipped to its text.
  if (m.Msg == WM_PRINT && m.WParam) SaveDC(reinterpret_cast<HDC>(m.WParam));
  return TSkinControl::BeforeMessage(m);
}

void TSkinEdit::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!m.WParam) PaintWindow(nullptr);
      return;
    case WM_PRINT:
      if (m.WParam) {
        RestoreDC(reinterpret_cast<HDC>(m.WParam), -1);
        DrawPrintBorder(reinterpret_cast<HDC>(m.WParam));
      } else {
        ui::WindowDC own(Handle, true);
        DrawPrintBorder(own.get());
      }
      return;
  }
  TSkinControl::AfterMessage(m);
}

void TSkinEdit::DrawSkin(HDC dc, const RECT& r) {
  for (HWND child = UpDown ? nullptr : GetWindow(Handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string name = skin::SkinLowerCase(GetWindowClass(child));
    if (name == "msctls_updown32" || name == "tspinbutton") {
      UpDown = TSkinUpDown::AttachFor(*this, child, true);
      break;
    }
  }
  RECT client{};
  GetClientRect(Handle, &client);
  if (client.right == r.right || client.bottom == r.bottom) return;  // no border
  FrameWith(dc, r, ui::ColorToRGB(SkinData->Colours.ButtonShadow));
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameWith(dc, inner, RGB(255, 255, 255));
}

void TSkinEdit::DrawPrintBorder(HDC dc) {
  RECT window{}, client{};
  if (!GetWindowRect(Handle, &window) || !GetClientRect(Handle, &client)) return;
  RECT r = AtOrigin(window);
  if (r.right - client.right <= 2 || r.bottom - client.bottom <= 2) return;
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
  FrameWith(dc, r, ui::ColorToRGB(SkinData->Colours.ButtonShadow));
}

// ---- TSkinComBox ----

void TSkinComBox::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      SetPressed(m.Msg != WM_LBUTTONUP);
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (!Enabled) return;
      if (m.Msg == CM_MOUSEENTER) ButtonState |= bsHot;
      else ButtonState &= ~bsHot;
      PaintWindow(nullptr);
      return;
  }
  TSkinControl::AfterMessage(m);
}

int TSkinComBox::StateFrame() const {
  if (ButtonState & bsPressed) return 2;
  if (Focused || (ButtonState & bsHot)) return 4;
  return Enabled ? 1 : 3;
}

void TSkinComBox::DrawSkin(HDC dc, const RECT& r) {
  TDataSkinBorder* e = SkinData->ComboButton.get();
  if (!e || e->Image.Empty()) return;
  WindowStyle = StyleOf(Handle);
  WindowExStyle = GetWindowLongPtrA(Handle, GWL_EXSTYLE);
  Focused = GetFocus() == Handle;
  Enabled = !(WindowStyle & WS_DISABLED);
  if (e->Style == 1) DrawSimple(dc, AtOrigin(r), StateFrame());
  else if (SkinData->SunkEdge && !SkinData->SunkEdge->Image.Empty()) DrawFull(dc, AtOrigin(r), StateFrame());
}

void TSkinComBox::DrawFull(HDC dc, const RECT& r, int frame) {
  TDataSkinBorder& e = *SkinData->ComboButton;
  const int t = GetSystemMetrics(SM_CXHSCROLL);
  const bool left = WindowExStyle & WS_EX_LEFTSCROLLBAR;
  // The text area is the control's own.
  const RECT text = left ? RECT{r.left + t + 4, r.top + 2, r.right - 2, r.bottom - 2}
                         : RECT{r.left + 2, r.top + 2, r.right - t - 4, r.bottom - 2};
  const RECT button =
      left ? RECT{r.left, r.top, r.left + t + 2, r.bottom} : RECT{r.right - t - 2, r.top, r.right, r.bottom};
  const RECT glyph = left ? RECT{2, r.top, t + 2, r.bottom} : RECT{r.right - t - 2, r.top, r.right - 2, r.bottom};
  const int saved = SaveDC(dc);  // a DC handed in keeps its clipping
  ExcludeClipRect(dc, text.left, text.top, text.right, text.bottom);
  TDataSkinObject& sunk = *SkinData->SunkEdge;
  DrawSkinState(dc, r, sunk.FrameCount, frame, sunk);
  DrawFrameOnSharedCanvas(*this, dc, button, e.FrameCount, frame, left ? e.Image2 : e.Image);
  if (TDataSkinObject* extra = SkinData->ExtraImages.get(); extra && !extra->Image.Empty()) {
    const int w = extra->Image.Width() / std::max(extra->FrameCount, 1), h = extra->Image.Height();
    const int x = glyph.left + (glyph.right - glyph.left - w) / 2, y = glyph.top + (glyph.bottom - glyph.top - h) / 2;
    DrawFrameTransparent(dc, RECT{x, y, x + w, y + h}, extra->FrameCount, frame, extra->Image);
  }
  RestoreDC(dc, saved);
}

void TSkinComBox::DrawSimple(HDC dc, const RECT& r, int frame) {
  TDataSkinBorder& e = *SkinData->ComboButton;
  const auto brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, brush);
  InflateRect(&inner, -1, -1);
  const RECT button{inner.right - GetSystemMetrics(SM_CYVTHUMB), inner.top, inner.right, inner.bottom};
  FillRect(dc, &button, brush);
  DrawSkinBitmap(dc, button, e.Image, false, e.FrameCount, frame);
  FrameWith(dc, r, ui::ColorToRGB(SkinData->Colours.ButtonShadow));
}
