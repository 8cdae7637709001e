#include "Forms.h"

#include <algorithm>

#include "Menus.h"
#include "Screen.h"
#include "Streams.h"
#include "WaitPumping.h"

TApplication* Application = nullptr;

namespace ui {
void HandleException(TObject* sender) {
  if (Application) Application->HandleException(sender);
}

HBRUSH SolidBrush(TColor c) {
  return Application ? Application->SolidBrush(c) : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

HBRUSH PatternBrush(TColor a, TColor b) {
  return Application ? Application->PatternBrush(a, b) : static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
}
}  // namespace ui

// ---- TForm ----

TCustomForm::TCustomForm(TComponent* owner) : TCustomControl(owner) { Screen->AddForm(this); }
TCustomForm::~TCustomForm() { Screen->RemoveForm(this); }

TForm::TForm(TComponent* owner) : TCustomForm(owner) {
  TControl::SetVisible(false);
  SetBounds(0, 0, 320, 240);
}

TForm::~TForm() {
  DetachMenu();  // the window would destroy the menu's handles with itself
  if (menu_) menu_->form_ = nullptr;
}

void TForm::DetachMenu() {
  if (menu_ && HandleAllocated()) ::SetMenu(handle_, nullptr);
}

void TForm::DestroyHandle() {
  DetachMenu();
  TCustomForm::DestroyHandle();
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  DetachMenu();
  if (menu_) {
    menu_->form_ = nullptr;
    RemoveFreeNotification(menu_);
  }
  menu_ = menu;
  if (menu) {
    menu->form_ = this;
    FreeNotification(menu);
  }
  if (HandleAllocated()) Perform(CM_MENUCHANGED);
}

void TForm::Loaded() {
  TCustomForm::Loaded();
  if (menuName_.empty()) return;
  auto* menu = dynamic_cast<TMainMenu*>(FindComponent(menuName_));
  if (!menu) throw Exception(ClassName() + ": Menu " + menuName_ + " is not a main menu of the form");
  SetMenu(menu);
}

void TForm::Notification(TComponent* c, TOperation op) {
  TCustomForm::Notification(c, op);
  if (op == TOperation::opRemove && c == menu_) {
    DetachMenu();
    menu_ = nullptr;
  }
}

void TForm::SetAutoScroll(bool v) {
  autoScroll_ = v;
  if (!v) ScrollBy(-scrollX_, -scrollY_);
  UpdateScrollRange();
}

// The extent of the controls, counted from the unscrolled origin, against the
// client area; a bar shows only while its range is larger than its page.
void TForm::UpdateScrollRange() {
  if (!HandleAllocated() || scrolling_) return;
  if (!autoScroll_) {
    if (GetWindowLongPtrA(handle_, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) ShowScrollBar(handle_, SB_BOTH, FALSE);
    return;
  }
  scrolling_ = true;
  for (int pass = 0; pass < 2; ++pass) {  // one bar appearing may call for the other
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (!c->Visible() || c->Align() != alNone) continue;
      right = std::max(right, c->Left() + c->Width() + scrollX_);
      bottom = std::max(bottom, c->Top() + c->Height() + scrollY_);
    }
    RECT client;
    GetClientRect(handle_, &client);
    SCROLLINFO h{sizeof h, SIF_RANGE | SIF_PAGE | SIF_POS, 0, right - 1, static_cast<UINT>(client.right), scrollX_, 0};
    SCROLLINFO v{sizeof v, SIF_RANGE | SIF_PAGE | SIF_POS, 0, bottom - 1, static_cast<UINT>(client.bottom), scrollY_, 0};
    SetScrollInfo(handle_, SB_HORZ, &h, TRUE);
    SetScrollInfo(handle_, SB_VERT, &v, TRUE);
    // The content may have shrunk or the window grown: scroll back.
    ScrollBy(std::max(0, std::min(scrollX_, right - static_cast<int>(client.right))) - scrollX_,
             std::max(0, std::min(scrollY_, bottom - static_cast<int>(client.bottom))) - scrollY_);
  }
  scrolling_ = false;
}

void TForm::ScrollBy(int dx, int dy) {
  if (!dx && !dy) return;
  scrollX_ += dx;
  scrollY_ += dy;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Align() == alNone) c->SetBounds(c->Left() - dx, c->Top() - dy, c->Width(), c->Height());
  }
  if (HandleAllocated()) {
    SetScrollPos(handle_, SB_HORZ, scrollX_, TRUE);
    SetScrollPos(handle_, SB_VERT, scrollY_, TRUE);
  }
  Invalidate();
}

