// Panels, pictures, radio groups, speed buttons and timers.
#pragma once
#include "StdCtrls.h"

class TCustomPanel : public TCustomControl {
  UI_CLASS(TCustomPanel)
 public:
  explicit TCustomPanel(TComponent* owner);
  enum TBevelCut { bvNone, bvLowered, bvRaised } BevelOuter = bvRaised;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void Paint() override;
};

class TPanel : public TCustomPanel {
  UI_CLASS(TPanel)
 public:
  using TCustomPanel::TCustomPanel;
};

class TImage : public TGraphicControl {
  UI_CLASS(TImage)
 public:
  explicit TImage(TComponent* owner);
  TPicture& Picture() { return picture_; }
  bool Stretch = false, Center = false, Transparent = false;
  bool SetProp(const std::string& name, const TValue& v) override;
  // "Picture.Data": a BMP or PNG file's bytes stored with the form.
  bool ReadBinaryProperty(const std::string& name, TMemoryStream& data) override;

 protected:
  void Paint() override;

 private:
  TPicture picture_;
};

// A group box whose items are real radio-button child controls.
class TCustomRadioGroup : public TCustomGroupBox {
  UI_CLASS(TCustomRadioGroup)
 public:
  explicit TCustomRadioGroup(TComponent* owner);
  TStringList Items;
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int i);
  TRadioButton* Buttons(int i) const { return buttons_.at(i); }
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void BoundsChanged() override { ArrangeButtons(); }

 private:
  void UpdateButtons();
  void ArrangeButtons();
  std::vector<TRadioButton*> buttons_;
  int itemIndex_ = -1;
};

class TRadioGroup : public TCustomRadioGroup {
  UI_CLASS(TRadioGroup)
 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Glyph and caption placement shared by the glyph buttons.
struct TGlyphLayout {
  TBitmap Glyph;
  int NumGlyphs = 1;
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1, Spacing = 4;
  bool SetProp(const std::string& name, const TValue& v);  // Glyph, NumGlyphs, Layout, Margin, Spacing
  // Draws glyph frame (0 up, 1 disabled, 2 down) and caption centred in r.
  void Draw(TCanvas& c, RECT r, const std::string& caption, int frame);
};

class TSpeedButton : public TGraphicControl {
  UI_CLASS(TSpeedButton)
 public:
  explicit TSpeedButton(TComponent* owner);
  TGlyphLayout Glyph;
  bool Flat = false;
  int GroupIndex = 0;
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool SetProp(const std::string& name, const TValue& v) override;
  std::optional<std::string> GetProp(const std::string& name) const override;

 protected:
  void WndProc(TMessage& m) override;
  void Paint() override;

 private:
  bool down_ = false, pressed_ = false, hot_ = false;
};

class TTimer : public TComponent {
  UI_CLASS(TTimer)
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  UINT Interval() const { return interval_; }
  void SetInterval(UINT ms);
  TNotifyEvent OnTimer;
  bool SetProp(const std::string& name, const TValue& v) override;

 private:
  void Update();
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD);
  bool enabled_ = true;
  UINT interval_ = 1000;
  UINT_PTR id_ = 0;
};
