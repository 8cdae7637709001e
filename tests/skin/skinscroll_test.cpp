// Skinned scroll bars, list-view header, scroll-bar control and size box, on
// real windows. The skin's thumb drag holds the window's thread in its own
// loop, so the mouse is driven from a second thread.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdlib>
#include <functional>
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

// WM_VSCROLL reaching the memo's own procedure: request and position.
std::vector<std::pair<int, int>> g_scrolls;
// Run once from a timer that the drag's first SB_THUMBTRACK arms.
std::function<void()> g_action;
size_t g_actionAt = 0;  // g_scrolls' size when it ran
std::atomic<bool> g_positioned{false};  // SB_THUMBPOSITION came, for the input thread

void CALLBACK RunAction(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_actionAt = g_scrolls.size();
  std::exchange(g_action, nullptr)();
}

// 200 lines, wider than the memo: both bars.
TMemo* SkinnedMemo(ControlBench& b, TSkinScrollbar*& skin, int left = 10) {
  auto* memo = b.Add<TMemo>(left, 10, 200, 150);
  memo->ScrollBars = ssBoth;
  memo->WordWrap = false;
  memo->RecreateWnd();
  std::string text;
  for (int i = 0; i < 200; ++i) text += "Line " + std::to_string(i) + " of a memo wider than its window\r\n";
  memo->SetText(text);
  g_scrolls.clear();
  g_positioned = false;
  memo->WindowProc = [own = memo->WindowProc](TMessage& m) {
    if (m.Msg == WM_VSCROLL) g_scrolls.emplace_back(LOWORD(m.WParam), HIWORD(m.WParam));
    if (m.Msg == WM_VSCROLL && LOWORD(m.WParam) == SB_THUMBPOSITION) g_positioned = true;
    if (m.Msg == WM_VSCROLL && LOWORD(m.WParam) == SB_THUMBTRACK && g_action && g_actionAt == 0)
      g_actionAt = SetTimer(nullptr, 0, 50, RunAction) ? 0 : 1;
    own(m);
  };
  skin = new TSkinScrollbar(memo);
  skin->AttachScrollbars(memo, &b.Data, true, &b.Frame, &b.Frame.ControlCanvas);
  Repaint(b.Form->Handle());
  return memo;
}

POINT ThumbCentre(TSkinScrollbar& s) {
  const TSkinScrollBar& v = s.Vert;
  return ScreenPoint(s.Handle, s.VertRect.left + 8, s.VertRect.top + v.ArrowLength + v.ThumbOffset + v.ThumbLength / 2);
}

// What the second thread saw.
struct DragRun {
  bool captured = false;      // the press started a drag
  COLORREF underPress = 0;    // the screen there while it ran
  bool endedAlone = false;    // before the button was released: capture gone, SB_THUMBPOSITION sent
                              // unless the window went
  double cpuShare = 1;        // of the window's thread while the mouse was held still
};

double CpuSeconds(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(thread, &created, &exited, &kernel, &user);
  return double((ULONGLONG(kernel.dwHighDateTime) << 32 | kernel.dwLowDateTime) +
                (ULONGLONG(user.dwHighDateTime) << 32 | user.dwLowDateTime)) / 1e7;
}

// Presses at `from`, moves by each step, holds still `holdMs`, waits up to
// `endMs` for the drag to end by itself, then releases; this thread pumps.
DragRun Drag(HWND window, POINT from, const std::vector<POINT>& steps, DWORD holdMs = 0, DWORD endMs = 0) {
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
    for (DWORD waited = 0; !condition(); waited += 10) {
      if (waited >= ms) return false;
      Sleep(10);
    }
    return true;
  };
  std::thread input([&] {
    MouseAt(from, MOUSEEVENTF_LEFTDOWN);
    run.captured = waitFor(3000, captured);
    run.underPress = GetPixel(ui::WindowDC().get(), from.x, from.y);
    POINT at = from;
    for (POINT d : steps) MouseAt(at = POINT{at.x + d.x, at.y + d.y});
    const double cpu = CpuSeconds(self);
    Sleep(holdMs);
    if (holdMs) run.cpuShare = (CpuSeconds(self) - cpu) * 1000 / holdMs;
    run.endedAlone = endMs && waitFor(endMs, [&] { return !captured() && (g_positioned || !IsWindow(window)); });
    MouseAt(at, MOUSEEVENTF_LEFTUP);
    SetEvent(done.get());
  });
  ui::WaitPumping(30000, done.get());
  input.join();
  ui::WaitPumping(300);  // the release and the posted SB_ENDSCROLL
  return run;
}

}  // namespace

