// Skinned scroll bars, list-view header, scroll-bar control and size box, on
// real windows. The skin's thumb drag holds the window's thread in its own
// loop, so the mouse is driven from a second thread.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ComCtrls.h"
#include "SkinControlTest.h"
#include "SkinTestBitmaps.h"
#include "TestSupport.h"
#include "WinSkinScroll.h"

using namespace skintest;

namespace {

using SkinScroll = SkinControlTest;
using Requests = std::vector<std::pair<int, int>>;  // WM_VSCROLL: request, position

Requests g_scrolls;                     // reaching the control's own procedure
std::atomic<bool> g_positioned{false};  // SB_THUMBPOSITION came, for the input thread
std::function<void()> g_action;         // run once the control scrolled away from the top
std::atomic<bool> g_armed{false};       // g_action waits to run, for the input thread
size_t g_actionAt = 0;                  // g_scrolls' size then

void Arm(std::function<void()> action) {
  g_action = std::move(action);
  g_armed = true;
}

void CALLBACK RunAction(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_actionAt = g_scrolls.size();
  if (auto action = std::exchange(g_action, nullptr)) action();
  g_armed = false;
}

// Records the control's WM_VSCROLL requests; the first that leaves the top
// (not a press's SB_THUMBTRACK at 0) arms a timer for g_action, which runs
// once the thread has nothing else to do.
void Spy(TWinControl* control) {
  g_scrolls.clear();
  g_positioned = false;
  g_actionAt = 0;
  control->WindowProc = [own = control->WindowProc](TMessage& m) {
    if (m.Msg == WM_VSCROLL) {
      const WORD request = LOWORD(m.WParam);
      g_scrolls.emplace_back(request, HIWORD(m.WParam));
      g_positioned = g_positioned || request == SB_THUMBPOSITION;
      if (g_action && (request != SB_THUMBTRACK || HIWORD(m.WParam))) SetTimer(nullptr, 0, 50, RunAction);
    }
    own(m);
  };
}

// 200 lines wider than the memo: both bars.
TMemo* SkinnedMemo(ControlBench& b, TSkinScrollbar*& skin) {
  auto* memo = b.Add<TMemo>(10, 10, 200, 150);
  memo->ScrollBars = ssBoth;
  memo->WordWrap = false;
  memo->RecreateWnd();
  std::string text;
  for (int i = 0; i < 200; ++i) text += "Line " + std::to_string(i) + " of a memo wider than its window\r\n";
  memo->SetText(text);
  Spy(memo);
  skin = new TSkinScrollbar(memo);
  skin->AttachScrollbars(memo, &b.Data, true, &b.Frame, &b.Frame.ControlCanvas);
  Repaint(b.Form->Handle());
  return memo;
}

// 30 rows under a header: a vertical bar.
TListView* LongList(ControlBench& b) {
  auto* list = b.Add<TListView>(220, 10, 210, 150);
  list->Columns = {{"Name", 90}, {"Value", 90}};
  list->RecreateWnd();
  for (int i = 0; i < 30; ++i) list->AddItem("Item " + std::to_string(i), {std::to_string(i * 7)});
  return list;
}

// The platform drags its thumb, as the frame chooses for a list view.
TListView* SkinnedList(ControlBench& b, TSkinScrollbar*& skin) {
  TListView* list = LongList(b);
  Spy(list);
  skin = new TSkinListView(list);
  skin->AttachScrollbars(list, &b.Data, false, &b.Frame, &b.Frame.ControlCanvas);
  Repaint(b.Form->Handle());
  return list;
}

// Along a bar, from its start: the middle of its thumb.
int ThumbMiddle(const TSkinScrollBar& bar) { return bar.ArrowLength + bar.ThumbOffset + bar.ThumbLength / 2; }

// The screen point a little way down the vertical bar, across its middle.
POINT OnVertBar(const TSkinScrollbar& skin, int down) {
  return ScreenPoint(skin.Handle, skin.VertRect.left + 8, skin.VertRect.top + down);
}
POINT OnVertThumb(const TSkinScrollbar& skin) { return OnVertBar(skin, ThumbMiddle(skin.Vert)); }

// What the user sees down the middle of the vertical bar: each colour
// named once, in name order ("Scrollbar#13 Scrollbar#9 VertScroll#1 ...").
std::string VertBarColours(const TSkinScrollbar& skin) {
  TBitmap seen;
  Snapshot(skin.Handle, seen);
  std::set<std::string> names;
  for (int y = skin.VertRect.top; y < skin.VertRect.bottom; ++y)
    names.insert(Describe(BitmapPixel(seen, skin.VertRect.left + 8, y)));
  std::string line;
  for (const std::string& n : names) line += (line.empty() ? "" : " ") + n;
  return line;
}

// What the input thread saw: the press started a drag; before the release,
// the capture gone and SB_THUMBPOSITION sent unless the window went; the
// window thread's share of a core while held still.
struct DragRun {
  bool captured = false, endedAlone = false;
  double cpuShare = 1;
};

double CpuSeconds(HANDLE thread) {
  FILETIME t[4];  // created, exited, kernel, user
  GetThreadTimes(thread, &t[0], &t[1], &t[2], &t[3]);
  const auto ticks = [](FILETIME f) { return ULONGLONG(f.dwHighDateTime) << 32 | f.dwLowDateTime; };
  return double(ticks(t[2]) + ticks(t[3])) / 1e7;
}

// Presses at `from` on the window, moves by each step, holds still `holdMs`
// and until an armed action ran, waits up to `endMs` for the drag to end by
// itself, releases; returns once the window handled the release.
DragRun Drag(HWND window, POINT from, const std::vector<POINT>& steps, DWORD holdMs, DWORD endMs = 0) {
  DragRun run;
  const DWORD ui = GetCurrentThreadId();
  HANDLE self;
  DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE, DUPLICATE_SAME_ACCESS);
  ui::KernelHandle me(self), done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  const auto captured = [&] {
    GUITHREADINFO gi{sizeof gi};
    return GetGUIThreadInfo(ui, &gi) && gi.hwndCapture == window;
  };
  const auto waitFor = [](DWORD ms, auto condition) {
    for (const ULONGLONG end = GetTickCount64() + ms; !condition(); Sleep(10))
      if (GetTickCount64() >= end) return false;
    return true;
  };
  std::thread input([&] {
    MouseAt(from, MOUSEEVENTF_LEFTDOWN);
    run.captured = waitFor(3000, captured);
    POINT at = from;
    for (POINT d : steps) MouseAt(at = POINT{at.x + d.x, at.y + d.y});
    const double cpu = CpuSeconds(self);
    Sleep(holdMs);
    if (holdMs) run.cpuShare = (CpuSeconds(self) - cpu) * 1000 / holdMs;
    waitFor(5000, [] { return !g_armed; });
    run.endedAlone = endMs && waitFor(endMs, [&] { return !captured() && (g_positioned || !IsWindow(window)); });
    MouseAt(at, MOUSEEVENTF_LEFTUP);
    SetEvent(done.get());
  });
  ui::WaitPumping(30000, done.get());
  input.join();
  // The release, and a posted SB_ENDSCROLL.
  const auto ended = [] { return !g_scrolls.empty() && g_scrolls.back().first == SB_ENDSCROLL; };
  testsupport::WaitFor([&] { return !IsWindow(window) || ended(); }, 5000);
  return run;
}

}  // namespace

