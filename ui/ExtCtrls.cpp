#include "ExtCtrls.h"

#include <algorithm>

#include "Forms.h"
#include "Streams.h"

// ---- TPanel ----

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 41); }

void TCustomPanel::Paint() {
  RECT r = ClientRect();
  if (BevelOuter != bvNone) DrawEdge(Canvas().Handle(), &r, BevelOuter == bvRaised ? BDR_RAISEDOUTER : BDR_SUNKENOUTER, BF_RECT);
  Canvas().TextRect(r, text_, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

bool TCustomPanel::SetProp(const std::string& name, const TValue& v) {
  if (name == "BevelOuter") {
    const std::string s = v.AsString();
    BevelOuter = s == "bvNone" ? bvNone : s == "bvLowered" ? bvLowered : bvRaised;
    Invalidate();
  } else return TCustomControl::SetProp(name, v);
  return true;
}

// ---- TImage ----

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  clickEvents_ = true;
  SetBounds(0, 0, 105, 105);
  picture_.OnChange = [this] { Invalidate(); };
}

void TImage::Paint() {
  TGraphic* g = picture_.Graphic();
  if (!g || g->Empty()) return;
  g->Transparent = Transparent;
  RECT r = ClientRect();
  if (!Stretch) {
    int x = Center ? (r.right - g->Width()) / 2 : 0, y = Center ? (r.bottom - g->Height()) / 2 : 0;
    r = RECT{x, y, x + g->Width(), y + g->Height()};
  }
  Canvas().StretchDraw(r, g);
}

bool TImage::SetProp(const std::string& name, const TValue& v) {
  if (name == "Stretch") Stretch = v.AsBool();
  else if (name == "Center") Center = v.AsBool();
  else if (name == "Transparent") Transparent = v.AsBool();
  else return TGraphicControl::SetProp(name, v);
  Invalidate();
  return true;
}

bool TImage::ReadBinaryProperty(const std::string& name, TMemoryStream& data) {
  if (name != "Picture.Data") return false;
  picture_.LoadFromStream(data);
  return true;
}

// ---- TRadioGroup ----

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {
  Items.OnChange = [this] { UpdateButtons(); };
}

void TCustomRadioGroup::UpdateButtons() {
  while (static_cast<int>(buttons_.size()) > Items.Count()) {
    delete buttons_.back();
    buttons_.pop_back();
  }
  while (static_cast<int>(buttons_.size()) < Items.Count()) {
    auto* b = new TRadioButton(this);
    b->OnClick = [this, b](TObject*) {
      if (!b->Checked()) return;
      auto it = std::find(buttons_.begin(), buttons_.end(), b);
      itemIndex_ = static_cast<int>(it - buttons_.begin());
      if (OnClick) OnClick(this);
    };
    b->SetParent(this);
    buttons_.push_back(b);
  }
  for (int i = 0; i < Items.Count(); ++i) buttons_[i]->SetCaption(Items[i]);
  if (itemIndex_ >= Items.Count()) itemIndex_ = -1;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  int top = 16, step = std::max(17, (Height() - top - 4) / static_cast<int>(buttons_.size()));
  for (size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i]->SetBounds(8, top + static_cast<int>(i) * step, std::max(Width() - 16, 0), 17);
}

void TCustomRadioGroup::SetItemIndex(int i) {
  if (i < -1 || i >= Items.Count()) i = -1;
  itemIndex_ = i;
  for (int k = 0; k < static_cast<int>(buttons_.size()); ++k) {
    TNotifyEvent keep = std::move(buttons_[k]->OnClick);
    buttons_[k]->OnClick = nullptr;
    buttons_[k]->SetChecked(k == i);
    buttons_[k]->OnClick = std::move(keep);
  }
}

bool TCustomRadioGroup::SetProp(const std::string& name, const TValue& v) {
  if (name == "Items") Items.Assign(v.items);
  else if (name == "ItemIndex") SetItemIndex(v.AsInt());
  else return TCustomGroupBox::SetProp(name, v);
  return true;
}

// ---- glyph buttons ----

bool TGlyphLayout::SetProp(const std::string& name, const TValue& v) {
  if (name == "Glyph") {
    TMemoryStream s(v.bytes);
    Glyph.LoadFromStream(s);
  } else if (name == "NumGlyphs") NumGlyphs = std::clamp(v.AsInt(), 1, 4);
  else if (name == "Margin") Margin = v.AsInt();
  else if (name == "Spacing") Spacing = v.AsInt();
  else if (name == "Layout") {
    const std::string s = v.AsString();
    Layout = s == "blGlyphRight" ? blGlyphRight : s == "blGlyphTop" ? blGlyphTop : s == "blGlyphBottom" ? blGlyphBottom : blGlyphLeft;
  } else return false;
  return true;
}

void TGlyphLayout::Draw(TCanvas& c, RECT r, const std::string& caption, int frame) {
  int gw = Glyph.Empty() ? 0 : Glyph.Width() / NumGlyphs, gh = Glyph.Height();
  int tw = caption.empty() ? 0 : c.TextWidth(caption), th = c.TextHeight(caption);
  bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  int gap = gw && tw ? Spacing : 0;
  int total = horizontal ? gw + gap + tw : gh + gap + th;
  int extent = horizontal ? r.right - r.left : r.bottom - r.top;
  int start = Margin >= 0 ? Margin : (extent - total) / 2;
  int gx, gy, tx, ty;
  if (horizontal) {
    gy = r.top + (r.bottom - r.top - gh) / 2;
    ty = r.top + (r.bottom - r.top - th) / 2;
    gx = Layout == blGlyphLeft ? r.left + start : r.right - start - gw;
    tx = Layout == blGlyphLeft ? gx + gw + gap : gx - gap - tw;
  } else {
    gx = r.left + (r.right - r.left - gw) / 2;
    tx = r.left + (r.right - r.left - tw) / 2;
    gy = Layout == blGlyphTop ? r.top + start : r.bottom - start - gh;
    ty = Layout == blGlyphTop ? gy + gh + gap : gy - gap - th;
  }
  if (gw) {
    int f = std::min(frame, NumGlyphs - 1);
    Glyph.Transparent = true;
    TransparentBlt(c.Handle(), gx, gy, gw, gh, Glyph.Canvas().Handle(), f * gw, 0, gw, gh, ui::ColorToRGB(Glyph.KeyColor()));
  }
  if (tw) c.TextOut(tx, ty, caption);
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetDown(bool v) {
  down_ = v;
  Invalidate();
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Enabled()) pressed_ = true;
      Invalidate();
      break;
    case WM_LBUTTONUP: {
      bool was = pressed_;
      pressed_ = false;
      POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      RECT r = ClientRect();
      Invalidate();
      if (was && PtInRect(&r, p)) {
        if (GroupIndex) down_ = !down_;
        Click();
      }
      break;
    }
    case CM_MOUSEENTER: hot_ = true; Invalidate(); break;
    case CM_MOUSELEAVE: hot_ = false; Invalidate(); break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
  RECT r = ClientRect();
  bool sunk = pressed_ || down_;
  if (!Flat || hot_ || sunk) DrawFrameControl(Canvas().Handle(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | (sunk ? DFCS_PUSHED : 0));
  if (sunk) OffsetRect(&r, 1, 1);
  Glyph.Draw(Canvas(), r, text_, !Enabled() ? 1 : sunk ? 2 : 0);
}

bool TSpeedButton::SetProp(const std::string& name, const TValue& v) {
  if (Glyph.SetProp(name, v)) {}
  else if (name == "Flat") Flat = v.AsBool();
  else if (name == "Down") down_ = v.AsBool();
  else if (name == "GroupIndex") GroupIndex = v.AsInt();
  else return TGraphicControl::SetProp(name, v);
  Invalidate();
  return true;
}

std::optional<std::string> TSpeedButton::GetProp(const std::string& name) const {
  if (name == "Flat") return std::string(Flat ? "True" : "False");
  if (name == "Down") return std::string(down_ ? "True" : "False");
  return TGraphicControl::GetProp(name);
}

// ---- TTimer ----

TTimer::TTimer(TComponent* owner) : TComponent(owner) { Update(); }

TTimer::~TTimer() {
  enabled_ = false;
  Update();
}

void CALLBACK TTimer::Proc(HWND, UINT, UINT_PTR id, DWORD) {
  if (!Application) return;
  auto it = Application->Timers.find(id);
  if (it == Application->Timers.end()) return;
  TTimer* t = it->second;
  if (t->OnTimer) ui::Guard(t, [t] { t->OnTimer(t); });
}

void TTimer::Update() {
  if (id_) {
    KillTimer(nullptr, id_);
    if (Application) Application->Timers.erase(id_);
    id_ = 0;
  }
  if (enabled_ && interval_ && !Destroying() && Application) {
    id_ = SetTimer(nullptr, 0, interval_, Proc);
    if (id_) Application->Timers[id_] = this;
  }
}

void TTimer::SetEnabled(bool v) {
  enabled_ = v;
  Update();
}

void TTimer::SetInterval(UINT ms) {
  interval_ = ms;
  Update();
}

bool TTimer::SetProp(const std::string& name, const TValue& v) {
  if (name == "Enabled") SetEnabled(v.AsBool());
  else if (name == "Interval") SetInterval(static_cast<UINT>(v.AsInt()));
  else if (name == "OnTimer") SetEvent(OnTimer, name, v);
  else return TComponent::SetProp(name, v);
  return true;
}
