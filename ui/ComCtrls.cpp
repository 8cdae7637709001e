#include "ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

namespace {
// "a|b|c" -> {"a", "b", "c"}: how stored panels and columns spell their fields.
std::vector<std::string> Fields(const std::string& s, size_t count) {
  std::vector<std::string> f;
  size_t start = 0;
  while (f.size() + 1 < count) {
    size_t bar = s.find('|', start);
    if (bar == std::string::npos) break;
    f.push_back(s.substr(start, bar - start));
    start = bar + 1;
  }
  f.push_back(s.substr(start));
  if (f.size() != count) throw Exception("Invalid item '" + s + "'");
  return f;
}
}  // namespace

// ---- TTrackBar ----

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 45);
  SetParentColor(true);
}

void TTrackBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClass = TRACKBAR_CLASSA;
  p.Style |= (Orientation == trVertical ? TBS_VERT : TBS_HORZ) | (TickStyle == tsNone ? TBS_NOTICKS : TBS_AUTOTICKS);
}

void TTrackBar::CreateHandle() {
  TWinControl::CreateHandle();
  SendMessageA(handle_, TBM_SETRANGEMIN, FALSE, min_);
  SendMessageA(handle_, TBM_SETRANGEMAX, FALSE, max_);
  SendMessageA(handle_, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  if (HandleAllocated()) {
    SendMessageA(handle_, TBM_SETRANGEMIN, FALSE, min_);
    SendMessageA(handle_, TBM_SETRANGEMAX, TRUE, max_);
  }
  SetPosition(position_);
}

void TTrackBar::SetPosition(int p) {
  p = std::clamp(p, min_, max_);
  if (p == position_) return;
  position_ = p;
  if (HandleAllocated()) SendMessageA(handle_, TBM_SETPOS, TRUE, p);
  if (OnChange) OnChange(this);
}

void TTrackBar::WndProc(TMessage& m) {
  if (m.Msg == CN_BASE + WM_HSCROLL || m.Msg == CN_BASE + WM_VSCROLL) {
    SetPosition(static_cast<int>(SendMessageA(handle_, TBM_GETPOS, 0, 0)));
    return;
  }
  TWinControl::WndProc(m);
}

bool TTrackBar::SetProp(const std::string& name, const TValue& v) {
  if (name == "Min") SetRange(v.AsInt(), std::max(v.AsInt(), max_));
  else if (name == "Max") SetRange(min_, v.AsInt());
  else if (name == "Position") SetPosition(v.AsInt());
  else if (name == "Orientation") Orientation = v.AsString() == "trVertical" ? trVertical : trHorizontal;
  else if (name == "TickStyle") TickStyle = v.AsString() == "tsNone" ? tsNone : tsAuto;
  else if (name == "OnChange") SetEvent(OnChange, name, v);
  else return TWinControl::SetProp(name, v);
  return true;
}

// ---- TProgressBar ----

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 17); }

void TProgressBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClass = PROGRESS_CLASSA;
}

void TProgressBar::CreateHandle() {
  TWinControl::CreateHandle();
  SendMessageA(handle_, PBM_SETRANGE32, Min, Max);
  SendMessageA(handle_, PBM_SETPOS, position_, 0);
}

void TProgressBar::SetPosition(int p) {
  position_ = std::clamp(p, Min, std::max(Min, Max));
  if (HandleAllocated()) SendMessageA(handle_, PBM_SETPOS, position_, 0);
}

bool TProgressBar::SetProp(const std::string& name, const TValue& v) {
  if (name == "Min") Min = v.AsInt();
  else if (name == "Max") Max = v.AsInt();
  else if (name == "Position") SetPosition(v.AsInt());
  else return TWinControl::SetProp(name, v);
  return true;
}

// ---- TUpDown ----

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 17, 25); }

void TUpDown::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClass = UPDOWN_CLASSA;
  p.Style |= UDS_ARROWKEYS;
}

void TUpDown::CreateHandle() {
  TWinControl::CreateHandle();
  SendMessageA(handle_, UDM_SETRANGE32, Min, Max);
  SendMessageA(handle_, UDM_SETPOS32, 0, position_);
}

