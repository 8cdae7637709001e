// The push button with a glyph.
#pragma once
#include "ExtCtrls.h"

class TBitBtn : public TButton {
  UI_CLASS(TBitBtn)
 public:
  using TButton::TButton;
  TGlyphLayout Glyph;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void WndProc(TMessage& m) override;
};
