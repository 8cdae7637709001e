// A skin built in code for the skin window tests: every frame of every
// element is a solid colour that names the element and the frame, so a pixel
// read from a window or a bitmap tells which image painted it.
#pragma once
#include <windows.h>

#include <string>
#include <type_traits>
#include <vector>

#include "Forms.h"
#include "Graphics.h"
#include "WinSkinButtons.h"
#include "WinSkinCtrls2.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

namespace skintest {

// The elements of a test skin. Title buttons take kTitleButton + their index.
enum Element : int {
  kLeft = 1, kRight, kTop, kBottom, kTitle, kButtons,
  kProgress, kMenuBar, kGroupBoxEdge, kGroupBox, kToolbars, kTabs, kStatusBarEdges, kComboButton,
  kSunkEdge, kExtraImages, kHeaderbar, kMenuItem, kMenuBackground,
  kScrollbar, kHorzScroll, kVertScroll, kHorzScrollThumb, kVertScrollThumb,
  kThumbHorz, kThumbVert, kThumbLeft, kThumbRight, kThumbUp, kThumbDown, kUpDownHorz, kUpDownVert,
  kTabsBorder,  // the Tabs element's Border (Image2)
  kCheckButton, kRadioButton,  // the Buttons section's strips
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
// For failure messages: "Top#2", "magenta", "ButtonFace" (the test colours
// below), "no pixel" or "#rrggbb".
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
// (5 frames) with 4-frame check and radio strips of `kBoxSize`, every element
// record with its parsed frame count (the Tabs Border, ComboButton's mirrored
// copy too) and the ButtonFace brush; no title buttons. Tests change the records they care
// about afterwards.
constexpr int kBorderWidth = 4, kTitleHeight = 24, kBoxSize = 11;
void BuildTestSkin(TSkinData& data);

// Pixels as the user sees them: window coordinates (the frame included),
// client coordinates, and a bitmap's.
COLORREF WindowPixel(HWND window, int x, int y);
COLORREF ClientPixel(HWND window, int x, int y);
COLORREF BitmapPixel(TBitmap& bitmap, int x, int y);

// Dispatches this thread's pending messages until none is left.
void Pump();

// ---- Skinned controls ----

// The skin colours the control tests give: ButtonFace, ButtonShadow and
// ButtonText, and the Buttons section's caption colours for the normal, hot
// and pressed states, each given (the ButtonFace brush follows).
constexpr COLORREF kButtonFace = RGB(0xE0, 0xD8, 0xC8), kButtonShadow = RGB(0x70, 0x60, 0x50),
                   kButtonText = RGB(0x20, 0x30, 0x90), kNormalText = RGB(0x10, 0x60, 0x20),
                   kHotText = RGB(0x90, 0x10, 0x70), kPressedText = RGB(0x10, 0x70, 0x90);
void UseTestColours(TSkinData& data);

// Invalidated with its children and painted at once, then messages pumped.
void Repaint(HWND window);

// A form of its own class, shown, active and in the skin's ButtonFace, with
// the test skin and a frame object that takes no window over: controls are
// attached to it directly.
class ControlBench {
 public:
  ControlBench(int clientWidth, int clientHeight);
  ~ControlBench();
  ControlBench(const ControlBench&) = delete;
  ControlBench& operator=(const ControlBench&) = delete;

  // A class-library control on the form (with its window).
  template <class C>
  C* Add(int left, int top, int width, int height, const std::string& caption = "") {
    auto* c = new C(Form);
    c->SetBounds(left, top, width, height);
    if (!caption.empty()) c->SetCaption(caption);
    c->SetParent(Form);
    return c;
  }
  // A skinned control of class S owned by `control` and attached to it
  // (AttachGraphic for a control without a window, AttachHandle for an
  // edit, as the frame does), then painted.
  template <class S>
  S* Attach(TControl* control, bool useSkinColour = false) {
    auto* s = new S(control);
    auto* graphic = dynamic_cast<TGraphicControl*>(control);
    if constexpr (std::is_base_of_v<TSkinBitButton, S>)
      if (graphic) s->AttachGraphic(&Frame, &Data, &Frame.ControlCanvas);
    if constexpr (std::is_base_of_v<TSkinEdit, S>)
      s->AttachHandle(static_cast<TWinControl*>(control)->Handle(), &Data, &Frame, &Frame.ControlCanvas);
    else if (!graphic) s->AttachControl(&Frame, &Data, useSkinColour, &Frame.ControlCanvas);
    Repaint(Form->Handle());
    return s;
  }
  // A plain child window of the form ("button" and the like), shown.
  HWND AddPlain(const char* windowClass, const std::string& text, DWORD style, const RECT& bounds, int id);
  // A skinned control of class S owned by the frame object and attached to a
  // plain window, then painted.
  template <class S>
  S* AttachPlain(HWND window) {
    auto* s = new S(&Frame);
    s->AttachHandle(window, &Data, &Frame, &Frame.ControlCanvas);
    Repaint(Form->Handle());
    return s;
  }

  TSkinData Data{nullptr};
  TWinSkinForm Frame{nullptr};
  TForm* Form = nullptr;
};

// The class of the skinned control the frame lists for a component (by the
// control, or by its window), or "".
std::string SkinnedClassOf(const TWinSkinForm& frame, TComponent* component);

// What the user sees at (x, y) of a control: its window's DC, or its
// parent's for a control without a window.
COLORREF ControlPixel(TControl& control, int x, int y);
// What the user sees of a control or a window, copied into a bitmap of its size.
void Snapshot(TControl& control, TBitmap& into);
void Snapshot(HWND window, TBitmap& into);
// How many pixels of the bitmap have exactly that colour, and the leftmost
// column that has one among rows top .. bottom - 1 (-1 when none).
int CountColour(TBitmap& bitmap, COLORREF c);
int FirstColumnWith(TBitmap& bitmap, COLORREF c, int top = 0, int bottom = 1 << 30);
// The screen point of (x, y) in a window (its top-left corner is 0, 0).
POINT ScreenPoint(HWND window, int x, int y);
// The window's area of the screen saved as a 24-bit BMP file.
void SaveScreenArea(HWND window, const std::string& path);
// Real mouse input at a screen point: a move, with `buttonFlags`
// (MOUSEEVENTF_LEFTDOWN, ...) when given, then messages pumped a while.
void MouseAt(POINT screen, DWORD buttonFlags = 0);
// Real keyboard input to the focus window: the key down, or up with
// KEYEVENTF_KEYUP, then messages pumped until this thread has taken it.
void KeyInput(WORD vk, DWORD flags = 0);

}  // namespace skintest