void TForm::InitForm() {
  std::vector<TComponent*> read;
  HMODULE module = GetModuleHandleA(nullptr);
  if (FindResourceA(module, ClassName().c_str(), MAKEINTRESOURCEA(10))) {
    TResourceStream res(module, ClassName(), MAKEINTRESOURCEA(10));  // RT_RCDATA
    read = ui::ReadForm(this, std::string(reinterpret_cast<const char*>(res.Memory()), static_cast<size_t>(res.Size())));
  }
  for (auto& bind : binders_) bind();
  ui::CallLoaded(read);
  // A failing OnCreate is reported like any other error; the form stays.
  if (OnCreate) ui::Guard(this, [this] { OnCreate(this); });
  if (Visible()) Show();
}

void TForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  switch (BorderStyle) {
    case bsNone: p.Style |= WS_POPUP; break;
    case bsSingle: p.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: p.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME; p.ExStyle |= WS_EX_DLGMODALFRAME; break;
  }
  if (BorderStyle != bsNone && (BorderIcons & biSystemMenu)) {
    p.Style |= WS_SYSMENU;
    if (BorderStyle != bsDialog) {
      if (BorderIcons & biMinimize) p.Style |= WS_MINIMIZEBOX;
      if (BorderIcons & biMaximize) p.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (TransparentColor) p.ExStyle |= WS_EX_LAYERED;
  p.WndParent = Application ? Application->Handle() : nullptr;
}

void TForm::CreateWnd() {
  // Stored client sizes become window sizes for the chosen frame.
  TCreateParams p;
  CreateParams(p);
  if (clientWidth_ >= 0 || clientHeight_ >= 0) {
    RECT r{0, 0, clientWidth_ >= 0 ? clientWidth_ : Width(), clientHeight_ >= 0 ? clientHeight_ : Height()};
    AdjustWindowRectEx(&r, p.Style, menu_ != nullptr, p.ExStyle);
    TControl::SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
  }
  if (Position == poScreenCenter)
    TControl::SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2, (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2,
                        Width(), Height());
  TWinControl::CreateWnd();
  if (menu_) ::SetMenu(handle_, menu_->Handle());
  if (FormStyle == fsStayOnTop) SetWindowPos(handle_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (TransparentColor) SetLayeredWindowAttributes(handle_, ui::ColorToRGB(TransparentColorValue), 0, LWA_COLORKEY);
  if (icon_) SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
}

void TForm::SetClientWidth(int w) {
  clientWidth_ = w;
  if (HandleAllocated()) {
    RECT r = ClientRect();
    SetWidth(Width() + w - r.right);
  } else SetWidth(w);
}

void TForm::SetClientHeight(int h) {
  clientHeight_ = h;
  if (HandleAllocated()) {
    RECT r = ClientRect();
    SetHeight(Height() + h - r.bottom);
  } else SetHeight(h);
}

void TForm::SetIcon(HICON icon) {
  icon_ = icon;
  if (HandleAllocated()) SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void TForm::SetVisible(bool v) {
  TControl::SetVisible(v);
  if (v) ShowWindow(Handle(), SW_SHOW);
  else if (HandleAllocated()) ShowWindow(handle_, SW_HIDE);
}

void TForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TForm::BringToFront() {
  if (HandleAllocated()) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm::Close() {
  bool isMain = Application && Application->MainForm() == this;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (isMain) Application->Terminate();
  else if (action == caHide) Hide();
  else Release();
}

void TForm::Release() {
  if (HandleAllocated()) PostMessageA(handle_, CM_RELEASE, 0, 0);
}

void TForm::PaintWindow(HDC dc) {
  TCustomControl::PaintWindow(dc);
  if (OnPaint) {
    ui::CanvasTarget target(Canvas(), dc);
    OnPaint(this);
  }
}

void TForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      if (!HasHandler(WM_CLOSE)) {
        Close();
        return;
      }
      break;
    case CM_RELEASE:
      delete this;  // nothing may touch the form after this
      return;
    case WM_SHOWWINDOW:
      if (m.WParam) {
        if (OnShow) OnShow(this);
        ShowingChanged();  // its visible pages are shown with it
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) != WA_INACTIVE && OnActivate) OnActivate(this);
      break;
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
      if (!(wp->flags & SWP_NOSIZE) || !(wp->flags & SWP_NOMOVE)) TControl::SetBounds(wp->x, wp->y, wp->cx, wp->cy);
      break;
    }
    case CM_MENUCHANGED:
      if (menu_) {
        ::SetMenu(handle_, menu_->Handle());
        DrawMenuBar(handle_);
      }
      break;
    case WM_SIZE:
      TCustomForm::WndProc(m);
      UpdateScrollRange();
      return;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      if (m.LParam || !autoScroll_) break;  // a scroll-bar control's: reflected
      const int bar = m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
      SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
      GetScrollInfo(handle_, bar, &si);
      const int pos = ui::ScrollPosition(LOWORD(m.WParam), si.nPos, si.nTrackPos, si.nMin, si.nMax,
                                         static_cast<int>(si.nPage), 8);
      if (bar == SB_HORZ) ScrollBy(pos - scrollX_, 0);
      else ScrollBy(0, pos - scrollY_);
      return;
    }
  }
  TCustomForm::WndProc(m);
}