// Thumbs as a scroll-bar control shows them: where they start and how long
// they are; a bar shorter than two arrows gets two half arrows and no track.
TEST_F(SkinScroll, ThumbGeometry) {
  ControlBench& b = Bench(300, 60);
  const int t = GetSystemMetrics(SM_CXHSCROLL), track = 200 - 2 * t;
  const struct {
    const char* what;
    int width, max, page, pos, start, length;  // start -1: no thumb
  } cases[] = {
      {"a page as large as the range: one pixel short", 200, 99, 100, 0, t, track - 1},
      {"a small page: 8 pixels", 200, 1000, 2, 999, t + track - 8, 8},
      {"no page: the system's thumb", 200, 10, 0, 0, t, GetSystemMetrics(SM_CXHTHUMB)},
      {"a bar shorter than two arrows", 20, 100, 10, 0, -1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto* bar = b.Add<TScrollBar>(10, 10, c.width, t);
    bar->Max = c.max;
    bar->PageSize = c.page;
    bar->SetPosition(c.pos);
    b.Attach<TSkinScControl>(bar);
    TBitmap seen;
    Snapshot(*bar, seen);
    EXPECT_EQ(FirstColumnWith(seen, FrameColour(kHorzScrollThumb, 1)), c.start);
    EXPECT_EQ(CountColour(seen, FrameColour(kHorzScrollThumb, 1)), c.length * t);
    if (c.width < 2 * t) {
      EXPECT_EQ(At(*bar, c.width / 2 - 1, 8) + At(*bar, c.width / 2, 8), Frame(kScrollbar, 1) + Frame(kScrollbar, 5));
    }
    delete bar;
  }
}

// Arrows, tracks and thumbs from the test skin, the size box in ButtonFace; a
// memo without bars gets nothing.
TEST_F(SkinScroll, MemoBarsComeFromTheSkin) {
  ControlBench& b = Bench(440, 200);
  TSkinScrollbar* skin;
  TMemo* memo = SkinnedMemo(b, skin);
  const RECT h = skin->HorzRect, v = skin->VertRect;
  const int t = skin->Vert.ArrowLength, across = v.left + 8, down = h.top + 8;
  const struct {
    int x, y;
    std::string seen;
  } probes[] = {
      {across, v.top + 2, Frame(kScrollbar, 9)},          {across, v.bottom - 2, Frame(kScrollbar, 13)},
      {across, v.top + t + 2, Frame(kVertScrollThumb, 1)}, {across, v.bottom - t - 2, Frame(kVertScroll, 1)},
      {h.left + 2, down, Frame(kScrollbar, 1)},           {h.right - 2, down, Frame(kScrollbar, 5)},
      {h.left + t + 2, down, Frame(kHorzScrollThumb, 1)}, {h.right - t - 2, down, Frame(kHorzScroll, 1)},
      {across, down, "ButtonFace"},
  };
  for (const auto& p : probes) EXPECT_EQ(At(*memo, p.x, p.y), p.seen) << p.x << "," << p.y;

  auto* plain = b.Add<TMemo>(220, 10, 200, 150);
  (new TSkinScrollbar(plain))->AttachScrollbars(plain, &b.Data, true, &b.Frame, &b.Frame.ControlCanvas);
  Repaint(plain->Handle());
  for (int x : {5, 190}) EXPECT_EQ(Name(ControlPixel(*plain, x, 140)).element, 0) << x;
}

// Down a little, sideways (no new position), far past the end, held still:
// SB_THUMBTRACK comes once per position and stops at nMax - nPage + 1, then
// SB_THUMBPOSITION and the posted SB_ENDSCROLL; the held thumb costs the
// window's thread next to nothing (the pressed thumb: BarsStaySkinnedThroughAPress).
TEST_F(SkinScroll, DraggingTheThumbScrollsToTheEnd) {
  ControlBench& b = Bench(440, 200);
  TSkinScrollbar* skin;
  TMemo* memo = SkinnedMemo(b, skin);
  const DragRun run = Drag(skin->Handle, OnVertThumb(*skin), {{0, 10}, {30, 0}, {0, 400}}, 2000);
  ASSERT_TRUE(run.captured);
  EXPECT_LT(run.cpuShare, 0.05);
  SCROLLINFO si{sizeof si, SIF_ALL};
  GetScrollInfo(memo->Handle(), SB_VERT, &si);
  const int end = si.nMax - int(si.nPage) + 1;
  ASSERT_EQ(g_scrolls.size(), 4u);
  EXPECT_TRUE(g_scrolls[0].first == SB_THUMBTRACK && g_scrolls[0].second > 0 && g_scrolls[0].second < end);
  EXPECT_EQ(Requests(g_scrolls.begin() + 1, g_scrolls.end()),
            (Requests{{SB_THUMBTRACK, end}, {SB_THUMBPOSITION, end}, {SB_ENDSCROLL, 0}}));
  EXPECT_EQ(SendMessageA(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), end);
  EXPECT_EQ(At(*memo, skin->VertRect.left + 8, skin->VertRect.bottom - skin->Vert.ArrowLength - 2),
            Frame(kVertScrollThumb, 1));
}

// A quit, a lost capture or a window gone ends the drag without the button:
// as a release (the quit posted again), or, with the window gone, at once
// with nothing sent.
TEST_F(SkinScroll, DragEndsWithoutTheButton) {
  ControlBench& b = Bench(440, 200);
  const struct {
    const char* what;
    std::function<void(TMemo*&)> act;
    bool released;
    int quit;  // the exit code of the WM_QUIT left waiting, or -1
  } cases[] = {
      {"PostQuitMessage", [](TMemo*&) { PostQuitMessage(7); }, true, 7},
      {"ReleaseCapture", [](TMemo*&) { ReleaseCapture(); }, true, -1},
      {"WM_CANCELMODE", [](TMemo*& m) { SendMessageA(m->Handle(), WM_CANCELMODE, 0, 0); }, true, -1},
      {"DestroyWindow", [](TMemo*& m) { DestroyWindow(m->Handle()); }, false, -1},
      {"the control freed", [](TMemo*& m) { delete std::exchange(m, nullptr); }, false, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TSkinScrollbar* skin;
    TMemo* memo = SkinnedMemo(b, skin);
    Arm([&] { c.act(memo); });
    const DragRun run = Drag(skin->Handle, OnVertThumb(*skin), {{0, 10}}, 0, 2000);
    EXPECT_TRUE(run.captured);
    EXPECT_TRUE(run.endedAlone);
    ASSERT_GT(g_actionAt, 0u);
    const Requests released{{SB_THUMBPOSITION, g_scrolls[g_actionAt - 1].second}, {SB_ENDSCROLL, 0}};
    EXPECT_EQ(Requests(g_scrolls.begin() + long(g_actionAt), g_scrolls.end()), c.released ? released : Requests{});
    MSG quit;
    EXPECT_EQ(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) ? int(quit.wParam) : -1, c.quit);
    if (!c.released) continue;
    EXPECT_EQ(At(*memo, skin->VertRect.left + 8, skin->VertRect.top + ThumbMiddle(skin->Vert)),
              Frame(kVertScrollThumb, 1));
    delete memo;
  }
}

// A press on the down arrow, on the track below the thumb, or on the thumb
// moved a quarter down: while it is held and after the release the whole bar
// shows the skin, the part pressed while held. The platform tracks the press
// in its own loop and paints its bar at every step, the thumb too where the
// skin does not drag it (a list view's).
TEST_F(SkinScroll, BarsStaySkinnedThroughAPress) {
  ControlBench& b = Bench(440, 200);
  enum Part { kDownArrow, kTrack, kThumb };
  const struct {
    const char* what;
    bool list;
    Part part;
    int heldArrow, heldThumb;  // frames of the down arrow and the thumb while held
  } cases[] = {
      {"memo, down arrow", false, kDownArrow, 14, 1},
      {"memo, track", false, kTrack, 13, 1},
      {"memo, thumb dragged by the skin", false, kThumb, 13, 2},
      {"list view, down arrow", true, kDownArrow, 14, 1},
      {"list view, thumb dragged by the platform", true, kThumb, 13, 2},
  };
  const auto bar = [](int arrow, int thumb) {
    return Frame(kScrollbar, arrow) + " " + Frame(kScrollbar, 9) + " " + Frame(kVertScroll, 1) + " " +
           Frame(kVertScrollThumb, thumb);
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TSkinScrollbar* skin;
    TWinControl* control = c.list ? static_cast<TWinControl*>(SkinnedList(b, skin)) : SkinnedMemo(b, skin);
    const int t = skin->Vert.ArrowLength, length = skin->VertRect.bottom - skin->VertRect.top;
    const POINT at =
        c.part == kThumb ? OnVertThumb(*skin) : OnVertBar(*skin, length - (c.part == kTrack ? t + 4 : t / 2));
    std::string held;
    Arm([&] { held = VertBarColours(*skin); });
    Drag(skin->Handle, at, c.part == kThumb ? std::vector<POINT>{{0, length / 4}} : std::vector<POINT>{}, 0);
    EXPECT_EQ(held, bar(c.heldArrow, c.heldThumb));
    EXPECT_EQ(VertBarColours(*skin), bar(13, 1));
    EXPECT_GT(GetScrollPos(skin->Handle, SB_VERT), 0);
    delete control;
  }

  // A list view takes a double click's second press as WM_NCLBUTTONDBLCLK,
  // which the platform tracks again.
  TSkinScrollbar* skin;
  SkinnedList(b, skin);
  testsupport::ClickAt(OnVertBar(*skin, skin->VertRect.bottom - skin->VertRect.top - 2), testsupport::Button::Double);
  const Requests twice{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}, {SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}};
  EXPECT_TRUE(testsupport::WaitFor([&] { return g_scrolls == twice; }, 5000));
  EXPECT_EQ(VertBarColours(*skin), bar(13, 1));
}

