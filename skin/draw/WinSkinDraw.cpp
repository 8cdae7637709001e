#include "WinSkinDraw.h"

#include <algorithm>
#include <cstring>
#include <vector>

TSkinFrame SkinFrame(const TBitmap& image, bool vertical, int count, int index) {
  count = std::max(count, 1);  // skin data may say 0; never divide by it
  // A state the strip has no frame for shows its last (or first) frame, never
  // the black beyond the image.
  index = std::clamp(index, 1, count);
  if (vertical) {
    const int h = image.Height() / count;
    return {0, (index - 1) * h, image.Width(), h};
  }
  const int w = image.Width() / count;
  return {(index - 1) * w, 0, w, image.Height()};
}

namespace {
bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// Source rectangle (sl, st)-(sr, sb) stretched to (l, t)-(r, b).
void Piece(HDC dst, int l, int t, int r, int b, HDC src, int sl, int st, int sr, int sb) {
  StretchBlt(dst, l, t, r - l, b - t, src, sl, st, sr - sl, sb - st, SRCCOPY);
}

// The eight corner and edge pieces of a nine-slice at (ox, oy), W x H, in the
// order they overlap; `centre(dest, source)` runs between the top edge and the
// bottom-right corner, so pieces drawn after it cover a tiled centre's overflow.
template <class Centre>
void NineSlice(HDC dst, int ox, int oy, int W, int H, HDC src, const TSkinFrame& f, const RECT& margins,
               Centre centre) {
  int l = margins.left, t = margins.top, r = margins.right, b = margins.bottom;
  if (l + r > W) l = r = 0;  // too small for the margins: the whole frame stretched
  if (t + b > H) t = b = 0;
  const int sx = f.x, sy = f.y, fw = f.w, fh = f.h;
  const int x1 = ox + l, x2 = ox + W - r, x3 = ox + W, y1 = oy + t, y2 = oy + H - b, y3 = oy + H;
  if (l * t > 0) Piece(dst, ox, oy, x1, y1, src, sx, sy, sx + l, sy + t);
  if (l * b > 0) Piece(dst, ox, y2, x1, y3, src, sx, sy + fh - b, sx + l, sy + fh);
  if (r * t > 0) Piece(dst, x2, oy, x3, y1, src, sx + fw - r, sy, sx + fw, sy + t);
  if (l > 0) Piece(dst, ox, y1, x1, y2, src, sx, sy + t, sx + l, sy + fh - b);
  if (t > 0) Piece(dst, x1, oy, x2, y1, src, sx + l, sy, sx + fw - r, sy + t);
  centre(RECT{x1, y1, x2, y2}, RECT{sx + l, sy + t, sx + fw - r, sy + fh - b});
  if (r * b > 0) Piece(dst, x2, y2, x3, y3, src, sx + fw - r, sy + fh - b, sx + fw, sy + fh);
  if (r > 0) Piece(dst, x2, y1, x3, y2, src, sx + fw - r, sy + t, sx + fw, sy + fh - b);
  if (b > 0) Piece(dst, x1, y2, x2, y3, src, sx + l, sy + fh - b, sx + fw - r, sy + fh);
}

// A composed bitmap to its place on the DC: opaque or keyed.
void Output(HDC dc, const RECT& r, TBitmap& b, bool transparent) {
  if (transparent) DrawTransparent(dc, r, b, SkinKeyColor);
  else BitBlt(dc, r.left, r.top, b.Width(), b.Height(), b.Canvas().Handle(), 0, 0, SRCCOPY);
}

std::unique_ptr<TBitmap> ScratchFor(const RECT& r, int stretchMode) {
  auto b = std::make_unique<TBitmap>(r.right - r.left, r.bottom - r.top);
  if (stretchMode) SetStretchBltMode(b->Canvas().Handle(), stretchMode);
  return b;
}
}  // namespace

int MaxInt2(int a, int b) { return a > b ? a : b; }
int MinInt2(int a, int b) { return a < b ? a : b; }

