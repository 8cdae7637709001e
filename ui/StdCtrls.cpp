#include "StdCtrls.h"

#include <algorithm>

namespace ui {
TAlignment AlignmentFromValue(const TValue& v) {
  const std::string s = v.AsString();
  if (s == "taLeftJustify") return taLeftJustify;
  if (s == "taRightJustify") return taRightJustify;
  if (s == "taCenter") return taCenter;
  throw Exception("Invalid Alignment " + s);
}
}  // namespace ui

// ---- TButton ----

TButton::TButton(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClass = "BUTTON";
  p.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CN_BASE + WM_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  TWinControl::WndProc(m);
}

bool TButton::SetProp(const std::string& name, const TValue& v) {
  if (name == "Default") Default = v.AsBool();
  else return TWinControl::SetProp(name, v);
  return true;
}

// ---- TLabel ----

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  clickEvents_ = true;
  SetBounds(0, 0, 65, 13);
}

void TLabel::TextChanged() {
  if (AutoSize && !WordWrap) {
    ui::WindowDC dc;
    TCanvas c(dc.get());
    c.Font.Assign(Font);
    std::string t = text_.empty() ? " " : text_;
    TControl::SetBounds(Left(), Top(), c.TextWidth(t), c.TextHeight(t));
  }
  Invalidate();
}

void TLabel::Paint() {
  RECT r = ClientRect();
  if (!Transparent) {
    Canvas().Brush.Color = Color();
    Canvas().FillRect(r);
  }
  UINT format = (WordWrap ? DT_WORDBREAK : DT_SINGLELINE) | DT_NOPREFIX |
                (Alignment == taCenter ? DT_CENTER : Alignment == taRightJustify ? DT_RIGHT : DT_LEFT);
  if (!Enabled()) Canvas().Font.SetColor(clSystemColor | COLOR_GRAYTEXT);
  Canvas().TextRect(r, text_, format);
}

bool TLabel::SetProp(const std::string& name, const TValue& v) {
  if (name == "Transparent") { Transparent = v.AsBool(); Invalidate(); }
  else if (name == "AutoSize") { AutoSize = v.AsBool(); TextChanged(); }
  else if (name == "WordWrap") WordWrap = v.AsBool();
  else if (name == "Alignment") Alignment = ui::AlignmentFromValue(v);
  else return TGraphicControl::SetProp(name, v);
  return true;
}

// ---- TCustomEdit / TCustomMemo ----

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClass = "EDIT";
  p.Style |= ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
  if (BorderStyle == bsSingleBorder) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (HandleAllocated()) SendMessageA(handle_, EM_SETREADONLY, v, 0);
}

void TCustomEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_BASE + WM_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(m);
}

bool TCustomEdit::SetProp(const std::string& name, const TValue& v) {
  if (name == "ReadOnly") SetReadOnly(v.AsBool());
  else if (name == "BorderStyle") BorderStyle = v.AsString() == "bsNone" ? bsNoBorder : bsSingleBorder;
  else if (name == "OnChange") SetEvent(OnChange, name, v);
  else return TWinControl::SetProp(name, v);
  return true;
}

namespace {
// The lines as the edit control holds them: no line break after the last one.
std::string JoinLines(const TStringList& l) {
  std::string t = l.Text();
  return t.empty() ? t : t.substr(0, t.size() - 2);
}
}  // namespace

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
  SetBounds(0, 0, 185, 89);
  lines_.OnChange = [this] {
    if (!syncing_) SetText(JoinLines(lines_));
  };
}

TStringList& TCustomMemo::Lines() {
  syncing_ = true;
  std::string t = GetText();
  if (t != JoinLines(lines_)) lines_.SetText(t);
  syncing_ = false;
  return lines_;
}

void TCustomMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style &= ~ES_AUTOHSCROLL;
  p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | (WordWrap ? 0 : ES_AUTOHSCROLL);
  if (ScrollBars == ssVertical || ScrollBars == ssBoth) p.Style |= WS_VSCROLL;
  if (ScrollBars == ssHorizontal || ScrollBars == ssBoth) p.Style |= WS_HSCROLL;
}

bool TCustomMemo::SetProp(const std::string& name, const TValue& v) {
  if (name == "Lines") {
    syncing_ = true;
    lines_.Assign(v.items);
    syncing_ = false;
    SetText(JoinLines(lines_));
  } else if (name == "ScrollBars") {
    const std::string s = v.AsString();
    ScrollBars = s == "ssVertical" ? ssVertical : s == "ssHorizontal" ? ssHorizontal : s == "ssBoth" ? ssBoth : ssNone;
  } else if (name == "WordWrap") WordWrap = v.AsBool();
  else return TCustomEdit::SetProp(name, v);
  return true;
}

// ---- check boxes and radio buttons ----

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetParentColor(true);
}

