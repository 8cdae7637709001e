#include "WinSkinForm.h"

#include <windowsx.h>

#include <algorithm>

#include "ExtCtrls.h"
#include "Forms.h"
#include "ImgUtil.h"
#include "Menus.h"
#include "Screen.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinDraw.h"
#include "WinSkinMenu.h"
#include "WinSubClass.h"

namespace {
std::wstring Wide(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(std::max(n, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), n);
  return wide;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
bool IsIconButton(const TDataSkinSysButton& d) { return d.Action == 3 || d.Action == 11; }
}  // namespace

std::string GetWindowCaption(HWND h) {
  char text[1000] = "";
  const LRESULT n = SendMessageA(h, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return std::string(text, size_t(std::clamp<LRESULT>(n, 0, sizeof text - 1)));
}

std::string GetWindowClass(HWND h) {
  char name[100] = "";
  const int n = GetClassNameA(h, name, sizeof name);
  return std::string(name, size_t(std::max(n, 0)));
}

void RepaintWindow(HWND h) {
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
}

TWinSkinForm::TWinSkinForm(TComponent* owner)
    : TComponent(owner),
      WindowHook([this](UINT msg, WPARAM w, LPARAM l) {
        TMessage m{msg, w, l, 0};
        WndProc(m);
        return m.Result;
      }),
      DoubleClickTime(int(GetDoubleClickTime())) {
  NONCLIENTMETRICSA metrics;
  if (ui::NonClientMetrics(metrics)) ui::AssignLogFont(CaptionFont, metrics.lfCaptionFont);
}


TWinSkinForm::~TWinSkinForm() {
  if (WindowHook.Hooked() || SavedFormWindowProc) {
    LifeState = lsDestroying;
    ReleaseOnDestroy();
  }
  FreeSkinControls();
  FreeSysButtons();
  delete MenuBar;
  if (SkinManage) SkinManage->RemoveWindow(Handle);
}

void TWinSkinForm::SkinForm(TSkinData* skinData, TCustomForm* form) {
  Form = form;
  if (auto* f = dynamic_cast<TForm*>(form)) f->SetAutoScroll(false);
  if (skinData->SkinControls[xcMainMenu]) {
    SavedFormWindowProc = form->WindowProc;
    form->WindowProc = [this](TMessage& m) { FormWindowProc(m); };
  }
  SkinWindow(skinData);
  SavedColor = form->Color();
  form->SetColor(skinData->Colours.ButtonFace);
  if (skinData->SkinControls[xcMainMenu]) HookMenuItems(form, true);
}

void TWinSkinForm::SkinWindow(TSkinData* skinData) {
  if (WindowHook.Hooked()) return;
  SkinData = skinData;
  HoverTimer = new TTimer(this);
  HoverTimer->SetEnabled(false);
  HoverTimer->SetInterval(250);
  HoverTimer->OnTimer = [this](TObject*) { HoverTimerTimer(); };
  FrameTakeover = skinData->SkinControls[xcMainMenu];
  Style = DWORD(GetWindowLongPtrA(Handle, GWL_STYLE));
  RightToLeft = (GetWindowLongPtrA(Handle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  SystemMenu = GetSystemMenu(Handle, FALSE);
  LoadWindowIcon();
  Caption = GetWindowCaption(Handle);
  WindowClass = GetWindowClass(Handle);
  OwnerWindow = GetWindow(Handle, GW_OWNER);
  GetClientRect(Handle, &ClientRect);
  RECT r{};
  GetWindowRect(Handle, &r);
  PlatformFrame = RECT{0, 0, Width(r) - ClientRect.right, Height(r) - ClientRect.bottom};
  FrameStyles = 0;
  if ((Style & WS_SYSMENU) || SystemMenu) FrameStyles |= 8;
  if (Style & WS_MINIMIZEBOX) FrameStyles |= 2;
  if (Style & WS_MAXIMIZEBOX) FrameStyles |= 1;
  BuildSysMenu();
  UpdateShowState();
  FindMdiClient();
  BorderKind = 1;
  if ((Style & WS_POPUP) && (Style & WS_CAPTION) != WS_CAPTION) BorderKind = 2;
  else if (Style & WS_THICKFRAME) BorderKind = 0;
  else if (Style & DS_MODALFRAME) BorderKind = 3;
  if (WindowKind == 1) {
    SavedMenuUpdate = skinData->MenuUpdate;
    HookMdiClient();
  }
  if (FrameTakeover) {
    WindowMenu = GetMenu(Handle);
    if (WindowMenu && WindowKind != 2) {
      MenuBar = new TWinSkinMenu(this);
      MenuBar->SkinData = skinData;
      MenuBar->Frame = this;
      MenuBarHeight = GetSystemMetrics(SM_CYMENU);
      if (auto* form = dynamic_cast<TForm*>(Form)) MenuBar->SetMenu(form->Menu());
      MenuBar->BuildFromHandle();
    }
    if (!(WindowKind == 2 && SkinManage && SkinManage->MdiMaximized) && ShowState != 2) SetFrameStyles(false);
    RebuildSysButtons();
  }
  WindowHook.Hook(Handle);
  if (Form) SkinComponents(Form);
  else SkinChildWindows();
  InvalidateRect(Handle, nullptr, TRUE);
}

void TWinSkinForm::LoadWindowIcon() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  IconBitmap.SetSize(cx, cy, pf24bit);
  TCanvas& canvas = IconBitmap.Canvas();
  canvas.Brush.Color = clFuchsia;
  canvas.FillRect(RECT{0, 0, cx, cy});
  auto icon = reinterpret_cast<HICON>(SendMessageA(Handle, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(Handle, WM_GETICON, ICON_BIG, 0));
  if (icon) {
    auto copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE));
    if (!copy) copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0));
    DrawIconEx(canvas.Handle(), 0, 0, copy ? copy : icon, 0, 0, 0, nullptr, DI_NORMAL);
    if (copy) DestroyIcon(copy);
    return;
  }
  // No icon of its own: this skin data's, else that of the last main-form
  // skin data that has one.
  TBitmap* source = SkinData->SkinIcon.Empty() ? nullptr : &SkinData->SkinIcon;
  if (!source && SkinManage)
    for (TSkinData* d : SkinManage->SkinDatas)
      if (d->SkinFormtype == sfMainform && !d->SkinIcon.Empty()) source = &d->SkinIcon;
  if (source) CopyBitmap24(*source, IconBitmap);
}

