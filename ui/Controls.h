// Controls: the message chain, windowed and graphic controls.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "Classes.h"
#include "Graphics.h"

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};
using TWndMethod = std::function<void(TMessage&)>;

// The class library's own notifications.
constexpr UINT CM_DIALOGCHAR = 0xB006;  // to the form: Alt and a character, wParam the character; 1 = taken
constexpr UINT CM_ENABLEDCHANGED = 0xB00C;
constexpr UINT CM_MOUSEENTER = 0xB013;
constexpr UINT CM_MOUSELEAVE = 0xB014;
constexpr UINT CM_MENUCHANGED = 0xB015;  // to the form: its main menu changed
constexpr UINT CM_EXIT = 0xB01B;
constexpr UINT CM_RELEASE = 0xB021;
// A parent hands these notifications to the child they concern as CN_BASE + msg.
constexpr UINT CN_BASE = 0xBC00;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TShiftFlag { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, int Shift)>;
using TMouseEvent = std::function<void(TObject* Sender, int Button, int Shift, int X, int Y)>;

class TWinControl;

namespace ui::detail {
// Marks a window message (or timer callback) under way; when the outermost
// one ends, the canvases lent by graphic controls are given back.
struct MessageScope {
  MessageScope();
  ~MessageScope();
  MessageScope(const MessageScope&) = delete;
  MessageScope& operator=(const MessageScope&) = delete;
};
}  // namespace ui::detail

class TControl : public TComponent {
  UI_CLASS(TControl)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // Every message passes through WindowProc; it starts as WndProc and may be
  // replaced (and later restored) by other code.
  TWndMethod WindowProc;
  LRESULT Perform(UINT msg, WPARAM w = 0, LPARAM l = 0);
  // Binds a handler method to a message number (a registered one too). A
  // handler that does not call DefaultHandler ends the message there.
  template <class C>
  void OnMessage(UINT msg, void (C::*h)(TMessage&)) {
    C* self = static_cast<C*>(this);
    handlers_[msg] = [self, h](TMessage& m) { (self->*h)(m); };
  }
  void OnMessage(UINT msg, TWndMethod h) { handlers_[msg] = std::move(h); }
  virtual void DefaultHandler(TMessage& m);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* p);
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int l, int t, int w, int h);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign a);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);
  std::string Caption() const { return GetText(); }
  std::string Text() const { return GetText(); }
  void SetCaption(const std::string& s) { SetText(s); }
  virtual std::string GetText() const { return text_; }
  virtual void SetText(const std::string& s);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TFont Font;
  bool ParentFont = true;
  int Cursor = 0;  // 0 default, -21 hand (crHandPoint), else an IDC_ number
  virtual void Invalidate();
  virtual void Click();
  // Top-left of this control in its parent window's client coordinates.
  POINT ClientOrigin() const;

  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown, OnMouseUp;

  bool SetProp(const std::string& name, const TValue& v) override;
  std::optional<std::string> GetProp(const std::string& name) const override;

 protected:
  virtual void WndProc(TMessage& m);
  void Dispatch(TMessage& m);
  bool HasHandler(UINT msg) const { return handlers_.count(msg) != 0; }
  virtual void ColorChanged() { Invalidate(); }
  virtual void FontChanged() {}
  virtual void TextChanged() { Invalidate(); }
  virtual void BoundsChanged() {}
  bool clickEvents_ = false;  // a left click on the control fires OnClick
  std::string text_;

 private:
  friend class TWinControl;
  std::unordered_map<UINT, TWndMethod> handlers_;
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true, enabled_ = true, parentColor_ = false, pressed_ = false;
  TColor color_ = clBtnFace;
};

// How a windowed control's window is made.
struct TCreateParams {
  std::string WinClass;  // a system class to subclass (BUTTON, EDIT, ...), or empty for our own
  DWORD Style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ExStyle = 0;
  HWND WndParent = nullptr;
};

