// Scroll bars drawn from the skin: the window scroll bars of a scrolling
// control (TSkinScrollbar; TSkinListView also skins the list view's header
// with a TSkinHeader), a stand-alone scroll-bar control (TSkinScControl), and
// a plain "scrollbar" window covered with a one-pixel frame (TSkinSizer).
//
// Elements: Scrollbar (arrows, 23 frames: 1/2 left, 5/6 right, 9/10 up, 13/14
// down, normal/pressed), HorzScroll and VertScroll (tracks, frame 1 of 4),
// HorzScrollThumb and VertScrollThumb (frame 1 normal, 2 pressed), Headerbar.
// Each bar is composed at 16 pixels across and stretched to the system width.
#pragma once
#include <windows.h>

#include "WinSubClass.h"

class TDataSkinObject;

// Which part shows pressed.
enum TScrollPart : int {
  spNone = 0, spLeft = 1, spRight = 2, spUp = 3, spDown = 4, spHorzThumb = 5, spVertThumb = 6
};

// One direction of a scrolling control: its scroll info as last read and the
// bar's geometry along its length.
struct TSkinScrollBar {
  SCROLLINFO Info{};
  int ArrowLength = 0;  // the system scroll-bar width
  int TrackLength = 0;  // between the arrows
  int ThumbLength = 0;
  int ThumbOffset = 0;  // from the track's start
  DWORD StyleBit = 0;   // WS_HSCROLL or WS_VSCROLL
};

// Thumb length and offset on a track of `track` pixels for a range, a page
// and a position; `extra` is 1 where the last position is max - page + 1
// (a scroll-bar control), 0 where the span itself is divided (window bars).
// False, and the bar unchanged, when the range is empty.
bool ThumbGeometry(TSkinScrollBar& bar, int track, int min, int max, UINT page, int pos, int extra);

class TSkinScrollbar : public TSkinControl {
  UI_CLASS(TSkinScrollbar)
 public:
  using TSkinControl::TSkinControl;
  // A drag under way stops without touching this object again.
  ~TSkinScrollbar() override;
  // A plain window: its procedure hooked, no own drag, not listed by the frame.
  void AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  // Attaches to a class-library control in front of its WindowProc; with
  // ownDrag the skin drags the thumb itself. The frame is recalculated.
  virtual void AttachScrollbars(TWinControl* control, TSkinData* skinData, bool ownDrag, TWinSkinForm* form,
                                TCanvas* canvas);

  bool ThumbDragging = false;  // the drag loop runs
  bool OwnDrag = false;
  bool HorzScrolling = false, VertScrolling = false;  // the control's own WM_H/VSCROLL handling runs
  int PartCode = spNone;
  DWORD Style = 0, ExStyle = 0;
  RECT HorzRect{}, VertRect{}, SizeBoxRect{};  // window coordinates
  TSkinScrollBar Horz, Vert;

 private:
  // What both attaches set up; the frame is recalculated.
  void Prepare();
  // The bars' rectangles from the window and client sizes.
  void Layout(const RECT& window, bool horz, bool vert);
  void UpdateThumb(TSkinScrollBar& bar, int sbBar, int length);
  void PaintBar(HDC dc, TSkinScrollBar& bar, const RECT& r, bool vertical);
  void Scroll(TMessage& m);
  // A press on a bar that the platform tracks in its own loop, which paints
  // its bar at each step: the skin is painted again after each step and at
  // the end.
  void TrackWithPlatform(TMessage& m);
  // A press on a thumb runs the drag; false for any other part.
  bool ThumbCheck(TMessage& m);
  void DragThumb(TSkinScrollBar& bar, bool horz);
  // A mouse move of the drag: the position from the cursor's way along the
  // bar since `start`, sent as SB_THUMBTRACK when it changed.
  void Track(TSkinScrollBar& bar, int o0, POINT start, bool horz);
  // Ends the drag as a release does (nothing when none runs).
  void EndDrag();

  UINT dragMessage_ = 0;  // WM_HSCROLL or WM_VSCROLL
  int dragPosition_ = 0;  // the last position sent
  bool dragLost_ = false;  // the capture went elsewhere
  bool* dragAlive_ = nullptr;  // the running drag's token, cleared when this object goes
};

// The header of a list view: every section, and the part right of the last,
// in frame 1 of Headerbar with its caption and icon. Without Headerbar the
// header keeps its own look.
class TSkinHeader : public TSkinControl {
  UI_CLASS(TSkinHeader)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
};

// A list view's window scroll bars, and its header skinned by a TSkinHeader
// owned by the list view.
class TSkinListView : public TSkinScrollbar {
  UI_CLASS(TSkinListView)
 public:
  using TSkinScrollbar::TSkinScrollbar;
  void AttachScrollbars(TWinControl* control, TSkinData* skinData, bool ownDrag, TWinSkinForm* form,
                        TCanvas* canvas) override;
};

// A scroll-bar control (TScrollBar): the whole window is one bar. The
// control tracks the mouse itself; the skin paints after each change and
// after the control drew a hot or pressed part of its own.
class TSkinScControl : public TSkinControl {
  UI_CLASS(TSkinScControl)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

  int PartCode = spNone;
  TSkinScrollBar Bar;  // its geometry; the scroll info is not kept
};

// A plain "scrollbar" window (a size box): a one-pixel ButtonShadow frame.
class TSkinSizer : public TSkinControl {
  UI_CLASS(TSkinSizer)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
};
