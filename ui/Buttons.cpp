#include "Buttons.h"

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.Style = (p.Style & ~(BS_PUSHBUTTON | BS_DEFPUSHBUTTON)) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& m) {
  if (m.Msg == CN_BASE + WM_DRAWITEM) {
    const auto& d = *reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    bool down = (d.itemState & ODS_SELECTED) != 0;
    RECT r = d.rcItem;
    DrawFrameControl(d.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    if (down) OffsetRect(&r, 1, 1);
    TCanvas c(d.hDC);
    c.Font.Assign(Font);
    Glyph.Draw(c, r, Caption(), (d.itemState & ODS_DISABLED) ? 1 : down ? 2 : 0);
    if (d.itemState & ODS_FOCUS) {
      RECT f = d.rcItem;
      InflateRect(&f, -4, -4);
      DrawFocusRect(d.hDC, &f);
    }
    m.Result = TRUE;
    return;
  }
  TButton::WndProc(m);
}

bool TBitBtn::SetProp(const std::string& name, const TValue& v) {
  if (Glyph.SetProp(name, v)) Invalidate();
  else return TButton::SetProp(name, v);
  return true;
}
