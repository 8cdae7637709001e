// The drawing the skinned controls share (captions, element states, frames
// of strips, arrows), and three small skinned controls: the status bar, the
// group box (radio groups too) and the box, which only lends a container the
// skin's background colour.
#pragma once
#include <windows.h>

#include <string>

#include "StdCtrls.h"
#include "WinSubClass.h"

class TDataSkinObject;

// DT_LEFT, DT_RIGHT or DT_CENTER.
UINT AlignmentFlag(TAlignment alignment);
// The text as SkinDrawText takes it.
std::wstring WideText(const std::string& text);

// A caption placed in r with the canvas's font, styles removed: centred
// across with DT_CENTER, otherwise aligned by DrawText within r; one pixel
// above the middle; grey when not enabled.
void DrawSkinCaption(TCanvas& canvas, const RECT& r, UINT alignFlag, bool enabled, const std::string& text);
// An image-list icon followed by a caption: alignment 0 left, 1 centred,
// 2 right. No list or index -1: no icon.
void DrawImageCaption(TCanvas& canvas, const RECT& r, int alignment, const std::string& text, int imageIndex,
                      HIMAGELIST images, bool enabled);
// One state of an element nine-sliced to r, keyed on magenta when its Trans is 1.
void DrawSkinState(HDC dc, const RECT& r, int frameCount, int frame, TDataSkinObject& element);
// The shared scratch bitmap filled with the control's ButtonFace, then one
// state of the element at (0, 0) in r's size.
void DrawSkinStateOnScratch(TSkinControl& control, const RECT& r, TDataSkinObject& element, bool trans,
                            int frameCount, int frame);
// Frame `frame` of a strip stretched to r, magenta transparent: on a DC, on a
// canvas, and on the control's shared canvas pointed at the DC.
void DrawFrameTransparent(HDC dc, const RECT& r, int frameCount, int frame, TBitmap& image);
void DrawFrameOnCanvas(TCanvas& canvas, const RECT& r, int frameCount, int frame, TBitmap& image);
void DrawFrameOnSharedCanvas(TSkinControl& control, HDC dc, const RECT& r, int frameCount, int frame, TBitmap& image);
// One line centred both ways in r whatever the alignment; grey when not enabled.
void DrawSkinText(TCanvas& canvas, const RECT& r, const std::string& text, TAlignment alignment, bool enabled);
// A small arrow in the canvas's pen: direction 0 up, 1 down, 2 left, 3 right.
void DrawArrow(TCanvas& canvas, int x, int y, int direction);

// Panels drawn from StatusBarEdges (frame 1 lowered, 2 raised, 3 flat), or
// with one-pixel system-colour edges without it; the size grip from frame 5
// of ExtraImages.
class TSkinStatusBar : public TSkinControl {
  UI_CLASS(TSkinStatusBar)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

 private:
  void DrawPanel(TCanvas& canvas, RECT r, TAlignment alignment, const std::string& text, int frame);
};

// The control paints itself; a rounded frame in ButtonShadow and the caption
// on ButtonFace are drawn over it.
class TSkinGroupBox : public TSkinControl {
  UI_CLASS(TSkinGroupBox)
 public:
  using TSkinControl::TSkinControl;
  void DrawSkin(HDC dc, const RECT& r) override;
};

// Never in the control's messages: it lends the control ButtonFace from
// AttachControl until RestoreColor.
class TSkinBox : public TSkinControl {
  UI_CLASS(TSkinBox)
 public:
  using TSkinControl::TSkinControl;
  void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool useSkinColour, TCanvas* canvas) override;
  void RestoreColor() override;
  void AfterMessage(TMessage&) override {}
};
