#include "WinSkinScroll.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "StdCtrls.h"
#include "WinSkinCtrls.h"
#include "WinSkinData.h"
#include "WinSkinDraw.h"
#include "WinSkinForm.h"

namespace {
constexpr int kBarThickness = 16;  // bars are composed at this width, then stretched
constexpr int kMaxBarLength = 10000;

bool HasImage(const TDataSkinObject* e) { return e && !e->Image.Empty(); }

int SystemBarWidth() { return GetSystemMetrics(SM_CXHSCROLL); }

// Along the bar: x for a horizontal bar, y for a vertical one.
RECT Span(bool vertical, int from, int to) {
  return vertical ? RECT{0, from, kBarThickness, to} : RECT{from, 0, to, kBarThickness};
}

// One bar composed at 16 pixels across and stretched onto r: the track, the
// two arrows and the thumb, pressed as `part` says.
void DrawScrollBar(TSkinData& skin, HDC dc, const RECT& r, bool vertical, int part, const TSkinScrollBar& bar) {
  const int length = vertical ? r.bottom - r.top : r.right - r.left, t = bar.ArrowLength;
  const RECT w = Span(vertical, 0, length);
  TBitmap b(w.right, w.bottom);
  HDC canvas = b.Canvas().Handle();
  SetStretchBltMode(canvas, COLORONCOLOR);
  {
    ui::GdiObject back(CreateSolidBrush(ui::ColorToRGB(skin.Colours.Scrollbar)));
    FillRect(canvas, &w, static_cast<HBRUSH>(back.get()));
  }
  if (TDataSkinObject* track = (vertical ? skin.VertScroll : skin.HorzScroll).get(); HasImage(track))
    DrawSkinImage(canvas, Span(vertical, t, length - t), track->Image, false, track->Tile != 0, track->Trans == 1, 4, 1,
                  SkinMargins(*track));
  const int a = length < 2 * t ? length / 2 : t;
  const int first = vertical ? 9 : 1, second = vertical ? 13 : 5;  // frames of the up/left and down/right arrows
  TBitmap& arrows = skin.Scrollbar->Image;
  DrawFrameOnCanvas(b.Canvas(), Span(vertical, 0, a), 23, first + (part == (vertical ? spUp : spLeft)), arrows);
  DrawFrameOnCanvas(b.Canvas(), Span(vertical, length - a, length), 23,
                    second + (part == (vertical ? spDown : spRight)), arrows);
  TDataSkinObject* thumb = (vertical ? skin.VertScrollThumb : skin.HorzScrollThumb).get();
  if (HasImage(thumb) && bar.TrackLength >= bar.ThumbLength) {
    // The drag may carry the offset past the track's end; the thumb stays on it.
    const int at = a + std::clamp(bar.ThumbOffset, 0, bar.TrackLength - bar.ThumbLength);
    DrawSkinImage(canvas, Span(vertical, at, at + bar.ThumbLength), thumb->Image, false, false, thumb->Trans == 1,
                  thumb->FrameCount, part == (vertical ? spVertThumb : spHorzThumb) ? 2 : 1, SkinMargins(*thumb));
  }
  StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas, 0, 0, w.right, w.bottom, SRCCOPY);
}

// The part a scroll request shows pressed.
int PartOf(WORD request, bool horz) {
  switch (request) {
    case SB_LINELEFT: return horz ? spLeft : spUp;
    case SB_LINERIGHT: return horz ? spRight : spDown;
    case SB_THUMBTRACK: return horz ? spHorzThumb : spVertThumb;
  }
  return spNone;
}

// The bar whose press the platform tracks on this thread, and whether a
// step mark waits in the queue.
struct PlatformTracking {
  TSkinScrollbar* skin = nullptr;
  bool marked = false;
};
thread_local PlatformTracking t_tracking;

// A thread message that follows a step of the platform's loop.
UINT StepMark() {
  static const UINT mark = RegisterWindowMessageA("CorvelSkinScrollStep");
  return mark;
}