bool TForm::SetProp(const std::string& name, const TValue& v) {
  if (name == "ClientWidth") SetClientWidth(v.AsInt());
  else if (name == "ClientHeight") SetClientHeight(v.AsInt());
  else if (name == "BorderStyle") {
    static const std::map<std::string, TFormBorderStyle> styles{
        {"bsNone", bsNone}, {"bsSingle", bsSingle}, {"bsSizeable", bsSizeable}, {"bsDialog", bsDialog}};
    auto it = styles.find(v.AsString());
    if (it == styles.end()) throw Exception("Invalid BorderStyle " + v.s);
    BorderStyle = it->second;
  } else if (name == "BorderIcons")
    BorderIcons = (v.Has("biSystemMenu") ? biSystemMenu : 0) | (v.Has("biMinimize") ? biMinimize : 0) |
                  (v.Has("biMaximize") ? biMaximize : 0);
  else if (name == "Position") Position = v.AsString() == "poScreenCenter" ? poScreenCenter : poDesigned;
  else if (name == "FormStyle") FormStyle = v.AsString() == "fsStayOnTop" ? fsStayOnTop : fsNormal;
  else if (name == "TransparentColor") TransparentColor = v.AsBool();
  else if (name == "TransparentColorValue") TransparentColorValue = ui::ColorFromValue(v);
  else if (name == "Scaled" || name == "PixelsPerInch" || name == "TextHeight") {}  // fixed 96 dpi layout
  else if (name == "Menu") menuName_ = v.AsString();
  else if (name == "AutoScroll") SetAutoScroll(v.AsBool());
  else if (name == "OnCreate") SetEvent(OnCreate, name, v);
  else if (name == "OnShow") SetEvent(OnShow, name, v);
  else if (name == "OnActivate") SetEvent(OnActivate, name, v);
  else if (name == "OnPaint") SetEvent(OnPaint, name, v);
  else if (name == "OnClose") SetEvent(OnClose, name, v);
  else return TCustomForm::SetProp(name, v);
  return true;
}

// ---- TApplication ----

TApplication::TApplication() : TComponent(nullptr) {
  Application = this;
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  name = name.substr(name.find_last_of("\\/") + 1);
  title_ = name.substr(0, name.find_last_of('.'));
  Name = "Application";
}

TApplication::~TApplication() {
  DestroyComponents();  // forms first, while the owner window still exists
  if (handle_) DestroyWindow(handle_);
  if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
  if (handle_) return;
  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  if (!GetClassInfoA(inst, "TApplication", &wc)) {
    wc.lpfnWndProc = AppWndProc;
    wc.hInstance = inst;
    wc.lpszClassName = "TApplication";
    RegisterClassA(&wc);
  }
  InitCommonControls();
  // The hidden, zero-size owner of every form.
  handle_ = CreateWindowExA(0, "TApplication", title_.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                            nullptr, inst, nullptr);
}

