// Menus: items with clicks and owner-drawn painting, popup and main menus.
#pragma once
#include <windows.h>

#include <vector>

#include "Classes.h"
#include "Graphics.h"

using TMenuMeasureEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuDrawEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, RECT ARect, bool Selected)>;

// A key with modifiers: the virtual key in the low byte.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;

namespace ui {
// "Ctrl+S", "Shift+F4"; empty for no shortcut or a key without a name.
std::string ShortCutToText(TShortCut shortCut);
// Whether the caption marks ch as its accelerator ("E&xit" for x or X).
bool IsAccel(UINT ch, const std::string& caption);
}  // namespace ui

class TMenu;
class TControl;

class TMenuItem : public TComponent {
  UI_CLASS(TMenuItem)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  // After changing these by hand, MenuChanged() updates the menu's window.
  std::string Caption;
  bool Enabled = true, Visible = true, Checked = false;
  bool Default = false;  // drawn bold
  int ImageIndex = -1;   // in the menu's Images
  TShortCut ShortCut = 0;
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
  TMenu* GetParentMenu() const;
  // The menu of the sub-items; the same handle for the item's life, its
  // entries brought up to date on each call.
  HMENU Handle();
  // That handle as it stands, null until Handle() made it: for painters, which
  // must not rebuild a menu on show.
  HMENU ExistingHandle() const { return handle_; }
  void MenuChanged();
  virtual void Click();
  // Room for a check mark or glyph, the caption and the shortcut text in the
  // canvas's font (the menu font when the system asks), and a height from the font.
  void DefaultMeasure(TCanvas* canvas, int& width, int& height);
  // DefaultMeasure, then OnMeasureItem.
  void MeasureItem(TCanvas* canvas, int& width, int& height);
  bool DrawItem(const DRAWITEMSTRUCT& d);
  bool MeasureItem(MEASUREITEMSTRUCT& m);
  bool SetProp(const std::string& name, const TValue& v) override;
  bool AcceptChild(TComponent* c) override;

 private:
  friend class TMenu;
  void AppendTo(HMENU menu);
  TMenuItem* Find(UINT_PTR value, bool byHandle);
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item
  HMENU handle_ = nullptr;
  UINT command_ = 0;
};

enum TFindItemKind { fkCommand, fkHandle };

class TMenu : public TComponent {
  UI_CLASS(TMenu)
 public:
  explicit TMenu(TComponent* owner);
  TMenuItem* Items() { return &items_; }
  bool OwnerDraw = false;
  TImageList* Images = nullptr;  // glyphs of the items, not owned
  bool RightToLeft = false;
  HMENU Handle() { return items_.Handle(); }
  // An item by its command, or by the handle of its sub-menu; null when none.
  TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind);
  bool SetProp(const std::string& name, const TValue& v) override;
  bool AcceptChild(TComponent* c) override { return items_.AcceptChild(c); }

 protected:
  friend class TMenuItem;
  virtual HMENU NewMenu() = 0;
  virtual void Changed() {}

 private:
  TMenuItem items_{nullptr};
};

class TPopupMenu : public TMenu {
  UI_CLASS(TPopupMenu)
 public:
  using TMenu::TMenu;
  // Screen coordinates; a chosen item's OnClick runs. The menu is owned by the
  // application's window, so no form's own menu handling sees its items.
  void Popup(int x, int y);

 protected:
  HMENU NewMenu() override { return CreatePopupMenu(); }
};

class TMainMenu : public TMenu {
  UI_CLASS(TMainMenu)
 public:
  using TMenu::TMenu;

 protected:
  friend class TForm;
  HMENU NewMenu() override { return CreateMenu(); }
  void Changed() override;  // tells the form showing it
  TControl* form_ = nullptr;
};
