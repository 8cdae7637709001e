// Check boxes, radio buttons, track bars, progress bars, up-downs, edits and
// combo boxes drawn from the skin. Each keeps its own behaviour: the control
// sees every message, and the skin is painted over what it painted (the
// up-down alone is painted by the skin only).
#pragma once
#include <windows.h>

#include <cstdint>

#include "WinSubClass.h"

// The Buttons section's CheckButton strip: frames 1 unchecked, 2 checked,
// 3 and 4 the same disabled, 4 indeterminate; a 12-frame strip has 5 checked,
// 4 and 8 disabled, 9 and 12 (disabled) indeterminate. A control with a
// published Checked shows that instead of the window's check.
class TSkinCheckBox : public TSkinControl {
  UI_CLASS(TSkinCheckBox)
 public:
  using TSkinControl::TSkinControl;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
};

// The RadioButton strip: as a check box without the indeterminate state; an
// 8-frame strip has 5 checked, 4 and 8 disabled.
class TSkinRadioButton : public TSkinControl {
  UI_CLASS(TSkinRadioButton)
 public:
  using TSkinControl::TSkinControl;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
};

// The thumb drawn through the control's custom draw (reflected to it by the
// class library): frame 2 of Trackbar.ThumbHorz or ThumbVert, or a
// ButtonShadow outline without either.
class TSkinTrackBar : public TSkinControl {
  UI_CLASS(TSkinTrackBar)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& m) override;

 private:
  LRESULT CustomDraw(const NMCUSTOMDRAW& draw);
};

// Progress: frame 1 of the bar nine-sliced over the control, frame 2 over the
// filled part; with Style 1 the whole bar and copies of the Chunk image.
class TSkinProgress : public TSkinControl {
  UI_CLASS(TSkinProgress)
 public:
  using TSkinControl::TSkinControl;
  void DrawSkin(HDC dc, const RECT& r) override;
};

// The two arrows from UpDown.Vert or UpDown.Horz (frames 1-4 up or left:
// normal, pressed, disabled, hot; 5-8 down or right), or flat boxes with
// arrows without them. Only the part under the cursor shows pressed.
class TSkinUpDown : public TSkinControl {
  UI_CLASS(TSkinUpDown)
 public:
  using TSkinControl::TSkinControl;
  // An up-down window found inside another skinned control (an edit's spin
  // button, a crowded tab strip's arrows): skinned by a new instance with the
  // same owner, skin, frame and canvas, attached by handle.
  static TSkinUpDown* AttachFor(TSkinControl& by, HWND upDown, bool insideEdit);
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

  bool InsideEdit = false;  // the client shrinks by 1 pixel on every side
  int32_t Horizontal = 0;   // 1: side by side even without UDS_HORZ
};

// A ButtonShadow frame with a white one inside over the edit's border
// (borderless edits are left alone); an up-down inside the edit is skinned
// the first time one is found.
class TSkinEdit : public TSkinControl {
  UI_CLASS(TSkinEdit)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

  // Only a marker once set: the frame may free the up-down's instance first.
  TSkinUpDown* UpDown = nullptr;

 private:
  void DrawPrintBorder(HDC dc);
};

// The drop-down button from ComboButton (frames: 1 normal, 2 pressed,
// 3 disabled, 4 focused or hot), framed by SunkEdge, with the ExtraImages
// glyph; on the left from the mirrored strip when the window lays its scroll
// bar on the left. ComboButton's Style 1 draws a plain frame and button.
class TSkinComBox : public TSkinControl {
  UI_CLASS(TSkinComBox)
 public:
  using TSkinControl::TSkinControl;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

  LONG_PTR WindowStyle = 0, WindowExStyle = 0;  // at the last paint

 private:
  int StateFrame() const;
  void DrawFull(HDC dc, const RECT& r, int frame);
  void DrawSimple(HDC dc, const RECT& r, int frame);
};