// The platform's loop hands each message it takes to the filter first, then
// paints its bar: a mark posted now comes back after that paint, and the
// skin is painted over it.
LRESULT CALLBACK PlatformStepFilter(int code, WPARAM w, LPARAM l) {
  const MSG& msg = *reinterpret_cast<const MSG*>(l);
  PlatformTracking& t = t_tracking;
  if (code == MSGF_SCROLLBAR && t.skin) {
    if (!msg.hwnd && msg.message == StepMark()) {
      t.marked = false;
      t.skin->PaintWindow(nullptr);
      return TRUE;  // the loop drops it
    }
    if (!t.marked) t.marked = PostThreadMessageA(GetCurrentThreadId(), StepMark(), 0, 0);
  }
  return CallNextHookEx(nullptr, code, w, l);
}

// The filter on for one platform tracking; a mark left behind is dropped.
class PlatformSteps {
 public:
  explicit PlatformSteps(TSkinScrollbar* skin)
      : outer_(std::exchange(t_tracking, PlatformTracking{skin})),
        hook_(SetWindowsHookExA(WH_MSGFILTER, PlatformStepFilter, nullptr, GetCurrentThreadId())) {}
  ~PlatformSteps() {
    if (hook_) UnhookWindowsHookEx(hook_);
    MSG mark;
    PeekMessageA(&mark, HWND(-1), StepMark(), StepMark(), PM_REMOVE);
    t_tracking = outer_;
  }
  PlatformSteps(const PlatformSteps&) = delete;
  PlatformSteps& operator=(const PlatformSteps&) = delete;

 private:
  PlatformTracking outer_;
  HHOOK hook_;
};
}  // namespace

bool ThumbGeometry(TSkinScrollBar& bar, int track, int min, int max, UINT page, int pos, int extra) {
  const int span = max - min + extra;
  if (span <= 0) return false;
  // Windows 9x (top bit of GetVersion) allows half a bar's width; NT 8 pixels.
  const int least = (GetVersion() & 0x80000000) ? bar.ArrowLength / 2 : 8;
  int thumb = page ? std::max(MulDiv(int(page), track, span), least) : GetSystemMetrics(SM_CXHTHUMB);
  thumb = std::min(thumb, track);
  if (int(page) == span) {
    bar.ThumbOffset = 0;
    bar.ThumbLength = thumb - 1;
  } else {
    bar.ThumbLength = thumb;
    bar.ThumbOffset = std::min(MulDiv(pos - min, track - thumb, span - int(page)), track - thumb);
  }
  return true;
}

// ---- TSkinScrollbar ----

TSkinScrollbar::~TSkinScrollbar() {
  if (dragAlive_) *dragAlive_ = false;
  if (t_tracking.skin == this) t_tracking.skin = nullptr;
}

void TSkinScrollbar::AttachScrollbars(TWinControl* control, TSkinData* skinData, bool ownDrag, TWinSkinForm* form,
                                      TCanvas* canvas) {
  if (Attached || !control) return;
  ChainControl(control, skinData, form, canvas);
  OwnDrag = ownDrag;
  Prepare();
}

void TSkinScrollbar::AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
  if (Attached) return;
  TSkinControl::AttachHandle(handle, skinData, nullptr, canvas);  // not listed by the frame
  if (!Attached) return;
  Form = form;
  OwnDrag = false;
  Prepare();
}

void TSkinScrollbar::Prepare() {
  ThumbDragging = HorzScrolling = VertScrolling = false;
  Horz.Info.cbSize = Vert.Info.cbSize = sizeof(SCROLLINFO);
  Horz.StyleBit = WS_HSCROLL;
  Vert.StyleBit = WS_VSCROLL;
  Attached = true;
  State = scAttached;
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool TSkinScrollbar::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      CallDefault(m);
      return false;
    case WM_NCMOUSEMOVE:
      // The platform would light its own arrows.
      if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) return false;
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:  // the second press of a double click, tracked as a press
      if (m.WParam != HTHSCROLL && m.WParam != HTVSCROLL) break;
      if (m.Msg == WM_NCLBUTTONDBLCLK || !OwnDrag || !ThumbCheck(m)) TrackWithPlatform(m);
      return false;
    case WM_HSCROLL:
    case WM_VSCROLL:
      Scroll(m);
      return false;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(m.LParam) == Handle) break;
      [[fallthrough]];
    case WM_CANCELMODE:
      // No button-up will come; the loop ends the drag once this returns.
      if (ThumbDragging) dragLost_ = true;
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinScrollbar::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
    case WM_PRINT:
      Redraw();
      return;
  }
  TSkinControl::AfterMessage(m);
}

