#include "Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "Forms.h"

namespace {
const char kObjectProp[] = "CorvelUiObject";

bool IsMouseMessage(UINT m) {
  return m == WM_MOUSEMOVE || (m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK);
}

int messageDepth = 0;
std::vector<TGraphicControl*> lentCanvases;
}  // namespace

namespace ui {
detail::MessageScope::MessageScope() { ++messageDepth; }

detail::MessageScope::~MessageScope() {
  if (--messageDepth > 0) return;
  while (!lentCanvases.empty()) lentCanvases.back()->ReleaseCanvas();
}

void Guard(TObject* sender, const std::function<void()>& fn) {
  detail::MessageScope scope;
  try {
    fn();
  } catch (...) {
    HandleException(sender);
  }
}

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

int ScrollPosition(WORD request, int pos, int thumb, int min, int max, int page, int line) {
  switch (request) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= std::max(page, 1); break;
    case SB_PAGEDOWN: pos += std::max(page, 1); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = thumb; break;
    case SB_TOP: pos = min; break;
    case SB_BOTTOM: pos = max; break;
  }
  return std::clamp(pos, min, std::max(min, max - std::max(page - 1, 0)));
}
}  // namespace ui

// ---- TControl ----

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  Font.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  DestroyComponents();  // while WindowProc and the other members still live
  if (Application && Application->MouseControl == this) Application->MouseControl = nullptr;
  if (parent_) parent_->RemoveControl(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM w, LPARAM l) {
  TMessage m{msg, w, l, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::Dispatch(TMessage& m) {
  auto it = handlers_.find(m.Msg);
  if (it != handlers_.end()) it->second(m);
  else DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (clickEvents_) pressed_ = true;
      if (OnMouseDown) OnMouseDown(this, 0, 0, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
      break;
    case WM_LBUTTONUP: {
      bool click = pressed_;
      pressed_ = false;
      POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      RECT r = ClientRect();
      if (OnMouseUp) OnMouseUp(this, 0, 0, p.x, p.y);
      if (click && PtInRect(&r, p)) Click();
      break;
    }
  }
  Dispatch(m);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::SetParent(TWinControl* p) {
  if (p == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  parent_ = p;
  if (!p) return;
  if (ParentFont) Font.Assign(p->Font);
  p->InsertControl(this);
  if (parentColor_) SetParentColor(true);
}

void TControl::SetBounds(int l, int t, int w, int h) {
  if (parent_ && !Is<TWinControl>()) Invalidate();
  left_ = l;
  top_ = t;
  width_ = w;
  height_ = h;
  if (parent_ && !Is<TWinControl>()) Invalidate();
  BoundsChanged();
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetAlign(TAlign a) {
  align_ = a;
  if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  if (parent_) {
    parent_->Invalidate();
    if (align_ != alNone) parent_->Realign();
  }
}

void TControl::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetText(const std::string& s) {
  text_ = s;
  TextChanged();
}

void TControl::SetColor(TColor c) {
  color_ = c;
  parentColor_ = false;
  ColorChanged();
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v && parent_) {
    color_ = parent_->Color();
    ColorChanged();
  }
}

void TControl::Invalidate() {
  if (parent_ && parent_->HandleAllocated()) {
    RECT r = BoundsRect();
    InvalidateRect(parent_->handle_, &r, TRUE);
  }
}

POINT TControl::ClientOrigin() const { return POINT{left_, top_}; }

bool TControl::SetProp(const std::string& name, const TValue& v) {
  if (name.rfind("Font.", 0) == 0) {
    ParentFont = false;
    return Font.SetProp(name.substr(5), v);
  }
  if (name == "Left") SetLeft(v.AsInt());
  else if (name == "Top") SetTop(v.AsInt());
  else if (name == "Width") SetWidth(v.AsInt());
  else if (name == "Height") SetHeight(v.AsInt());
  else if (name == "Visible") SetVisible(v.AsBool());
  else if (name == "Enabled") SetEnabled(v.AsBool());
  else if (name == "Caption" || name == "Text") SetText(v.AsText());
  else if (name == "Color") SetColor(ui::ColorFromValue(v));
  else if (name == "ParentColor") SetParentColor(v.AsBool());
  else if (name == "ParentFont") ParentFont = v.AsBool();
  else if (name == "Cursor") Cursor = v.kind == TValue::Int ? v.AsInt() : (v.s == "crHandPoint" ? -21 : 0);
  else if (name == "Align") {
    static const char* names[] = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};
    auto it = std::find(std::begin(names), std::end(names), v.AsString());
    if (it == std::end(names)) throw Exception("Invalid Align " + v.s);
    SetAlign(static_cast<TAlign>(it - std::begin(names)));
  } else if (name == "OnClick") SetEvent(OnClick, name, v);
  else if (name == "OnMouseDown") SetEvent(OnMouseDown, name, v);
  else if (name == "OnMouseUp") SetEvent(OnMouseUp, name, v);
  else return TComponent::SetProp(name, v);
  return true;
}

std::optional<std::string> TControl::GetProp(const std::string& name) const {
  if (name == "Caption" || name == "Text") return GetText();
  if (name == "Visible") return std::string(visible_ ? "True" : "False");
  if (name == "Enabled") return std::string(enabled_ ? "True" : "False");
  if (name == "Left") return std::to_string(left_);
  if (name == "Top") return std::to_string(top_);
  if (name == "Width") return std::to_string(width_);
  if (name == "Height") return std::to_string(height_);
  if (name == "Color") return std::to_string(color_);
  return TComponent::GetProp(name);
}

// ---- TWinControl ----

LRESULT CALLBACK StdWndProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* c = static_cast<TWinControl*>(GetPropA(h, kObjectProp));
  if (!c && msg == WM_NCCREATE) {
    c = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(l)->lpCreateParams);
    if (c) {
      c->handle_ = h;
      SetPropA(h, kObjectProp, c);
    }
  }
  if (!c) return DefWindowProcA(h, msg, w, l);
  if (c->Destroying()) {
    // Its events may point into objects already gone: only the window's own procedure runs.
    LRESULT r = CallWindowProcA(c->defProc_, h, msg, w, l);
    if (msg == WM_NCDESTROY) {
      RemovePropA(h, kObjectProp);
      c->handle_ = nullptr;
    }
    return r;
  }
  TMessage m{msg, w, l, 0};
  ui::detail::MessageScope scope;
  try {
    c->WindowProc(m);
  } catch (...) {
    ui::HandleException(c);
  }
  return m.Result;
}

TWinControl* TWinControl::FromHandle(HWND h) {
  return h ? static_cast<TWinControl*>(GetPropA(h, kObjectProp)) : nullptr;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  MarkDestroying();
  while (!controls_.empty()) delete controls_.back();
  DestroyHandle();
  // Owned objects go after the window (they may have to see its last
  // messages) and before the members, so one can give back the WindowProc it replaced.
  DestroyComponents();
}

HWND TWinControl::Handle() {
  if (!handle_) {
    if (parent_) parent_->Handle();
    if (!handle_) {  // the parent's creation may have made ours
      CreateWnd();
      CreateHandle();
    }
  }
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (Visible()) p.Style |= WS_VISIBLE;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (TabStop) p.Style |= WS_TABSTOP;
  if (parent_) p.WndParent = parent_->handle_;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if (!parent_ && (p.Style & WS_CHILD)) throw Exception("Control '" + Name + "' has no parent window");
  HINSTANCE inst = GetModuleHandleA(nullptr);
  ownClass_ = p.WinClass.empty();
  std::string cls = ownClass_ ? ClassName() : p.WinClass;
  if (ownClass_) {
    WNDCLASSA wc = {};
    if (!GetClassInfoA(inst, cls.c_str(), &wc)) {
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = StdWndProc;
      wc.hInstance = inst;
      wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
      wc.lpszClassName = cls.c_str();
      if (!RegisterClassA(&wc)) throw Exception("Cannot register window class " + cls);
    }
    defProc_ = DefWindowProcA;
  }
  HWND h = CreateWindowExA(p.ExStyle, cls.c_str(), text_.c_str(), p.Style, Left(), Top(), Width(), Height(),
                           p.WndParent, nullptr, inst, ownClass_ ? this : nullptr);
  if (!h) throw Exception("Error creating window " + Name + " (" + cls + ")");
  if (!ownClass_) {
    handle_ = h;
    SetPropA(h, kObjectProp, this);
    defProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StdWndProc)));
  }
  if (parent_) parent_->PlaceChild(this);
}

