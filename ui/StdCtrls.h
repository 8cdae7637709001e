// Standard controls on the system's window classes, and the label.
#pragma once
#include "Controls.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TBorderStyle { bsNoBorder, bsSingleBorder };

namespace ui {
TAlignment AlignmentFromValue(const TValue& v);
}

class TButton : public TWinControl {
  UI_CLASS(TButton)
 public:
  explicit TButton(TComponent* owner);
  bool Default = false;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void WndProc(TMessage& m) override;
};

class TLabel : public TGraphicControl {
  UI_CLASS(TLabel)
 public:
  explicit TLabel(TComponent* owner);
  bool Transparent = false;
  bool AutoSize = true;
  bool WordWrap = false;
  TAlignment Alignment = taLeftJustify;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void Paint() override;
  void TextChanged() override;
  void FontChanged() override { TextChanged(); }
};

class TCustomEdit : public TWinControl {
  UI_CLASS(TCustomEdit)
 public:
  explicit TCustomEdit(TComponent* owner);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  TBorderStyle BorderStyle = bsSingleBorder;
  TNotifyEvent OnChange;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void WndProc(TMessage& m) override;

 private:
  bool readOnly_ = false;
};

class TEdit : public TCustomEdit {
  UI_CLASS(TEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo : public TCustomEdit {
  UI_CLASS(TCustomMemo)
 public:
  explicit TCustomMemo(TComponent* owner);
  TStringList& Lines();  // follows the window's text
  TScrollStyle ScrollBars = ssNone;
  bool WordWrap = true;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void CreateParams(TCreateParams& p) override;

 private:
  TStringList lines_;
  bool syncing_ = false;
};

class TMemo : public TCustomMemo {
  UI_CLASS(TMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

class TButtonControl : public TWinControl {
  UI_CLASS(TButtonControl)
 public:
  explicit TButtonControl(TComponent* owner);
  bool Checked() const;
  void SetChecked(bool v);
  TAlignment Alignment = taRightJustify;  // text right of the box
  bool SetProp(const std::string& name, const TValue& v) override;
  std::optional<std::string> GetProp(const std::string& name) const override;

 protected:
  void CreateHandle() override;
  void WndProc(TMessage& m) override;
  int state_ = cbUnchecked;
};

class TCustomCheckBox : public TButtonControl {
  UI_CLASS(TCustomCheckBox)
 public:
  using TButtonControl::TButtonControl;
  TCheckBoxState State() const { return static_cast<TCheckBoxState>(Checked() ? (state_ == cbGrayed ? cbGrayed : cbChecked) : cbUnchecked); }
  void SetState(TCheckBoxState s);
  bool AllowGrayed = false;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void CreateParams(TCreateParams& p) override;
};

class TCheckBox : public TCustomCheckBox {
  UI_CLASS(TCheckBox)
 public:
  using TCustomCheckBox::TCustomCheckBox;
};

class TRadioButton : public TButtonControl {
  UI_CLASS(TRadioButton)
 public:
  using TButtonControl::TButtonControl;

 protected:
  void CreateParams(TCreateParams& p) override;
};

class TCustomGroupBox : public TCustomControl {
  UI_CLASS(TCustomGroupBox)
 public:
  explicit TCustomGroupBox(TComponent* owner);

 protected:
  void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
  UI_CLASS(TGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

class TComboBox : public TWinControl {
  UI_CLASS(TComboBox)
 public:
  explicit TComboBox(TComponent* owner);
  TStringList Items;
  int ItemIndex() const;
  void SetItemIndex(int i);
  bool DropDownList = true;  // Style csDropDownList
  TNotifyEvent OnChange;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandle() override;
  void WndProc(TMessage& m) override;

 private:
  void FillItems();
  int itemIndex_ = -1;
};

class TScrollBar : public TWinControl {
  UI_CLASS(TScrollBar)
 public:
  explicit TScrollBar(TComponent* owner);
  enum TScrollBarKind { sbHorizontal, sbVertical } Kind = sbHorizontal;
  int Min = 0, Max = 100, PageSize = 0;
  int Position() const { return position_; }
  void SetPosition(int p);
  TNotifyEvent OnChange;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandle() override;
  void WndProc(TMessage& m) override;

 private:
  void Apply();
  int position_ = 0;
};
