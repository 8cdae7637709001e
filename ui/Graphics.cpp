#include "Graphics.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "Streams.h"

namespace ui {
COLORREF ColorToRGB(TColor c) {
  if ((c & 0xFF000000) == static_cast<uint32_t>(clSystemColor)) return GetSysColor(c & 0xFF);
  return static_cast<COLORREF>(c & 0xFFFFFF);
}

TColor ColorFromValue(const TValue& v) {
  if (v.kind == TValue::Int) return static_cast<TColor>(v.i);
  static const struct { const char* name; TColor color; } names[] = {
      {"clBtnFace", clBtnFace}, {"clWindow", clWindow}, {"clWindowText", clWindowText}, {"clBlack", clBlack},
      {"clWhite", clWhite},     {"clRed", clRed},       {"clLime", clLime},             {"clBlue", clBlue},
      {"clFuchsia", clFuchsia}, {"clGreen", clGreen},     {"clYellow", clYellow},         {"clGray", clGray},
      {"clMoneyGreen", clMoneyGreen}, {"clSkyBlue", clSkyBlue}, {"clCream", clCream},   {"clMedGray", clMedGray},
      {"clNone", clNone}};
  for (const auto& n : names)
    if (v.s == n.name) return n.color;
  throw Exception("Invalid colour " + v.s);
}
}  // namespace ui

void TFont::Assign(const TFont& f) {
  name_ = f.name_;
  height_ = f.height_;
  style_ = f.style_;
  color_ = f.color_;
  Changed();
}

std::shared_ptr<ui::GdiObject> TFont::Shared() const {
  if (!handle_) {
    LOGFONTA lf = {};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) != 0;
    lf.lfUnderline = (style_ & fsUnderline) != 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_ = std::make_shared<ui::GdiObject>(CreateFontIndirectA(&lf));
  }
  return handle_;
}

bool TFont::SetProp(const std::string& name, const TValue& v) {
  if (name == "Name") SetName(v.AsText());
  else if (name == "Height") SetHeight(v.AsInt());
  else if (name == "Size") SetSize(v.AsInt());
  else if (name == "Color") SetColor(ui::ColorFromValue(v));
  else if (name == "Style")
    SetStyle((v.Has("fsBold") ? fsBold : 0) | (v.Has("fsItalic") ? fsItalic : 0) |
             (v.Has("fsUnderline") ? fsUnderline : 0) | (v.Has("fsStrikeOut") ? fsStrikeOut : 0));
  else return false;
  return true;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc_) {
    if (oldFont_) SelectObject(dc_, oldFont_);
    if (oldBrush_) SelectObject(dc_, oldBrush_);
    if (oldPen_) SelectObject(dc_, oldPen_);
  }
  oldFont_ = oldBrush_ = oldPen_ = nullptr;
  font_.reset();
  brush_.reset();
  pen_.reset();
  dc_ = dc;
}

void TCanvas::UseFont() {
  std::shared_ptr<ui::GdiObject> font = Font.Shared();
  HGDIOBJ old = SelectObject(dc_, font->get());
  if (!oldFont_) oldFont_ = old;
  font_ = std::move(font);
  SetTextColor(dc_, ui::ColorToRGB(Font.Color()));
  SetBkMode(dc_, TRANSPARENT);
}

void TCanvas::UseBrush() {
  ui::GdiObject brush(Brush.BrushStyle == TBrush::bsClear ? nullptr : CreateSolidBrush(ui::ColorToRGB(Brush.Color)));
  HGDIOBJ old = SelectObject(dc_, brush ? brush.get() : GetStockObject(NULL_BRUSH));
  if (!oldBrush_) oldBrush_ = old;
  brush_ = std::move(brush);
}

void TCanvas::UsePen() {
  ui::GdiObject pen(CreatePen(PS_SOLID, Pen.Width, ui::ColorToRGB(Pen.Color)));
  HGDIOBJ old = SelectObject(dc_, pen.get());
  if (!oldPen_) oldPen_ = old;
  pen_ = std::move(pen);
}