// Later controls of the list lie above earlier ones, as the form descriptions
// are drawn (a new child window would start at the bottom).
void TWinControl::PlaceChild(TWinControl* child) {
  auto it = std::find(controls_.begin(), controls_.end(), child);
  if (it == controls_.end()) return;
  HWND above = HWND_TOP;
  for (++it; it != controls_.end(); ++it)
    if (auto* w = dynamic_cast<TWinControl*>(*it); w && w->handle_) {
      above = w->handle_;
      break;
    }
  SetWindowPos(child->handle_, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void TWinControl::ShowingChanged() {
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible()) w->ShowingChanged();
}

void TWinControl::CreateHandle() {
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), FALSE);
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->Handle();
  Realign();
}

void TWinControl::DestroyHandle() {
  for (TControl* c : controls_)
    if (auto* g = dynamic_cast<TGraphicControl*>(c)) g->ReleaseCanvas();  // a DC of this window
  if (handle_) DestroyWindow(handle_);
  handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  DestroyHandle();
  Handle();
}

void TWinControl::SetParent(TWinControl* p) {
  const bool keep = handle_ && p && p->handle_;
  if (keep) ::SetParent(handle_, p->handle_);
  else if (handle_) DestroyHandle();
  TControl::SetParent(p);
  if (keep) p->PlaceChild(this);
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  auto* w = dynamic_cast<TWinControl*>(c);
  if (w && handle_) w->Handle();
  else if (!w) c->Invalidate();
  if (c->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* c) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  if (captureControl_ == c) captureControl_ = nullptr;
  if (!c->Is<TWinControl>()) c->Invalidate();
}

