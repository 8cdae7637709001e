// The screen object: the application's forms and the platform's menu font.
#pragma once
#include <windows.h>

#include <vector>

#include "Graphics.h"

class TCustomForm;

class TScreen {
 public:
  // Forms in creation order; each form adds itself when made and leaves when freed.
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int i) const { return forms_.at(static_cast<size_t>(i)); }
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  // The form whose window is h; never creates a window to compare.
  TCustomForm* FindForm(HWND h) const;
  // The platform's menu font, read once.
  TFont& MenuFont();

 private:
  std::vector<TCustomForm*> forms_;
  TFont menuFont_;
  bool menuFontRead_ = false;
};

extern TScreen* Screen;

namespace ui {
// SPI_GETNONCLIENTMETRICS with the record's own size; false when it fails.
bool NonClientMetrics(NONCLIENTMETRICSA& metrics);
void AssignLogFont(TFont& font, const LOGFONTA& lf);
}  // namespace ui