void TSkinScrollbar::Scroll(TMessage& m) {
  const bool horz = m.Msg == WM_HSCROLL;
  PartCode = PartOf(LOWORD(m.WParam), horz);
  bool& scrolling = horz ? HorzScrolling : VertScrolling;
  scrolling = true;
  try {
    CallDefault(m);
  } catch (...) {
    scrolling = false;  // or the bar would never be painted again
    throw;
  }
  scrolling = false;
  PaintWindow(nullptr);
}

void TSkinScrollbar::TrackWithPlatform(TMessage& m) {
  bool alive;
  {
    PlatformSteps steps(this);
    CallDefault(m);
    alive = t_tracking.skin == this;
  }
  // The platform paints the released bar last.
  if (alive) PaintWindow(nullptr);
}

void TSkinScrollbar::Layout(const RECT& w, bool horz, bool vert) {
  RECT c{};
  GetClientRect(Handle, &c);
  const int t = SystemBarWidth();
  const int e = vert ? (w.right - c.right - t) / 2 : (w.bottom - c.bottom - t) / 2;
  Horz.ArrowLength = Vert.ArrowLength = t;
  HorzRect = VertRect = SizeBoxRect = RECT{};
  const RECT bottom{e, w.bottom - e - t, w.right - e, w.bottom - e};
  if (ExStyle & WS_EX_LEFTSCROLLBAR) {
    if (horz && vert) {
      HorzRect = RECT{e + t, w.bottom - e - t, w.right - e, w.bottom - e};
      VertRect = RECT{e, e, e + t, w.bottom - e - t};
      SizeBoxRect = RECT{e, w.bottom - e - t, e + t, w.bottom - e};
    } else if (vert) {
      VertRect = RECT{e, e, e + t, w.bottom - e};
    } else {
      HorzRect = bottom;
    }
  } else if (horz && vert) {
    HorzRect = RECT{e, w.bottom - e - t, w.right - e - t, w.bottom - e};
    VertRect = RECT{w.right - e - t, e, w.right - e, w.bottom - e - t};
    SizeBoxRect = RECT{w.right - e - t, w.bottom - e - t, w.right - e, w.bottom - e};
  } else if (vert) {
    VertRect = RECT{w.right - e - t, e, w.right - e, w.bottom - e};
  } else {
    HorzRect = bottom;
  }
}

void TSkinScrollbar::UpdateThumb(TSkinScrollBar& bar, int sbBar, int length) {
  // The loop alone moves the thumb while it runs.
  if (ThumbDragging) return;
  bar.TrackLength = length - 2 * bar.ArrowLength;
  bar.Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  if (!GetScrollInfo(Handle, sbBar, &bar.Info)) return;
  ThumbGeometry(bar, bar.TrackLength, bar.Info.nMin, bar.Info.nMax, bar.Info.nPage, bar.Info.nPos, 0);
}

void TSkinScrollbar::PaintBar(HDC dc, TSkinScrollBar& bar, const RECT& r, bool vertical) {
  if (vertical ? VertScrolling : HorzScrolling) return;
  const int length = vertical ? r.bottom - r.top : r.right - r.left;
  if (length > kMaxBarLength) return;  // left to the system
  UpdateThumb(bar, vertical ? SB_VERT : SB_HORZ, length);
  DrawScrollBar(*SkinData, dc, r, vertical, PartCode, bar);
}

void TSkinScrollbar::DrawSkin(HDC dc, const RECT& r) {
  if (!HasImage(SkinData->Scrollbar.get())) return;
  Style = DWORD(GetWindowLongPtrA(Handle, GWL_STYLE));
  ExStyle = DWORD(GetWindowLongPtrA(Handle, GWL_EXSTYLE));
  if (HorzScrolling) Style |= WS_HSCROLL;
  if (VertScrolling) Style |= WS_VSCROLL;
  const bool horz = Style & WS_HSCROLL, vert = Style & WS_VSCROLL;
  if ((!horz && !vert) || r.left > kMaxBarLength || r.top > kMaxBarLength) return;
  Layout(r, horz, vert);
  if (horz && !IsRectEmpty(&HorzRect)) PaintBar(dc, Horz, HorzRect, false);
  if (vert && !IsRectEmpty(&VertRect)) PaintBar(dc, Vert, VertRect, true);
  if (horz && vert && !IsRectEmpty(&SizeBoxRect)) FillBackground(dc, SizeBoxRect);
}

