#include "Unit1.h"

#include <memory>
#include <vector>

#include "CorvelAcpi.h"
#include "Handles.h"
#include "KeyTaps.h"
#include "TiltEvent.h"
#include "seams/Input.h"

TForm1* Form1 = nullptr;

namespace {

// The pictures are drawn on the key colour so the panel's colour shows around
// them (the control state is the colour of Panel5).
constexpr TColor kKey = clFuchsia;
constexpr COLORREF kInk = RGB(32, 64, 96);

// A picture being drawn: the key colour everywhere, then shapes in ink.
class Sketch {
 public:
  Sketch(int w, int h) : bmp_(std::make_unique<TBitmap>(w, h)), dc_(bmp_->Canvas().Handle()) {
    bmp_->TransparentFixed = true;
    bmp_->TransparentColor = kKey;
    RECT all{0, 0, w, h};
    const ui::GdiObject key(CreateSolidBrush(ui::ColorToRGB(kKey)));
    FillRect(dc_, &all, static_cast<HBRUSH>(key.get()));
  }

  HDC dc() const { return dc_; }
  HBRUSH ink() const { return static_cast<HBRUSH>(ink_.get()); }
  void HandTo(TImage* image) { image->Picture().SetGraphic(std::move(bmp_)); }

 private:
  std::unique_ptr<TBitmap> bmp_;
  HDC dc_;
  ui::GdiObject ink_{CreateSolidBrush(kInk)};
  ui::SelectedObject brush_{dc_, ink_.get()};
  ui::SelectedObject pen_{dc_, GetStockObject(NULL_PEN)};
};

// An arrow along the long side of its box, pointing to the box's start
// (up or left) unless flipped.
void PaintArrow(TImage* image, bool vertical, bool flipped) {
  const int across = vertical ? image->Width() : image->Height();
  const int along = vertical ? image->Height() : image->Width();
  const int mid = across / 2, head = along * 2 / 5, shaft = across / 6;
  const POINT shape[] = {{mid, 2},           {across - 2, head}, {mid + shaft, head}, {mid + shaft, along - 2},
                         {mid - shaft, along - 2}, {mid - shaft, head}, {2, head}};
  std::vector<POINT> points;
  for (POINT p : shape) {
    const LONG a = p.x, l = flipped ? along - p.y : p.y;
    points.push_back(vertical ? POINT{a, l} : POINT{l, a});
  }
  Sketch sketch(image->Width(), image->Height());
  Polygon(sketch.dc(), points.data(), static_cast<int>(points.size()));
  sketch.HandTo(image);
}

// A ring with a hub: the panel's colour fills the gap between them.
void PaintDisc(TImage* image) {
  const int w = image->Width(), h = image->Height();
  Sketch sketch(w, h);
  const ui::GdiObject ring(CreateEllipticRgn(1, 1, w - 1, h - 1));
  const ui::GdiObject hole(CreateEllipticRgn(w / 6, h / 6, w - w / 6, h - h / 6));
  const auto rgn = [](const ui::GdiObject& r) { return static_cast<HRGN>(r.get()); };
  CombineRgn(rgn(ring), rgn(ring), rgn(hole), RGN_DIFF);
  FillRgn(sketch.dc(), rgn(ring), sketch.ink());
  Ellipse(sketch.dc(), w * 3 / 8, h * 3 / 8, w - w * 3 / 8, h - h * 3 / 8);
  sketch.HandTo(image);
}

}  // namespace

TForm1::TForm1(TComponent* owner)
    : TForm(owner),
      repeat_(seams::input()),
      keyCRearm_([this] { gesture_.RearmTimerFired(tilt::RearmTimer::KeyC); }),
      toggleRearm_([this] { gesture_.RearmTimerFired(tilt::RearmTimer::Toggle); }) {
  Bind("Panel1", Panel1);
  Bind("Panel2", Panel2);
  Bind("Panel3", Panel3);
  Bind("Panel4", Panel4);
  Bind("Panel5", Panel5);
  Bind("Image1", Image1);
  Bind("Image2", Image2);
  Bind("Image3", Image3);
  Bind("Image4", Image4);
  Bind("Image5", Image5);
  Method("FormCreate", &TForm1::FormCreate);
  Method("FormClose", &TForm1::FormClose);
  Method("FormKeyDown", &TForm1::FormKeyDown);
  Method("FormKeyUp", &TForm1::FormKeyUp);
  OnMessage(WM_DEVICECHANGE, &TForm1::WMDeviceChange);
}

void TForm1::Loaded() {
  TForm::Loaded();
  PaintArrow(Image1, true, false);
  PaintArrow(Image2, true, true);
  PaintArrow(Image3, false, false);
  PaintArrow(Image4, false, true);
  PaintDisc(Image5);
}

void TForm1::FormCreate(TObject*) {
  RegistDeivceNotify(Handle());
  acpi::Send(acpi::AcpiEventsOn);
  acpi::Send(acpi::AcpiTiltStart);
  SetWindowPos(Handle(), HWND_TOPMOST, Left(), Top(), Width(), Height(), SWP_SHOWWINDOW);
  gameOnId_ = RegisterWindowMessageA("Gamehon");
  gameOffId_ = RegisterWindowMessageA("Gamehoff");
  PostToPavona(gameOffId_);
}

void TForm1::FormClose(TObject*, TCloseAction&) {
  PostToPavona(gameOnId_);
  // No arrow key may stay half-pressed in the game once we are gone, and no
  // late reading may start a worker again.
  closed_ = true;
  repeat_.StopAll();
}

void TForm1::PostToPavona(UINT msg) {
  // Nothing to tell when the control center is not running.
  pavona_ = FindWindowA(nullptr, kPavonaCaption);
  if (pavona_) PostMessageA(pavona_, msg, 0, 1);
}

TPanel* TForm1::ArrowPanel(WORD key) const {
  switch (key) {
    case VK_UP: return Panel1;
    case VK_DOWN: return Panel2;
    case VK_LEFT: return Panel3;
    case VK_RIGHT: return Panel4;
  }
  return nullptr;
}

void TForm1::FormKeyDown(TObject*, WORD& Key, int) {
  if (TPanel* panel = ArrowPanel(Key)) panel->SetColor(clSkyBlue);
}

void TForm1::FormKeyUp(TObject*, WORD& Key, int) {
  if (TPanel* panel = ArrowPanel(Key)) panel->SetColor(clMoneyGreen);
}

void TForm1::WMDeviceChange(TMessage& Msg) {
  Msg.Result = TRUE;
  if (closed_) return;
  if (const auto reading = tilt::TiltReadingFor(Msg.WParam, Msg.LParam)) gesture_.Reading(*reading);
}

void TForm1::TapKeyC() { tilt::TapKeyC(seams::input()); }

void TForm1::TapShowDesktop() { tilt::TapShowDesktop(seams::input()); }

void TForm1::ArmRearmTimer(tilt::RearmTimer timer, unsigned ms) {
  (timer == tilt::RearmTimer::KeyC ? keyCRearm_ : toggleRearm_).Start(ms);
}

void TForm1::StartRepeat(tilt::Direction d) { repeat_.Start(d); }

void TForm1::StopRepeat(tilt::Direction d) { repeat_.Stop(d); }

void TForm1::ShowControl(bool on) { Panel5->SetColor(on ? clGreen : clMoneyGreen); }