TControl* TWinControl::ControlAtPos(POINT p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    RECT r = c->BoundsRect();
    if (!c->Is<TWinControl>() && c->Visible() && c->Enabled() && PtInRect(&r, p)) return c;
  }
  return nullptr;
}

TControl* TWinControl::FindChildControl(HWND h) const {
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->handle_ == h) return w;
  return nullptr;
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }
bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetBounds(int l, int t, int w, int h) {
  TControl::SetBounds(l, t, w, h);
  if (handle_) SetWindowPos(handle_, nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool v) {
  TControl::SetVisible(v);
  if (handle_) ShowWindow(handle_, v ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool v) {
  if (handle_) EnableWindow(handle_, v);
  TControl::SetEnabled(v);
}

std::string TWinControl::GetText() const {
  if (!handle_) return text_;
  int n = GetWindowTextLengthA(handle_);
  std::string s(n + 1, '\0');
  s.resize(GetWindowTextA(handle_, s.data(), n + 1));
  return s;
}

void TWinControl::SetText(const std::string& s) {
  text_ = s;
  if (handle_) SetWindowTextA(handle_, s.c_str());
  TextChanged();
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, Width(), Height()};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::FontChanged() {
  if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), TRUE);
  for (TControl* c : controls_)
    if (c->ParentFont) {
      c->Font.Assign(Font);
      c->ParentFont = true;
    }
}

void TWinControl::ColorChanged() {
  for (TControl* c : controls_)
    if (c->ParentColor()) c->SetParentColor(true);
  Invalidate();
}

