#include "Menus.h"

#include <algorithm>

#include "Forms.h"

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
  if (Application) command_ = Application->AddMenuCommand(this);
}

TMenuItem::~TMenuItem() {
  if (Application && command_) Application->RemoveMenuCommand(command_);
  for (TMenuItem* i : items_) i->parent_ = nullptr;
  if (parent_) parent_->Remove(this);
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->parent_) item->parent_->Remove(item);
  items_.push_back(item);
  item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  if (item->parent_ == this) item->parent_ = nullptr;
}

bool TMenuItem::AcceptChild(TComponent* c) {
  auto* item = dynamic_cast<TMenuItem*>(c);
  if (item) Add(item);
  return item != nullptr;
}

void TMenuItem::Click() {
  if (Enabled && OnClick) OnClick(this);
}

bool TMenuItem::DrawItem(const DRAWITEMSTRUCT& d) {
  if (!OnDrawItem) return false;
  TCanvas canvas(d.hDC);
  OnDrawItem(this, &canvas, d.rcItem, (d.itemState & ODS_SELECTED) != 0);
  return true;
}

bool TMenuItem::MeasureItem(MEASUREITEMSTRUCT& m) {
  if (!OnMeasureItem) return false;
  ui::WindowDC dc;
  TCanvas canvas(dc.get());
  int w = static_cast<int>(m.itemWidth), h = static_cast<int>(m.itemHeight);
  OnMeasureItem(this, &canvas, w, h);
  m.itemWidth = w;
  m.itemHeight = h;
  return true;
}

void TMenuItem::AppendTo(HMENU menu) {
  if (!Visible) return;
  UINT flags = (Enabled ? MF_ENABLED : MF_GRAYED) | (Checked ? MF_CHECKED : 0);
  if (Caption == "-") flags |= MF_SEPARATOR;
  if (OwnerDraw) flags |= MF_OWNERDRAW;
  if (items_.empty()) {
    AppendMenuA(menu, flags, command_, OwnerDraw ? reinterpret_cast<LPCSTR>(this) : Caption.c_str());
    return;
  }
  HMENU sub = CreatePopupMenu();  // owned by menu from here on
  for (TMenuItem* i : items_) {
    i->OwnerDraw = OwnerDraw;
    i->AppendTo(sub);
  }
  AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), Caption.c_str());
}

bool TMenuItem::SetProp(const std::string& name, const TValue& v) {
  if (name == "Caption") Caption = v.AsString();
  else if (name == "Enabled") Enabled = v.AsBool();
  else if (name == "Visible") Visible = v.AsBool();
  else if (name == "Checked") Checked = v.AsBool();
  else if (name == "OnClick") SetEvent(OnClick, name, v);
  else if (name == "OnDrawItem") SetEvent(OnDrawItem, name, v);
  else if (name == "OnMeasureItem") SetEvent(OnMeasureItem, name, v);
  else return TComponent::SetProp(name, v);
  return true;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner) {}

TMenu::~TMenu() {
  if (menu_) DestroyMenu(menu_);
}

HMENU TMenu::Handle() {
  if (menu_) DestroyMenu(menu_);
  menu_ = NewMenu();
  for (int i = 0; i < items_.Count(); ++i) {
    items_.Items(i)->OwnerDraw = OwnerDraw;
    items_.Items(i)->AppendTo(menu_);
  }
  return menu_;
}

bool TMenu::SetProp(const std::string& name, const TValue& v) {
  if (name == "OwnerDraw") OwnerDraw = v.AsBool();
  else return TComponent::SetProp(name, v);
  return true;
}

void TPopupMenu::Popup(int x, int y) {
  HWND owner = Application ? Application->Handle() : nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(Owner())) owner = w->Handle();
  UINT cmd = TrackPopupMenu(Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
  if (cmd && Application) Application->DispatchCommand(cmd);
}