std::unique_ptr<TBitmap> StretchSkinImage(const RECT& r, TBitmap& image, const RECT& margins, bool vertical, bool tile,
                                          int frameCount, int frame) {
  auto result = ScratchFor(r, COLORONCOLOR);
  if (result->Empty()) return result;
  TCanvas& canvas = result->Canvas();
  HDC src = image.Canvas().Handle();
  const TSkinFrame f = SkinFrame(image, vertical, frameCount, frame);
  auto centre = [&](const RECT& d, const RECT& s) {
    if (tile) TileBitmap(canvas, d, image, s);
    else Piece(canvas.Handle(), d.left, d.top, d.right, d.bottom, src, s.left, s.top, s.right, s.bottom);
  };
  NineSlice(canvas.Handle(), 0, 0, result->Width(), result->Height(), src, f, margins, centre);
  return result;
}

void DrawSkinImage(HDC dc, const RECT& r, TBitmap& image, bool vertical, bool tile, bool transparent, int frameCount,
                   int frame, const RECT& margins) {
  if (Inverted(r)) return;
  auto b = StretchSkinImage(r, image, margins, vertical, tile, frameCount, frame);
  if (!b->Empty()) Output(dc, r, *b, transparent);
}

void DrawSkinBar(TCanvas& canvas, const RECT& r, TBitmap& image, bool vertical, bool transparent, int frameCount,
                 int frame, const RECT& margins) {
  if (Inverted(r)) return;
  auto bar = ScratchFor(r, COLORONCOLOR);
  if (bar->Empty()) return;
  const TSkinFrame f = SkinFrame(image, vertical, frameCount, frame);
  const int W = bar->Width(), H = bar->Height(), l = margins.left, rw = margins.right, m = f.w - l - rw;
  HDC dst = bar->Canvas().Handle(), src = image.Canvas().Handle();
  // The middle starts at l, so the left cap may come after it.
  if (m > 0) {
    for (int x = l; x < W - rw; x += m) Piece(dst, x, 0, x + m, H, src, f.x + l, f.y, f.x + l + m, f.y + f.h);
  } else {
    // No middle to repeat (it would never advance): the whole frame instead.
    Piece(dst, l, 0, W - rw, H, src, f.x, f.y, f.x + f.w, f.y + f.h);
  }
  Piece(dst, 0, 0, l, H, src, f.x, f.y, f.x + l, f.y + f.h);
  Piece(dst, W - rw, 0, W, H, src, f.x + f.w - rw, f.y, f.x + f.w, f.y + f.h);
  if (transparent) {
    bar->Transparent = true;
    bar->TransparentFixed = true;
    bar->TransparentColor = SkinKeyColor;
    canvas.Draw(r.left, r.top, bar.get());
  } else {
    Output(canvas.Handle(), r, *bar, false);
  }
}

void DrawSkinImageDirect(HDC dc, const RECT& r, TBitmap& image, bool vertical, int frameCount, int frame,
                         const RECT& margins) {
  SetStretchBltMode(dc, COLORONCOLOR);
  NineSlice(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, image.Canvas().Handle(),
            SkinFrame(image, vertical, frameCount, frame), margins, [](const RECT&, const RECT&) {});
}

void DrawSkinBitmap(HDC dc, const RECT& r, TBitmap& strip, bool transparent, int frameCount, int frame) {
  if (Inverted(r)) return;
  auto b = ScratchFor(r, 0);  // the DC's default stretch mode
  if (b->Empty()) return;
  const TSkinFrame f = SkinFrame(strip, false, frameCount, frame);
  Piece(b->Canvas().Handle(), 0, 0, b->Width(), b->Height(), strip.Canvas().Handle(), f.x, f.y, f.x + f.w, f.y + f.h);
  Output(dc, r, *b, transparent);
}

void DrawTransparent(HDC dc, const RECT& r, TBitmap& bitmap, TColor key) {
  if (Inverted(r)) return;
  // Nothing lies beyond the bitmap to copy.
  const int w = std::min<int>(r.right - r.left, bitmap.Width()), h = std::min<int>(r.bottom - r.top, bitmap.Height());
  if (w <= 0 || h <= 0) return;
  HDC src = bitmap.Canvas().Handle();
  // Colour to monochrome: pixels of the source DC's background colour become 1.
  ui::GdiObject mask(CreateBitmap(w, h, 1, 1, nullptr));
  HDC maskDC = CreateCompatibleDC(nullptr);
  HGDIOBJ oldMask = SelectObject(maskDC, mask.get());
  const COLORREF oldBk = SetBkColor(src, ui::ColorToRGB(key));
  BitBlt(maskDC, 0, 0, w, h, src, 0, 0, SRCCOPY);
  SetBkColor(src, oldBk);
  SelectObject(maskDC, oldMask);
  DeleteDC(maskDC);
  // Every system the programs run on is of the NT family, which has MaskBlt:
  // where the mask is set the destination stays, elsewhere the source is copied.
  constexpr DWORD kKeepDestination = 0x00AA0029;
  MaskBlt(dc, r.left, r.top, w, h, src, 0, 0, static_cast<HBITMAP>(mask.get()), 0, 0,
          MAKEROP4(kKeepDestination, SRCCOPY));
}