void TWinControl::Realign() {
  if (aligning_) return;  // placing a child would ask again
  aligning_ = true;
  RECT r = ClientRect();
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient})
    for (TControl* c : controls_) {
      if (c->Align() != a || !c->Visible()) continue;
      int w = c->Width(), h = c->Height();
      switch (a) {
        case alTop: c->TControl::SetBounds(r.left, r.top, r.right - r.left, h); r.top += h; break;
        case alBottom: r.bottom -= h; c->TControl::SetBounds(r.left, r.bottom, r.right - r.left, h); break;
        case alLeft: c->TControl::SetBounds(r.left, r.top, w, r.bottom - r.top); r.left += w; break;
        case alRight: r.right -= w; c->TControl::SetBounds(r.right, r.top, w, r.bottom - r.top); break;
        default: c->TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); break;
      }
      if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc->handle_)
        SetWindowPos(wc->handle_, nullptr, wc->Left(), wc->Top(), wc->Width(), wc->Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
  aligning_ = false;
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : controls_) {
    if (c->Is<TWinControl>() || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    int saved = SaveDC(dc);
    POINT org;
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.x + r.left, org.y + r.top, nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::RouteMouse(TMessage& m, bool& handled) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = captureControl_ ? captureControl_ : ControlAtPos(p);
  if (m.Msg == WM_MOUSEMOVE) TrackMouse(target ? target : this);
  if (!target) return;
  handled = true;
  bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK;
  bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP;
  if (down) {
    captureControl_ = target;
    SetCapture(handle_);
  }
  m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
  if (up && captureControl_) {
    captureControl_ = nullptr;
    ReleaseCapture();
  }
}

void TWinControl::TrackMouse(TControl* target) {
  if (!tracking_) {
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
    tracking_ = TrackMouseEvent(&t) != 0;
  }
  if (!Application || Application->MouseControl == target) return;
  TControl* old = Application->MouseControl;
  Application->MouseControl = target;
  if (old) old->Perform(CM_MOUSELEAVE);
  target->Perform(CM_MOUSEENTER);
}

void TWinControl::Reflect(TMessage& m, HWND child) {
  TWinControl* c = FromHandle(child);
  if (c && c != this) m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  else Dispatch(m);
}

void TWinControl::WndProc(TMessage& m) {
  if (handlers_.count(m.Msg)) {  // a bound handler takes the message over
    TControl::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_COMMAND:
      if (m.LParam) return Reflect(m, reinterpret_cast<HWND>(m.LParam));
      if (HIWORD(m.WParam) == 0 && Application && Application->DispatchCommand(LOWORD(m.WParam))) return;
      break;
    case WM_NOTIFY: return Reflect(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom);
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (m.LParam) return Reflect(m, reinterpret_cast<HWND>(m.LParam));
      break;
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
      return Reflect(m, reinterpret_cast<HWND>(m.LParam));
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (d->CtlType == ODT_MENU) {
        if (Application && Application->DrawMenuItem(*d)) m.Result = TRUE;
        return;
      }
      return Reflect(m, d->hwndItem);
    }
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mi->CtlType == ODT_MENU) {
        if (Application && Application->MeasureMenuItem(*mi)) m.Result = TRUE;
        return;
      }
      return Reflect(m, GetDlgItem(handle_, mi->CtlID));
    }
    case CN_BASE + WM_CTLCOLORSTATIC: case CN_BASE + WM_CTLCOLOREDIT: case CN_BASE + WM_CTLCOLORBTN:
    case CN_BASE + WM_CTLCOLORLISTBOX: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, ui::ColorToRGB(Font.Color()));
      SetBkColor(dc, ui::ColorToRGB(Color()));
      m.Result = reinterpret_cast<LRESULT>(ui::SolidBrush(Color()));
      return;
    }
    case WM_ERASEBKGND:
      if (!ownClass_) break;
      if (!DoubleBuffered) {
        RECT r = ClientRect();
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, ui::SolidBrush(Color()));
      }
      m.Result = 1;
      return;
    case WM_PAINT: {
      if (!ownClass_) break;
      std::optional<ui::PaintDC> paint;
      HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : paint.emplace(handle_).get();
      if (DoubleBuffered) {
        RECT r = ClientRect();
        TBitmap buffer(r.right, r.bottom);
        HDC mem = buffer.Canvas().Handle();
        FillRect(mem, &r, ui::SolidBrush(Color()));
        PaintWindow(mem);
        PaintControls(mem);
        BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
      } else {
        PaintWindow(dc);
        PaintControls(dc);
      }
      return;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      // Graphic children take their leave from here; windowed ones track their own.
      if (Application && Application->MouseControl &&
          (Application->MouseControl == this ||
           (Application->MouseControl->Parent() == this && !Application->MouseControl->Is<TWinControl>()))) {
        TControl* old = Application->MouseControl;
        Application->MouseControl = nullptr;
        old->Perform(CM_MOUSELEAVE);
      }
      break;
    case WM_SETCURSOR:
      if (Cursor && LOWORD(m.LParam) == HTCLIENT) {
        SetCursor(LoadCursorA(nullptr, Cursor == -21 ? IDC_HAND : MAKEINTRESOURCEA(Cursor)));
        m.Result = TRUE;
        return;
      }
      break;
    case WM_SETFOCUS:
      TControl::WndProc(m);
      if (OnEnter) OnEnter(this);
      return;
    case WM_KILLFOCUS: {
      TControl::WndProc(m);
      // Focus left for another control of the same window: the exit notification.
      HWND to = reinterpret_cast<HWND>(m.WParam);
      if (to && handle_ && GetAncestor(to, GA_ROOT) == GetAncestor(handle_, GA_ROOT)) Perform(CM_EXIT);
      return;
    }
    case CM_EXIT:
      if (OnExit) OnExit(this);
      return;
    case WM_KEYDOWN:
    case WM_KEYUP: {
      TKeyEvent& ev = m.Msg == WM_KEYDOWN ? OnKeyDown : OnKeyUp;
      if (ev) {
        WORD key = static_cast<WORD>(m.WParam);
        int shift = (GetKeyState(VK_SHIFT) < 0 ? ssShift : 0) | (GetKeyState(VK_CONTROL) < 0 ? ssCtrl : 0) |
                    (GetKeyState(VK_MENU) < 0 ? ssAlt : 0);
        ev(this, key, shift);
        if (key == 0) return;
        m.WParam = key;
      }
      break;
    }
    case WM_SIZE:
      if (ownClass_) Realign();
      break;
    case WM_SYSCHAR: {
      // The form may take Alt and a character for a menu of its own.
      TControl* top = this;
      while (top->Parent()) top = top->Parent();
      if (top->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) return;
      break;
    }
    case WM_NCDESTROY:
      TControl::WndProc(m);
      RemovePropA(handle_, kObjectProp);
      handle_ = nullptr;
      tracking_ = false;
      return;
    default:
      if (IsMouseMessage(m.Msg)) {
        bool handled = false;
        RouteMouse(m, handled);
        if (handled) return;
      }
  }
  TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400) return;  // unanswered reflections stay 0
  if (handle_) m.Result = CallWindowProcA(defProc_, handle_, m.Msg, m.WParam, m.LParam);
}