void TWinSkinForm::UpdateShowState() {
  // From the style, not the placement: under Wine, asking for the placement
  // while a restore to maximized is under way (neither minimized nor
  // maximized yet) makes the icon's rectangle the window's normal one.
  ShowState = IsIconic(Handle) ? 2 : IsZoomed(Handle) ? 1 : 0;
}

void TWinSkinForm::FindMdiClient() {
  WindowKind = 0;
  for (HWND child = GetTopWindow(Handle); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowClass(child) == "MDIClient") {
      WindowKind = 1;
      MdiClient = child;
      if (SkinManage) SkinManage->MdiClient = child;
      break;
    }
  if (GetWindowLongPtrA(Handle, GWL_EXSTYLE) & WS_EX_MDICHILD) WindowKind = 2;
}

void TWinSkinForm::SetFrameStyles(bool on) {
  if (!on && WindowKind == 2 && SkinManage && SkinManage->MdiMaximized) return;
  LONG_PTR style = GetWindowLongPtrA(Handle, GWL_STYLE);
  if (on) {
    if (FrameStyles & 8) style |= WS_SYSMENU;
    if (FrameStyles & 2) style |= WS_MINIMIZEBOX;
    if (FrameStyles & 1) style |= WS_MAXIMIZEBOX;
    if (FrameStyles & 0x10) style |= WS_CAPTION;
  } else if (OwnerWindow) {
    style &= ~LONG_PTR(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU);
  } else {
    FrameStyles |= 0x10;
    style &= ~LONG_PTR(WS_CAPTION);
  }
  SetWindowLongPtrA(Handle, GWL_STYLE, style);
}

void TWinSkinForm::BuildSysMenu() {
  delete SysMenu;
  SysMenu = new TPopupMenu(this);
  SysMenu->Tag = 33333;
  SysMenu->OwnerDraw = true;
  SysMenu->Images = &SkinData->MenuGlyphs;  // 0 restore, 1 maximize, 2 minimize, 3 close
  auto add = [this](const char* caption, int tag) {
    auto* item = new TMenuItem(SysMenu);
    item->Caption = caption;
    item->Tag = tag;
    item->ImageIndex = tag;
    item->OnClick = [this](TObject* sender) { SysMenuClick(sender); };
    HookMenuItem(item);
    SysMenu->Items()->Add(item);
    return item;
  };
  add(" Restore ", 0);
  if (FrameStyles & 1) add(" Maximize ", 1);
  if (FrameStyles & 2) add(" Minimize ", 2);
  add("-", 100);
  add(" Close ", 3)->ShortCut = scShift | VK_F4;
}

void TWinSkinForm::SysMenuClick(TObject* sender) {
  switch (static_cast<TComponent*>(sender)->Tag) {
    case 0: Restore(); break;
    case 1: ToggleMaximize(); break;
    case 2: ToggleMinimize(); break;
    case 3:
      HoverTimer->SetEnabled(false);
      PostMessageA(Handle, WM_CLOSE, 0, 0);
      break;
  }
}

void TWinSkinForm::ToggleMaximize() {
  if (ShowState == 1) {
    Restore();
    return;
  }
  ShowState = 1;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  HotObject = nullptr;
}