bool TSkinScrollbar::ThumbCheck(TMessage& m) {
  const bool horz = m.WParam == HTHSCROLL;
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  ScreenToClient(Handle, &p);
  TSkinScrollBar& bar = horz ? Horz : Vert;
  // Arrows and pages go to the control, which tracks them the system's way.
  const int c = horz ? p.x : p.y, thumb = bar.ArrowLength + bar.ThumbOffset;
  if (c < thumb || c >= thumb + bar.ThumbLength) return false;
  PartCode = horz ? spHorzThumb : spVertThumb;
  PaintWindow(nullptr);
  DragThumb(bar, horz);
  return true;
}

void TSkinScrollbar::DragThumb(TSkinScrollBar& bar, bool horz) {
  const HWND window = Handle;
  SetCapture(window);
  ThumbDragging = true;
  dragLost_ = false;
  dragMessage_ = horz ? WM_HSCROLL : WM_VSCROLL;
  dragPosition_ = bar.Info.nPos;
  bool alive = true;
  dragAlive_ = &alive;
  POINT start;
  GetCursorPos(&start);
  const int o0 = bar.ThumbOffset;
  bool quit = false;
  WPARAM quitCode = 0;
  // A message dispatched here may free this object or destroy the window:
  // then the drag stops at once, sending nothing and touching nothing.
  const auto gone = [&] { return !alive || !IsWindow(window); };
  for (;;) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // Nothing to do until the next message: a held thumb costs no time.
      MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    } else if (msg.message == WM_QUIT) {
      quit = true;
      quitCode = msg.wParam;
      EndDrag();
    } else if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
      EndDrag();
    } else {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      if ((msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) && !gone()) Track(bar, o0, start, horz);
    }
    if (gone()) break;
    if (dragLost_ || GetCapture() != window) EndDrag();
    if (gone() || !ThumbDragging) break;
  }
  if (alive) {
    dragAlive_ = nullptr;
    ThumbDragging = false;
  }
  if (GetCapture() == window) ReleaseCapture();
  if (quit) PostQuitMessage(int(quitCode));
}

void TSkinScrollbar::Track(TSkinScrollBar& bar, int o0, POINT start, bool horz) {
  POINT cursor;
  GetCursorPos(&cursor);
  const SCROLLINFO& si = bar.Info;
  const int track = bar.TrackLength, span = si.nMax - si.nMin;
  int o = std::max(o0 + int(horz ? cursor.x - start.x : cursor.y - start.y), 0), p;
  if (si.nPage) {
    o = std::min(o, track);
    p = MulDiv(o, span, track) + si.nMin;
    if (p >= si.nMax - int(si.nPage)) p = si.nMax - int(si.nPage) + 1;
  } else {
    o = std::min(o, track - bar.ThumbLength);
    p = std::min(MulDiv(o, span, track - bar.ThumbLength) + si.nMin, si.nMax);
  }
  p = std::max(p, si.nMin);
  if (p == dragPosition_) return;
  bar.Info.fMask = SIF_POS;
  bar.Info.nPos = bar.Info.nTrackPos = p;
  bar.ThumbOffset = o;
  dragPosition_ = p;
  SetScrollInfo(Handle, horz ? SB_HORZ : SB_VERT, &bar.Info, FALSE);
  SendMessageA(Handle, dragMessage_, MAKEWPARAM(SB_THUMBTRACK, WORD(p)), 0);
}

void TSkinScrollbar::EndDrag() {
  if (!ThumbDragging) return;
  ThumbDragging = false;
  // Sending may free this object: only copies are used after it.
  const HWND window = Handle;
  const UINT msg = dragMessage_;
  SendMessageA(window, msg, MAKEWPARAM(SB_THUMBPOSITION, WORD(dragPosition_)), 0);
  PostMessageA(window, msg, SB_ENDSCROLL, 0);
  if (GetCapture() == window) ReleaseCapture();
}