bool TWinControl::SetProp(const std::string& name, const TValue& v) {
  if (name == "DoubleBuffered") DoubleBuffered = v.AsBool();
  else if (name == "TabStop") TabStop = v.AsBool();
  else if (name == "TabOrder") {}  // creation order is the tab order
  else if (name == "OnKeyDown") SetEvent(OnKeyDown, name, v);
  else if (name == "OnKeyUp") SetEvent(OnKeyUp, name, v);
  else if (name == "OnEnter") SetEvent(OnEnter, name, v);
  else if (name == "OnExit") SetEvent(OnExit, name, v);
  else return TControl::SetProp(name, v);
  return true;
}

bool TWinControl::AcceptChild(TComponent* c) {
  auto* control = dynamic_cast<TControl*>(c);
  if (control) control->SetParent(this);
  return control != nullptr;
}

// ---- TGraphicControl / TCustomControl ----

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) { SetParentColor(true); }

TGraphicControl::~TGraphicControl() { ReleaseCanvas(); }

TCanvas& TGraphicControl::Canvas() {
  if (canvas_.Handle() || !Parent() || !Parent()->HandleAllocated()) return canvas_;
  dc_.emplace(Parent()->Handle());
  HDC dc = dc_->get();
  savedDc_ = SaveDC(dc);
  SetViewportOrgEx(dc, Left(), Top(), nullptr);
  IntersectClipRect(dc, 0, 0, Width(), Height());
  canvas_.SetHandle(dc);
  canvas_.Font.Assign(Font);
  lentCanvases.push_back(this);
  return canvas_;
}

void TGraphicControl::ReleaseCanvas() {
  if (!dc_) return;
  lentCanvases.erase(std::remove(lentCanvases.begin(), lentCanvases.end(), this), lentCanvases.end());
  canvas_.SetHandle(nullptr);
  RestoreDC(dc_->get(), savedDc_);
  dc_.reset();
}

void TGraphicControl::SetParent(TWinControl* p) {
  ReleaseCanvas();
  TControl::SetParent(p);
}

void TGraphicControl::SetBounds(int l, int t, int w, int h) {
  ReleaseCanvas();
  TControl::SetBounds(l, t, w, h);
}

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    ui::CanvasTarget target(canvas_, reinterpret_cast<HDC>(m.WParam));
    canvas_.Font.Assign(Font);
    Paint();
    return;
  }
  TControl::WndProc(m);
}

void TCustomControl::PaintWindow(HDC dc) {
  ui::CanvasTarget target(canvas_, dc);
  canvas_.Font.Assign(Font);
  Paint();
}