// A click on a scroll-bar control's arrow moves it, and the skin is drawn
// again over what the control drew; a size box gets a ButtonShadow frame.
TEST_F(SkinScroll, ScrollBarControlClickAndSizeBox) {
  ControlBench& b = Bench(300, 120);
  auto* bar = b.Add<TScrollBar>(10, 10, 200, 17);
  bar->PageSize = 10;
  bar->SetPosition(45);
  auto* skin = b.Attach<TSkinScControl>(bar);
  const int arrow = 200 - skin->Bar.ArrowLength / 2, before = skin->Bar.ThumbOffset;
  testsupport::ClickAt(ScreenPoint(bar->Handle(), arrow, 8));
  EXPECT_EQ(bar->Position(), 46);
  EXPECT_GT(skin->Bar.ThumbOffset, before);
  EXPECT_EQ(At(*bar, ThumbMiddle(skin->Bar), 8) + At(*bar, arrow, 8), Frame(kHorzScrollThumb, 1) + Frame(kScrollbar, 5));

  HWND box = b.AddPlain("scrollbar", "", SBS_SIZEBOX, RECT{10, 70, 30, 90}, 5);
  b.AttachPlain<TSkinSizer>(box);
  for (int at : {0, 19}) EXPECT_EQ(Describe(WindowPixel(box, at, at)), "ButtonShadow");
}