TEST(SkinScrollGeometry, Thumbs) {
  const int hthumb = GetSystemMetrics(SM_CXHTHUMB);
  const struct {
    const char* what;
    int min, max, page, pos, extra;
    bool changed;
    int length, offset;
  } cases[] = {
      {"a page as large as the span: one pixel short, at 0", 0, 100, 100, 30, 0, true, 94, 0},
      {"a control's page covering every position", 0, 99, 100, 30, 1, true, 94, 0},
      {"a small page gets 8 pixels", 0, 1000, 2, 1000, 0, true, 8, 87},
      {"no page: the system's thumb, at the end", 0, 10, 0, 10, 0, true, hthumb, 95 - hthumb},
      {"the middle", 10, 110, 40, 35, 0, true, 38, 24},
      {"an empty range keeps the thumb", 5, 5, 0, 5, 0, false, 33, 22},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TSkinScrollBar bar;
    bar.ArrowLength = 17;
    bar.ThumbLength = 33;
    bar.ThumbOffset = 22;
    EXPECT_EQ(ThumbGeometry(bar, 95, c.min, c.max, UINT(c.page), c.pos, c.extra), c.changed);
    EXPECT_EQ(bar.ThumbLength, c.length);
    EXPECT_EQ(bar.ThumbOffset, c.offset);
  }
}

// Arrows, tracks and thumbs from the test skin, the size box in ButtonFace; a
// memo without bars gets nothing.
TEST_F(SkinScroll, MemoBarsComeFromTheSkin) {
  ControlBench& b = Bench(440, 200);
  TSkinScrollbar* skin;
  TMemo* memo = SkinnedMemo(b, skin);
  const RECT h = skin->HorzRect, v = skin->VertRect;
  const int t = GetSystemMetrics(SM_CXHSCROLL);
  const struct {
    int x, y;
    std::string seen;
  } probes[] = {
      {v.left + 8, v.top + 2, Frame(kScrollbar, 9)},         {v.left + 8, v.bottom - 2, Frame(kScrollbar, 13)},
      {v.left + 8, v.top + t + 2, Frame(kVertScrollThumb, 1)}, {v.left + 8, v.bottom - t - 2, Frame(kVertScroll, 1)},
      {h.left + 2, h.top + 8, Frame(kScrollbar, 1)},         {h.right - 2, h.top + 8, Frame(kScrollbar, 5)},
      {h.left + t + 2, h.top + 8, Frame(kHorzScrollThumb, 1)}, {h.right - t - 2, h.top + 8, Frame(kHorzScroll, 1)},
      {v.left + 8, h.top + 8, "ButtonFace"},
  };
  for (const auto& p : probes) EXPECT_EQ(At(*memo, p.x, p.y), p.seen) << p.x << "," << p.y;

  auto* plain = b.Add<TMemo>(220, 10, 200, 150);
  (new TSkinScrollbar(plain))->AttachScrollbars(plain, &b.Data, true, &b.Frame, &b.Frame.ControlCanvas);
  Repaint(plain->Handle());
  for (int x : {5, 190}) EXPECT_EQ(Name(ControlPixel(*plain, x, 140)).element, 0) << x;
}

// Down a little, sideways (no new position), far past the end: the thumb
// shows pressed, SB_THUMBTRACK comes once per position and stops at
// nMax - nPage + 1, then SB_THUMBPOSITION and the posted SB_ENDSCROLL.
TEST_F(SkinScroll, DraggingTheThumbScrollsToTheEnd) {
  ControlBench& b = Bench(440, 200);
  TSkinScrollbar* skin;
  TMemo* memo = SkinnedMemo(b, skin);
  const DragRun run = Drag(memo->Handle(), ThumbCentre(*skin), {{0, 10}, {30, 0}, {0, 400}});
  ASSERT_TRUE(run.captured);
  EXPECT_EQ(Describe(run.underPress), Frame(kVertScrollThumb, 2));
  SCROLLINFO si{sizeof si, SIF_ALL};
  GetScrollInfo(memo->Handle(), SB_VERT, &si);
  const int end = si.nMax - int(si.nPage) + 1;
  ASSERT_EQ(g_scrolls.size(), 4u);
  EXPECT_EQ(g_scrolls[0].first, SB_THUMBTRACK);
  EXPECT_GT(g_scrolls[0].second, 0);
  EXPECT_LT(g_scrolls[0].second, end);
  const std::vector<std::pair<int, int>> rest{{SB_THUMBTRACK, end}, {SB_THUMBPOSITION, end}, {SB_ENDSCROLL, 0}};
  EXPECT_EQ(std::vector(g_scrolls.begin() + 1, g_scrolls.end()), rest);
  EXPECT_EQ(SendMessageA(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), end);
  const RECT v = skin->VertRect;
  EXPECT_EQ(At(*memo, v.left + 8, v.bottom - skin->Vert.ArrowLength - 2), Frame(kVertScrollThumb, 1));
  EXPECT_EQ(At(*memo, v.left + 8, v.top + skin->Vert.ArrowLength + 2), Frame(kVertScroll, 1));
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
    g_actionAt = 0;
    g_action = [&] { c.act(memo); };
    const DragRun run = Drag(memo ? memo->Handle() : nullptr, ThumbCentre(*skin), {{0, 10}}, 0, 2000);
    EXPECT_TRUE(run.captured);
    EXPECT_TRUE(run.endedAlone);
    const int last = g_scrolls[g_actionAt - 1].second;
    const std::vector<std::pair<int, int>> after{{SB_THUMBPOSITION, last}, {SB_ENDSCROLL, 0}};
    const std::vector<std::pair<int, int>> sent(g_scrolls.begin() + long(g_actionAt), g_scrolls.end());
    EXPECT_EQ(sent, c.released ? after : decltype(after){});
    MSG quit;
    const bool quitWaiting = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_EQ(quitWaiting ? int(quit.wParam) : -1, c.quit);
    if (!memo) continue;
    if (c.released) {
      TBitmap seen;
      Snapshot(*memo, seen);
      EXPECT_FALSE(skin->ThumbDragging);
      EXPECT_EQ(CountColour(seen, FrameColour(kVertScrollThumb, 2)), 0);
      EXPECT_GT(CountColour(seen, FrameColour(kVertScrollThumb, 1)), 0);
    }
    delete memo;
  }
}

