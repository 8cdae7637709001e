// A skin built in code for the skin window tests: every frame of every
// element is a solid colour that names the element and the frame, so a pixel
// read from a window or a bitmap tells which image painted it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "Graphics.h"
#include "WinSkinData.h"

namespace skintest {

// The elements of a test skin. Title buttons take kTitleButton + their index.
enum Element : int {
  kLeft = 1, kRight, kTop, kBottom, kTitle, kButtons,
  kProgress, kMenuBar, kGroupBoxEdge, kGroupBox, kToolbars, kTabs, kStatusBarEdges, kComboButton,
  kSunkEdge, kExtraImages, kHeaderbar, kMenuItem, kMenuBackground,
  kScrollbar, kHorzScroll, kVertScroll, kHorzScrollThumb, kVertScrollThumb,
  kThumbHorz, kThumbVert, kThumbLeft, kThumbRight, kThumbUp, kThumbDown, kUpDownHorz, kUpDownVert,
  kTitleButton,
};
constexpr int kMaxElement = 42, kMaxFrame = 25;

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// The colour of frame `frame` (from 1) of element `element`.
COLORREF FrameColour(int element, int frame);

// What a colour names: element 0 for a colour no frame has.
struct Painted {
  int element = 0, frame = 0;
  bool operator==(const Painted&) const = default;
};
Painted Name(COLORREF c);
// For failure messages: "Top#2", "magenta", "no pixel" or "#rrggbb".
std::string Describe(COLORREF c);

// One element image: `frames` frames of `width` x `height`, side by side or
// stacked, each filled with its colour except the magenta `key` blocks
// (frame coordinates, the same in every frame).
struct Strip {
  int frames = 1;
  int width = 16, height = 16;
  bool vertical = false;
  RECT margins = {};  // LeftWidth, TopHeight, RightWidth, BottomHeight
  std::vector<RECT> key;
};
void FillStrip(TBitmap& image, int element, const Strip& strip);
// The record's image, frame count and margins from `strip`; Trans is 1 when
// the strip has key blocks.
void SetElement(TDataSkinObject& record, int element, const Strip& strip);

// Fills `data` as a parsed skin would: the four borders (2 frames each,
// stretched, Top `kTitleHeight` high), the title (2 frames), the push button
// (5 frames) and every element record with its parsed frame count; no title
// buttons. Tests change the records they care about afterwards.
constexpr int kBorderWidth = 4, kTitleHeight = 24;
void BuildTestSkin(TSkinData& data);

// Pixels as the user sees them: window coordinates (the frame included),
// client coordinates, and a bitmap's.
COLORREF WindowPixel(HWND window, int x, int y);
COLORREF ClientPixel(HWND window, int x, int y);
COLORREF BitmapPixel(TBitmap& bitmap, int x, int y);

// Dispatches this thread's pending messages until none is left.
void Pump();

}  // namespace skintest