void TCanvas::FillRect(const RECT& r) {
  if (Brush.BrushStyle == TBrush::bsClear) return;
  ui::GdiObject b(CreateSolidBrush(ui::ColorToRGB(Brush.Color)));
  ::FillRect(dc_, &r, static_cast<HBRUSH>(b.get()));
}

void TCanvas::FrameRect(const RECT& r) {
  ui::GdiObject b(CreateSolidBrush(ui::ColorToRGB(Brush.Color)));
  ::FrameRect(dc_, &r, static_cast<HBRUSH>(b.get()));
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
  UsePen();
  UseBrush();
  ::Rectangle(dc_, l, t, r, b);
}

void TCanvas::RoundRect(int l, int t, int r, int b, int w, int h) {
  UsePen();
  UseBrush();
  ::RoundRect(dc_, l, t, r, b, w, h);
}

void TCanvas::Polyline(const std::vector<POINT>& points) {
  UsePen();
  ::Polyline(dc_, points.data(), static_cast<int>(points.size()));
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
  UsePen();
  ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, const std::string& s) {
  UseFont();
  TextOutA(dc_, x, y, s.c_str(), static_cast<int>(s.size()));
}

void TCanvas::TextRect(const RECT& r, const std::string& s, UINT format) {
  UseFont();
  RECT rc = r;
  DrawTextA(dc_, s.c_str(), static_cast<int>(s.size()), &rc, format);
}

int TCanvas::TextWidth(const std::string& s) {
  UseFont();
  SIZE sz = {};
  GetTextExtentPoint32A(dc_, s.c_str(), static_cast<int>(s.size()), &sz);
  return sz.cx;
}

int TCanvas::TextHeight(const std::string& s) {
  UseFont();
  SIZE sz = {};
  GetTextExtentPoint32A(dc_, s.empty() ? "W" : s.c_str(), s.empty() ? 1 : static_cast<int>(s.size()), &sz);
  return sz.cy;
}

void TCanvas::Draw(int x, int y, TGraphic* g) {
  if (g && !g->Empty()) g->Draw(*this, RECT{x, y, x + g->Width(), y + g->Height()});
}

void TCanvas::StretchDraw(const RECT& r, TGraphic* g) {
  if (g && !g->Empty()) g->Draw(*this, r);
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int w, int h, TPixelFormat pf) {
  if (w < 0 || h < 0) throw Exception("Invalid bitmap size");
  selected_.reset();
  bitmap_.reset();
  bits_ = nullptr;
  width_ = w;
  height_ = h;
  pf_ = pf;
  if (w == 0 || h == 0) return;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down: ScanLine(0) is the top row
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = static_cast<WORD>(pf);
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) throw Exception("Out of system resources");
  bits_ = static_cast<uint8_t*>(bits);
  std::memset(bits_, 0, static_cast<size_t>(Stride()) * h);
  if (dc_) selected_.emplace(dc_.get(), bitmap_.get());
}

uint8_t* TBitmap::ScanLine(int y) {
  if (y < 0 || y >= height_) throw Exception("Scan line index out of range");
  return bits_ + static_cast<size_t>(Stride()) * y;
}

TCanvas& TBitmap::Canvas() {
  if (!dc_) {
    dc_.reset(CreateCompatibleDC(nullptr));
    if (bitmap_) selected_.emplace(dc_.get(), bitmap_.get());
    canvas_ = std::make_unique<TCanvas>(dc_.get());
  }
  return *canvas_;
}

TColor TBitmap::KeyColor() {
  if (TransparentFixed || Empty()) return TransparentColor;
  GdiFlush();
  const uint8_t* p = ScanLine(height_ - 1);
  return p[2] | (p[1] << 8) | (p[0] << 16);
}

