#include "WinSkinCtrls.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "ComCtrls.h"
#include "WinSkinData.h"
#include "WinSkinDraw.h"
#include "WinSkinForm.h"

namespace {
bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// Transparent background, no brush, the font without styles.
void PlainText(TCanvas& canvas) {
  canvas.Brush.BrushStyle = TBrush::bsClear;
  if (canvas.Font.Style()) canvas.Font.SetStyle(0);
  canvas.UseFont();
}

SIZE MeasureText(HDC dc, const std::string& text, RECT r, UINT flags) {
  DrawTextA(dc, text.c_str(), int(text.size()), &r, flags | DT_CALCRECT);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void GreyText(HDC dc) { SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT)); }
}  // namespace

UINT AlignmentFlag(TAlignment alignment) {
  return alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
}

std::wstring WideText(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), int(wide.size()));
  wide.resize(size_t(std::max(n, 0)));
  return wide;
}

void DrawSkinCaption(TCanvas& canvas, const RECT& r, UINT alignFlag, bool enabled, const std::string& text) {
  PlainText(canvas);
  HDC dc = canvas.Handle();
  const SIZE t = MeasureText(dc, text, r, alignFlag | DT_NOCLIP | DT_EXPANDTABS);
  RECT place{r.left, r.top, r.left + t.cx, r.top + t.cy};
  if (alignFlag & DT_CENTER) {
    OffsetRect(&place, ((r.right - r.left) - t.cx) / 2, 0);
  } else {
    place.left = r.left;
    place.right = r.right;
  }
  OffsetRect(&place, 0, ((r.bottom - r.top) - t.cy) / 2 - 1);
  if (!enabled) GreyText(dc);
  SkinDrawText(dc, WideText(text), place, alignFlag | DT_EXPANDTABS);
}

void DrawImageCaption(TCanvas& canvas, const RECT& r, int alignment, const std::string& text, int imageIndex,
                      HIMAGELIST images, bool enabled) {
  const bool icon = images && imageIndex != -1;
  int cx = 0, cy = 0;
  if (icon) ImageList_GetIconSize(images, &cx, &cy);
  HDC dc = canvas.Handle();
  constexpr UINT flags = DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS;
  PlainText(canvas);
  const SIZE t = text.empty() ? SIZE{0, 0} : MeasureText(dc, text, r, flags | DT_NOCLIP);
  const int W = r.right - r.left, H = r.bottom - r.top;
  const int x = alignment == 0 ? 2 : alignment == 1 ? (W - cx - t.cx) / 2 : W - cx - t.cx - 2;
  if (icon) ImageList_Draw(images, imageIndex, dc, r.left + x, r.top + (H - cy) / 2, ILD_TRANSPARENT);
  if (text.empty()) return;
  RECT place{r.left, r.top, r.left + t.cx, r.top + t.cy};
  OffsetRect(&place, x + cx + 1, (H - t.cy) / 2);
  if (!enabled) GreyText(dc);
  SkinDrawText(dc, WideText(text), place, flags);
}

void DrawSkinState(HDC dc, const RECT& r, int frameCount, int frame, TDataSkinObject& element) {
  DrawSkinImage(dc, r, element.Image, false, element.Tile != 0, element.Trans == 1, frameCount, frame,
                SkinMargins(element));
}

void DrawSkinStateOnScratch(TSkinControl& control, const RECT& r, TDataSkinObject& element, bool trans,
                            int frameCount, int frame) {
  if (Inverted(r)) return;
  HDC scratch = FrameScratchBitmap().Canvas().Handle();
  const RECT at = AtOrigin(r);
  control.FillBackground(scratch, at);
  DrawSkinImage(scratch, at, element.Image, false, element.Tile != 0, trans, frameCount, frame, SkinMargins(element));
}

void DrawFrameTransparent(HDC dc, const RECT& r, int frameCount, int frame, TBitmap& image) {
  DrawSkinBitmap(dc, r, image, true, frameCount, frame);
}

void DrawFrameOnCanvas(TCanvas& canvas, const RECT& r, int frameCount, int frame, TBitmap& image) {
  DrawSkinBitmap(canvas.Handle(), r, image, true, frameCount, frame);
}

