// Menus: items with clicks and owner-drawn painting, popup and main menus.
#pragma once
#include <windows.h>

#include <vector>

#include "Classes.h"
#include "Graphics.h"

using TMenuMeasureEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuDrawEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, RECT ARect, bool Selected)>;

class TMenuItem : public TComponent {
  UI_CLASS(TMenuItem)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  std::string Caption;
  bool Enabled = true, Visible = true, Checked = false;
  TNotifyEvent OnClick;
  TMenuMeasureEvent OnMeasureItem;
  TMenuDrawEvent OnDrawItem;
  bool OwnerDraw = false;  // set by the menu that holds it
  UINT Command() const { return command_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int i) const { return items_.at(i); }
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  TMenuItem* Parent() const { return parent_; }
  virtual void Click();
  bool DrawItem(const DRAWITEMSTRUCT& d);
  bool MeasureItem(MEASUREITEMSTRUCT& m);
  void AppendTo(HMENU menu);
  bool SetProp(const std::string& name, const TValue& v) override;
  bool AcceptChild(TComponent* c) override;

 private:
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  UINT command_ = 0;
};

class TMenu : public TComponent {
  UI_CLASS(TMenu)
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  TMenuItem* Items() { return &items_; }
  bool OwnerDraw = false;
  HMENU Handle();  // rebuilt from the items on every call
  bool SetProp(const std::string& name, const TValue& v) override;
  bool AcceptChild(TComponent* c) override { return items_.AcceptChild(c); }

 protected:
  virtual HMENU NewMenu() = 0;

 private:
  TMenuItem items_{nullptr};
  HMENU menu_ = nullptr;
};

class TPopupMenu : public TMenu {
  UI_CLASS(TPopupMenu)
 public:
  using TMenu::TMenu;
  void Popup(int x, int y);  // screen coordinates; a chosen item's OnClick runs

 protected:
  HMENU NewMenu() override { return CreatePopupMenu(); }
};

class TMainMenu : public TMenu {
  UI_CLASS(TMainMenu)
 public:
  using TMenu::TMenu;

 protected:
  HMENU NewMenu() override { return CreateMenu(); }
};