void TBitmap::PremultiplyAlpha() {
  if (pf_ != pf32bit || AlphaPremultiplied) return;
  static const auto table = [] {
    std::array<std::array<uint8_t, 256>, 256> t{};
    for (int a = 0; a < 256; ++a)
      for (int c = 0; c < 256; ++c) t[a][c] = static_cast<uint8_t>(a * c / 255);
    return t;
  }();
  for (int y = 0; y < height_; ++y) {
    uint8_t* p = ScanLine(y);
    for (int x = 0; x < width_; ++x, p += 4) {
      const auto& row = table[p[3]];
      p[0] = row[p[0]];
      p[1] = row[p[1]];
      p[2] = row[p[2]];
    }
  }
  AlphaPremultiplied = true;
}

void TBitmap::Draw(TCanvas& c, const RECT& r) {
  if (Empty()) return;
  HDC src = Canvas().Handle();
  int w = r.right - r.left, h = r.bottom - r.top;
  if (AlphaPremultiplied && pf_ == pf32bit) {
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(c.Handle(), r.left, r.top, w, h, src, 0, 0, width_, height_, bf);
  } else if (Transparent) {
    TransparentBlt(c.Handle(), r.left, r.top, w, h, src, 0, 0, width_, height_, ui::ColorToRGB(KeyColor()));
  } else {
    SetStretchBltMode(c.Handle(), COLORONCOLOR);
    StretchBlt(c.Handle(), r.left, r.top, w, h, src, 0, 0, width_, height_, SRCCOPY);
  }
}

namespace {
[[noreturn]] void InvalidBitmap() { throw Exception("Bitmap image is not valid"); }

template <class T>
T ReadAt(std::span<const uint8_t> bytes, size_t at) {
  T v;
  std::memcpy(&v, bytes.data() + at, sizeof v);
  return v;
}

// A BMP file's header as the platform takes it, its colour table or masks
// after it, then zeros for the most the platform may read beyond them; an
// OS/2 2.x header becomes the Windows header its first fields equal.
struct DibHeader {
  std::vector<uint8_t> info;
  size_t size = 0;     // the header's own size in the file
  size_t used = 0;     // header, masks and colours as the file holds them
  size_t table = 0;    // where the colour table starts in `info`
  int width = 0, height = 0, bpp = 0;
  DWORD compression = BI_RGB;
};

DibHeader ReadDibHeader(std::span<const uint8_t> dib) {
  constexpr size_t kRoom = 256 * sizeof(RGBQUAD) + 3 * sizeof(DWORD);
  DibHeader h;
  h.size = ReadAt<DWORD>(dib, 0);
  if (h.size > dib.size()) InvalidBitmap();
  if (h.size == sizeof(BITMAPCOREHEADER)) {
    const auto core = ReadAt<BITMAPCOREHEADER>(dib, 0);
    h.width = core.bcWidth;
    h.height = core.bcHeight;
    h.bpp = core.bcBitCount;
    if (core.bcPlanes != 1) InvalidBitmap();
    h.used = h.size + (h.bpp <= 8 ? sizeof(RGBTRIPLE) << h.bpp : 0);
    if (h.used > dib.size()) InvalidBitmap();
    h.info.assign(dib.begin(), dib.begin() + ptrdiff_t(h.used));
    h.info.resize(h.used + kRoom);
    return h;
  }
  // OS/2 2.x: 16 to 64 bytes, the Windows sizes aside; its compressions 3
  // and 4 (Huffman, 24-bit runs) are none of Windows'.
  const bool os2 = h.size >= 16 && h.size <= 64 && h.size != 40 && h.size != 52 && h.size != 56;
  if (!os2 && h.size < sizeof(BITMAPINFOHEADER)) InvalidBitmap();
  BITMAPINFOHEADER ih{};
  std::memcpy(&ih, dib.data(), std::min(h.size, sizeof ih));
  if (os2 && ih.biCompression > BI_RLE4) InvalidBitmap();
  if (ih.biPlanes != 1 || ih.biHeight == INT32_MIN) InvalidBitmap();
  h.width = ih.biWidth;
  h.height = ih.biHeight;
  h.bpp = ih.biBitCount;
  h.compression = ih.biCompression;
  // The masks follow the first 40 bytes, inside the larger Windows headers.
  const size_t header =
      h.compression == BI_BITFIELDS ? std::max(h.size, sizeof ih + 3 * sizeof(DWORD)) : h.size;
  const size_t colours =
      h.bpp > 8 ? 0 : ih.biClrUsed ? std::min<size_t>(ih.biClrUsed, size_t(1) << h.bpp) : size_t(1) << h.bpp;
  h.used = header + colours * sizeof(RGBQUAD);
  if (h.used > dib.size()) InvalidBitmap();
  h.table = os2 ? sizeof ih : header;
  h.info.assign(h.table + colours * sizeof(RGBQUAD) + kRoom, 0);
  if (os2) {
    ih.biSize = sizeof ih;
    std::memcpy(h.info.data(), &ih, sizeof ih);
  } else {
    std::memcpy(h.info.data(), dib.data(), header);
  }
  std::memcpy(h.info.data() + h.table, dib.data() + header, h.used - header);
  return h;
}
}  // namespace

