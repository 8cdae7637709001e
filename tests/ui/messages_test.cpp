#include <windowsx.h>

#include <memory>
#include <vector>

#include "MsgSequence.h"
#include "StdCtrls.h"
#include "UiTest.h"

namespace {

// A graphic control that fills itself and records what reaches it.
class TSwatch : public TGraphicControl {
  UI_CLASS(TSwatch)
 public:
  TSwatch(TComponent* owner, TColor c) : TGraphicControl(owner) { SetColor(c); clickEvents_ = true; }
  std::vector<UINT> seen;
  POINT lastPoint{-1, -1};

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg >= 0xB000 && m.Msg < 0xB100) seen.push_back(m.Msg);
    if (m.Msg == WM_LBUTTONDOWN) lastPoint = POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TGraphicControl::WndProc(m);
  }
  void Paint() override {
    Canvas().Brush.Color = Color();
    Canvas().FillRect(ClientRect());
  }
};

class TPanelProbe : public TCustomControl {
  UI_CLASS(TPanelProbe)
 public:
  using TCustomControl::TCustomControl;
};

int CountOf(const std::vector<UINT>& v, UINT m) { return static_cast<int>(std::count(v.begin(), v.end(), m)); }

WNDPROC g_next = nullptr;
int g_foreignCalls = 0;
LRESULT CALLBACK ForeignProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER + 7) ++g_foreignCalls;
  return CallWindowProcA(g_next, h, msg, w, l);
}

using Messages = UiTest;

TEST_F(Messages, HandlersRunBehindAForeignSubclassAndAReplacedWindowProc) {
  auto* form = new TPlainForm(app.get());
  auto* button = new TButton(form);
  button->SetParent(form);
  HWND h = button->Handle();
  int handled = 0;
  button->OnMessage(WM_USER + 7, [&](TMessage& m) { ++handled; m.Result = 99; });
  g_foreignCalls = 0;
  g_next = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProc)));
  EXPECT_EQ(TWinControl::FromHandle(h), button);
  EXPECT_EQ(SendMessageA(h, WM_USER + 7, 0, 0), 99);
  EXPECT_EQ(g_foreignCalls, 1);

  // Another layer replaces WindowProc, sees the message first, and gives it back.
  TWndMethod old = button->WindowProc;
  int wrapped = 0;
  button->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_USER + 7) ++wrapped;
    old(m);
  };
  EXPECT_EQ(SendMessageA(h, WM_USER + 7, 0, 0), 99);
  button->WindowProc = old;
  EXPECT_EQ(SendMessageA(h, WM_USER + 7, 0, 0), 99);
  EXPECT_EQ(wrapped, 1);
  EXPECT_EQ(handled, 3);
  EXPECT_EQ(g_foreignCalls, 3);
  SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_next));
}

TEST_F(Messages, RegisteredMessageBindsToAHandler) {
  auto* form = new TPlainForm(app.get());
  UINT id = RegisterWindowMessageA("CorvelUiTestMessage");
  int seen = 0;
  form->OnMessage(id, [&](TMessage&) { ++seen; });
  SendMessageA(form->Handle(), id, 0, 1);
  EXPECT_EQ(seen, 1);
}

TEST_F(Messages, EnabledChangedOnlyOnAChange) {
  auto* form = new TPlainForm(app.get());
  auto* swatch = new TSwatch(form, clRed);
  swatch->SetParent(form);
  swatch->SetEnabled(true);
  EXPECT_EQ(CountOf(swatch->seen, CM_ENABLEDCHANGED), 0);
  swatch->SetEnabled(false);
  swatch->SetEnabled(false);
  swatch->SetEnabled(true);
  EXPECT_EQ(CountOf(swatch->seen, CM_ENABLEDCHANGED), 2);
}