// Every section and the rest of the header in frame 1 of Headerbar, each
// caption placed as its section says: left, centred, right.
TEST_F(SkinScroll, ListViewHeader) {
  ControlBench& b = Bench(400, 200);
  auto* list = b.Add<TListView>(10, 10, 380, 150);
  list->Columns = {{"Left", 100}, {"Centre", 100}, {"Right", 100}};
  list->RecreateWnd();
  for (int column : {1, 2}) {
    LVCOLUMNA format{LVCF_FMT, column == 1 ? LVCFMT_CENTER : LVCFMT_RIGHT};
    SendMessageA(list->Handle(), LVM_SETCOLUMNA, WPARAM(column), LPARAM(&format));
  }
  (new TSkinListView(list))->AttachScrollbars(list, &b.Data, false, &b.Frame, &b.Frame.ControlCanvas);
  Repaint(b.Form->Handle());
  HWND header = reinterpret_cast<HWND>(SendMessageA(list->Handle(), LVM_GETHEADER, 0, 0));
  EXPECT_EQ(Describe(WindowPixel(header, 340, 3)), Frame(kHeaderbar, 1)) << "right of the last section";
  RECT r;
  GetClientRect(header, &r);
  int first[3] = {100, 100, 100}, last[3] = {};  // the captions' columns within their sections
  for (int x = 0; x < 300; ++x)
    if (WindowPixel(header, x, r.bottom / 2) != FrameColour(kHeaderbar, 1)) last[x / 100] = x % 100;
    else if (last[x / 100] == 0) first[x / 100] = x % 100 + 1;
  EXPECT_LE(first[0], 4);
  EXPECT_LE(std::abs(first[1] - (99 - last[1])), 3);
  EXPECT_GE(last[2], 95);
}