void TBitmap::LoadFromStream(TStream& s) {
  const int64_t size = s.Size() - s.Position();
  std::vector<uint8_t> file(static_cast<size_t>(std::max<int64_t>(size, 0)));
  s.ReadBuffer(file.data(), file.size());
  LoadFromMemory(file);
}

void TBitmap::LoadFromMemory(std::span<const uint8_t> file) {
  // Every size comes from the file: each is checked before the platform
  // reads by it, so nothing past the file is read.
  if (file.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPCOREHEADER)) InvalidBitmap();
  const auto fh = ReadAt<BITMAPFILEHEADER>(file, 0);
  if (fh.bfType != 0x4D42) InvalidBitmap();
  const std::span<const uint8_t> dib = file.subspan(sizeof fh);
  DibHeader h = ReadDibHeader(dib);
  if (h.width <= 0 || h.width > 32768 || h.height == 0 || std::abs(h.height) > 32768) InvalidBitmap();
  if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32) InvalidBitmap();
  const bool rle = (h.compression == BI_RLE8 && h.bpp == 8) || (h.compression == BI_RLE4 && h.bpp == 4);
  if (!rle && h.compression != BI_RGB && h.compression != BI_BITFIELDS) InvalidBitmap();
  if (fh.bfOffBits < sizeof fh + h.size || fh.bfOffBits - sizeof fh > dib.size()) InvalidBitmap();
  const size_t offset = fh.bfOffBits - sizeof fh, available = dib.size() - offset;
  if (rle) {
    // The platform reads runs as far as the image size.
    if (reinterpret_cast<const BITMAPINFOHEADER*>(h.info.data())->biSizeImage > available) InvalidBitmap();
  } else {
    const size_t stride = ((static_cast<size_t>(h.width) * h.bpp + 31) / 32) * 4;
    if (available / stride < static_cast<size_t>(std::abs(h.height))) InvalidBitmap();
  }
  SetSize(h.width, std::abs(h.height), h.bpp == 32 ? pf32bit : pf24bit);
  if (rle) {
    // Pixels the runs skip show colour 0, as in the platform's own loader.
    const uint8_t* colour0 = h.info.data() + h.table;
    for (int y = 0; y < height_; ++y) {
      uint8_t* row = ScanLine(y);
      for (int x = 0; x < width_; ++x) std::memcpy(row + 3 * size_t(x), colour0, 3);
    }
  }
  const int rows = SetDIBits(ui::WindowDC().get(), Handle(), 0, height_, dib.data() + offset,
                             reinterpret_cast<const BITMAPINFO*>(h.info.data()), DIB_RGB_COLORS);
  if (rows != height_) InvalidBitmap();
}

TBitmap* TPicture::Bitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(graphic_.get())) return b;
  graphic_ = std::make_unique<TBitmap>();
  return static_cast<TBitmap*>(graphic_.get());
}

