#include "Menus.h"

#include <algorithm>

#include "Forms.h"
#include "Screen.h"

namespace ui {
std::string ShortCutToText(TShortCut shortCut) {
  static const struct {
    BYTE vk;
    const char* name;
  } names[] = {{VK_BACK, "BkSp"},  {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},  {VK_SPACE, "Space"},
               {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},   {VK_END, "End"},      {VK_HOME, "Home"},   {VK_LEFT, "Left"},
               {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"},  {VK_DELETE, "Del"}};
  const BYTE vk = LOBYTE(shortCut);
  std::string key;
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) key = std::string(1, static_cast<char>(vk));
  else if (vk >= VK_F1 && vk <= VK_F24) key = "F" + std::to_string(vk - VK_F1 + 1);
  for (const auto& n : names)
    if (n.vk == vk) key = n.name;
  if (key.empty()) return "";
  return std::string(shortCut & scShift ? "Shift+" : "") + (shortCut & scCtrl ? "Ctrl+" : "") +
         (shortCut & scAlt ? "Alt+" : "") + key;
}

bool IsAccel(UINT ch, const std::string& caption) {
  // CharUpperA takes a single character in the low word of its argument.
  auto upper = [](UINT c) { return reinterpret_cast<UINT_PTR>(CharUpperA(MAKEINTRESOURCEA(c & 0xFF))); };
  for (size_t i = caption.find('&'); i != std::string::npos && i + 1 < caption.size(); i = caption.find('&', i + 2))
    if (caption[i + 1] != '&') return upper(static_cast<BYTE>(caption[i + 1])) == upper(ch);  // "&&" is a plain '&'
  return false;
}
}  // namespace ui

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
  if (Application) command_ = Application->AddMenuCommand(this);
}

TMenuItem::~TMenuItem() {
  if (Application && command_) Application->RemoveMenuCommand(command_);
  for (TMenuItem* i : items_) i->parent_ = nullptr;
  if (parent_) parent_->Remove(this);
  if (handle_) {
    // The sub-menus belong to their own items.
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
    DestroyMenu(handle_);
  }
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->parent_) item->parent_->Remove(item);
  items_.push_back(item);
  item->parent_ = this;
  MenuChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  if (item->parent_ == this) item->parent_ = nullptr;
  MenuChanged();
}

bool TMenuItem::AcceptChild(TComponent* c) {
  auto* item = dynamic_cast<TMenuItem*>(c);
  if (item) Add(item);
  return item != nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

void TMenuItem::MenuChanged() {
  TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  TMenu* menu = root->menu_;
  if (Destroying() || (menu && menu->Destroying())) return;  // its form is going too
  if (root->handle_) root->Handle();
  if (menu) menu->Changed();
}

HMENU TMenuItem::Handle() {
  if (!handle_) handle_ = menu_ ? menu_->NewMenu() : CreatePopupMenu();
  // Taken out, not destroyed: the sub-menus stay with their items.
  while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  for (TMenuItem* i : items_) i->AppendTo(handle_);
  return handle_;
}

void TMenuItem::AppendTo(HMENU menu) {
  if (!Visible) return;
  TMenu* owner = GetParentMenu();
  OwnerDraw = owner && owner->OwnerDraw;
  std::string text = Caption;
  if (ShortCut && !OwnerDraw) text += "\t" + ui::ShortCutToText(ShortCut);
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING | (items_.empty() ? 0 : MIIM_SUBMENU);
  mii.fType = (Caption == "-" ? MFT_SEPARATOR : 0) | (OwnerDraw ? MFT_OWNERDRAW : 0) |
              (owner && owner->RightToLeft ? MFT_RIGHTORDER | MFT_RIGHTJUSTIFY : 0);
  mii.fState = (Enabled ? 0 : MFS_GRAYED) | (Checked ? MFS_CHECKED : 0) | (Default ? MFS_DEFAULT : 0);
  mii.wID = command_;
  mii.hSubMenu = items_.empty() ? nullptr : Handle();
  mii.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  mii.dwTypeData = text.data();
  InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &mii);
}

TMenuItem* TMenuItem::Find(UINT_PTR value, bool byHandle) {
  if (byHandle ? reinterpret_cast<UINT_PTR>(handle_) == value : command_ == value) return this;
  for (TMenuItem* i : items_)
    if (TMenuItem* found = i->Find(value, byHandle)) return found;
  return nullptr;
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

void TMenuItem::DefaultMeasure(TCanvas* canvas, int& width, int& height) {
  if (Caption == "-") {
    width = 0;
    height = GetSystemMetrics(SM_CYMENU) / 2;
    return;
  }
  int glyphWidth = GetSystemMetrics(SM_CXMENUCHECK), glyphHeight = GetSystemMetrics(SM_CYMENUCHECK);
  if (TMenu* menu = GetParentMenu(); menu && menu->Images)
    ImageList_GetIconSize(menu->Images->Handle(), &glyphWidth, &glyphHeight);
  canvas->UseFont();
  RECT text{};
  DrawTextA(canvas->Handle(), Caption.empty() ? " " : Caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
  width = glyphWidth + 8 + text.right;
  const std::string shortCut = ui::ShortCutToText(ShortCut);
  if (!shortCut.empty()) width += 16 + canvas->TextWidth(shortCut);
  height = std::max(static_cast<int>(text.bottom) + 4, glyphHeight + 2);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  DefaultMeasure(canvas, width, height);
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

bool TMenuItem::MeasureItem(MEASUREITEMSTRUCT& m) {
  ui::WindowDC dc;
  TCanvas canvas(dc.get());
  canvas.Font.Assign(Screen->MenuFont());
  int w = static_cast<int>(m.itemWidth), h = static_cast<int>(m.itemHeight);
  MeasureItem(&canvas, w, h);
  m.itemWidth = static_cast<UINT>(w);
  m.itemHeight = static_cast<UINT>(h);
  return true;
}

bool TMenuItem::SetProp(const std::string& name, const TValue& v) {
  if (name == "Caption") Caption = v.AsText();
  else if (name == "Enabled") Enabled = v.AsBool();
  else if (name == "Visible") Visible = v.AsBool();
  else if (name == "Checked") Checked = v.AsBool();
  else if (name == "Default") Default = v.AsBool();
  else if (name == "ImageIndex") ImageIndex = v.AsInt();
  else if (name == "ShortCut") ShortCut = static_cast<TShortCut>(v.AsInt());
  else if (name == "OnClick") SetEvent(OnClick, name, v);
  else if (name == "OnDrawItem") SetEvent(OnDrawItem, name, v);
  else if (name == "OnMeasureItem") SetEvent(OnMeasureItem, name, v);
  else return TComponent::SetProp(name, v);
  MenuChanged();
  return true;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner) { items_.menu_ = this; }

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) {
  return value ? items_.Find(value, kind == fkHandle) : nullptr;  // 0 is no handle and no command
}

bool TMenu::SetProp(const std::string& name, const TValue& v) {
  if (name == "OwnerDraw") OwnerDraw = v.AsBool();
  else if (name == "RightToLeft") RightToLeft = v.AsBool();
  else return TComponent::SetProp(name, v);
  items_.MenuChanged();
  return true;
}

void TMainMenu::Changed() {
  if (form_) form_->Perform(CM_MENUCHANGED);
}

void TPopupMenu::Popup(int x, int y) {
  HWND owner = Application ? Application->Handle() : nullptr;
  UINT cmd = TrackPopupMenu(Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON | (RightToLeft ? TPM_LAYOUTRTL : 0), x, y, 0,
                            owner, nullptr);
  if (cmd && Application) Application->DispatchCommand(cmd);
}
