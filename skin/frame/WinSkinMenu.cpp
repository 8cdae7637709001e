#include "WinSkinMenu.h"

#include <utility>

#include "Forms.h"
#include "ImgUtil.h"
#include "Menus.h"
#include "Screen.h"
#include "SkinManage.h"
#include "WinSkinCtrls.h"
#include "WinSkinData.h"
#include "WinSkinDraw.h"
#include "WinSkinForm.h"

void TNCObject::BecomeHot(int32_t state) {
  if (Frame->HotObject && Frame->HotObject != this) Frame->HotObject->MouseLeave();
  if (!Visible) return;
  Frame->HotObject = this;
  State = state;
  Paint();
}

void TNCObject::MouseDown() { BecomeHot(nsPressed); }

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = nsHot;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Frame->HotObject != this) BecomeHot(nsHot);
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  Frame->HotObject = nullptr;
  State = nsNormal;
  Paint();
}

void TWinSysButton::Paint() { Frame->PaintSysButton(*this, State); }

// ---- The menu bar ----

namespace {
int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// The class library's menus have no actions to bring an item up to date first.
void PrepareText(TCanvas& canvas, const TSkinData& data, bool enabled) {
  canvas.Font.Assign(Screen->MenuFont());
  canvas.Font.SetColor(enabled ? data.Colours.MenuBarText : data.Colours.ButtonShadow);
}
}  // namespace

void TMenuBtn::Paint() {
  TWinSkinMenu* bar = Frame->MenuBar;
  if (!bar) return;
  ui::WindowDC dc(Frame->Handle, true);
  const RECT& b = bar->BarRect;
  if (!bar->Background.Empty())
    BitBlt(dc.get(), Rect.left, b.top, Width(Rect), Height(b), bar->Background.Canvas().Handle(), Rect.left - b.left, 0,
           SRCCOPY);
  TCanvas canvas(dc.get());
  if (State == nsPressed || State == nsHot) {
    canvas.Brush.Color = SkinData->Colours.ButtonHilight;
    canvas.FrameRect(Rect);
  }
  PrepareText(canvas, *SkinData, Enabled);
  DrawSkinText(canvas, Rect, Caption, taCenter, Enabled);
}

TWinSkinMenu::~TWinSkinMenu() { FreeButtons(); }

void TWinSkinMenu::SetMenu(TMainMenu* menu) {
  if (menu_) RemoveFreeNotification(menu_);
  menu_ = menu;
  if (menu_) FreeNotification(menu_);
}

void TWinSkinMenu::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == TOperation::opRemove && c == menu_) menu_ = nullptr;
}

void TWinSkinMenu::FreeButtons() {
  // The frame must not keep a freed button as its hot element.
  if (Frame && dynamic_cast<TMenuBtn*>(Frame->HotObject)) Frame->HotObject = nullptr;
  Buttons.clear();
}

void TWinSkinMenu::TakeItem(TMenuBtn& button, TMenuItem& item, UINT command) const {
  button.Caption = item.Caption;
  button.Enabled = item.Enabled;
  button.CommandId = command;
  button.SubMenu = item.Count() ? item.Handle() : nullptr;
}

void TWinSkinMenu::AddItems(HMENU menu, bool byCommand) {
  ButtonCount = GetMenuItemCount(menu);
  for (int i = 0; i < ButtonCount; ++i) {
    char text[81] = "";
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
    mii.dwTypeData = text;
    mii.cch = 80;
    GetMenuItemInfoA(menu, UINT(i), TRUE, &mii);
    auto button = std::make_unique<TMenuBtn>(Frame, SkinData, i);
    button->SubMenu = mii.hSubMenu;
    button->Enabled = !(mii.fState & (MFS_GRAYED | MFS_DISABLED));
    button->Visible = true;
    button->CommandId = mii.wID;
    button->Caption = text;  // empty for an owner-drawn item
    if (button->Caption.empty() && menu_) {
      TMenuItem* items = menu_->Items();
      if (!byCommand && i < items->Count()) TakeItem(*button, *items->Items(i), GetMenuItemID(menu, i));
      for (int k = 0; byCommand && k < items->Count(); ++k)
        if (items->Items(k)->Command() == button->CommandId) TakeItem(*button, *items->Items(k), button->CommandId);
    }
    Buttons.push_back(std::move(button));
  }
  ::SetMenu(Frame->Handle, nullptr);
}

