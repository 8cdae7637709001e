// Tab controls drawn from the skin's Tabs element (Image: the tab frames, 1
// normal, 2 selected; Border: the page border). TSkinTab has a tab control
// (a page control's too) paint itself off-screen and paints the strip and
// the page border over that picture; TSkinTab31 paints a tab set whole.
//
// Both need the element with its Image; TSkinTab its Border as well: without
// it, nothing is drawn and the control shows its own painting.
#pragma once
#include <windows.h>

#include <cstdint>

#include "WinSubClass.h"

class TDataSkinBorder;

class TSkinTab : public TSkinControl {
  UI_CLASS(TSkinTab)
 public:
  using TSkinControl::TSkinControl;
  void AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
  // With a usable element, paints the window whole (no erasing).
  bool BeforeMessage(TMessage& m) override;
  // The control's own painting, then the strip and the border over it,
  // composed off-screen and copied in one piece.
  void DrawSkin(HDC dc, const RECT& r) override;
  void UpdateSkin() override;

  uint8_t Orientation = 0;  // where the tabs lie: 0 top, 1 bottom, 2 left, 3 right
  TBitmap TabImage;         // the tab frames, flipped for the bottom
  TBitmap BorderImage;      // the page border, flipped or turned to the tabs' side
  TBitmap StripPicture;     // the strip, composed as if the tabs lay on top
  TSkinControl* UpDown = nullptr;  // the scroll arrows' skinned control

 private:
  // The orientation from the style, and the two images from the skin.
  void PrepareImages();
  bool Usable() const;
  // The scroll arrows of a crowded strip, when they show.
  HWND FindUpDown();
  void DrawStrip(HDC dc, const RECT& window, const RECT& page, const RECT& strip, const TDataSkinBorder& tabs);
};

// The class library's tab set: its tabs laid out from its StartMargin,
// EndMargin and FirstIndex, as the tab set lays them out for its clicks.
class TSkinTab31 : public TSkinControl {
  UI_CLASS(TSkinTab31)
 public:
  using TSkinControl::TSkinControl;
  // Subclasses the owner's window as AttachHandle does; useSkinColour is not used.
  void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool useSkinColour, TCanvas* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  void UpdateSkin() override;

  TBitmap TabImage;  // the tab frames flipped: the tabs hang below the client

 private:
  void PrepareImage();
  bool Usable() const;
};
