#include "ICOShow.h"

#include <objidl.h>

#include <algorithm>
#include <cstring>
// GDI+ expects min and max, which NOMINMAX keeps out of the windows headers.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "Graphics.h"
#include "Streams.h"

TICOForm* ICOForm = nullptr;

namespace {

struct Bar {
  int width, x1, y, x2;
};
constexpr Bar kBars[12] = {
    {6, 120, 128, 130},  {10, 133, 126, 142}, {15, 144, 123, 153}, {20, 156, 121, 165},
    {24, 168, 119, 177}, {29, 180, 116, 189}, {34, 192, 114, 201}, {38, 204, 112, 213},
    {43, 216, 109, 225}, {49, 228, 106, 237}, {54, 240, 104, 249}, {58, 252, 102, 261},
};

std::wstring Wide(const std::string& s) {
  std::wstring w(s.size(), L'\0');
  const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), static_cast<int>(w.size()));
  w.resize(n > 0 ? n : 0);
  return w;
}

}  // namespace

int LevelBars(int level) { return std::clamp(level / 8, 0, 12); }

std::unique_ptr<TPngImage> LoadOverlayPicture(HMODULE library, const std::string& name) {
  auto picture = std::make_unique<TPngImage>();
  TResourceStream stream(library, name, RT_RCDATA);
  picture->LoadFromStream(stream);
  if (picture->PixelFormat() != pf32bit) throw Exception("Wrong bitmap format - must be 32 bits/pixel");
  picture->PremultiplyAlpha();
  return picture;
}

// The GDI+ objects of the overlay, made once; the surface belongs to the
// layer's bitmap of the moment.
struct TICOForm::TDrawing {
  Gdiplus::Pen pen{Gdiplus::Color(0xFFFFFF00), 1.0f};
  Gdiplus::SolidBrush grey{Gdiplus::Color(0xFF808080)}, white{Gdiplus::Color(0xFFFFFFFF)};
  std::unique_ptr<Gdiplus::Font> font;
  std::unique_ptr<Gdiplus::Graphics> graphics;
};

TICOForm::TICOForm(TComponent* owner)
    : TForm(owner), hold_([this] { HoldTimerProc(); }), fade_([this] { FadeTimerProc(); }) {
  Method("FormCreate", &TICOForm::FormCreate);
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&gdiplus_, &input, nullptr);
}

TICOForm::~TICOForm() {
  hold_.Stop();
  fade_.Stop();
  drawing_.reset();
  if (gdiplus_) Gdiplus::GdiplusShutdown(gdiplus_);
}

void TICOForm::FormCreate(TObject*) {
  const LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_EXSTYLE);
  if (!(style & WS_EX_LAYERED)) SetWindowLongPtrA(Handle(), GWL_EXSTYLE, style | WS_EX_LAYERED | WS_EX_TOPMOST);
  library_ = LoadLibraryA("Iconvault.dll");
}

void TICOForm::Show(const std::string& name, const std::string& text, std::optional<int> level) {
  fade_.Stop();
  hold_.Start(1500);  // the hold counts from the call
  auto cached = pictures_.find(name);
  if (cached == pictures_.end()) cached = pictures_.emplace(name, LoadOverlayPicture(library_, name)).first;
  TBitmap& picture = *cached->second;
  pictureName_ = name;
  text_ = text;
  level_ = level;
  size_ = {picture.Width(), picture.Height()};
  blend_ = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  // Centred when it appears, kept in place while it is on screen. It never
  // takes the foreground: the keys meant for the program in front must still
  // reach it.
  RECT r;
  GetWindowRect(Handle(), &r);
  int left = r.left, top = r.top;
  if (!Visible()) {
    left = (GetSystemMetrics(SM_CXSCREEN) - size_.cx) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - size_.cy) / 2;
  }
  // Already on top at this size: placing it again would change nothing.
  const bool placed = Visible() && IsWindowVisible(Handle()) && r.right - r.left == size_.cx &&
                      r.bottom - r.top == size_.cy && !GetWindow(Handle(), GW_HWNDPREV);
  if (!placed)
    SetWindowPos(Handle(), HWND_TOPMOST, left, top, size_.cx, size_.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  TControl::SetVisible(true);
  DrawLayer(picture);
  POINT source = {0, 0};
  UpdateLayeredWindow(Handle(), nullptr, nullptr, &size_, layer_.Canvas().Handle(), &source, 0, &blend_, ULW_ALPHA);
}

void TICOForm::DrawLayer(TBitmap& picture) {
  // Levels with the same number of bars look the same.
  const std::string key = pictureName_ + '\n' + (level_ ? std::to_string(LevelBars(*level_)) : "\n" + text_);
  if (key == layerKey_) return;
  layerKey_.clear();  // until it is drawn
  if (!drawing_) drawing_ = std::make_unique<TDrawing>();
  if (layer_.Width() != picture.Width() || layer_.Height() != picture.Height()) {
    drawing_->graphics.reset();
    layer_.SetSize(picture.Width(), picture.Height(), pf32bit);
  }
  TCanvas& canvas = layer_.Canvas();
  GdiFlush();
  const size_t row = static_cast<size_t>(picture.Width()) * 4;
  for (int y = 0; y < picture.Height(); ++y)
    std::memcpy(layer_.ScanLine(y), picture.ScanLine(y), row);
  if (!drawing_->graphics) drawing_->graphics = std::make_unique<Gdiplus::Graphics>(canvas.Handle());
  Gdiplus::Graphics& graphics = *drawing_->graphics;
  if (level_) {
    for (int i = 0; i < LevelBars(*level_); ++i) {
      drawing_->pen.SetWidth(static_cast<Gdiplus::REAL>(kBars[i].width));
      graphics.DrawLine(&drawing_->pen, kBars[i].x1, kBars[i].y, kBars[i].x2, kBars[i].y);
    }
  } else if (!text_.empty()) {
    if (!drawing_->font) {
      canvas.Font.SetName("Arial");
      canvas.Font.SetSize(13);
      canvas.Font.SetStyle(fsBold);
      canvas.TextWidth("");  // selects the font into the device context
      drawing_->font = std::make_unique<Gdiplus::Font>(canvas.Handle());
    }
    const std::wstring w = Wide(text_);
    graphics.DrawString(w.c_str(), static_cast<INT>(w.size()), drawing_->font.get(), Gdiplus::PointF(140, 65),
                        &drawing_->grey);
    graphics.DrawString(w.c_str(), static_cast<INT>(w.size()), drawing_->font.get(), Gdiplus::PointF(141, 66),
                        &drawing_->white);
  }
  graphics.Flush(Gdiplus::FlushIntentionSync);
  layerKey_ = key;
}

void TICOForm::ShowIconText(const std::string& name, const std::string& text) { Show(name, text, std::nullopt); }

void TICOForm::ShowIconLevel(const std::string& name, int level) { Show(name, "", level); }

void TICOForm::HoldTimerProc() {
  hold_.Stop();
  fade_.Start(10);
}

void TICOForm::FadeTimerProc() {
  if (blend_.SourceConstantAlpha > 0) {
    blend_.SourceConstantAlpha = static_cast<BYTE>(blend_.SourceConstantAlpha - (blend_.SourceConstantAlpha / 32 + 1));
    UpdateLayeredWindow(Handle(), nullptr, nullptr, nullptr, nullptr, nullptr, 0, &blend_, ULW_ALPHA);
    fade_.Start(10);
  } else {
    fade_.Stop();
    Close();
  }
}