TEST_F(Messages, MouseEnterAndLeaveAcrossGraphicAndWindowedChildren) {
  auto* form = new TPlainForm(app.get());
  auto* panel = new TPanelProbe(form);
  panel->SetBounds(0, 0, 200, 100);
  panel->SetParent(form);
  auto* graphic = new TSwatch(form, clRed);
  graphic->SetBounds(10, 10, 20, 20);
  graphic->SetParent(panel);
  auto* windowed = new TPanelProbe(form);
  windowed->SetBounds(100, 10, 50, 50);
  windowed->SetParent(panel);
  MsgLog log;
  log.Watch(panel, "panel", IsNotification);
  log.Watch(graphic, "graphic", IsNotification);
  log.Watch(windowed, "windowed", IsNotification);
  HWND p = panel->Handle(), w = windowed->Handle();
  const struct {
    const char* step;
    HWND to;
    UINT msg;
    POINT at;
    std::vector<ExpectedMsg> expected;
  } steps[] = {
      {"onto the panel", p, WM_MOUSEMOVE, {50, 50}, {{"panel", CM_MOUSEENTER}}},
      {"along the panel", p, WM_MOUSEMOVE, {60, 50}, {}},
      {"onto the graphic child", p, WM_MOUSEMOVE, {15, 15}, {{"panel", CM_MOUSELEAVE}, {"graphic", CM_MOUSEENTER}}},
      {"onto the windowed child", w, WM_MOUSEMOVE, {5, 5}, {{"graphic", CM_MOUSELEAVE}, {"windowed", CM_MOUSEENTER}}},
      // The system tells the panel it lost the mouse to its child window: the
      // child, still under the mouse, hears nothing.
      {"the panel's leave", p, WM_MOUSELEAVE, {0, 0}, {}},
      {"off the windowed child", w, WM_MOUSELEAVE, {0, 0}, {{"windowed", CM_MOUSELEAVE}}},
      {"onto the graphic child again", p, WM_MOUSEMOVE, {15, 15}, {{"graphic", CM_MOUSEENTER}}},
      {"off the panel from the graphic child", p, WM_MOUSELEAVE, {0, 0}, {{"graphic", CM_MOUSELEAVE}}},
  };
  for (const auto& s : steps) {
    SendMessageA(s.to, s.msg, 0, MAKELPARAM(s.at.x, s.at.y));
    ExpectSequence(log.Take(), s.expected, s.step);
  }
}

TEST_F(Messages, ExitFollowsTheKillFocusOnlyWithinTheForm) {
  auto* form = new TPlainForm(app.get());
  auto* e1 = new TEdit(form);
  auto* e2 = new TEdit(form);
  e2->SetTop(30);
  e1->SetParent(form);
  e2->SetParent(form);
  MsgLog log;
  auto focus = [](UINT m) { return m == WM_SETFOCUS || m == WM_KILLFOCUS || m == CM_EXIT; };
  log.Watch(e1, "e1", focus);
  log.Watch(e2, "e2", focus);
  form->Show();
  e1->SetFocus();
  log.Take();
  e2->SetFocus();
  const auto h1 = reinterpret_cast<WPARAM>(e1->Handle()), h2 = reinterpret_cast<WPARAM>(e2->Handle());
  ExpectSequence(log.Take(), {{"e1", WM_KILLFOCUS, kWParam, h2}, {"e1", CM_EXIT}, {"e2", WM_SETFOCUS, kWParam, h1}},
                 "focus moves within the form");
  auto* other = new TPlainForm(app.get());
  other->SetLeft(300);
  other->Show();
  ExpectSequence(log.Take(), {{"e2", WM_KILLFOCUS}}, "focus leaves for another form");
}

TEST_F(Messages, ParentReflectsNotificationsToTheChildAndReturnsItsResult) {
  auto* form = new TPlainForm(app.get());
  auto* button = new TButton(form);
  button->SetParent(form);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetColor(clLime);
  int clicks = 0;
  button->OnClick = [&](TObject* s) { EXPECT_EQ(s, button); ++clicks; };
  button->OnMessage(CN_BASE + WM_NOTIFY, [](TMessage& m) { m.Result = 42; });
  MsgLog log;
  auto reflected = [](UINT m) { return m == WM_COMMAND || m == WM_NOTIFY || m == WM_CTLCOLOREDIT || m >= CN_BASE; };
  log.Watch(form, "form", reflected);
  log.Watch(button, "button", reflected);
  log.Watch(edit, "edit", reflected);
  const auto hb = reinterpret_cast<LPARAM>(button->Handle()), he = reinterpret_cast<LPARAM>(edit->Handle());
  NMHDR hdr{button->Handle(), 0, 0};
  EXPECT_EQ(SendMessageA(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr)), 42);
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), hb);
  HDC dc = GetDC(edit->Handle());
  const auto brush = SendMessageA(form->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), he);
  const auto wdc = reinterpret_cast<WPARAM>(dc);
  ExpectSequence(log.Take(),
                 {{"form", WM_NOTIFY},
                  {"button", CN_BASE + WM_NOTIFY, kLParam, 0, reinterpret_cast<LPARAM>(&hdr)},
                  {"form", WM_COMMAND},
                  {"button", CN_BASE + WM_COMMAND, kWParam | kLParam, MAKEWPARAM(0, BN_CLICKED), hb},
                  {"form", WM_CTLCOLOREDIT},
                  {"edit", CN_BASE + WM_CTLCOLOREDIT, kWParam | kLParam, wdc, he}},
                 "reflection");
  EXPECT_EQ(clicks, 1);
  // The edit answers its colour request with its own brush.
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), app->SolidBrush(clLime));
  EXPECT_EQ(GetBkColor(dc), static_cast<COLORREF>(clLime));
  ReleaseDC(edit->Handle(), dc);
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);  // the real control's own notification
  EXPECT_EQ(clicks, 2);
}