// Held still, the thumb costs the window's thread next to nothing.
TEST_F(SkinScroll, HeldThumbWaitsForTheMouse) {
  ControlBench& b = Bench(440, 200);
  TSkinScrollbar* skin;
  TMemo* memo = SkinnedMemo(b, skin);
  const DragRun run = Drag(memo->Handle(), ThumbCentre(*skin), {{0, 10}}, 2000);
  ASSERT_TRUE(run.captured);
  EXPECT_LT(run.cpuShare, 0.05);
}

// A scroll-bar control is one bar, drawn again after a click moved it; one
// shorter than two arrows gets two half arrows and no track. A size box gets
// a ButtonShadow frame.
TEST_F(SkinScroll, ScrollBarControlAndSizeBox) {
  ControlBench& b = Bench(300, 120);
  auto* bar = b.Add<TScrollBar>(10, 10, 200, 17);
  bar->PageSize = 10;
  bar->SetPosition(45);
  auto* skin = b.Attach<TSkinScControl>(bar);
  const int t = skin->Bar.ArrowLength;
  const auto thumbAt = [&] { return At(*bar, t + skin->Bar.ThumbOffset + skin->Bar.ThumbLength / 2, 8); };
  EXPECT_EQ(thumbAt(), Frame(kHorzScrollThumb, 1));
  EXPECT_EQ(At(*bar, t + 2, 8), Frame(kHorzScroll, 1));
  const int before = skin->Bar.ThumbOffset;
  testsupport::ClickAt(ScreenPoint(bar->Handle(), 200 - t / 2, 8));
  EXPECT_EQ(bar->Position(), 46);
  EXPECT_GT(skin->Bar.ThumbOffset, before);
  EXPECT_EQ(thumbAt(), Frame(kHorzScrollThumb, 1));
  EXPECT_EQ(At(*bar, 200 - t / 2, 8), Frame(kScrollbar, 5));

  auto* tiny = b.Add<TScrollBar>(10, 40, 20, 17);
  b.Attach<TSkinScControl>(tiny);
  EXPECT_EQ(At(*tiny, 9, 8), Frame(kScrollbar, 1));
  EXPECT_EQ(At(*tiny, 10, 8), Frame(kScrollbar, 5));

  HWND box = b.AddPlain("scrollbar", "", SBS_SIZEBOX, RECT{10, 70, 30, 90}, 5);
  b.AttachPlain<TSkinSizer>(box);
  for (int at : {0, 19}) EXPECT_EQ(Describe(WindowPixel(box, at, at)), "ButtonShadow");
}

