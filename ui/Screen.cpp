#include "Screen.h"

#include <algorithm>

#include "Forms.h"

namespace {
TScreen screen;
}
TScreen* Screen = &screen;

void TScreen::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) { forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end()); }

TCustomForm* TScreen::FindForm(HWND h) const {
  if (!h) return nullptr;
  for (TCustomForm* f : forms_)
    if (f->HandleAllocated() && f->Handle() == h) return f;
  return nullptr;
}

TFont& TScreen::MenuFont() {
  if (!menuFontRead_) {
    menuFontRead_ = true;
    NONCLIENTMETRICSA metrics;
    if (ui::NonClientMetrics(metrics)) ui::AssignLogFont(menuFont_, metrics.lfMenuFont);
  }
  return menuFont_;
}

namespace ui {
bool NonClientMetrics(NONCLIENTMETRICSA& metrics) {
  metrics = {};
  metrics.cbSize = sizeof metrics;
  return SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE;
}

void AssignLogFont(TFont& font, const LOGFONTA& lf) {
  font.SetName(lf.lfFaceName);
  font.SetHeight(lf.lfHeight);
  font.SetStyle((lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0) |
                (lf.lfUnderline ? fsUnderline : 0) | (lf.lfStrikeOut ? fsStrikeOut : 0));
}
}  // namespace ui
