// Push, glyph and speed buttons drawn from the skin's Buttons strip (frames:
// 1 normal, 2 pressed, 3 disabled, 4 focused or hot). The press, the look and
// the click are the skin's: a press never reaches the control's own
// procedure. Per frame object, the one skinned button under the mouse is the
// frame's HotButton. With a skin that has no Buttons image the buttons are
// the platform's, look and press.
#pragma once
#include <windows.h>

#include <string>

#include "ExtCtrls.h"
#include "WinSubClass.h"

class TSkinButton : public TSkinControl {
  UI_CLASS(TSkinButton)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

  TBitmap BackBuffer;

 protected:
  // The skin has a Buttons image to draw the button from.
  bool HasFace() const;
  // The Buttons frame: focus (push and glyph buttons), then pressed or hot,
  // then disabled.
  int StateFrame(bool focused, bool enabled) const;
  // Text colour of a state: the Buttons section's per-state colour (only a
  // given one when onlyGiven), else `normal`; grey when disabled.
  TColor StateTextColour(int state, bool enabled, TColor normal, bool onlyGiven) const;
  // BackBuffer at r's size at the origin, with the control's font.
  TCanvas& PrepareBackBuffer(const RECT& r);
  // Glyph and caption laid out in a client area of size `client`.
  void DrawGlyphAndCaption(TCanvas& canvas, TGlyphLayout* glyph, SIZE client, int state, bool enabled,
                           bool speedButton);

 private:
  void Click();
};

class TSkinBitButton : public TSkinButton {
  UI_CLASS(TSkinBitButton)
 public:
  using TSkinButton::TSkinButton;
  // Attaches to the owner, a control without a window (a speed button).
  void AttachGraphic(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas);
  void DrawSkin(HDC dc, const RECT& r) override;
};

// Drawn on the engine's scratch bitmap, then onto the parent's canvas.
class TSkinSpeedButton : public TSkinBitButton {
  UI_CLASS(TSkinSpeedButton)
 public:
  using TSkinBitButton::TSkinBitButton;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  // Draws at once on the control's canvas; dc is not used.
  void PaintWindow(HDC dc) override;
  void DrawButton(TCanvas& canvas, const RECT& r);
};

// Where a glyph and a caption go in a client area C, for a glyph of size G and
// a caption of size T. Margin and Spacing -1 are automatic; a speed button's
// automatic margin with a given spacing is one pixel larger.
struct TGlyphPlacement {
  POINT Glyph;
  RECT Text;
  UINT TextFlag;  // DT_LEFT, DT_RIGHT or DT_CENTER
};
TGlyphPlacement PlaceGlyph(SIZE C, SIZE G, SIZE T, TButtonLayout layout, int margin, int spacing, bool speedButton);

// Glyph frame `frame` (1 up, 2 disabled, 3 down) at r's top-left corner, its
// bottom-left colour transparent. Only a 4-frame glyph shows other frames than
// the first; frame 2 is greyed. A count of 0 or less is 1; an empty glyph draws nothing.
void DrawGlyph(TCanvas& canvas, const RECT& r, int numGlyphs, int frame, TBitmap& glyph);