void TWinSkinMenu::BuildFromHandle() {
  FreeButtons();
  if (HMENU menu = GetMenu(Frame->Handle)) MenuHandle = menu;
  if (MenuHandle) AddItems(MenuHandle, false);
}

void TWinSkinMenu::BuildFromMenuHandle(HMENU menu) {
  FreeButtons();
  if (menu) MenuHandle = menu;
  if (MenuHandle) AddItems(MenuHandle, true);
}

void TWinSkinMenu::BuildFromMenu() {
  FreeButtons();
  if (HMENU menu = GetMenu(Frame->Handle)) MenuHandle = menu;
  TMenuItem* items = menu_ ? menu_->Items() : nullptr;
  ButtonCount = items ? items->Count() : 0;
  for (int i = 0; i < ButtonCount; ++i) {
    TMenuItem& item = *items->Items(i);
    auto button = std::make_unique<TMenuBtn>(Frame, SkinData, i);
    TakeItem(*button, item, item.Command());
    button->Visible = item.Visible;
    Buttons.push_back(std::move(button));
  }
  ::SetMenu(Frame->Handle, nullptr);
  Frame->HotObject = nullptr;
}

void TWinSkinMenu::Paint(HDC dc, const RECT& bar) {
  const int W = Width(bar), H = Height(bar);
  if (W <= 0 || H <= 0) return;
  const bool rightToLeft = menu_ && menu_->RightToLeft;
  TBitmap& b = FrameScratchBitmap();
  b.SetSize(W, H, pf24bit);
  TCanvas& canvas = b.Canvas();
  int start = 6;
  if (TDataSkinObject* e = SkinData->MenuBar.get(); e && !e->Image.Empty()) {
    const RECT margins{e->LeftWidth, e->TopHeight, e->RightWidth, e->BottomHeight};
    const int frame = Frame->Active ? 1 : 2;
    if (e->Tile == 1) DrawSkinImage(canvas.Handle(), RECT{0, 0, W, H}, e->Image, true, false, false, 2, frame, margins);
    else DrawSkinBar(canvas, RECT{0, 0, W, H}, e->Image, true, false, 2, frame, margins);
    start = rightToLeft ? e->RightWidth + 8 : e->LeftWidth + 4;
    if (start > W) start = 12;
  } else {
    canvas.Brush.Color = SkinData->Colours.Menubar;
    canvas.FillRect(RECT{0, 0, W, H});
  }
  BarRect = bar;
  CopyBitmap24(b, Background);
  int x = rightToLeft ? W - start : start;
  for (auto& button : Buttons) {
    PrepareText(canvas, *SkinData, button->Enabled);
    const int w = canvas.TextWidth(button->Caption), pad = w > 0 ? 10 : 0;
    const RECT cell = rightToLeft ? RECT{x - w - pad, 0, x, H - 1} : RECT{x, 0, x + w + pad, H - 1};
    DrawSkinText(canvas, cell, button->Caption, taCenter, button->Enabled);
    button->Rect = cell;
    OffsetRect(&button->Rect, bar.left, bar.top);
    x = rightToLeft ? cell.left : cell.right;
  }
  if (Frame->WindowKind == 1 && Frame->MdiChildMaximized()) {
    // The maximised MDI child's buttons sit in the bar's row.
    for (TWinSysButton* sys : Frame->SysButtons) {
      TDataSkinSysButton& d = *sys->Description;
      if (d.Visibility != 100 || d.Image.Empty()) continue;
      RECT r = sys->Rect;
      OffsetRect(&r, -Frame->LeftWidth, -Frame->TopHeight);
      DrawSkinBitmap(canvas.Handle(), r, d.Image, true, d.FrameCount, 1);
    }
    if (SkinManage && !SkinManage->MdiMaximized) SkinManage->SetMdiMax(true);
  }
  BitBlt(dc, bar.left, bar.top, W, H, canvas.Handle(), 0, 0, SRCCOPY);
}