int TUpDown::Position() const {
  return HandleAllocated() ? static_cast<int>(SendMessageA(handle_, UDM_GETPOS32, 0, 0)) : position_;
}

void TUpDown::SetPosition(int p) {
  position_ = std::clamp(p, std::min(Min, Max), std::max(Min, Max));
  if (HandleAllocated()) SendMessageA(handle_, UDM_SETPOS32, 0, position_);
}

void TUpDown::WndProc(TMessage& m) {
  if (m.Msg == CN_BASE + WM_VSCROLL || m.Msg == CN_BASE + WM_HSCROLL) {
    position_ = Position();
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(m);
}

bool TUpDown::SetProp(const std::string& name, const TValue& v) {
  if (name == "Min") Min = v.AsInt();
  else if (name == "Max") Max = v.AsInt();
  else if (name == "Position") SetPosition(v.AsInt());
  else if (name == "OnChange" || name == "OnClick") SetEvent(OnChange, name, v);
  else return TWinControl::SetProp(name, v);
  return true;
}

// ---- TStatusBar ----

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
}

void TStatusBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClass = STATUSCLASSNAMEA;
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | (sizeGrip_ ? SBARS_SIZEGRIP : 0);
}

void TStatusBar::CreateHandle() {
  TWinControl::CreateHandle();
  UpdatePanels();
}

void TStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  SendMessageA(handle_, SB_SIMPLE, SimplePanel, 0);
  if (SimplePanel) {
    SendMessageA(handle_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(SimpleText.c_str()));
    return;
  }
  std::vector<int> edges;
  int x = 0;
  for (const auto& p : Panels) edges.push_back(x += p.Width);
  if (!edges.empty()) edges.back() = -1;  // the last panel takes the rest
  SendMessageA(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (size_t i = 0; i < Panels.size(); ++i) SetPanelText(static_cast<int>(i), Panels[i].Text);
}

void TStatusBar::SetSizeGrip(bool v) {
  if (v == sizeGrip_) return;
  sizeGrip_ = v;
  RecreateWnd();
}

void TStatusBar::SetPanelText(int i, const std::string& text) {
  auto& p = Panels.at(i);
  p.Text = text;
  if (!HandleAllocated()) return;
  // The control aligns by tab characters: one before centres, two right-aligns.
  TAlignment align = p.Alignment;
  if (p.RightToLeft && align != taCenter) align = align == taLeftJustify ? taRightJustify : taLeftJustify;
  std::string shown = (align == taCenter ? "\t" : align == taRightJustify ? "\t\t" : "") + text;
  WPARAM style = (p.Bevel == TStatusPanel::pbNone ? SBT_NOBORDERS : p.Bevel == TStatusPanel::pbRaised ? SBT_POPOUT : 0) |
                 (p.RightToLeft ? SBT_RTLREADING : 0);
  SendMessageA(handle_, SB_SETTEXTA, i | style, reinterpret_cast<LPARAM>(shown.c_str()));
}

bool TStatusBar::SetProp(const std::string& name, const TValue& v) {
  if (name == "Panels") {  // ( 'width|alignment|text' ... )
    Panels.clear();
    for (const auto& item : v.items) {
      auto f = Fields(item, 3);
      TStatusPanel p;
      p.Width = std::stoi(f[0]);
      p.Alignment = ui::AlignmentFromValue(TValue::FromText(f[1]));
      p.Text = f[2];
      Panels.push_back(p);
    }
    UpdatePanels();
  } else if (name == "SimplePanel") { SimplePanel = v.AsBool(); UpdatePanels(); }
  else if (name == "SimpleText") { SimpleText = v.AsText(); UpdatePanels(); }
  else if (name == "SizeGrip") SetSizeGrip(v.AsBool());
  else return TWinControl::SetProp(name, v);
  return true;
}

// ---- TTabSheet / TPageControl ----

TTabSheet::TTabSheet(TComponent* owner) : TCustomControl(owner) {
  TControl::SetVisible(false);
  SetParentColor(true);
}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }

void TTabSheet::SetTabVisible(bool v) {
  tabVisible_ = v;
  if (auto* pc = PageControl()) pc->UpdateTabs();
}

