#include <windowsx.h>

#include <vector>

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
  std::vector<UINT> seen;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg >= 0xB000 && m.Msg < 0xB100) seen.push_back(m.Msg);
    TCustomControl::WndProc(m);
  }
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

TEST_F(Messages, MouseEnterAndLeaveFollowTheControlUnderTheMouse) {
  auto* form = new TPlainForm(app.get());
  auto* panel = new TPanelProbe(form);
  panel->SetBounds(0, 0, 200, 100);
  panel->SetParent(form);
  auto* swatch = new TSwatch(form, clRed);
  swatch->SetBounds(10, 10, 20, 20);
  swatch->SetParent(panel);
  HWND h = panel->Handle();
  SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
  SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(60, 50));  // same control: nothing new
  EXPECT_EQ(CountOf(panel->seen, CM_MOUSEENTER), 1);
  SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  EXPECT_EQ(CountOf(panel->seen, CM_MOUSELEAVE), 1);
  EXPECT_EQ(CountOf(swatch->seen, CM_MOUSEENTER), 1);
  SendMessageA(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(CountOf(swatch->seen, CM_MOUSELEAVE), 1);
  EXPECT_EQ(CountOf(panel->seen, CM_MOUSEENTER), 1);
}

TEST_F(Messages, ExitWhenFocusMovesWithinTheForm) {
  auto* form = new TPlainForm(app.get());
  auto* e1 = new TEdit(form);
  auto* e2 = new TEdit(form);
  e2->SetTop(30);
  e1->SetParent(form);
  e2->SetParent(form);
  int exits1 = 0, exits2 = 0;
  e1->OnMessage(CM_EXIT, [&](TMessage&) { ++exits1; });
  e2->OnMessage(CM_EXIT, [&](TMessage&) { ++exits2; });
  form->Show();
  e1->SetFocus();
  e2->SetFocus();
  EXPECT_EQ(exits1, 1);
  EXPECT_EQ(exits2, 0);
}

TEST_F(Messages, ReflectionReturnsTheChildsResult) {
  auto* form = new TPlainForm(app.get());
  auto* button = new TButton(form);
  button->SetParent(form);
  int clicks = 0;
  button->OnClick = [&](TObject* s) { EXPECT_EQ(s, button); ++clicks; };
  button->OnMessage(CN_BASE + WM_NOTIFY, [](TMessage& m) { m.Result = 42; });
  NMHDR hdr{button->Handle(), 0, 0};
  EXPECT_EQ(SendMessageA(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr)), 42);
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button->Handle()));
  EXPECT_EQ(clicks, 1);
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);  // the real control's own notification
  EXPECT_EQ(clicks, 2);
  // A colour request for an edit is answered by the edit with its own brush.
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetColor(clLime);
  HDC dc = GetDC(edit->Handle());
  auto brush = SendMessageA(form->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit->Handle()));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), app->SolidBrush(clLime));
  EXPECT_EQ(GetBkColor(dc), static_cast<COLORREF>(clLime));
  ReleaseDC(edit->Handle(), dc);
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