// A memo, a list view and a scroll-bar control attached directly with the
// shipped skin, which has no Headerbar: the header keeps its own look. With
// SKIN_SCROLL_SHOT set, the form's screen area is saved there as a BMP.
TEST_F(SkinScroll, ShippedSkinDrawsTheBars) {
  ControlBench& b = Bench(440, 210);
  b.Data.SkinStream.LoadFromFile(ShippedSkin());
  ASSERT_TRUE(b.Data.LoadFromStore());
  b.Form->SetColor(b.Data.Colours.ButtonFace);
  TSkinScrollbar* memoSkin;
  TMemo* memo = SkinnedMemo(b, memoSkin);
  TListView* list = LongList(b);
  auto* bar = b.Add<TScrollBar>(10, 180, 420, 17);
  bar->PageSize = 20;
  bar->SetPosition(30);
  HWND header = reinterpret_cast<HWND>(SendMessageA(list->Handle(), LVM_GETHEADER, 0, 0));
  Repaint(b.Form->Handle());
  const COLORREF own = WindowPixel(header, 40, 3);
  (new TSkinListView(list))->AttachScrollbars(list, &b.Data, false, &b.Frame, &b.Frame.ControlCanvas);
  auto* barSkin = b.Attach<TSkinScControl>(bar);
  Repaint(b.Form->Handle());
  EXPECT_NE(b.Frame.FindSkinControl(header), nullptr);
  EXPECT_EQ(WindowPixel(header, 40, 3), own);
  const std::string channel = "#e8eaee", thumb = "#a0a7b1";
  EXPECT_EQ(At(*memo, memoSkin->VertRect.left + 8, memoSkin->VertRect.top + ThumbMiddle(memoSkin->Vert)), thumb);
  EXPECT_EQ(At(*list, list->Width() - 10, 120), channel);
  EXPECT_EQ(At(*bar, ThumbMiddle(barSkin->Bar), 8) + At(*bar, barSkin->Bar.ArrowLength + 2, 8), thumb + channel);
  if (const char* shot = std::getenv("SKIN_SCROLL_SHOT")) SaveScreenArea(b.Form->Handle(), shot);
}