class TWinControl : public TControl {
  UI_CLASS(TWinControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  HWND Handle();  // created on demand, with the parents
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void RecreateWnd();
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int i) const { return controls_.at(i); }
  TControl* ControlAtPos(POINT p) const;  // topmost visible graphic child under p
  TControl* FindChildControl(HWND h) const;
  void SetFocus();
  bool Focused() const;
  bool DoubleBuffered = false;
  bool TabStop = true;
  void SetParent(TWinControl* p) override;
  void SetBounds(int l, int t, int w, int h) override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  std::string GetText() const override;
  void SetText(const std::string& s) override;
  RECT ClientRect() const override;
  void Invalidate() override;
  void Realign();
  TKeyEvent OnKeyDown, OnKeyUp;
  TNotifyEvent OnEnter, OnExit;

  // The object behind a window of ours, found through a window property.
  static TWinControl* FromHandle(HWND h);

  bool SetProp(const std::string& name, const TValue& v) override;
  bool AcceptChild(TComponent* c) override;

 protected:
  void WndProc(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;
  virtual void CreateParams(TCreateParams& p);
  virtual void CreateWnd();
  virtual void CreateHandle();  // after the window exists: push state into it
  virtual void DestroyHandle();
  // Runs when the form this control is on is shown; passed on to the visible windowed children.
  virtual void ShowingChanged();
  virtual void PaintWindow(HDC dc);  // our own classes: background and content
  void PaintControls(HDC dc);        // graphic children in z-order
  void FontChanged() override;
  void ColorChanged() override;
  bool OwnClass() const { return ownClass_; }
  HWND handle_ = nullptr;

 private:
  friend class TControl;
  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void PlaceChild(TWinControl* child);
  void RouteMouse(TMessage& m, bool& handled);
  void TrackMouse(TControl* target);
  void Reflect(TMessage& m, HWND child);
  std::vector<TControl*> controls_;
  TControl* captureControl_ = nullptr;
  WNDPROC defProc_ = nullptr;
  bool ownClass_ = false;
  bool tracking_ = false;
  bool aligning_ = false;
};

// A control without a window of its own, painted by its parent.
class TGraphicControl : public TControl {
  UI_CLASS(TGraphicControl)
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  // Outside a paint cycle the canvas draws at once on the parent's window,
  // clipped to the control, until the window message under way ends.
  TCanvas& Canvas();
  void SetParent(TWinControl* p) override;
  void SetBounds(int l, int t, int w, int h) override;

 protected:
  void WndProc(TMessage& m) override;
  virtual void Paint() {}

 private:
  friend struct ui::detail::MessageScope;
  friend class TWinControl;
  void ReleaseCanvas();
  TCanvas canvas_;
  std::optional<ui::WindowDC> dc_;  // the parent's, while Canvas() lends it
  int savedDc_ = 0;
};

// A windowed control on a class of our own (panels, pages, group boxes).
class TCustomControl : public TWinControl {
  UI_CLASS(TCustomControl)
 public:
  using TWinControl::TWinControl;
  TCanvas& Canvas() { return canvas_; }

 protected:
  void PaintWindow(HDC dc) override;
  virtual void Paint() {}

 private:
  TCanvas canvas_;
};

namespace ui {
// Runs fn; an exception goes to Application->HandleException, never further.
void Guard(TObject* sender, const std::function<void()>& fn);
HBRUSH SolidBrush(TColor c);  // shared, lives as long as the application
// A checkerboard of two colours (checked menu items: button face and
// highlight); shared like SolidBrush.
HBRUSH PatternBrush(TColor a, TColor b);
// A scroll position after a scroll bar's request (SB_LINEUP ... SB_BOTTOM),
// kept within min .. max - page + 1.
int ScrollPosition(WORD request, int pos, int thumb, int min, int max, int page, int line);
RECT Rect(int l, int t, int r, int b);
}  // namespace ui