// An owned object that replaced its owner's WindowProc, as a skinned control
// does, and a subclass of the window in front of ours, as a skinned frame is.
MsgLog* g_destroyLog = nullptr;
WNDPROC g_frameNext = nullptr;
LRESULT CALLBACK FrameProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_DESTROY || msg == WM_NCDESTROY) g_destroyLog->Note("window", msg);
  return CallWindowProcA(g_frameNext, h, msg, w, l);
}

class TWrapper : public TComponent {
  UI_CLASS(TWrapper)
 public:
  TWrapper(TWinControl* control, MsgLog& log) : TComponent(control), control_(control), log_(log) {
    saved_ = control->WindowProc;
    auto token = std::make_shared<int>(0);
    alive_ = token;
    control->WindowProc = [token, next = saved_](TMessage& m) { next(m); };
    window_ = control->Handle();
  }
  ~TWrapper() override {
    log_.Note(std::string(IsWindow(window_) ? "window alive" : "window gone") + ", " +
              (alive_.expired() ? "WindowProc gone" : "WindowProc alive"));
    if (!alive_.expired()) control_->WindowProc = saved_;
  }

 private:
  TWinControl* control_;
  MsgLog& log_;
  TWndMethod saved_;
  std::weak_ptr<int> alive_;
  HWND window_;
};

TEST_F(Messages, OwnedObjectsGoAfterTheWindowWhileTheMembersLive) {
  auto* form = new TPlainForm(app.get());
  auto* panel = new TPanelProbe(form);
  panel->SetParent(form);
  MsgLog log;
  new TWrapper(panel, log);
  g_destroyLog = &log;
  g_frameNext = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(panel->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameProc)));
  delete panel;
  ExpectSequence(log.Take(), {{"window", WM_DESTROY}, {"window", WM_NCDESTROY}, {"window gone, WindowProc alive", 0}},
                 "destruction");
  g_destroyLog = nullptr;
}

TEST_F(Messages, GraphicControlsPaintInZOrderAndTheTopOneIsHit) {
  auto* form = new TPlainForm(app.get());
  form->SetColor(clWhite);
  auto* bottom = new TSwatch(form, clRed);
  bottom->SetBounds(10, 10, 40, 40);
  bottom->SetParent(form);
  auto* top = new TSwatch(form, clBlue);
  top->SetBounds(30, 30, 40, 40);
  top->SetParent(form);
  HWND h = form->Handle();
  TBitmap bmp(120, 120);
  HDC dc = bmp.Canvas().Handle();
  SendMessageA(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(h, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(GetPixel(dc, 15, 15), static_cast<COLORREF>(clRed));
  EXPECT_EQ(GetPixel(dc, 35, 35), static_cast<COLORREF>(clBlue));   // overlap: the later one
  EXPECT_EQ(GetPixel(dc, 65, 65), static_cast<COLORREF>(clBlue));
  EXPECT_EQ(GetPixel(dc, 75, 75), static_cast<COLORREF>(clWhite));  // clipped to its bounds
  int bottomClicks = 0, topClicks = 0;
  bottom->OnClick = [&](TObject*) { ++bottomClicks; };
  top->OnClick = [&](TObject*) { ++topClicks; };
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(35, 36));
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(35, 36));
  EXPECT_EQ(topClicks, 1);
  EXPECT_EQ(bottomClicks, 0);
  EXPECT_EQ(top->lastPoint.x, 5);  // control coordinates
  EXPECT_EQ(top->lastPoint.y, 6);
  // Pressed on the control, released outside it: no click.
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
  EXPECT_EQ(bottomClicks, 0);
  top->SetVisible(false);
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(35, 36));
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(35, 36));
  EXPECT_EQ(bottomClicks, 1);
}

}  // namespace