TMenuBtn* TWinSkinMenu::ButtonAt(POINT p) const {
  for (const auto& button : Buttons)
    if (!button->Caption.empty() && PtInRect(&button->Rect, p)) return button.get();
  return nullptr;
}

// ---- The menu filter hook ----

HHOOK MenuHookHandle = nullptr;
TWinSkinForm* MenuHookFrame = nullptr;
int MenuHookIndex = -1;
TMenuItem* MenuHookItem = nullptr;
bool MenuHookSwitching = false;
bool MenuHookKeyPosted = false;
POINT MenuHookLastPos{};

TMenuBtn* NextMenuButton(bool forward) {
  TWinSkinMenu* bar = MenuHookFrame ? MenuHookFrame->MenuBar : nullptr;
  // The array's own length: ButtonCount is stale after a build that found no menu.
  const int last = bar ? int(bar->Buttons.size()) - 1 : -1;
  if (last < 0) return nullptr;
  const int i = MenuHookIndex;
  const int next = forward ? (i >= last || i < 0 ? 0 : i + 1) : (i <= 0 || i > last ? last : i - 1);
  return bar->Buttons[size_t(next)].get();
}

void StartMenuHook() {
  MenuHookSwitching = false;
  MenuHookKeyPosted = false;
  GetCursorPos(&MenuHookLastPos);
  if (!MenuHookHandle)
    MenuHookHandle = SetWindowsHookExA(WH_MSGFILTER, MenuFilterHookProc, nullptr, GetCurrentThreadId());
}

void StopMenuHook() {
  if (MenuHookHandle) UnhookWindowsHookEx(MenuHookHandle);
  MenuHookHandle = nullptr;
  MenuHookItem = nullptr;
  MenuHookIndex = -1;
  MenuHookKeyPosted = false;
}

namespace {
bool IsKeyMessage(UINT msg) {
  return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP;
}

// The item of the bar's menu component that a WM_MENUSELECT names.
TMenuItem* SelectedItem(TMainMenu& menu, const MSG& m) {
  const auto handle = reinterpret_cast<HMENU>(m.lParam);
  TMenuItem* item = nullptr;
  if (HIWORD(m.wParam) & MF_POPUP)
    item = menu.FindItem(reinterpret_cast<UINT_PTR>(GetSubMenu(handle, LOWORD(m.wParam))), fkHandle);
  return item ? item : menu.FindItem(LOWORD(m.wParam), fkCommand);
}
}  // namespace

void MenuHookMessage(const MSG& m) {
  TWinSkinForm* frame = MenuHookFrame;
  TWinSkinMenu* bar = frame ? frame->MenuBar : nullptr;
  if (!bar) return;
  TMenuBtn* found = nullptr;
  switch (m.message) {
    case WM_KEYDOWN:
      if (m.wParam == VK_RETURN || m.wParam == VK_ESCAPE) {
        MenuHookSwitching = false;
      } else if (m.wParam == VK_RIGHT) {
        if (!MenuHookItem || !MenuHookItem->Count()) found = NextMenuButton(true);
      } else if (m.wParam == VK_LEFT) {
        // Only from the bar's own menu. From a nested one the menu goes back
        // to the item that opened it, without telling the window.
        TMenuItem* item = MenuHookItem;
        if (!item || (item->Parent() && item->Parent()->ExistingHandle() == frame->TrackedMenu) ||
            item->ExistingHandle() == frame->TrackedMenu)
          found = NextMenuButton(false);
        else
          MenuHookItem = item->Parent();
      }
      break;
    case WM_SYSKEYDOWN:
      if (m.wParam == VK_MENU) frame->MenuClosed();
      return;
    case WM_MENUSELECT:
      if (HIWORD(m.wParam) == 0xFFFF && !m.lParam) {
        if (!MenuHookSwitching) frame->MenuClosed();
      } else {
        MenuHookSwitching = false;
        if (TMainMenu* menu = bar->Menu()) MenuHookItem = SelectedItem(*menu, m);
      }
      return;
    case WM_MOUSEMOVE:
      if (m.pt.x != MenuHookLastPos.x || m.pt.y != MenuHookLastPos.y) {
        MenuHookLastPos = m.pt;
        found = bar->ButtonAt(frame->ScreenToFrame(m.pt));
      }
      break;
  }
  if (found && found->Index != MenuHookIndex) {
    MenuHookSwitching = true;
    frame->ClickMenuButton(*found);
  }
}