void TileBitmap(TCanvas& canvas, const RECT& target, TBitmap& source, const RECT& from) {
  const int w = from.right - from.left, h = from.bottom - from.top;
  if (w <= 0 || h <= 0) return;
  TBitmap tile(w, h);
  BitBlt(tile.Canvas().Handle(), 0, 0, w, h, source.Canvas().Handle(), from.left, from.top, SRCCOPY);
  HDC src = tile.Canvas().Handle();
  for (int x = target.left; x < target.right; x += w)
    for (int y = target.top; y < target.bottom; y += h) BitBlt(canvas.Handle(), x, y, w, h, src, 0, 0, SRCCOPY);
}

namespace {
// Rectangles handed to the system in batches, merged into one region.
class RegionBuilder {
 public:
  static constexpr size_t kBatch = 2000;  // what one region-data call is given at most

  void Add(const RECT& r) {
    rects_.push_back(r);
    if (rects_.size() == kBatch) Flush();
  }

  void Flush() {
    if (rects_.empty() && result_) return;
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + rects_.size() * sizeof(RECT));
    RGNDATAHEADER header = {};
    header.dwSize = sizeof header;
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(rects_.size());
    for (const RECT& r : rects_) UnionRect(&header.rcBound, &header.rcBound, &r);
    std::memcpy(data.data(), &header, sizeof header);
    if (!rects_.empty()) std::memcpy(data.data() + sizeof header, rects_.data(), rects_.size() * sizeof(RECT));
    ui::GdiObject batch(
        ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
    if (!batch) throw Exception("Out of system resources");
    rects_.clear();
    if (!result_) result_ = std::move(batch);
    else CombineRgn(Region(), Region(), static_cast<HRGN>(batch.get()), RGN_OR);
  }

  HRGN Release() { return static_cast<HRGN>(result_.release()); }

 private:
  HRGN Region() const { return static_cast<HRGN>(result_.get()); }
  std::vector<RECT> rects_;
  ui::GdiObject result_;
};
}  // namespace

HRGN RegionFromBitmap(TBitmap& bitmap, int dx, int dy, TColor key, int redTolerance, int greenTolerance,
                      int blueTolerance) {
  const COLORREF k = ui::ColorToRGB(key);
  const int r0 = GetRValue(k), g0 = GetGValue(k), b0 = GetBValue(k);
  const int r1 = std::min(255, r0 + redTolerance), g1 = std::min(255, g0 + greenTolerance),
            b1 = std::min(255, b0 + blueTolerance);
  const int bpp = bitmap.PixelFormat() / 8, w = bitmap.Width();
  auto keyed = [&](const uint8_t* p) {
    return p[2] >= r0 && p[2] <= r1 && p[1] >= g0 && p[1] <= g1 && p[0] >= b0 && p[0] <= b1;
  };
  RegionBuilder region;
  GdiFlush();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < w;) {
      while (x < w && keyed(row + x * bpp)) ++x;
      const int x0 = x;
      while (x < w && !keyed(row + x * bpp)) ++x;
      if (x > x0) region.Add(RECT{x0 + dx, y + dy, x + dx, y + 1 + dy});
    }
  }
  region.Flush();  // the rest, or an empty region when there was nothing at all
  return region.Release();
}

void SetEnumPropByName(TComponent* component, const std::string& property, const std::string& value) {
  if (!component) return;
  // Enumerations and Booleans take a value name as the form reader hands it;
  // a property of another kind (a number, a text) refuses it with the
  // library's exception.
  TValue v;
  v.kind = TValue::Ident;
  v.s = value;
  try {
    component->SetProp(property, v);
  } catch (const Exception&) {
  }
}

TBitmap& FrameScratchBitmap() {
  static const std::unique_ptr<TBitmap> scratch = [] {
    auto b = std::make_unique<TBitmap>();
    SetStretchBltMode(b->Canvas().Handle(), COLORONCOLOR);
    return b;
  }();
  return *scratch;
}
