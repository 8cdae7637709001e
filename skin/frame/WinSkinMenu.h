// The hot elements of a skinned frame: small objects with a rectangle in
// window coordinates and a state that follow the mouse and repaint
// themselves. TWinSysButton is a title button; the frame object makes one per
// title button of its skin, lays it out and paints it. TMenuBtn is one
// top-level item of the skinned menu bar, TWinSkinMenu the bar: it takes the
// window's menu away from the platform, paints the bar from the skin and,
// while one of its menus is open, lets the arrow keys and the mouse move
// along the bar through a message-filter hook.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "Graphics.h"

class TDataSkinSysButton;
class TMainMenu;
class TMenuItem;
class TSkinData;
class TWinSkinForm;

// Element states; they are also the frame of the element's image drawn.
enum : int32_t { nsNormal = 1, nsPressed = 2, nsHot = 3 };

// The frame calls MouseEnter when the mouse moves over the element, MouseDown
// on a left press on it, MouseUp on the release over it and MouseLeave once
// the mouse has left it. The frame keeps at most one hot element, its
// HotObject; an element that is not Visible ignores the mouse.
class TNCObject {
 public:
  explicit TNCObject(TWinSkinForm* frame) : Frame(frame) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();   // pressed, and the frame's HotObject
  virtual void MouseUp();     // hot
  virtual void MouseEnter();  // hot, and the frame's HotObject
  virtual void MouseLeave();  // normal, and no longer the HotObject
  virtual void Paint() {}

  TWinSkinForm* Frame;  // not owned
  RECT Rect{};          // window coordinates
  bool Visible = false;
  int32_t State = nsNormal;

 private:
  // The frame's other hot element, if any, takes its leave; then this one
  // becomes the HotObject in that state.
  void BecomeHot(int32_t state);
};

class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TDataSkinSysButton* description, TWinSkinForm* frame) : TNCObject(frame), Description(description) {}
  void Paint() override;
  TDataSkinSysButton* Description;  // the skin's record, not owned
};

class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TWinSkinForm* frame, TSkinData* skinData, int index)
      : TNCObject(frame), SkinData(skinData), Index(index) {}
  // Over the bar's background: the caption, framed while hot or pressed.
  void Paint() override;
  TSkinData* SkinData;
  int32_t Index;  // position in the bar, from 0
  std::string Caption;
  bool Enabled = true;
  HMENU SubMenu = nullptr;  // its popup menu, if any
  UINT CommandId = 0;
};

class TWinSkinMenu : public TComponent {
  UI_CLASS(TWinSkinMenu)
 public:
  explicit TWinSkinMenu(TComponent* owner) : TComponent(owner) {}
  ~TWinSkinMenu() override;
  // Buttons from the window's menu (at takeover and when the form's menu
  // changes); the platform's menu bar goes.
  void BuildFromHandle();
  // Buttons from the Menu component (the last MDI child is gone).
  void BuildFromMenu();
  // Buttons from a given menu, or from MenuHandle for 0 (an MDI child's menu
  // in the frame's).
  void BuildFromMenuHandle(HMENU menu);
  // The bar into `bar` (window coordinates) of the window DC.
  void Paint(HDC dc, const RECT& bar);
  // The first button with a caption whose cell holds the window point.
  TMenuBtn* ButtonAt(POINT p) const;
  void SetMenu(TMainMenu* menu);
  TMainMenu* Menu() const { return menu_; }
  void Notification(TComponent* c, TOperation op) override;

  std::vector<std::unique_ptr<TMenuBtn>> Buttons;  // in menu order
  RECT BarRect{};  // where the bar was last painted
  TSkinData* SkinData = nullptr;
  TWinSkinForm* Frame = nullptr;
  TBitmap Background;       // the painted bar without captions
  int32_t ButtonCount = 0;  // items at the last build; may be stale, Buttons is not
  HMENU MenuHandle = nullptr;  // the window's menu, given back on Unskin

 private:
  void FreeButtons();
  // Buttons from the items of `menu`; an item without text takes its caption
  // from the Menu component (`byCommand`: the item of the same command,
  // else the item at the same position).
  void AddItems(HMENU menu, bool byCommand);
  // The button takes the component item's caption, state, command and menu.
  void TakeItem(TMenuBtn& button, TMenuItem& item, UINT command) const;
  TMainMenu* menu_ = nullptr;  // the form's main menu, or none
};

// The menu filter hook's state, one set per process, valid while a menu of a
// bar is open.
extern HHOOK MenuHookHandle;
extern TWinSkinForm* MenuHookFrame;  // whose bar menu is open
extern int MenuHookIndex;            // the open button's Index; -1 for none
extern TMenuItem* MenuHookItem;      // the item last selected in the open menu
extern bool MenuHookSwitching;       // moving to another bar button
extern bool MenuHookKeyPosted;       // the first item was highlighted
extern POINT MenuHookLastPos;        // the last mouse position seen (screen)

// The button after (or before) MenuHookIndex in MenuHookFrame's bar,
// wrapping around; null without a bar or buttons.
TMenuBtn* NextMenuButton(bool forward);
void StartMenuHook();
void StopMenuHook();
LRESULT CALLBACK MenuFilterHookProc(int code, WPARAM w, LPARAM l);
// What the hook does with one message of the open menu (the platform sends
// WM_MENUSELECT to the window rather than through the hook, so the frame
// hands it on from there too).
void MenuHookMessage(const MSG& m);