LRESULT CALLBACK MenuFilterHookProc(int code, WPARAM w, LPARAM l) {
  auto* m = reinterpret_cast<MSG*>(l);
  // Only key codes: a typed '%' has the code of VK_LEFT, a quote that of VK_RIGHT.
  if (m && MenuHookItem && IsKeyMessage(m->message)) {
    TMenu* menu = MenuHookItem->GetParentMenu();
    if (menu && menu->RightToLeft && (m->wParam == VK_LEFT || m->wParam == VK_RIGHT))
      m->wParam = m->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
  }
  const LRESULT result = CallNextHookEx(MenuHookHandle, code, w, l);
  if (result || code != MSGF_MENU || !m) return result;
  if (!MenuHookKeyPosted) {
    // The first item of the opened menu highlighted, as the platform's bar does.
    MenuHookKeyPosted = true;
    PostMessageA(m->hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  ui::Guard(nullptr, [&] { MenuHookMessage(*m); });
  return result;
}

// ---- The frame's side of the bar and of the MDI client ----

void TWinSkinForm::ClickMenuButton(const TMenuBtn& button) {
  RECT w{};
  GetWindowRect(Handle, &w);
  const POINT p{w.left + button.Rect.left + 1, w.top + button.Rect.top + 1};
  PostMessageA(Handle, WM_NCLBUTTONDOWN, 1, MAKELPARAM(p.x, p.y));
}

TMenuBtn* TWinSkinForm::FindMenuAccel(UINT ch) const {
  if (!MenuBar) return nullptr;
  for (const auto& button : MenuBar->Buttons)
    if (button->Enabled && ui::IsAccel(ch, button->Caption)) return button.get();
  return nullptr;
}

void TWinSkinForm::DialogChar(TMessage& m) {
  const bool altOnly = GetKeyState(VK_MENU) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0;
  if (TMenuBtn* button = altOnly ? FindMenuAccel(UINT(m.WParam)) : nullptr) {
    ClickMenuButton(*button);
    m.Result = 1;
    return;
  }
  SavedFormWindowProc(m);
}

void TWinSkinForm::MakeMenuOwnerDrawn(HMENU menu) {
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    char text[81] = "";
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = 80;
    if (!GetMenuItemInfoA(menu, UINT(i), TRUE, &mii)) continue;
    // Kept before the item is owner-drawn: the platform may forget it then.
    if (!(mii.fType & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_BITMAP))) MenuTexts[mii.wID] = text;
    mii.fMask = MIIM_FTYPE;  // the item's text and data stay
    mii.fType |= MFT_OWNERDRAW;
    SetMenuItemInfoA(menu, UINT(i), TRUE, &mii);
    if (mii.hSubMenu) MakeMenuOwnerDrawn(mii.hSubMenu);
  }
}

std::string TWinSkinForm::MenuItemText(HMENU menu, UINT id) const {
  if (const auto kept = MenuTexts.find(id); kept != MenuTexts.end()) return kept->second;
  char text[81] = "";
  return GetMenuStringA(menu, id, text, 80, MF_BYCOMMAND) > 0 ? text : "";
}

void TWinSkinForm::TrackBarMenu(const TMenuBtn& pressed) {
  if (MenuTracking) {
    // A menu of the bar is open: it closes, and the loop below opens this one.
    PendingMenuButton = pressed.Index;
    EndMenu();
    return;
  }
  for (int index = pressed.Index; MenuBar && index >= 0 && index < int(MenuBar->Buttons.size());
       index = std::exchange(PendingMenuButton, -1)) {
    // Copied: a menu change while the menu is open rebuilds the buttons.
    const TMenuBtn& button = *MenuBar->Buttons[size_t(index)];
    const HMENU sub = button.SubMenu;
    const bool enabled = button.Enabled;
    const RECT r = button.Rect;
    PostMessageA(Handle, WM_COMMAND, button.CommandId, 0);
    if (!sub) break;
    MenuHookIndex = index;
    MenuHookFrame = this;
    GetWindowRect(Handle, &WindowRect);
    if (!SkinWindowsNT4()) MakeMenuOwnerDrawn(sub);
    MenuTracking = MenuOpen = true;
    TrackedMenu = sub;
    StartMenuHook();
    if (enabled)
      TrackPopupMenu(sub, TPM_NONOTIFY | TPM_RIGHTBUTTON, r.left + WindowRect.left, r.bottom + WindowRect.top, 0,
                     Handle, nullptr);
    StopMenuHook();
  }
  PendingMenuButton = -1;
  MenuTracking = MenuOpen = false;
}