bool TButtonControl::Checked() const {
  if (handle_) return SendMessageA(handle_, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
  return state_ != cbUnchecked;
}

void TButtonControl::SetChecked(bool v) {
  if (Checked() == v && state_ != cbGrayed) return;
  state_ = v ? cbChecked : cbUnchecked;
  if (handle_) SendMessageA(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  Click();  // a change by code reports like one by the user
}

void TButtonControl::CreateHandle() {
  TWinControl::CreateHandle();
  SendMessageA(handle_, BM_SETCHECK, state_ == cbGrayed ? BST_INDETERMINATE : state_ == cbChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TButtonControl::WndProc(TMessage& m) {
  if (m.Msg == CN_BASE + WM_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    state_ = static_cast<int>(SendMessageA(handle_, BM_GETCHECK, 0, 0));
    Click();
    return;
  }
  TWinControl::WndProc(m);
}

bool TButtonControl::SetProp(const std::string& name, const TValue& v) {
  if (name == "Checked") SetChecked(v.AsBool());
  else if (name == "Alignment") Alignment = ui::AlignmentFromValue(v);
  else return TWinControl::SetProp(name, v);
  return true;
}

std::optional<std::string> TButtonControl::GetProp(const std::string& name) const {
  if (name == "Checked") return std::string(Checked() ? "True" : "False");
  return TWinControl::GetProp(name);
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClass = "BUTTON";
  p.Style |= (AllowGrayed ? BS_AUTO3STATE : BS_AUTOCHECKBOX) | (Alignment == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCustomCheckBox::SetState(TCheckBoxState s) {
  state_ = s;
  if (handle_) SendMessageA(handle_, BM_SETCHECK, s == cbGrayed ? BST_INDETERMINATE : s == cbChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCustomCheckBox::SetProp(const std::string& name, const TValue& v) {
  if (name == "AllowGrayed") AllowGrayed = v.AsBool();
  else if (name == "State") {
    const std::string s = v.AsString();
    SetState(s == "cbChecked" ? cbChecked : s == "cbGrayed" ? cbGrayed : cbUnchecked);
  } else return TButtonControl::SetProp(name, v);
  return true;
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClass = "BUTTON";
  p.Style |= BS_AUTORADIOBUTTON | (Alignment == taLeftJustify ? BS_LEFTTEXT : 0);
}

// ---- TGroupBox ----

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 105);
  SetParentColor(true);
}

// The two-pixel frame lies on rows h div 2 - 1 and h div 2 (h: the height of
// "0"), the caption at x 9: where a skinned group box draws its own.
void TCustomGroupBox::Paint() {
  TCanvas& c = Canvas();
  const int h = c.TextHeight("0");
  RECT r = ClientRect();
  r.top = h / 2 - 1;
  DrawEdge(c.Handle(), &r, EDGE_ETCHED, BF_RECT);
  if (!text_.empty()) {
    c.Brush.Color = Color();
    c.FillRect(RECT{7, 0, 9 + c.TextWidth(text_) + 2, h});
    c.TextOut(9, 0, text_);
  }
}

// ---- TComboBox ----

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 145, 21);
  SetColor(clWindow);
  Items.OnChange = [this] { FillItems(); };
}

void TComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClass = "COMBOBOX";
  p.Style |= WS_VSCROLL | (DropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
}

void TComboBox::CreateHandle() {
  TWinControl::CreateHandle();
  // The height of a combo box window includes its drop-down list.
  SetWindowPos(handle_, nullptr, 0, 0, Width(), Height() + 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FillItems();
}

void TComboBox::FillItems() {
  if (!HandleAllocated()) return;
  SendMessageA(handle_, CB_RESETCONTENT, 0, 0);
  for (const auto& s : Items.Lines()) SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  SendMessageA(handle_, CB_SETCURSEL, itemIndex_, 0);
}

int TComboBox::ItemIndex() const {
  return handle_ ? static_cast<int>(SendMessageA(handle_, CB_GETCURSEL, 0, 0)) : itemIndex_;
}

void TComboBox::SetItemIndex(int i) {
  itemIndex_ = i < Items.Count() ? i : -1;
  if (handle_) SendMessageA(handle_, CB_SETCURSEL, itemIndex_, 0);
}

void TComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_BASE + WM_COMMAND && HIWORD(m.WParam) == CBN_SELCHANGE) {
    itemIndex_ = ItemIndex();
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(m);
}

bool TComboBox::SetProp(const std::string& name, const TValue& v) {
  if (name == "Items") Items.Assign(v.items);
  else if (name == "ItemIndex") SetItemIndex(v.AsInt());
  else if (name == "Style") DropDownList = v.AsString() == "csDropDownList";
  else if (name == "OnChange") SetEvent(OnChange, name, v);
  else return TWinControl::SetProp(name, v);
  return true;
}

// ---- TScrollBar ----

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 121, 17); }

void TScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClass = "SCROLLBAR";
  p.Style |= Kind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateHandle() {
  TWinControl::CreateHandle();
  Apply();
}

void TScrollBar::Apply() {
  if (!HandleAllocated()) return;
  SCROLLINFO si{sizeof si, SIF_ALL, Min, Max, static_cast<UINT>(PageSize), position_, 0};
  SetScrollInfo(handle_, SB_CTL, &si, TRUE);
}

void TScrollBar::SetPosition(int p) {
  p = std::clamp(p, Min, std::max(Min, Max - std::max(PageSize - 1, 0)));
  if (p == position_) return;
  position_ = p;
  Apply();
  if (OnChange) OnChange(this);
}

void TScrollBar::WndProc(TMessage& m) {
  if (m.Msg == CN_BASE + WM_HSCROLL || m.Msg == CN_BASE + WM_VSCROLL) {
    SetPosition(ui::ScrollPosition(LOWORD(m.WParam), position_, HIWORD(m.WParam), Min, Max, PageSize, 1));
    return;
  }
  TWinControl::WndProc(m);
}

bool TScrollBar::SetProp(const std::string& name, const TValue& v) {
  if (name == "Kind") Kind = v.AsString() == "sbVertical" ? sbVertical : sbHorizontal;
  else if (name == "Min") { Min = v.AsInt(); Apply(); }
  else if (name == "Max") { Max = v.AsInt(); Apply(); }
  else if (name == "PageSize") { PageSize = v.AsInt(); Apply(); }
  else if (name == "Position") SetPosition(v.AsInt());
  else if (name == "OnChange") SetEvent(OnChange, name, v);
  else return TWinControl::SetProp(name, v);
  return true;
}
