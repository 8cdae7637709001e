#include "Unit_Tips.h"

#include <memory>

TForm_Tip* Form_Tip = nullptr;

namespace {

constexpr UINT kCloseMs = 4000;

// The panel's background: a small vertical gradient, stretched over the panel.
std::unique_ptr<TBitmap> ShapeBackground() {
  auto bmp = std::make_unique<TBitmap>(11, 8);
  for (int y = 0; y < bmp->Height(); ++y) {
    uint8_t* row = bmp->ScanLine(y);
    for (int x = 0; x < bmp->Width(); ++x) {  // BGR
      row[x * 3] = static_cast<uint8_t>(250 - y * 4);
      row[x * 3 + 1] = static_cast<uint8_t>(236 - y * 6);
      row[x * 3 + 2] = static_cast<uint8_t>(222 - y * 8);
    }
  }
  return bmp;
}

// The indicator: a blue finger tip on the transparent key colour.
std::unique_ptr<TBitmap> TipIndicator() {
  auto bmp = std::make_unique<TBitmap>(30, 40);
  TCanvas& c = bmp->Canvas();
  c.Brush.Color = clFuchsia;
  c.FillRect(RECT{0, 0, 30, 40});
  c.Brush.Color = static_cast<TColor>(0xC97F55);
  c.Pen.Color = static_cast<TColor>(0x7A4A2A);
  c.Rectangle(9, 14, 21, 38);
  c.Brush.Color = clWhite;
  c.Rectangle(11, 16, 19, 24);
  bmp->TransparentFixed = true;
  bmp->TransparentColor = clFuchsia;
  return bmp;
}

}  // namespace

TForm_Tip::TForm_Tip(TComponent* owner) : TForm(owner) {
  Bind("ImgShapeBG", ImgShapeBG);
  Bind("IMG_TIP", IMG_TIP);
  Bind("LB_Cont", LB_Cont);
  Method("FormCreate", &TForm_Tip::FormCreate);
  Method("FormClose", &TForm_Tip::FormClose);
  Method("FormPaint", &TForm_Tip::FormPaint);
}

void TForm_Tip::FormCreate(TObject*) {
  SetWindowLongPtrA(Application->Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  ImgShapeBG->Picture().SetGraphic(ShapeBackground());
  IMG_TIP->Picture().SetGraphic(TipIndicator());
  // The bottom-right corner, above a taskbar of 30 pixels.
  SetBounds(GetSystemMetrics(SM_CXSCREEN) - Width() - 2, GetSystemMetrics(SM_CYSCREEN) - Height() - 30, Width(),
            Height());
  IMG_TIP->SetBounds(5, (ClientHeight() - IMG_TIP->Height()) / 2, IMG_TIP->Width(), IMG_TIP->Height());
  LB_Cont->SetBounds(50, (ClientHeight() - LB_Cont->Height()) / 2, LB_Cont->Width(), LB_Cont->Height());
}

void TForm_Tip::FormShow(TObject*) {
  closeTimer_.Start(kCloseMs);
  if (!IsWindowVisible(Handle())) {
    // Above the program in front but without taking the foreground from it:
    // the slider's player keys must still reach the player.
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    AnimateWindow(Handle(), 200, AW_SLIDE | AW_VER_NEGATIVE);
    if (!IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOWNA);
  }
  TControl::SetVisible(true);
  Invalidate();
}

void TForm_Tip::TipCloseTimerProc() {
  closeTimer_.Stop();
  Close();
}

void TForm_Tip::FormClose(TObject*, TCloseAction&) { AnimateWindow(Handle(), 1000, AW_BLEND | AW_HIDE); }

void TForm_Tip::FormPaint(TObject*) {
  const RECT r = {5, 5, Width() - 5, Height() - 5};
  TCanvas& c = Canvas();
  c.StretchDraw(r, ImgShapeBG->Picture().Graphic());
  c.Pen.Color = static_cast<TColor>(0xC97F55);
  c.Pen.Width = 1;
  c.Brush.BrushStyle = TBrush::bsClear;
  c.Rectangle(r.left, r.top, r.right, r.bottom);
}