void TWinSkinForm::ToggleMinimize() {
  if (ShowState == 2) {
    Restore();
    return;
  }
  ShowState = 2;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::Restore() {
  ShowState = 0;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::RebuildSysButtons() {
  if (SkinData->NoSkin) return;
  if (BorderKind == 2) {
    LeftWidth = TopHeight = RightWidth = BottomHeight = MenuBarHeight = 0;
  } else {
    // Border frames lie across the border's thickness.
    TSkinData& d = *SkinData;
    TopHeight = d.Top->Image.Height() / std::max(d.Top->FrameCount, 1);
    LeftWidth = d.Left->Image.Width() / std::max(d.Left->FrameCount, 1);
    RightWidth = d.Right->Image.Width() / std::max(d.Right->FrameCount, 1);
    BottomHeight = d.Bottom->Image.Height() / std::max(d.Bottom->FrameCount, 1);
  }
  FreeSysButtons();
  SysButtonCount = int(SkinData->TitleButtons.size());
  for (const auto& description : SkinData->TitleButtons) {
    SysButtons.push_back(new TWinSysButton(description.get(), this));
    if (!IsIconButton(*description)) continue;
    if (description->Image.Empty()) CopyBitmap24(IconBitmap, description->Image);
    if (SkinData->SkinIcon.Empty()) CopyBitmap24(IconBitmap, SkinData->SkinIcon);
    description->FrameCount = 1;
  }
}

void TWinSkinForm::FreeSysButtons() {
  for (TWinSysButton* button : SysButtons) delete button;
  SysButtons.clear();
  HotObject = nullptr;  // never left pointing at a freed button
}

void TWinSkinForm::ResizeForSkin(bool reskin) {
  if (ShowState == 1) {
    RecalcFrame();
    return;
  }
  RECT r{};
  GetWindowRect(Handle, &r);
  int width = Width(ClientRect) + LeftWidth + RightWidth;
  if (reskin) {
    GetClientRect(Handle, &ClientRect);
  } else if (Form) {
    ClientRect.bottom = ClientRect.top + Height(r) - MenuBarHeight - 2 * GetSystemMetrics(SM_CYFRAME) -
                        GetSystemMetrics(SM_CYCAPTION);
    width = Form->ClientRect().right + LeftWidth + RightWidth;
  }
  const int height = Height(ClientRect) + TopHeight + BottomHeight + MenuBarHeight;
  if (!reskin && (WindowClass == "TMessageForm" || WindowClass == "#32770")) {
    HDC dc = GetWindowDC(Handle);
    HGDIOBJ old = SelectObject(dc, CaptionFont.Handle());
    SIZE space{};
    GetTextExtentPoint32A(dc, " ", 1, &space);
    SelectObject(dc, old);
    ReleaseDC(Handle, dc);
    SpaceWidth = space.cx;
    Caption = GetWindowCaption(Handle);
    const TDataSkinTitle& t = *SkinData->Title;
    const int needed = (int(Caption.size()) + 7) * SpaceWidth + LeftWidth + RightWidth + t.LeftWidth + t.RightWidth +
                       t.TXTBackleft + t.TXTBackRight;
    if (width < needed) {
      // The controls move into the middle of the added width; their order
      // (the tab order) stays.
      const int shift = (needed - width) / 2;
      for (HWND child = GetWindow(Handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT c{};
        GetWindowRect(child, &c);
        MapWindowPoints(nullptr, Handle, reinterpret_cast<POINT*>(&c), 2);
        SetWindowPos(child, nullptr, c.left + shift, c.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
      }
      width = needed;
    }
  }
  // Never activated by it: a hidden window would take the foreground.
  SetWindowPos(Handle, nullptr, r.left, r.top, width, height,
               SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TWinSkinForm::Reskin() {
  if (Form) {
    Form->SetColor(SkinData->Colours.ButtonFace);
    for (int i = 0; i < Form->ComponentCount(); ++i)
      if (auto* f = dynamic_cast<TCustomForm*>(Form->Components(i))) f->SetColor(SkinData->Colours.ButtonFace);
  }
  for (TSkinControl* control : Controls) control->UpdateSkin();
  LifeState = lsReskinning;
  if (FrameTakeover) {
    if (Form) HookMenuItems(Form, true);
    ResizeForSkin(true);
    LifeState = lsActive;
    UpdateWindowRegion();
  }
  LifeState = lsActive;
}

void TWinSkinForm::RecalcFrame() {
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TWinSkinForm::MdiChildMaximized() const {
  if (WindowKind != 1 || !MdiClient) return false;
  BOOL maximized = FALSE;
  return SendMessageA(MdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)) && maximized;
}

POINT TWinSkinForm::ScreenToFrame(POINT p) const {
  ScreenToClient(Handle, &p);
  if (ShowState != 2) {
    p.x += LeftWidth;
    p.y += TopHeight + MenuBarHeight;
  }
  return p;
}

void TWinSkinForm::CallDefault(TMessage& m) { m.Result = WindowHook.CallDefault(Handle, m.Msg, m.WParam, m.LParam); }

void TWinSkinForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      EraseBkgnd(m);
      return;
    case WM_STYLECHANGED:
      if (int(m.WParam) == GWL_STYLE) Style = reinterpret_cast<const STYLESTRUCT*>(m.LParam)->styleNew;
      CallDefault(m);
      return;
    case WM_NCDESTROY:
      LifeState = lsDestroying;
      ReleaseOnDestroy();
      CallDefault(m);
      LifeState = lsDead;
      return;
    case WM_CTLCOLORBTN:
      CallDefault(m);
      if (!Form) SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
      return;
    case WM_CTLCOLORSTATIC:
      CallDefault(m);
      if (!Form) {
        SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
        m.Result = reinterpret_cast<LRESULT>(SkinData->ButtonFaceBrush());
      }
      return;
    case WM_SKINQUERY:
      // A title button's own action (wParam) is the program's to answer.
      if (m.WParam) CallDefault(m);
      m.Result = 1;
      return;
  }
  // A plain child window keeps the platform's frame.
  if (!FrameTakeover || ((Style & WS_CHILD) && WindowKind != 2)) {
    CallDefault(m);
    return;
  }
  bool passOn = true;
  if (FrameMessage(m, passOn)) return;
  // Painting and hit testing wait for the finished takeover; a minimised
  // window and an MDI child not in the normal layout keep the platform's.
  if (LifeState != lsNew && ShowState != 2 && !MdiChildNotNormal() && RunningFrameMessage(m)) return;
  if (passOn) CallDefault(m);
}

bool TWinSkinForm::FrameMessage(TMessage& m, bool& passOn) {
  switch (m.Msg) {
    case WM_SIZE:
      SizeHandler(m);
      passOn = false;
      return false;
    case WM_ACTIVATE:
      Active = LOWORD(m.WParam) != WA_INACTIVE;
      return false;
    case WM_NCACTIVATE:
      Active = m.WParam != 0;
      return false;
    case WM_GETMINMAXINFO:
      GetMinMaxInfo(m);
      return true;
    case WM_WINDOWPOSCHANGED:
      // Its menu would stay on screen where the user can no longer end it.
      if (MenuOpen && (reinterpret_cast<const WINDOWPOS*>(m.LParam)->flags & SWP_HIDEWINDOW)) EndMenu();
      UpdateShowState();
      CallDefault(m);
      return true;
    case WM_COMMAND:
      // The platform's system menu, opened for the frame, answers with these.
      switch (LOWORD(m.WParam)) {
        case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_NEXTWINDOW: case SC_PREVWINDOW:
        case SC_CLOSE: case SC_RESTORE:
          PostMessageA(Handle, WM_SYSCOMMAND, LOWORD(m.WParam), 0);
          return true;
      }
      return false;
    case WM_SYSCOMMAND:
      SysCommand(m);
      return true;
    case WM_SKINACTIVATE:
      FinishTakeover();
      return true;
    case WM_SETICON:
      // A program may give its window an icon after the takeover.
      CallDefault(m);
      LoadWindowIcon();
      PaintFrame(nullptr);
      return true;
    case WM_SETTEXT:
      if (Form) return false;  // the form hook has the frame repainted
      CallDefault(m);
      Caption = GetWindowCaption(Handle);
      PaintFrame(nullptr);
      return true;
    case CM_MENUCHANGED:
      MenuChange(m, [this](TMessage& passed) { CallDefault(passed); });
      return true;
    case WM_MENUSELECT:
      // The platform sends it to the window, past the menu's filter hook.
      if (MenuHookHandle && MenuHookFrame == this) MenuHookMessage(MSG{Handle, m.Msg, m.WParam, m.LParam, 0, {}});
      return false;
  }
  return false;
}

bool TWinSkinForm::RunningFrameMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE: SizeHandler(m); return true;
    case WM_NCCALCSIZE: NCCalcSize(m); return true;
    case WM_NCHITTEST: NCHitTest(m); return true;
    case WM_NCPAINT: NCPaint(m); return true;
    case WM_NCACTIVATE: NCActivate(m); return true;
    case WM_SKINFRAMEPAINT: PaintFrame(nullptr); return true;
    case WM_MEASUREITEM: MeasureItem(m); return true;
    case WM_DRAWITEM: DrawItem(m); return true;
    case WM_NCMOUSEMOVE: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONUP: case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDOWN:
      NCMouse(m);
      WakeHoverTimer();
      return true;
  }
  return false;
}

void TWinSkinForm::EraseBkgnd(TMessage& m) {
  CallDefault(m);
  if (Form) return;
  RECT r{};
  GetClientRect(Handle, &r);
  FillRect(reinterpret_cast<HDC>(m.WParam), &r, SkinData->ButtonFaceBrush());
  m.Result = 1;
}

void TWinSkinForm::SizeHandler(TMessage& m) {
  CallDefault(m);
  switch (m.WParam) {
    case SIZE_RESTORED: ShowState = 0; break;
    case SIZE_MINIMIZED: ShowState = 2; break;
    case SIZE_MAXIMIZED: ShowState = 1; break;
  }
  if (ShowState == 2 || (WindowKind == 2 && ((SkinManage && SkinManage->MdiMaximized) || ShowState != 0))) return;
  if (LifeState == lsActive || LifeState == lsReskinning) UpdateWindowRegion();
}

void TWinSkinForm::GetMinMaxInfo(TMessage& m) {
  CallDefault(m);
  UpdateShowState();
  if (ShowState == 2) {
    SetFrameStyles(true);
  } else if (WindowKind != 2) {
    SetFrameStyles(false);
  } else if (ShowState == 0) {
    if (SkinManage && SkinManage->MdiMaximized) SkinManage->SetMdiMax(false);
    SetFrameStyles(false);
  } else if (ShowState == 1) {
    SetFrameStyles(true);
  }
  if (BorderKind == 0)
    reinterpret_cast<MINMAXINFO*>(m.LParam)->ptMaxTrackSize =
        POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
}

void TWinSkinForm::SysCommand(TMessage& m) {
  const UINT code = UINT(m.WParam) & 0xFFF0;
  // Alt alone would open the platform's menu mode over the skinned frame;
  // Alt and a bar button's accelerator opens that button's menu (a plain
  // window has no CM_DIALOGCHAR to do it).
  const UINT ch = LOWORD(m.LParam);
  if (!MenuTracking && code == SC_KEYMENU && ch != ' ' && ch != '-' && !GetCapture()) {
    TMenuBtn* button = ch ? FindMenuAccel(ch) : nullptr;
    if (button) ClickMenuButton(*button);
    if (!ch || button) {
      m.Result = 1;
      return;
    }
  }
  switch (code) {
    case SC_MINIMIZE:
      ShowState = 2;
      if (WindowKind == 2) SetFrameStyles(true);
      break;
    case SC_MAXIMIZE:
      ShowState = 1;
      break;
    case SC_RESTORE:
      ShowState = 0;
      if (WindowKind == 2) SetFrameStyles(false);
      break;
  }
  CallDefault(m);
}

void TWinSkinForm::NCCalcSize(TMessage& m) {
  CallDefault(m);
  if (!m.WParam) {
    m.Result = 0;
    return;
  }
  auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
  if (!MdiChildNotNormal() && BorderKind != 2) {
    const WINDOWPOS& w = *p->lppos;
    RECT client{w.x + LeftWidth, w.y + TopHeight + MenuBarHeight, w.x + w.cx - RightWidth, w.y + w.cy - BottomHeight};
    // A window smaller than its borders has an empty client area.
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    p->rgrc[0] = client;
  }
  p->rgrc[1] = p->rgrc[0];
  m.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::NCHitTest(TMessage& m) {
  CallDefault(m);
  if (m.Result != HTNOWHERE) return;
  const POINT p = ScreenToFrame(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
  if (p.y > 3) m.Result = HTCAPTION;
  if (p.y > TopHeight) m.Result = HTMENU;
}

void TWinSkinForm::NCPaint(TMessage& m) {
  m.Result = 0;
  if (!SkinData->FramePainting) return;
  if (MdiChildNotNormal() || BorderKind == 2) {
    CallDefault(m);
    return;
  }
  // The update region stays the platform's (it deletes it after the message),
  // and ReleaseDC deletes a region given to GetDCEx: GetDCEx gets a copy.
  HRGN clip = nullptr;
  if (m.WParam != 1) {
    clip = CreateRectRgn(0, 0, 0, 0);
    if (CombineRgn(clip, reinterpret_cast<HRGN>(m.WParam), nullptr, RGN_COPY) == ERROR) {
      DeleteObject(clip);
      clip = nullptr;
    }
  }
  HDC dc = GetDCEx(Handle, clip, DCX_WINDOW | (clip ? DCX_INTERSECTRGN : 0));
  if (!dc) return;
  PaintFrame(dc);
  ReleaseDC(Handle, dc);
}

void TWinSkinForm::NCActivate(TMessage& m) {
  Active = m.WParam != 0;
  HoverTimer->SetEnabled(false);
  if (Active) WakeHoverTimer();
  else LeaveHotButton();
  if (!MdiChildNotNormal()) PaintFrame(nullptr);
  m.Result = 1;
}

void TWinSkinForm::FinishTakeover() {
  if (LifeState == lsNew) {
    if (WindowKind == 2 && SkinManage && SkinManage->MdiMaximized) {
      SetFrameStyles(true);
      RecalcFrame();
    } else if (ShowState != 2 && BorderKind != 2) {
      LifeState = lsResizing;
      ResizeForSkin(false);
      LifeState = lsActive;
      UpdateWindowRegion();
    }
  }
  LifeState = lsActive;
  WakeHoverTimer();
}

void TWinSkinForm::FormWindowProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SKINRESKIN:
      Reskin();
      return;
    case WM_SETTEXT:
      SavedFormWindowProc(m);
      Caption = GetWindowCaption(Handle);
      RecalcFrame();
      return;
    case CM_DIALOGCHAR:
      DialogChar(m);
      return;
    case CM_MENUCHANGED:
      // The form's own Perform does not pass the window procedure.
      MenuChange(m, SavedFormWindowProc);
      return;
  }
  SavedFormWindowProc(m);
}

// Painting.

void TWinSkinForm::PaintFrame(HDC given) {
  if ((LifeState != lsActive && LifeState != lsReskinning) || BorderKind == 2 || MdiChildNotNormal()) return;
  HDC dc = given ? given : GetWindowDC(Handle);
  try {
    GetWindowRect(Handle, &WindowRect);
    FrameWidth = Width(WindowRect);
    FrameHeight = Height(WindowRect);
    const int W = FrameWidth, H = FrameHeight;
    PaintBorder(1, RECT{0, 0, LeftWidth, H}, dc);
    PaintBorder(2, RECT{W - RightWidth, 0, W, H}, dc);
    PaintBorder(4, RECT{LeftWidth, H - BottomHeight, W - RightWidth, H}, dc);
    PaintTitleBar(dc);
    if (MenuBar) MenuBar->Paint(dc, RECT{LeftWidth, TopHeight, W - RightWidth, TopHeight + MenuBarHeight});
  } catch (...) {
    // A frame that cannot be painted now is painted at the next WM_NCPAINT.
  }
  if (!given) ReleaseDC(Handle, dc);
  HotObject = nullptr;
}

void TWinSkinForm::PaintBorder(int index, const RECT& r, HDC dc) {
  if (Width(r) < 0 || Height(r) < 0) return;
  TDataSkinBorder* const borders[] = {SkinData->Left.get(), SkinData->Right.get(), SkinData->Top.get(),
                                      SkinData->Bottom.get()};
  TDataSkinBorder& b = *borders[index - 1];
  const int frame = Active || b.FrameCount <= 1 ? 1 : 2;
  const RECT margins{b.LeftWidth, b.TopHeight, b.RightWidth, b.BottomHeight};
  // A border's Tile holds its Stretch key: 1 stretches, anything else tiles.
  auto image = StretchSkinImage(r, b.Image, margins, index >= 3, b.Tile != 1, b.FrameCount, frame);
  if (!image->Empty()) BitBlt(dc, r.left, r.top, Width(r), Height(r), image->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TWinSkinForm::ComposeTitleBar(HDC dc) {
  TitleBuffer.SetSize(std::max(FrameWidth, 0), std::max(TopHeight, 0), pf24bit);
  if (TitleBuffer.Empty()) return;
  HDC title = TitleBuffer.Canvas().Handle();
  // The corners the side borders painted.
  if (dc) BitBlt(title, 0, 0, FrameWidth, TopHeight, dc, 0, 0, SRCCOPY);
  const RECT area{LeftWidth, 0, FrameWidth - RightWidth, TopHeight};
  PaintBorder(3, area, title);
  PaintCaption(TitleBuffer.Canvas(), area);
  CopyBitmap24(TitleBuffer, TitleBackground);
  LayoutSysButtons();
  PaintSysButtons(TitleBuffer.Canvas());
}

void TWinSkinForm::PaintTitleBar(HDC dc) {
  ComposeTitleBar(dc);
  if (!TitleBuffer.Empty())
    BitBlt(dc, 0, 0, TitleBuffer.Width(), TitleBuffer.Height(), TitleBuffer.Canvas().Handle(), 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

void TWinSkinForm::PaintCaption(TCanvas& canvas, const RECT& area) {
  TDataSkinTitle& title = *SkinData->Title;
  const UINT format = DT_SINGLELINE | DT_END_ELLIPSIS | (RightToLeft ? DT_RIGHT : 0);
  HDC dc = canvas.Handle();
  const int oldMode = GetBkMode(dc);
  canvas.Font.Assign(CaptionFont);
  canvas.Font.SetColor(Active ? SkinData->Colours.TitleTextActive : SkinData->Colours.TitleTextNoActive);
  canvas.UseFont();
  RECT t = area;
  const std::wstring measured = Wide(CaptionPrefix + " " + Caption);
  DrawTextW(dc, measured.c_str(), int(measured.size()), &t, DT_CALCRECT | DT_NOCLIP);
  t.right += title.TXTBackleft + title.TXTBackRight;
  const int textShift = title.LeftWidth, shiftVert = title.TopHeight, rightClip = title.RightWidth;
  int dx = 0;
  switch (title.TextAlignment) {
    case 0: dx = textShift; break;
    case 1: dx = (Width(area) - Width(t)) / 2; break;
    case 2: dx = Width(area) - rightClip - Width(t); break;
  }
  if (RightToLeft) dx = Width(area) - rightClip - Width(t);
  OffsetRect(&t, dx, (Height(area) - Height(t)) / 2 + shiftVert / 2);
  if (Style & WS_POPUP) t.right = std::max<LONG>(t.right, RightButtonsLeft - 5);
  else t.right = std::min<LONG>(t.right, area.right - rightClip);
  CaptionRect = t;
  if (!title.Image.Empty()) {
    // Its ends may be keyed over the title bar.
    DrawSkinBar(canvas, RECT{t.left, area.top, t.right, area.bottom}, title.Image, false, true, 2,
                Active ? 1 : 2, RECT{title.TXTBackleft, 0, title.TXTBackRight, 0});
  }
  t.left += title.TXTBackleft;
  t.right -= title.TXTBackRight;
  SkinDrawText(dc, Wide(CaptionPrefix + Caption), t, format);
  SetBkMode(dc, oldMode);
}

bool TWinSkinForm::SysButtonVisible(int index) {
  TWinSysButton& button = *SysButtons.at(size_t(index));
  const TDataSkinSysButton& d = *button.Description;
  const bool maximized = ShowState == 1, sysMenu = FrameStyles & 8, maxBox = FrameStyles & 1, minBox = FrameStyles & 2;
  // The values both visibility keys read alike; any other value is false.
  auto common = [&](int v) {
    switch (v) {
      case 1: return maximized;
      case 2: return !maximized;
      case 3: return Active;
      case 4: return !Active;
      case 7: return !maxBox;
      case 9: return !minBox;
    }
    return v >= 200 && v <= 2000;
  };
  bool first = false;
  switch (d.Visibility) {
    case 0: first = BorderKind != 3 && (d.Action != 0 || sysMenu); break;
    case 6: first = maxBox && sysMenu; break;
    case 8: first = minBox && sysMenu; break;
    case 100: first = MdiChildMaximized() && MenuBarHeight > 0; break;
    default: first = common(d.Visibility);
  }
  bool second = false;
  switch (d.Visibility1) {
    case 0: second = true; break;
    case 6: second = maxBox; break;
    case 8: second = minBox; break;
    case 100: second = first; break;
    default: second = common(d.Visibility1);
  }
  button.Visible = first && second && !(d.Action == 1 && !maxBox) && !(d.Action == 2 && !minBox);
  return button.Visible;
}

void TWinSkinForm::LayoutSysButtons() {
  RightButtonsLeft = 0;
  for (size_t i = 0; i < SysButtons.size(); ++i) {
    TWinSysButton& button = *SysButtons[i];
    const TDataSkinSysButton& d = *button.Description;
    if (!SysButtonVisible(int(i)) || d.Image.Empty()) continue;
    const int w = d.Image.Width() / std::max(d.FrameCount, 1), h = d.Image.Height();
    RECT r{0, 0, w, h};
    switch (d.Align) {
      case 0: OffsetRect(&r, d.Xcoord, d.Ycoord); break;
      case 1:
        OffsetRect(&r, FrameWidth - d.Xcoord, d.Ycoord);
        RightButtonsLeft = std::max<int>(RightButtonsLeft, r.left);
        break;
      case 2: case 8: OffsetRect(&r, CaptionRect.left - w - d.Xcoord, d.Ycoord); break;
      case 3: case 9: OffsetRect(&r, CaptionRect.right + d.Xcoord, d.Ycoord); break;
      case 100: {
        // The MDI child's buttons, in the menu bar's row.
        const int m = SkinData->MenuBar && !SkinData->MenuBar->Image.Empty() ? SkinData->MenuBar->LeftWidth : 0;
        const int x = RightToLeft ? d.Xcoord + LeftWidth + m : FrameWidth - d.Xcoord - RightWidth - m;
        OffsetRect(&r, x, (MenuBarHeight - h) / 2 + TopHeight);
        break;
      }
    }
    button.Rect = r;
  }
}

void TWinSkinForm::PaintSysButtons(TCanvas& canvas) {
  for (TWinSysButton* button : SysButtons) {
    TDataSkinSysButton& d = *button->Description;
    if (!button->Visible || d.Image.Empty() || d.Visibility == 100) continue;
    TBitmap& image = IsIconButton(d) ? IconBitmap : d.Image;
    const int frame = Active || d.FrameCount < 4 ? 1 : 4;
    DrawSkinBitmap(canvas.Handle(), button->Rect, image, true, d.FrameCount, frame);
  }
}

void TWinSkinForm::PaintSysButton(TWinSysButton& button, int state) {
  TDataSkinSysButton& d = *button.Description;
  const RECT r = button.Rect;
  const int w = Width(r), h = Height(r);
  if (w <= 0 || h <= 0) return;
  if (d.Visibility == 100 && state == nsHot) state = 4;  // the MDI child's buttons keep it there
  const bool icon = IsIconButton(d);
  const int count = icon ? 1 : std::max(d.FrameCount, 1);
  // An image without that state's frame shows its first one.
  const int frame = icon || state > count ? 1 : state;
  // Composed over the title bar, not over the frame shown before: the keyed
  // parts of a normal frame must not let the hot one show through.
  TBitmap piece(w, h);
  HDC dc = GetWindowDC(Handle);
  const bool onTitle =
      r.left >= 0 && r.top >= 0 && r.right <= TitleBackground.Width() && r.bottom <= TitleBackground.Height();
  BitBlt(piece.Canvas().Handle(), 0, 0, w, h, onTitle ? TitleBackground.Canvas().Handle() : dc, r.left, r.top, SRCCOPY);
  DrawSkinBitmap(piece.Canvas().Handle(), RECT{0, 0, w, h}, icon ? IconBitmap : d.Image, true, count, frame);
  BitBlt(dc, r.left, r.top, w, h, piece.Canvas().Handle(), 0, 0, SRCCOPY);
  ReleaseDC(Handle, dc);
}

// The mouse in the frame.

TWinSysButton* TWinSkinForm::SysButtonAt(POINT p) const {
  for (TWinSysButton* button : SysButtons)
    if (button->Visible && button->Description->Action >= 0 && PtInRect(&button->Rect, p)) return button;
  return nullptr;
}

TNCObject* TWinSkinForm::ElementAt(POINT p) const {
  if (TNCObject* button = SysButtonAt(p)) return button;
  return MenuBar ? MenuBar->ButtonAt(p) : nullptr;
}

void TWinSkinForm::NCMouse(TMessage& m) {
  const POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TNCObject* element = ElementAt(ScreenToFrame(screen));
  m.Result = 0;
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      if (!Active) return;
      if (element) return element->MouseEnter();
      if (HotObject) HotObject->MouseLeave();
      break;
    case WM_NCLBUTTONDBLCLK:
      // On an element the second click of a double click is a press again
      // (twice on the icon closes the window); elsewhere the title bar's.
      if (!element) {
        if (ShowState != 0) Restore();
        else if (FrameStyles & 1) ToggleMaximize();
        return;
      }
      [[fallthrough]];
    case WM_NCLBUTTONDOWN:
      // Never on to the platform: it would start moving the window by its caption.
      if (element) {
        if (!Active) SetForegroundWindow(Handle);
        element->MouseDown();
        if (auto* button = dynamic_cast<TMenuBtn*>(element)) TrackBarMenu(*button);
        return;
      }
      // A maximized window cannot be dragged by its caption.
      if (ShowState == 1 && m.WParam == HTCAPTION && Active) m.WParam = HTMENU;
      break;
    case WM_NCLBUTTONUP:
      if (!element) break;
      // Only a release on the button that was pressed clicks it.
      if (element == HotObject && element->State == nsPressed)
        if (auto* button = dynamic_cast<TWinSysButton*>(element)) {
          button->MouseUp();
          SysButtonAction(*button, screen.x, screen.y);
        }
      return;
    case WM_NCRBUTTONDOWN:
      if (m.WParam == HTCAPTION && WindowKind != 2) return ShowSysMenu(screen.x, screen.y);
      break;
  }
  CallDefault(m);
}

void TWinSkinForm::SysButtonAction(const TWinSysButton& button, int x, int y) {
  const int action = button.Description->Action;
  switch (action) {
    case 0:
      HoverTimer->SetEnabled(false);
      PostMessageA(Handle, WM_CLOSE, 0, 0);
      break;
    case 1: case 22: ToggleMaximize(); break;
    case 2: case 23: ToggleMinimize(); break;
    case 3: case 11: case 12: ShowSysMenu(x + 1, y + 1); break;
    case 7: case 60: MdiChildCommand(SC_MINIMIZE); break;
    case 8: case 61: MdiChildCommand(SC_RESTORE); break;
    case 9: case 62: MdiChildCommand(SC_CLOSE); break;
    default: PostMessageA(Handle, WM_SKINQUERY, WPARAM(action), 0);
  }
}

void TWinSkinForm::ShowSysMenu(int x, int y) {
  // Restore (tag 0), Maximize (1) and Minimize (2) are off in the show state
  // of the same number, the one they lead to.
  TMenuItem* items = SysMenu ? SysMenu->Items() : nullptr;
  for (int i = 0; items && i < items->Count(); ++i) {
    TMenuItem* item = items->Items(i);
    if (item->Tag >= 0 && item->Tag <= 2) item->Enabled = ShowState != item->Tag;
  }
  const DWORD now = GetTickCount();
  if (now - LastSysMenuTick <= DWORD(DoubleClickTime)) {
    HoverTimer->SetEnabled(false);
    PostMessageA(Handle, WM_CLOSE, 0, 0);
    return;
  }
  LastSysMenuTick = now;
  MenuOpen = true;
  if (SysMenu && SkinData->SkinControls[xcSystemMenu] && WindowKind != 2) SysMenu->Popup(x, y);
  else TrackPopupMenu(SystemMenu, TPM_RIGHTBUTTON, x, y, 0, Handle, nullptr);
  MenuOpen = false;
}

void TWinSkinForm::HoverTimerTimer() {
  if (MenuTracking) return;
  POINT cursor;
  if (!GetCursorPos(&cursor)) return;
  const POINT p = ScreenToFrame(cursor);
  if (HotObject && !PtInRect(&HotObject->Rect, p)) HotObject->MouseLeave();
  HoverHotButton();
  if (!HoverNeeded()) HoverTimer->SetEnabled(false);
}

// The window region.

HRGN TWinSkinForm::BorderRegion(int index, const RECT& part, TBitmap& scratch) {
  scratch.SetSize(Width(part), Height(part), pf24bit);
  const RECT whole{0, 0, Width(part), Height(part)};
  if (index == 3) {
    BitBlt(scratch.Canvas().Handle(), 0, 0, Width(part), Height(part), TitleBuffer.Canvas().Handle(), part.left, 0,
           SRCCOPY);
  } else {
    PaintBorder(index, whole, scratch.Canvas().Handle());
  }
  return RegionFromBitmap(scratch, part.left, part.top, SkinKeyColor, 1, 1, 1);
}

void TWinSkinForm::UpdateWindowRegion() {
  if (LifeState == lsDead) return;
  RECT window{};
  GetWindowRect(Handle, &window);
  const int W = Width(window), H = Height(window);
  if (int64_t(W) * H == 0 || MdiChildNotNormal()) return;
  if (W == RegionWidth && H == RegionHeight && WindowKind != 2 && LifeState != lsReskinning) return;
  HasRegion = false;  // the region in use stays the window's until the new one replaces it
  TSkinData& d = *SkinData;
  if (!d.Left->Trans && !d.Right->Trans && !d.Top->Trans && !d.Bottom->Trans) {
    Region = CreateRectRgn(0, 0, W, H);
  } else {
    RegionWidth = W;
    RegionHeight = H;
    const int L = LeftWidth, T = TopHeight, R = RightWidth, B = BottomHeight;
    Region = CreateRectRgn(L, T, W - R, H - B);
    if (BorderKind != 2) {
      TBitmap scratch;
      auto part = [&](int index, bool shaped, const RECT& r) {
        return shaped ? BorderRegion(index, r, scratch) : CreateRectRgn(r.left, r.top, r.right, r.bottom);
      };
      const RECT top{L, 0, W - R, T};
      const bool shapedTop = d.Top->Trans == 1 && T > 1 && Width(top) > 0;
      if (shapedTop && (TitleBuffer.Width() != W || TitleBuffer.Height() != T)) {
        // The title as it will be painted at this width, not as it was.
        FrameWidth = W;
        FrameHeight = H;
        ComposeTitleBar(nullptr);
      }
      HRGN left = part(1, d.Left->Trans == 1 && H > 1, RECT{0, 0, L, H});
      HRGN right = part(2, d.Right->Trans == 1 && H > 1, RECT{W - R, 0, W, H});
      HRGN bottom = part(4, d.Bottom->Trans == 1 && B > 1, RECT{L, H - B, W - R, H});
      HRGN topRegion = part(3, shapedTop, top);
      CombineRgn(left, left, right, RGN_OR);
      CombineRgn(topRegion, topRegion, bottom, RGN_OR);
      CombineRgn(topRegion, topRegion, left, RGN_OR);
      CombineRgn(Region, Region, topRegion, RGN_OR);
      for (HRGN r : {left, right, bottom, topRegion}) DeleteObject(r);
    }
  }
  // From here on the window owns the region.
  SetWindowRgn(Handle, Region, TRUE);
  HasRegion = true;
}

void ClearWindowRegion(TWinSkinForm* frame) {
  if (!frame->HasRegion) return;
  frame->TitleBuffer.SetSize(0, 0, pf24bit);
  frame->TitleBackground.SetSize(0, 0, pf24bit);
  SetWindowRgn(frame->Handle, nullptr, FALSE);
  frame->HasRegion = false;
}

// Giving the window back.

void TWinSkinForm::RestoreWindowProcs() {
  if (Form && SavedFormWindowProc) {
    Form->WindowProc = SavedFormWindowProc;
    SavedFormWindowProc = nullptr;
  }
  WindowHook.Release();
}

bool TWinSkinForm::StopFrame() {
  if (!FrameTakeover) {
    UnskinControlsOnly();
    return false;
  }
  delete SysMenu;
  SysMenu = nullptr;
  if (HoverTimer) HoverTimer->SetEnabled(false);
  return true;
}

void TWinSkinForm::Unskin() {
  if (!StopFrame() || !WindowHook.Hooked()) return;
  RestoreWindowProcs();
  FreeSkinControls();
  if (Form) HookMenuItems(Form, false);
  if (Form && LifeState != lsDestroying) Form->SetColor(SavedColor);
  SetFrameStyles(true);
  if (MenuBar) {
    ::SetMenu(Handle, MenuBar->MenuHandle);
    delete MenuBar;
    MenuBar = nullptr;
  }
  if (ClientHook) ClientHook->Release();
  TitleBuffer.SetSize(0, 0, pf24bit);
  TitleBackground.SetSize(0, 0, pf24bit);
  RECT r{};
  GetWindowRect(Handle, &r);
  POINT at{r.left, r.top};
  if (WindowKind == 2 && SkinManage && SkinManage->MdiClient) ScreenToClient(SkinManage->MdiClient, &at);
  const int width = Width(r) - LeftWidth - RightWidth + Width(PlatformFrame);
  const int height = Height(r) - TopHeight - MenuBarHeight - BottomHeight + Height(PlatformFrame);
  if (LifeState != lsDestroying && !((Style & WS_CHILD) && WindowKind != 2))
    SetWindowPos(Handle, nullptr, at.x, at.y, width, height, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  SetWindowRgn(Handle, nullptr, TRUE);  // the platform frees the region
  HasRegion = false;
}

void TWinSkinForm::UnskinControlsOnly() {
  if (HoverTimer) HoverTimer->SetEnabled(false);
  FreeSkinControls();
  if (Form) HookMenuItems(Form, false);
  if (Form && LifeState != lsDestroying) Form->SetColor(SavedColor);
  WindowHook.Release();
  if (ClientHook) ClientHook->Release();
  if (Form && LifeState != lsDestroying)
    for (int i = 0; i < Form->ComponentCount(); ++i)
      if (auto* control = dynamic_cast<TControl*>(Form->Components(i))) control->Invalidate();
}

void TWinSkinForm::ReleaseOnDestroy() {
  if (!StopFrame()) return;
  RestoreWindowProcs();
  FreeSkinControls();
  // The items' handlers point at this object, which may go before its form.
  if (Form) HookMenuItems(Form, false);
  delete MenuBar;
  MenuBar = nullptr;
  TitleBuffer.SetSize(0, 0, pf24bit);
  TitleBackground.SetSize(0, 0, pf24bit);
}