void TWinSkinForm::MenuChange(TMessage& m, const TWndMethod& passOn) {
  // The form would have the platform paint its menu bar over the frame.
  const bool painting = SkinData->FramePainting;
  SkinData->FramePainting = false;
  passOn(m);
  SkinData->FramePainting = painting;
  if (!MenuBar || !SkinData->MenuUpdate) return;
  if (HMENU menu = GetMenu(Handle)) {
    MenuBar->MenuHandle = menu;
    MenuBar->BuildFromHandle();
    PaintFrame(nullptr);
  }
}

void TWinSkinForm::MdiChildCommand(UINT code) {
  if (WindowKind != 1 || !MdiClient) return;
  if (auto child = reinterpret_cast<HWND>(SendMessageA(MdiClient, WM_MDIGETACTIVE, 0, 0)))
    SendMessageA(child, WM_SYSCOMMAND, code, 0);
  if (SkinManage && SkinManage->MdiMaximized && !MdiChildMaximized()) SkinManage->SetMdiMax(false);
}

void TWinSkinForm::HookMdiClient() {
  ClientHook = std::make_unique<skin::TWindowHook>([this](UINT msg, WPARAM w, LPARAM l) {
    TMessage m{msg, w, l, 0};
    MdiClientWndProc(m);
    return m.Result;
  });
  ClientHook->Hook(MdiClient);
}

void TWinSkinForm::MdiClientWndProc(TMessage& m) {
  auto passOn = [&] { m.Result = ClientHook->CallDefault(MdiClient, m.Msg, m.WParam, m.LParam); };
  switch (m.Msg) {
    case WM_NCDESTROY:
      passOn();
      ClientHook->Release();
      return;
    case WM_NCCALCSIZE:
      // The frame's skin has no place for the client's own scroll bars.
      if (FrameTakeover)
        SetWindowLongPtrA(MdiClient, GWL_STYLE,
                          GetWindowLongPtrA(MdiClient, GWL_STYLE) & ~LONG_PTR(WS_HSCROLL | WS_VSCROLL));
      break;
    case WM_MDICREATE:
      SkinData->MenuUpdate = false;
      passOn();
      NewMdiChild = reinterpret_cast<HWND>(m.Result);
      return;
    case WM_MDIDESTROY:
      passOn();
      if (!FrameTakeover || !SkinManage) return;
      SkinManage->SetMdiMax(MdiChildMaximized());
      if (MenuBar && SkinManage->MdiChildCount() == 0) {
        SkinData->MenuUpdate = SavedMenuUpdate;
        // A plain window has no menu component: its own menu comes back.
        if (MenuBar->Menu()) MenuBar->BuildFromMenu();
        else MenuBar->BuildFromMenuHandle(WindowMenu);
        PaintFrame(nullptr);
      }
      return;
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (FrameTakeover && SkinManage && SkinManage->MdiMaximized) SkinManage->SetMdiMax(false);
      break;
    case WM_MDISETMENU:
      passOn();
      if (!FrameTakeover) return;
      if (m.WParam && MenuBar &&
          (int32_t(m.WParam) < 0 || reinterpret_cast<HMENU>(m.WParam) != MenuBar->MenuHandle || NewMdiChild))
        MenuBar->BuildFromMenuHandle(GetMenu(Handle));
      ::SetMenu(Handle, nullptr);
      return;
    case WM_MDIREFRESHMENU:
      passOn();
      if (NewMdiChild && SkinManage) {
        SkinManage->AddWindow(NewMdiChild);
        PostMessageA(Handle, WM_SKINFRAMEPAINT, 0, 0);
        NewMdiChild = nullptr;
      }
      return;
  }
  passOn();
}
