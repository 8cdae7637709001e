// Drawing from skin element images: one frame of a strip, nine-slice and
// three-part scaling, the colour key, and window regions from bitmaps.
//
// An element image holds `frameCount` frames of equal size side by side
// (stacked top to bottom when `vertical`); frames count from 1, and pixels
// left over by the integer division are never used. A count of 0 or less is
// taken as 1, a frame past the count as the last. `margins` holds four
// widths: left, top, right, bottom.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "Graphics.h"

class TComponent;

// The colour key of skin images: magenta.
constexpr TColor SkinKeyColor = clFuchsia;

// Where frame `index` of `count` lies in an element image: every frame is
// cut here.
struct TSkinFrame {
  int x, y, w, h;
};
TSkinFrame SkinFrame(const TBitmap& image, bool vertical, int count, int index);

int MaxInt2(int a, int b);
int MinInt2(int a, int b);

// A new bitmap of the rectangle's size holding the frame nine-sliced: corners
// keep their size, edges stretch along their length, the centre stretches or
// is tiled. Margins that do not fit the target (l + r > W, t + b > H) are
// dropped in that direction. The rectangle must not be inverted.
std::unique_ptr<TBitmap> StretchSkinImage(const RECT& r, TBitmap& image, const RECT& margins, bool vertical, bool tile,
                                          int frameCount, int frame);

// StretchSkinImage, then one copy to the DC: opaque, or keyed on magenta.
void DrawSkinImage(HDC dc, const RECT& r, TBitmap& image, bool vertical, bool tile, bool transparent, int frameCount,
                   int frame, const RECT& margins);

// A three-part bar: the left cap, the middle repeated across, the right cap
// (only the left and right margins count).
void DrawSkinBar(TCanvas& canvas, const RECT& r, TBitmap& image, bool vertical, bool transparent, int frameCount,
                 int frame, const RECT& margins);

// The nine-slice corners and edges stretched straight into the DC (its
// stretch mode becomes COLORONCOLOR); the centre is left alone.
void DrawSkinImageDirect(HDC dc, const RECT& r, TBitmap& image, bool vertical, int frameCount, int frame,
                         const RECT& margins);

// One whole frame of a horizontal strip stretched to the rectangle.
void DrawSkinBitmap(HDC dc, const RECT& r, TBitmap& strip, bool transparent, int frameCount, int frame);

// The bitmap unscaled at the rectangle's top-left corner, the rectangle's
// size at most, leaving the destination where the bitmap has exactly `key`.
void DrawTransparent(HDC dc, const RECT& r, TBitmap& bitmap, TColor key);

// Whole copies of `source` rectangle `from` across `target`, starting at its
// top-left corner; the last row and column may run past it.
void TileBitmap(TCanvas& canvas, const RECT& target, TBitmap& source, const RECT& from);

// A region (the caller's to delete; never null) of every pixel outside the key
// range, key to key + tolerance in each channel, moved by (dx, dy).
HRGN RegionFromBitmap(TBitmap& bitmap, int dx, int dy, TColor key, int redTolerance, int greenTolerance,
                      int blueTolerance);

// Sets an enumeration or Boolean property by the name of its value ("Flat",
// "True"). A null component, an unknown property or one of another kind (a
// number, a text: they refuse a value name) is left as it was.
void SetEnumPropByName(TComponent* component, const std::string& property, const std::string& value);

// The engine's trace: its texts go nowhere.
inline void SkinLog(std::string_view) {}

// The off-screen buffer the frame and menu-bar painters share; callers size
// it to what they paint. Its canvas stretches with COLORONCOLOR.
TBitmap& FrameScratchBitmap();