LRESULT CALLBACK TApplication::AppWndProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  try {
    if (Application) {
      if (msg == WM_DRAWITEM && reinterpret_cast<DRAWITEMSTRUCT*>(l)->CtlType == ODT_MENU)
        return Application->DrawMenuItem(*reinterpret_cast<DRAWITEMSTRUCT*>(l));
      if (msg == WM_MEASUREITEM && reinterpret_cast<MEASUREITEMSTRUCT*>(l)->CtlType == ODT_MENU)
        return Application->MeasureMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(l));
      if (msg == WM_COMMAND && HIWORD(w) == 0 && !l && Application->DispatchCommand(LOWORD(w))) return 0;
    }
    return DefWindowProcA(h, msg, w, l);
  } catch (...) {
    ui::HandleException(Application);
    return 0;
  }
}

int ui::RunApplication(const std::string& title, const std::function<void(TApplication&)>& createForms) {
  TApplication application;
  try {
    application.Initialize();
    application.SetTitle(title);
    createForms(application);
    application.Run();
  } catch (...) {
    application.HandleException(&application);
    return 1;
  }
  return 0;
}

void TApplication::Run() {
  if (mainForm_ && ShowMainForm && !terminated_) mainForm_->Show();
  MSG msg;
  // A loop of the platform's may take the quit on the way (a window's move
  // loop ends on it and keeps it): the request itself ends this one too.
  while (!terminated_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);  // thread messages too: window-less timers run from here
  }
  PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // served
  terminated_ = true;
}

void TApplication::ProcessMessages() {
  ui::WaitPumping(0);
  // A quit request stays queued for the loop that waits for it.
  MSG msg;
  if (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) terminated_ = true;
}

void TApplication::Terminate() {
  terminated_ = true;
  // A menu's loop takes a quit and stays open: ended first, it returns
  // before it sees the quit, which then reaches the loop that waits for it.
  EndMenu();
  PostQuitMessage(0);
}

void TApplication::SetTitle(const std::string& t) {
  title_ = t;
  if (handle_) SetWindowTextA(handle_, t.c_str());
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
  HWND owner = GetActiveWindow();
  return MessageBoxA(owner ? owner : handle_, text.c_str(), caption.c_str(), flags);
}

void TApplication::HandleException(TObject* sender) {
  std::string message;
  try {
    throw;
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "Unknown exception";
  }
  try {
    if (OnException) OnException(sender, message);
    else MessageBox(message, title_, MB_OK | MB_ICONSTOP);
  } catch (...) {
    // The boundary itself never throws.
  }
}

void TApplication::Notification(TComponent* c, TOperation op) {
  if (op == TOperation::opRemove && c == mainForm_) mainForm_ = nullptr;
}

HBRUSH TApplication::SolidBrush(TColor c) {
  COLORREF rgb = ui::ColorToRGB(c);
  auto& b = brushes_[rgb];
  if (!b) b.reset(CreateSolidBrush(rgb));
  return static_cast<HBRUSH>(b.get());
}

HBRUSH TApplication::PatternBrush(TColor a, TColor b) {
  auto& brush = patterns_[{ui::ColorToRGB(a), ui::ColorToRGB(b)}];
  if (!brush) {
    const COLORREF colors[2] = {ui::ColorToRGB(a), ui::ColorToRGB(b)};
    TBitmap cells(8, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        uint8_t* p = cells.ScanLine(y) + x * 3;
        const COLORREF c = colors[(x + y) % 2];
        p[0] = GetBValue(c);
        p[1] = GetGValue(c);
        p[2] = GetRValue(c);
      }
    brush.reset(CreatePatternBrush(cells.Handle()));  // the brush keeps a copy of the cells
  }
  return static_cast<HBRUSH>(brush.get());
}

UINT TApplication::AddMenuCommand(TMenuItem* item) {
  while (commands_.count(nextCommand_) || nextCommand_ < 100) nextCommand_ = nextCommand_ >= 0xF000 ? 100 : nextCommand_ + 1;
  commands_[nextCommand_] = item;
  return nextCommand_++;
}

void TApplication::RemoveMenuCommand(UINT id) { commands_.erase(id); }

bool TApplication::DispatchCommand(UINT id) {
  auto it = commands_.find(id);
  if (it == commands_.end()) return false;
  it->second->Click();
  return true;
}

bool TApplication::DrawMenuItem(const DRAWITEMSTRUCT& d) {
  auto it = commands_.find(d.itemID);
  return it != commands_.end() && it->second->DrawItem(d);
}

bool TApplication::MeasureMenuItem(MEASUREITEMSTRUCT& m) {
  auto it = commands_.find(m.itemID);
  return it != commands_.end() && it->second->MeasureItem(m);
}