void DrawFrameOnSharedCanvas(TSkinControl& control, HDC dc, const RECT& r, int frameCount, int frame, TBitmap& image) {
  if (!control.SharedCanvas) return DrawFrameTransparent(dc, r, frameCount, frame, image);
  ui::CanvasTarget target(*control.SharedCanvas, dc);
  DrawFrameOnCanvas(*control.SharedCanvas, r, frameCount, frame, image);
}

void DrawSkinText(TCanvas& canvas, const RECT& r, const std::string& text, TAlignment alignment, bool enabled) {
  PlainText(canvas);
  HDC dc = canvas.Handle();
  const UINT flags = AlignmentFlag(alignment) | DT_SINGLELINE | DT_EXPANDTABS;
  const SIZE t = MeasureText(dc, text, r, flags | DT_NOCLIP);
  RECT place{r.left, r.top, r.left + t.cx, r.top + t.cy};
  OffsetRect(&place, ((r.right - r.left) - t.cx) / 2, ((r.bottom - r.top) - t.cy) / 2);
  if (!enabled) GreyText(dc);
  SkinDrawText(dc, WideText(text), place, flags);
}

void DrawArrow(TCanvas& canvas, int x, int y, int direction) {
  struct Segment {
    int x0, y0, x1, y1;
  };
  // Offsets from (x, y); each line leaves out its end point.
  static const Segment up[] = {{0, 0, 0, -1}, {1, 1, 4, 4},  {0, 1, 3, 4},  {0, 2, 2, 4},
                               {-1, 1, -4, 4}, {0, 2, -3, 4}, {0, 1, -2, 4}};
  static const Segment down[] = {{0, 3, 0, 4},  {1, 2, 4, -1},  {0, 2, 3, -1}, {0, 1, 2, 0},
                                 {-1, 2, -4, -1}, {0, 2, -3, -1}, {0, 1, -2, 0}};
  if (direction == 0 || direction == 1) {
    for (const Segment& s : direction == 0 ? up : down) {
      canvas.MoveTo(x + s.x0, y + s.y0);
      canvas.LineTo(x + s.x1, y + s.y1);
    }
  } else if (direction == 2 || direction == 3) {
    const int d = direction == 2 ? 1 : -1;  // the side the arrow's back lies on
    canvas.Polyline({{x, y}, {x + d, y + 2}, {x + d, y - 2}, {x - d, y}, {x + d, y + 2}});
  }
}

// ---- TSkinStatusBar ----

