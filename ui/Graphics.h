// Colours, drawing tools, the canvas and pictures.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "Classes.h"
#include "Handles.h"

// 0x00BBGGRR, or a system colour when the top byte is 0xFF (index in the low byte).
using TColor = int32_t;
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clRed = 0x0000FF, clLime = 0x00FF00, clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF, clGreen = 0x008000, clYellow = 0x00FFFF, clGray = 0x808080;
constexpr TColor clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;

namespace ui {
COLORREF ColorToRGB(TColor c);
TColor ColorFromValue(const TValue& v);  // number or a name such as clBtnFace
}  // namespace ui

enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
 public:
  std::string Name() const { return name_; }
  void SetName(const std::string& n) { name_ = n; Changed(); }
  int Height() const { return height_; }
  void SetHeight(int h) { height_ = h; Changed(); }
  int Size() const { return -MulDiv(height_, 72, 96); }
  void SetSize(int pt) { SetHeight(-MulDiv(pt, 96, 72)); }
  int Style() const { return style_; }
  void SetStyle(int s) { style_ = s; Changed(); }
  TColor Color() const { return color_; }
  void SetColor(TColor c) { color_ = c; Changed(); }
  void Assign(const TFont& f);
  HFONT Handle() const { return static_cast<HFONT>(Shared()->get()); }
  // A canvas keeps the font it has selected alive until it selects another.
  std::shared_ptr<ui::GdiObject> Shared() const;
  // "Font.Name" style properties of a form description.
  bool SetProp(const std::string& name, const TValue& v);
  std::function<void()> OnChange;

 private:
  void Changed() { handle_.reset(); if (OnChange) OnChange(); }
  std::string name_ = "Tahoma";
  int height_ = -11;
  int style_ = 0;
  TColor color_ = clWindowText;
  mutable std::shared_ptr<ui::GdiObject> handle_;
};

struct TBrush {
  enum Style { bsSolid, bsClear };
  TColor Color = clWhite;
  Style BrushStyle = bsSolid;
};

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
};

class TGraphic;

// Draws on a device context it does not own (a control's, a paint cycle's or
// a bitmap's); selected tools are put back when the handle changes. A tool is
// freed only after another has taken its place in the DC.
class TCanvas {
 public:
  TCanvas() = default;
  explicit TCanvas(HDC dc) { SetHandle(dc); }
  ~TCanvas() { SetHandle(nullptr); }
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle() const { return dc_; }
  void SetHandle(HDC dc);
  TFont Font;
  TBrush Brush;
  TPen Pen;

  // Put Font (with its colour and a transparent background), Brush or Pen
  // into the DC, for calls made on Handle() directly.
  void UseFont();
  void UseBrush();
  void UsePen();

  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Rectangle(int l, int t, int r, int b);
  void RoundRect(int l, int t, int r, int b, int w, int h);
  void Polyline(const std::vector<POINT>& points);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, const std::string& s);
  void TextRect(const RECT& r, const std::string& s, UINT format);
  int TextWidth(const std::string& s);
  int TextHeight(const std::string& s);
  void Draw(int x, int y, TGraphic* g);
  void StretchDraw(const RECT& r, TGraphic* g);
  TColor Pixel(int x, int y) const { return static_cast<TColor>(GetPixel(dc_, x, y)); }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ oldFont_ = nullptr, oldBrush_ = nullptr, oldPen_ = nullptr;
  std::shared_ptr<ui::GdiObject> font_;
  ui::GdiObject brush_, pen_;
};

namespace ui {
// Points a shared canvas at another DC for one scope; the previous DC comes back after.
class CanvasTarget {
 public:
  CanvasTarget(TCanvas& canvas, HDC dc) : canvas_(canvas), old_(canvas.Handle()) { canvas.SetHandle(dc); }
  ~CanvasTarget() { canvas_.SetHandle(old_); }
  CanvasTarget(const CanvasTarget&) = delete;
  CanvasTarget& operator=(const CanvasTarget&) = delete;

 private:
  TCanvas& canvas_;
  HDC old_;
};
}  // namespace ui

class TStream;

class TGraphic {
 public:
  virtual ~TGraphic() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void Draw(TCanvas& c, const RECT& r) = 0;
  bool Empty() const { return Width() == 0 || Height() == 0; }
  bool Transparent = false;
};

enum TPixelFormat { pf24bit = 24, pf32bit = 32 };

// A top-down DIB section with a memory DC to draw on.
class TBitmap : public TGraphic {
 public:
  TBitmap() = default;
  TBitmap(int w, int h, TPixelFormat pf = pf24bit) { SetSize(w, h, pf); }
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  void SetSize(int w, int h, TPixelFormat pf);
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  TPixelFormat PixelFormat() const { return pf_; }
  uint8_t* ScanLine(int y);  // row y counted from the top
  int Stride() const { return (width_ * pf_ / 8 + 3) & ~3; }
  HBITMAP Handle() const { return static_cast<HBITMAP>(bitmap_.get()); }
  TCanvas& Canvas();

  // Transparent drawing: a fixed key colour, or the bottom-left pixel's.
  bool TransparentFixed = false;
  TColor TransparentColor = clFuchsia;
  TColor KeyColor();
  // Pixels carry premultiplied alpha; drawn with AlphaBlend.
  bool AlphaPremultiplied = false;
  // Multiplies the colours of a 32-bit bitmap by their alpha (a * c div 255).
  void PremultiplyAlpha();

  // A BMP file as the platform's own loader reads it (every depth, run
  // lengths, OS/2 and Windows headers); a damaged one throws Exception.
  void LoadFromStream(TStream& s);
  void LoadFromMemory(std::span<const uint8_t> file);
  void Draw(TCanvas& c, const RECT& r) override;

 private:
  ui::GdiObject bitmap_;
  uint8_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
  TPixelFormat pf_ = pf24bit;
  ui::MemoryDC dc_;
  std::optional<ui::SelectedObject> selected_;  // bitmap_ in dc_
  std::unique_ptr<TCanvas> canvas_;
};

// A PNG picture decoded by libpng: 32 bits with straight alpha when the file
// has alpha, 24 bits otherwise.
class TPngImage : public TBitmap {
 public:
  void LoadFromStream(TStream& s);
};

class TPicture {
 public:
  TGraphic* Graphic() const { return graphic_.get(); }
  void SetGraphic(std::unique_ptr<TGraphic> g) { graphic_ = std::move(g); Changed(); }
  TBitmap* Bitmap();  // makes an empty bitmap when there is no picture
  void LoadFromStream(TStream& s);  // PNG or BMP by signature
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  std::function<void()> OnChange;

 private:
  void Changed() { if (OnChange) OnChange(); }
  std::unique_ptr<TGraphic> graphic_;
};

class TImageList {
 public:
  TImageList(int w, int h);
  ~TImageList();
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;
  // Adds the image's frames (its width in steps of the list's); the index of
  // the first, or -1. The list reads a copy, so the bitmap may stay selected.
  int Add(TBitmap& image, TColor maskColor = clNone);
  // The same from a bitmap resource of the module.
  int AddResource(HMODULE module, const std::string& name, TColor maskColor);
  int Count() const { return ImageList_GetImageCount(list_); }
  // Greyed (enabled false): the image's pixels other than white, in the button
  // highlight colour one pixel down and right and in the shadow colour over it.
  void Draw(TCanvas& c, int x, int y, int index, bool enabled = true);
  HIMAGELIST Handle() const { return list_; }

 private:
  HIMAGELIST list_;
};