// ---- TSkinListView ----

void TSkinListView::AttachScrollbars(TWinControl* control, TSkinData* skinData, bool ownDrag, TWinSkinForm* form,
                                     TCanvas* canvas) {
  if (Attached) return;
  TSkinScrollbar::AttachScrollbars(control, skinData, ownDrag, form, canvas);
  if (HWND header = reinterpret_cast<HWND>(SendMessageA(Handle, LVM_GETHEADER, 0, 0)))
    (new TSkinHeader(Owner()))->AttachHandle(header, skinData, form, canvas);
}

// ---- TSkinHeader ----

bool TSkinHeader::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND && HasImage(SkinData->Headerbar.get())) {
    m.Result = 1;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinHeader::DrawSkin(HDC dc, const RECT& r) {
  TDataSkinObject* e = SkinData->Headerbar.get();
  if (!HasImage(e)) return;
  const RECT all = AtOrigin(r);
  TBitmap b(all.right, all.bottom);
  TCanvas& canvas = b.Canvas();
  ControlFont(canvas.Font);
  HDC bdc = canvas.Handle();
  SetBkMode(bdc, TRANSPARENT);
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(Handle, HDM_GETIMAGELIST, 0, 0));
  const auto section = [&](const RECT& s) {
    DrawSkinImage(bdc, s, e->Image, false, e->Tile != 0, false, e->FrameCount, 1, SkinMargins(*e));
  };
  int right = 0;
  const int count = int(SendMessageA(Handle, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT s;
    if (!SendMessageA(Handle, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&s))) continue;
    char text[201] = "";
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(Handle, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    section(s);
    if (*text) {
      const int align = item.fmt & HDF_RIGHT ? 2 : item.fmt & HDF_CENTER ? 1 : 0;
      const int image = item.fmt & (HDF_IMAGE | HDF_OWNERDRAW) ? item.iImage : -1;
      DrawImageCaption(canvas, s, align, text, image, images, Enabled);
    }
    right = std::max<int>(right, s.right);
  }
  if (right < all.right) section(RECT{right, 0, all.right, all.bottom});
  BitBlt(dc, r.left, r.top, all.right, all.bottom, bdc, 0, 0, SRCCOPY);
}

// ---- TSkinScControl ----

bool TSkinScControl::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) return false;
      break;
    case SBM_SETSCROLLINFO:
      CallDefault(m);
      PaintWindow(nullptr);
      return false;
    case CN_BASE + WM_HSCROLL:
    case CN_BASE + WM_VSCROLL:
      PartCode = PartOf(LOWORD(m.WParam), m.Msg == CN_BASE + WM_HSCROLL);
      CallDefault(m);
      PaintWindow(nullptr);
      return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinScControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:  // returns once the control's tracking ended
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      PaintWindow(nullptr);
      return;
  }
  TSkinControl::AfterMessage(m);
}

void TSkinScControl::DrawSkin(HDC dc, const RECT& r) {
  if (!HasImage(SkinData->Scrollbar.get())) return;
  const RECT all = AtOrigin(r);
  auto* bar = dynamic_cast<TScrollBar*>(Control);
  const bool vertical =
      bar ? bar->Kind == TScrollBar::sbVertical : (GetWindowLongPtrA(Handle, GWL_STYLE) & SBS_VERT) != 0;
  Bar.ArrowLength = SystemBarWidth();
  Bar.TrackLength = (vertical ? all.bottom : all.right) - 2 * Bar.ArrowLength;
  if (bar) ThumbGeometry(Bar, Bar.TrackLength, bar->Min, bar->Max, UINT(bar->PageSize), bar->Position(), 1);
  DrawScrollBar(*SkinData, dc, all, vertical, PartCode, Bar);
}

// ---- TSkinSizer ----

bool TSkinSizer::BeforeMessage(TMessage& m) {
  return !PaintsItself(m) && TSkinControl::BeforeMessage(m);
}

void TSkinSizer::DrawSkin(HDC dc, const RECT& r) {
  ui::GdiObject brush(CreateSolidBrush(ui::ColorToRGB(SkinData->Colours.ButtonShadow)));
  FrameRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}