void TTabSheet::TextChanged() {
  TCustomControl::TextChanged();
  if (auto* pc = PageControl()) pc->UpdateTabs();
}

void TTabSheet::ShowingChanged() {
  if (OnShow) OnShow(this);
  TCustomControl::ShowingChanged();
}

bool TTabSheet::SetProp(const std::string& name, const TValue& v) {
  if (name == "TabVisible") SetTabVisible(v.AsBool());
  else if (name == "OnShow") SetEvent(OnShow, name, v);
  else return TCustomControl::SetProp(name, v);
  return true;
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 289, 193);
  SetParentColor(true);
}

void TPageControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClass = WC_TABCONTROLA;
  p.Style |= (FlatButtons ? TCS_BUTTONS | TCS_FLATBUTTONS : 0) | (TabWidth ? TCS_FIXEDWIDTH : 0);
}

void TPageControl::CreateHandle() {
  TWinControl::CreateHandle();
  UpdateTabs();
}

std::vector<TTabSheet*> TPageControl::Sheets() const {
  std::vector<TTabSheet*> sheets;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* page = dynamic_cast<TTabSheet*>(Controls(i))) sheets.push_back(page);
  return sheets;
}

void TPageControl::Loaded() {
  pages_ = Sheets();
  if (!pendingActive_.empty())
    for (TTabSheet* p : pages_)
      if (p->Name == pendingActive_) active_ = p;
  if (!active_ && !pages_.empty()) active_ = pages_.front();
  SetActivePage(active_);
}