void TPicture::LoadFromStream(TStream& s) {
  uint8_t sig[8] = {};
  int64_t pos = s.Position();
  size_t n = s.Read(sig, sizeof sig);
  s.SetPosition(pos);
  if (n == 8 && std::memcmp(sig, "\x89PNG\r\n\x1a\n", 8) == 0) {
    auto png = std::make_unique<TPngImage>();
    png->LoadFromStream(s);
    if (png->PixelFormat() == pf32bit) png->PremultiplyAlpha();
    SetGraphic(std::move(png));
  } else {
    auto bmp = std::make_unique<TBitmap>();
    bmp->LoadFromStream(s);
    SetGraphic(std::move(bmp));
  }
}

TImageList::TImageList(int w, int h) : list_(ImageList_Create(w, h, ILC_COLOR32 | ILC_MASK, 4, 4)) {}
TImageList::~TImageList() { ImageList_Destroy(list_); }

namespace {
int AddBitmap(HIMAGELIST list, HBITMAP bitmap, TColor maskColor) {
  if (maskColor == clNone) return ImageList_Add(list, bitmap, nullptr);
  return ImageList_AddMasked(list, bitmap, ui::ColorToRGB(maskColor));
}
}  // namespace

int TImageList::Add(TBitmap& image, TColor maskColor) {
  if (image.Empty()) return -1;
  // A bitmap selected into a DC (a TBitmap whose canvas was used) cannot be
  // selected into the list's: hand it a copy of the bits.
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = image.Width();
  bi.bmiHeader.biHeight = -image.Height();
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = static_cast<WORD>(image.PixelFormat());
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ui::GdiObject copy(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!copy) return -1;
  GdiFlush();
  std::memcpy(bits, image.ScanLine(0), static_cast<size_t>(image.Stride()) * static_cast<size_t>(image.Height()));
  return AddBitmap(list_, static_cast<HBITMAP>(copy.get()), maskColor);
}

int TImageList::AddResource(HMODULE module, const std::string& name, TColor maskColor) {
  ui::GdiObject bitmap(LoadImageA(module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return -1;
  return AddBitmap(list_, static_cast<HBITMAP>(bitmap.get()), maskColor);
}

void TImageList::Draw(TCanvas& c, int x, int y, int index, bool enabled) {
  if (enabled) {
    ImageList_Draw(list_, index, c.Handle(), x, y, ILD_TRANSPARENT);
    return;
  }
  int w = 0, h = 0;
  if (!ImageList_GetIconSize(list_, &w, &h) || index < 0 || index >= Count()) return;
  // The shape: the image drawn on white in one bit per pixel, 0 wherever it
  // left a pixel other than white.
  HDC maskDC = CreateCompatibleDC(c.Handle());
  ui::GdiObject mask(CreateBitmap(w, h, 1, 1, nullptr));
  HGDIOBJ oldMask = SelectObject(maskDC, mask.get());
  PatBlt(maskDC, 0, 0, w, h, WHITENESS);
  ImageList_Draw(list_, index, maskDC, 0, 0, ILD_TRANSPARENT);
  const COLORREF oldText = SetTextColor(c.Handle(), RGB(0, 0, 0));
  const COLORREF oldBack = SetBkColor(c.Handle(), RGB(255, 255, 255));
  const std::pair<int, int> layers[] = {{1, COLOR_BTNHIGHLIGHT}, {0, COLOR_BTNSHADOW}};
  for (const auto& [offset, colour] : layers) {
    HGDIOBJ oldBrush = SelectObject(c.Handle(), GetSysColorBrush(colour));
    // Pattern where the mask is 0, destination where it is 1.
    BitBlt(c.Handle(), x + offset, y + offset, w, h, maskDC, 0, 0, 0x00B8074A);
    SelectObject(c.Handle(), oldBrush);
  }
  SetBkColor(c.Handle(), oldBack);
  SetTextColor(c.Handle(), oldText);
  SelectObject(maskDC, oldMask);
  DeleteDC(maskDC);
}