bool TSkinStatusBar::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    PaintSkinControl(m);
    return false;
  }
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinStatusBar::DrawSkin(HDC dc, const RECT& rect) {
  const RECT all = AtOrigin(rect);
  TBitmap& scratch = FrameScratchBitmap();
  scratch.SetSize(all.right, all.bottom, pf24bit);
  TCanvas& canvas = scratch.Canvas();
  FillBackground(canvas.Handle(), all);
  ControlFont(canvas.Font);
  canvas.Font.SetStyle(0);
  if (TDataSkinObject* edges = SkinData->StatusBarEdges.get()) canvas.Font.SetColor(edges->NormalColour2);

  auto* bar = dynamic_cast<TStatusBar*>(Control);
  if (!bar || bar->SimplePanel || bar->Panels.empty()) {
    DrawPanel(canvas, all, taLeftJustify, bar ? bar->SimpleText : Text, 1);
  } else {
    for (size_t i = 0; i < bar->Panels.size(); ++i) {
      const TStatusPanel& panel = bar->Panels[i];
      RECT r;
      if (!SendMessageA(Handle, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
      if (i + 1 == bar->Panels.size()) r.right = all.right;
      TAlignment alignment = panel.Alignment;
      if (panel.RightToLeft && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
      const int frame = panel.Bevel == TStatusPanel::pbLowered ? 1 : panel.Bevel == TStatusPanel::pbRaised ? 2 : 3;
      DrawPanel(canvas, r, alignment, panel.Text, frame);
    }
  }

  // On the scratch bitmap: drawn on the target, the copy would cover it.
  TDataSkinObject* extra = SkinData->ExtraImages.get();
  if ((GetWindowLongPtrA(Handle, GWL_STYLE) & SBARS_SIZEGRIP) && extra && !extra->Image.Empty()) {
    const int w = extra->Image.Width() / std::max(extra->FrameCount, 1), h = extra->Image.Height();
    const RECT grip{all.right - 1 - w, all.bottom - 1 - h, all.right - 1, all.bottom - 1};
    DrawFrameTransparent(canvas.Handle(), grip, extra->FrameCount, 5, extra->Image);
  }
  BitBlt(dc, rect.left, rect.top, all.right, all.bottom, canvas.Handle(), 0, 0, SRCCOPY);
}

void TSkinStatusBar::DrawPanel(TCanvas& canvas, RECT r, TAlignment alignment, const std::string& text, int frame) {
  if (Inverted(r)) return;
  HDC dc = canvas.Handle();
  TDataSkinObject* edges = SkinData->StatusBarEdges.get();
  if (edges && !edges->Image.Empty()) {
    DrawSkinImage(dc, r, edges->Image, false, edges->Tile != 0, false, 3, frame, SkinMargins(*edges));
  } else if (frame != 3) {
    // Lowered: shadow above and left, highlight below and right; raised the other way.
    COLORREF topLeft = GetSysColor(COLOR_BTNSHADOW), bottomRight = GetSysColor(COLOR_BTNHIGHLIGHT);
    if (frame == 2) std::swap(topLeft, bottomRight);
    const auto line = [dc](int l, int t, int w, int h, COLORREF c) {
      const RECT edge{l, t, l + w, t + h};
      SetBkColor(dc, c);
      ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &edge, nullptr, 0, nullptr);
    };
    const int w = r.right - r.left, h = r.bottom - r.top;
    line(r.left, r.top, w, 1, topLeft);
    line(r.left, r.top, 1, h, topLeft);
    line(r.left, r.bottom - 1, w, 1, bottomRight);
    line(r.right - 1, r.top, 1, h, bottomRight);
    InflateRect(&r, -1, -1);
  }
  InflateRect(&r, -2, 0);
  DrawSkinCaption(canvas, r, AlignmentFlag(alignment), true, text.empty() ? " " : text);
}

// ---- TSkinGroupBox ----

void TSkinGroupBox::DrawSkin(HDC dc, const RECT& rect) {
  Text = GetWindowCaption(Handle);
  if (Text.empty() && Control) Text = Control->Caption();
  HGDIOBJ font = Control ? Control->Font.Handle() : reinterpret_cast<HGDIOBJ>(SendMessageA(Handle, WM_GETFONT, 0, 0));
  ui::SelectedObject selectedFont(dc, font ? font : GetStockObject(SYSTEM_FONT));
  SIZE zero{};
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  const int y = zero.cy / 2 - 1;
  ui::GdiObject pen(CreatePen(PS_SOLID, 1, ui::ColorToRGB(SkinData->Colours.ButtonShadow)));
  // Two pixels of background over the frame the control drew itself.
  RECT frame{0, y, rect.right, rect.bottom};
  FrameRect(dc, &frame, SkinData->ButtonFaceBrush());
  InflateRect(&frame, -1, -1);
  FrameRect(dc, &frame, SkinData->ButtonFaceBrush());
  {
    ui::SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
    ui::SelectedObject selectedPen(dc, pen.get());
    RoundRect(dc, 1, y, rect.right - 1, rect.bottom - 1, 5, 5);
  }
  const COLORREF background = SetBkColor(dc, ButtonFace());
  SkinDrawText(dc, WideText(Text), RECT{rect.left + 9, rect.top, rect.right, rect.bottom}, DT_EXPANDTABS);
  SetBkColor(dc, background);
}

// ---- TSkinBox ----

void TSkinBox::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool useSkinColour, TCanvas* canvas) {
  auto* control = dynamic_cast<TWinControl*>(Owner());
  if (!control) return;
  UseSkinColour = useSkinColour;
  SkinData = skinData;
  SharedCanvas = canvas;
  Control = control;
  Handle = control->Handle();
  Form = form;
  if (Form) Form->AddSkinControl(this);
  if (UseSkinColour) {
    SavedColour = control->Color();
    control->SetColor(SkinData->Colours.ButtonFace);
  }
}

void TSkinBox::RestoreColor() {
  TSkinControl::RestoreColor();
  State = scColourRestored;
}