// Every section and the rest of the header in frame 1 of Headerbar, each
// caption placed as its section says; without Headerbar the header keeps its
// own look.
TEST_F(SkinScroll, ListViewHeader) {
  ControlBench& b = Bench(400, 200);
  for (bool skinned : {true, false}) {
    SCOPED_TRACE(skinned);
    if (!skinned) b.Data.Headerbar.reset();
    auto* list = b.Add<TListView>(10, 10, 380, 150);
    list->Columns = {{"Left", 100}, {"Centre", 100}, {"Right", 100}};
    list->RecreateWnd();
    for (int i = 0; i < 30; ++i) list->AddItem("Item " + std::to_string(i), {"a", "b"});
    for (int column : {1, 2}) {
      LVCOLUMNA format{LVCF_FMT, column == 1 ? LVCFMT_CENTER : LVCFMT_RIGHT};
      SendMessageA(list->Handle(), LVM_SETCOLUMNA, WPARAM(column), LPARAM(&format));
    }
    HWND header = reinterpret_cast<HWND>(SendMessageA(list->Handle(), LVM_GETHEADER, 0, 0));
    Repaint(header);
    const COLORREF own = WindowPixel(header, 50, 3);
    (new TSkinListView(list))->AttachScrollbars(list, &b.Data, false, &b.Frame, &b.Frame.ControlCanvas);
    Repaint(b.Form->Handle());
    EXPECT_NE(b.Frame.FindSkinControl(header), nullptr);
    EXPECT_EQ(At(*list, 372, 60), Frame(kVertScroll, 1));
    if (!skinned) {
      EXPECT_EQ(WindowPixel(header, 50, 3), own);
      continue;
    }
    RECT r;
    GetWindowRect(header, &r);
    const int mid = (r.bottom - r.top) / 2;
    EXPECT_EQ(Describe(WindowPixel(header, 340, 3)), Frame(kHeaderbar, 1)) << "right of the last section";
    ui::WindowDC dc(header);
    std::vector<int> text;  // columns crossing the captions' middle row
    for (int x = 0; x < 300; ++x)
      if (GetPixel(dc.get(), x, mid) != FrameColour(kHeaderbar, 1)) text.push_back(x);
    ASSERT_FALSE(text.empty());
    const auto extent = [&](int section) {
      std::pair<int, int> e{300, -1};  // first and last text column from the section's edges
      for (int x : text)
        if (x / 100 == section) e = {std::min(e.first, x % 100), std::max(e.second, x % 100)};
      return std::pair{e.first, 99 - e.second};
    };
    const auto [left, leftEnd] = extent(0);
    const auto [centre, centreEnd] = extent(1);
    const auto [right, rightEnd] = extent(2);
    EXPECT_LE(left, 4);
    EXPECT_LE(std::abs(centre - centreEnd), 3);
    EXPECT_LE(rightEnd, 4);
    EXPECT_GT(leftEnd, 40);
    EXPECT_GT(right, 40);
  }
}

// A memo, a list view and a scroll-bar control attached directly with the
// shipped skin. With SKIN_SCROLL_SHOT set, the form's screen area is saved
// there as a BMP.
TEST_F(SkinScroll, ShippedSkinDrawsTheBars) {
  ControlBench& b = Bench(440, 250);
  b.Data.SkinStream.LoadFromFile(ShippedSkin());
  ASSERT_TRUE(b.Data.LoadFromStore());
  b.Form->SetColor(b.Data.Colours.ButtonFace);
  b.Form->Font.SetName("Tahoma");
  TSkinScrollbar* memoSkin;
  TMemo* memo = SkinnedMemo(b, memoSkin);
  auto* list = b.Add<TListView>(220, 10, 210, 150);
  list->Columns = {{"Name", 90}, {"Value", 90}};
  list->RecreateWnd();
  for (int i = 0; i < 30; ++i) list->AddItem("Item " + std::to_string(i), {std::to_string(i * 7)});
  auto* bar = b.Add<TScrollBar>(10, 180, 420, 17);
  bar->PageSize = 20;
  bar->SetPosition(30);
  HWND header = reinterpret_cast<HWND>(SendMessageA(list->Handle(), LVM_GETHEADER, 0, 0));
  Repaint(b.Form->Handle());
  const COLORREF own = WindowPixel(header, 40, 3);
  (new TSkinListView(list))->AttachScrollbars(list, &b.Data, false, &b.Frame, &b.Frame.ControlCanvas);
  auto* barSkin = b.Attach<TSkinScControl>(bar);
  Repaint(b.Form->Handle());
  EXPECT_EQ(WindowPixel(header, 40, 3), own) << "the shipped skin has no Headerbar";
  const std::string channel = "#e8eaee", thumb = "#a0a7b1";
  const RECT v = memoSkin->VertRect;
  const TSkinScrollBar& m = memoSkin->Vert;
  EXPECT_EQ(At(*memo, v.left + 8, v.top + m.ArrowLength + m.ThumbOffset + m.ThumbLength / 2), thumb);
  EXPECT_EQ(At(*memo, v.left + 8, v.bottom - m.ArrowLength - 2), channel);
  EXPECT_EQ(At(*list, list->Width() - 10, 120), channel);
  EXPECT_EQ(At(*bar, barSkin->Bar.ArrowLength + barSkin->Bar.ThumbOffset + 10, 8), thumb);
  EXPECT_EQ(At(*bar, barSkin->Bar.ArrowLength + 2, 8), channel);
  if (const char* shot = std::getenv("SKIN_SCROLL_SHOT")) SaveScreenArea(b.Form->Handle(), shot);
}