void TPageControl::UpdateTabs() {
  pages_ = Sheets();
  if (!HandleAllocated()) return;
  SendMessageA(handle_, TCM_DELETEALLITEMS, 0, 0);
  if (TabWidth || TabHeight) SendMessageA(handle_, TCM_SETITEMSIZE, 0, MAKELPARAM(TabWidth, TabHeight));
  int index = 0;
  for (TTabSheet* p : pages_) {
    if (!p->TabVisible()) continue;
    std::string text = p->Caption();
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = text.data();
    item.lParam = reinterpret_cast<LPARAM>(p);
    SendMessageA(handle_, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
    if (p == active_) SendMessageA(handle_, TCM_SETCURSEL, index, 0);
    ++index;
  }
  PlacePages();
}

void TPageControl::PlacePages() {
  pages_ = Sheets();
  RECT r{0, 0, Width(), Height()};
  if (HandleAllocated()) SendMessageA(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  for (TTabSheet* p : pages_) p->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  pages_ = Sheets();
  if (page && std::find(pages_.begin(), pages_.end(), page) == pages_.end()) return;
  active_ = page;
  for (TTabSheet* p : pages_) p->SetVisible(p == page);
  if (HandleAllocated()) {
    int index = 0;
    for (TTabSheet* p : pages_) {
      if (!p->TabVisible()) continue;
      if (p == page) SendMessageA(handle_, TCM_SETCURSEL, index, 0);
      ++index;
    }
  }
  if (page && page->OnShow) page->OnShow(page);
}

void TPageControl::WndProc(TMessage& m) {
  if (m.Msg == CN_BASE + WM_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
    int sel = static_cast<int>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    if (SendMessageA(handle_, TCM_GETITEMA, sel, reinterpret_cast<LPARAM>(&item)))
      SetActivePage(reinterpret_cast<TTabSheet*>(item.lParam));
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(m);
}

bool TPageControl::SetProp(const std::string& name, const TValue& v) {
  if (name == "ActivePage") pendingActive_ = v.AsString();
  else if (name == "TabWidth") TabWidth = v.AsInt();
  else if (name == "TabHeight") TabHeight = v.AsInt();
  else if (name == "Style") FlatButtons = v.AsString() == "tsFlatButtons";
  else if (name == "OnChange") SetEvent(OnChange, name, v);
  else return TWinControl::SetProp(name, v);
  return true;
}

// ---- TTabSet ----

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 21);
  Tabs.OnChange = [this] { Invalidate(); };
}

std::vector<TTabSet::TShownTab> TTabSet::ShownTabs(TCanvas& canvas) {
  std::vector<TShownTab> shown;
  const int room = Width() - EndMargin;
  int x = StartMargin;
  for (int i = std::max(FirstIndex, 0); i < Tabs.Count(); ++i) {
    const int w = canvas.TextWidth(Tabs[i]) + 9;
    if (x + w > room) continue;
    shown.push_back({i, RECT{x, 0, x + w, Height()}});
    x += w;
  }
  return shown;
}

int TTabSet::TabAt(int x) {
  ui::WindowDC dc;
  TCanvas c(dc.get());
  c.Font.Assign(Font);
  for (const TShownTab& tab : ShownTabs(c))
    if (x >= tab.Rect.left && x < tab.Rect.right) return tab.Index;
  return -1;
}

void TTabSet::Paint() {
  TCanvas& c = Canvas();
  for (const auto& [i, tab] : ShownTabs(c)) {
    RECT r{tab.left, i == tabIndex_ ? 0 : 2, tab.right, Height() - 2};
    DrawEdge(c.Handle(), &r, EDGE_RAISED, BF_LEFT | BF_RIGHT | BF_BOTTOM);
    c.TextRect(r, Tabs[i], DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

void TTabSet::SetTabIndex(int i) {
  if (i < -1 || i >= Tabs.Count() || i == tabIndex_) return;
  tabIndex_ = i;
  Invalidate();
  if (OnChange) OnChange(this);
}

void TTabSet::WndProc(TMessage& m) {
  // A click beside the tabs changes nothing.
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK)
    if (const int i = TabAt(static_cast<short>(LOWORD(m.LParam))); i >= 0) SetTabIndex(i);
  TCustomControl::WndProc(m);
}

bool TTabSet::SetProp(const std::string& name, const TValue& v) {
  if (name == "Tabs") Tabs.Assign(v.items);
  else if (name == "TabIndex") SetTabIndex(v.AsInt());
  else if (name == "StartMargin") StartMargin = v.AsInt();
  else if (name == "EndMargin") EndMargin = v.AsInt();
  else if (name == "FirstIndex") FirstIndex = v.AsInt();
  else if (name == "OnChange") SetEvent(OnChange, name, v);
  else return TCustomControl::SetProp(name, v);
  return true;
}

// ---- TListView ----

TListView::TListView(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 250, 150);
  SetColor(clWindow);
}

void TListView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClass = WC_LISTVIEWA;
  p.Style |= LVS_REPORT | LVS_SHOWSELALWAYS;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateHandle() {
  TWinControl::CreateHandle();
  for (size_t i = 0; i < Columns.size(); ++i) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = Columns[i].Width;
    col.pszText = Columns[i].Caption.data();
    SendMessageA(handle_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
  }
}

int TListView::AddItem(const std::string& caption, const std::vector<std::string>& subItems) {
  HWND h = Handle();
  std::string text = caption;
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = ItemCount();
  item.pszText = text.data();
  int index = static_cast<int>(SendMessageA(h, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  for (size_t i = 0; i < subItems.size(); ++i) {
    std::string sub = subItems[i];
    LVITEMA s{};
    s.iSubItem = static_cast<int>(i + 1);
    s.pszText = sub.data();
    SendMessageA(h, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&s));
  }
  return index;
}

int TListView::ItemCount() const {
  return HandleAllocated() ? static_cast<int>(SendMessageA(handle_, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string TListView::ItemText(int item, int column) const {
  char buf[512] = "";
  LVITEMA s{};
  s.iSubItem = column;
  s.pszText = buf;
  s.cchTextMax = sizeof buf;
  if (HandleAllocated()) SendMessageA(handle_, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&s));
  return buf;
}

bool TListView::SetProp(const std::string& name, const TValue& v) {
  if (name == "Columns") {  // ( 'width|caption' ... )
    Columns.clear();
    for (const auto& item : v.items) {
      auto f = Fields(item, 2);
      Columns.push_back(TColumn{f[1], std::stoi(f[0])});
    }
  } else if (name == "ViewStyle") {}  // always report style
  else return TWinControl::SetProp(name, v);
  return true;
}
