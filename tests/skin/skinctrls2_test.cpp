// Skinned check boxes, radio buttons, track bars, progress bars, up-downs,
// edits and combo boxes on real common controls, read through their DCs.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

#include "ComCtrls.h"
#include "SkinControlTest.h"
#include "SkinTestBitmaps.h"
#include "TestSupport.h"
#include "WinSkinCtrls2.h"

using namespace skintest;

namespace {
using SkinControls2 = SkinControlTest;

std::string PlainAt(HWND h, int x, int y) { return Describe(WindowPixel(h, x, y)); }

// A check box or radio button whose published Checked is not the window's.
template <class C>
struct TPublished : C {
  using C::C;
  std::optional<std::string> GetProp(const std::string& name) const override {
    return name == "Checked" ? std::optional<std::string>(shown) : C::GetProp(name);
  }
  std::string shown;
};
}  // namespace

// The frame of the strip, at the left (2 pixels further in for a check box)
// or at the right with BS_LEFTTEXT; the control's published Checked decides;
// a real click repaints the box.
TEST_F(SkinControls2, CheckAndRadioBoxes) {
  ControlBench& b = Bench(300, 100);
  constexpr DWORD check = BS_CHECKBOX, grey = BS_3STATE, radio = BS_RADIOBUTTON, off = WS_DISABLED;
  const struct { int frames; DWORD style; WPARAM state; int frame; } cases[] = {
      {4, check, 0, 1},    {4, check, 1, 2},        {4, check | off, 0, 3},        {4, check | off, 1, 4},
      {4, grey | off, 2, 4}, {12, check, 1, 5},     {12, check | off, 0, 4},       {12, check | off, 1, 8},
      {12, grey, 2, 9},    {12, grey | off, 2, 12}, {4, check | BS_LEFTTEXT, 1, 2}, {4, radio | off, 1, 4},
      {8, radio, 1, 5},    {8, radio | off, 0, 4},  {8, radio | off | BS_LEFTTEXT, 1, 8},
      {2, check | off, 1, 2}};  // a two-frame strip has no disabled frames: its checked one
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    const bool isRadio = (c.style & 0xF) == radio;
    TDataSkinButton& e = *b.Data.Buttons;
    const int element = isRadio ? kRadioButton : kCheckButton;
    FillStrip(isRadio ? e.RadioButton : e.CheckButton, element, Strip{c.frames, kBoxSize, kBoxSize});
    (isRadio ? e.RadioButtonFrame : e.CheckButtonFrame) = c.frames;
    HWND h = b.AddPlain("button", "Box", c.style, RECT{10, 10, 210, 31}, 1);
    SendMessageA(h, BM_SETCHECK, c.state, 0);
    if (isRadio) b.AttachPlain<TSkinRadioButton>(h);
    else b.AttachPlain<TSkinCheckBox>(h);
    // An 11-pixel box centred in 14 pixels is one pixel in.
    const int left = c.style & BS_LEFTTEXT ? 200 - 1 - kBoxSize : isRadio ? 1 : 3, top = (21 - kBoxSize) / 2;
    EXPECT_EQ(PlainAt(h, left, top), Frame(element, c.frame));
    EXPECT_EQ(PlainAt(h, left + kBoxSize - 1, top + kBoxSize - 1), Frame(element, c.frame));
    EXPECT_EQ(PlainAt(h, left - 1, top), "ButtonFace");
    DestroyWindow(h);
  }
  BuildTestSkin(b.Data);
  auto* shown = b.Add<TPublished<TCheckBox>>(10, 10, 120, 21, "Check");
  auto* hidden = b.Add<TPublished<TRadioButton>>(10, 40, 120, 21, "Radio");
  shown->shown = "TRUE";
  hidden->SetChecked(true);
  hidden->shown = "false";
  auto* real = b.Add<TCheckBox>(150, 10, 120, 21, "Real");
  for (TControl* c : std::initializer_list<TControl*>{shown, real}) b.Attach<TSkinCheckBox>(c);
  b.Attach<TSkinRadioButton>(hidden);
  EXPECT_EQ(At(*shown, 3, 5), Frame(kCheckButton, 2));
  EXPECT_EQ(At(*hidden, 1, 5), Frame(kRadioButton, 1));
  testsupport::ClickOn(real->Handle());
  Pump();
  EXPECT_TRUE(real->Checked());
  EXPECT_EQ(At(*real, 3, 5), Frame(kCheckButton, 2));
}

// Pressed and dragged off, or pushed with the space bar held, a box shows the
// skin's frame of its check, never the platform's look; the release clicks.
TEST_F(SkinControls2, PushedBoxesKeepTheSkin) {
  ControlBench& b = Bench(300, 100);
  auto* check = b.Add<TCheckBox>(10, 10, 120, 21, "Check");
  auto* radio = b.Add<TRadioButton>(10, 40, 120, 21, "Radio");
  b.Attach<TSkinCheckBox>(check);
  b.Attach<TSkinRadioButton>(radio);
  const POINT away = ScreenPoint(b.Form->Handle(), 250, 90);
  // The middle of each box, which sits 1 pixel in (a check box 2 more) and 5 down.
  const struct { TButtonControl* box; int element, middle; } boxes[] = {
      {check, kCheckButton, 3 + kBoxSize / 2}, {radio, kRadioButton, 1 + kBoxSize / 2}};
  for (const auto& x : boxes) {
    const POINT on = ScreenPoint(x.box->Handle(), x.middle, 10);
    const struct { const char* what; std::function<void()> act; int frame; } steps[] = {
        {"pressed", [&] { MouseAt(on, MOUSEEVENTF_LEFTDOWN); }, 1},
        {"dragged off", [&] { MouseAt(away); }, 1},
        {"released off", [&] { MouseAt(away, MOUSEEVENTF_LEFTUP); }, 1},
        {"space down", [&] { KeyInput(VK_SPACE); }, 1},
        {"space up", [&] { KeyInput(VK_SPACE, KEYEVENTF_KEYUP); }, 2}};
    for (const auto& s : steps) {
      SCOPED_TRACE(testing::Message() << x.box->Caption() << ", " << s.what);
      s.act();
      EXPECT_EQ(At(*x.box, x.middle, 10), Frame(x.element, s.frame));
    }
  }
}

// The thumb where the control puts it, through its reflected custom draw.
TEST_F(SkinControls2, TrackBarThumb) {
  ControlBench& b = Bench(300, 200);
  const struct { bool vertical, horzThumb, vertThumb; const char* seen; } cases[] = {
      {false, true, true, "Trackbar.ThumbHorz#2"}, {true, true, true, "Trackbar.ThumbVert#2"},
      {true, true, false, "Trackbar.ThumbHorz#2"}, {false, false, false, "ButtonShadow"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seen);
    BuildTestSkin(b.Data);
    if (!c.horzThumb) b.Data.TrackbarThumbHorz.reset();
    if (!c.vertThumb) b.Data.TrackbarThumbVert.reset();
    auto* bar = b.Add<TTrackBar>(10, 10, c.vertical ? 40 : 200, c.vertical ? 150 : 40);
    bar->Orientation = c.vertical ? TTrackBar::trVertical : TTrackBar::trHorizontal;
    bar->RecreateWnd();
    bar->SetPosition(5);
    b.Attach<TSkinTrackBar>(bar);
    RECT t{};
    SendMessageA(bar->Handle(), TBM_GETTHUMBRECT, 0, LPARAM(&t));
    ASSERT_GT(t.right - t.left, 4);
    EXPECT_EQ(At(*bar, t.left, t.top), c.seen);
    EXPECT_EQ(At(*bar, t.right - 1, t.bottom - 1), c.seen);
    EXPECT_EQ(At(*bar, (t.left + t.right) / 2, (t.top + t.bottom) / 2) == c.seen, c.horzThumb) << "an outline only";
    delete bar;
  }
}

// The filled part is position x width / upper limit, whatever the lower one,
// without overflow.
TEST_F(SkinControls2, ProgressFill) {
  ControlBench& b = Bench(300, 60);
  const struct { int low, high, pos, filled; } cases[] = {
      {0, 50, 25, 100}, {10, 50, 25, 100}, {0, 50, 0, 0}, {0, 0x7FFFFFFF, 0x40000000, 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    auto* bar = b.Add<TProgressBar>(10, 10, 200, 20);
    SendMessageA(bar->Handle(), PBM_SETRANGE32, WPARAM(c.low), c.high);
    SendMessageA(bar->Handle(), PBM_SETPOS, WPARAM(c.pos), 0);
    b.Attach<TSkinProgress>(bar);
    EXPECT_EQ(At(*bar, 0, 10), Frame(kProgress, c.filled ? 2 : 1));
    EXPECT_EQ(At(*bar, c.filled - 1, 10) == Frame(kProgress, 2), c.filled > 0);
    EXPECT_EQ(At(*bar, c.filled, 10), Frame(kProgress, 1));
    delete bar;
  }
}

// Pressed only where the cursor is (real input), never hot; the disabled
// frames; without the element, flat boxes.
TEST_F(SkinControls2, UpDownParts) {
  ControlBench& b = Bench(200, 100);
  HWND vert = b.AddPlain(UPDOWN_CLASSA, "", 0, RECT{10, 10, 30, 50}, 1);
  HWND horz = b.AddPlain(UPDOWN_CLASSA, "", UDS_HORZ, RECT{60, 10, 100, 30}, 2);
  b.AttachPlain<TSkinUpDown>(vert);
  b.AttachPlain<TSkinUpDown>(horz);
  constexpr DWORD down = MOUSEEVENTF_LEFTDOWN, up = MOUSEEVENTF_LEFTUP;
  // Where the mouse goes and what it does; the frames the two parts show.
  const struct { HWND window; POINT at; DWORD buttons; int first, second; } steps[] = {
      {vert, {10, 5}, 0, 1, 5},     {vert, {10, 5}, down, 2, 5}, {vert, {10, 5}, up, 1, 5},
      {vert, {10, 35}, down, 1, 6}, {vert, {10, 35}, up, 1, 5},  {horz, {30, 10}, down, 1, 6},
      {horz, {30, 10}, up, 1, 5}};
  for (const auto& s : steps) {
    SCOPED_TRACE(testing::Message() << "step " << &s - steps);
    MouseAt(ScreenPoint(s.window, s.at.x, s.at.y), s.buttons);
    const bool across = s.window == horz;
    const int element = across ? kUpDownHorz : kUpDownVert;
    EXPECT_EQ(PlainAt(s.window, 1, 1), Frame(element, s.first));
    EXPECT_EQ(PlainAt(s.window, across ? 38 : 1, across ? 1 : 38), Frame(element, s.second));
  }
  MouseAt(ScreenPoint(b.Form->Handle(), 150, 90));
  EnableWindow(vert, FALSE);
  Repaint(vert);
  EXPECT_EQ(PlainAt(vert, 1, 1), Frame(kUpDownVert, 3));
  EXPECT_EQ(PlainAt(vert, 1, 38), Frame(kUpDownVert, 7));

  b.Data.UpDownHorz.reset();
  MouseAt(ScreenPoint(horz, 30, 10), down);
  EXPECT_EQ(PlainAt(horz, 0, 0), Describe(GetSysColor(COLOR_3DDKSHADOW)));
  EXPECT_EQ(PlainAt(horz, 2, 2), "ButtonFace");
  EXPECT_EQ(PlainAt(horz, 22, 2), "ButtonShadow");
  MouseAt(ScreenPoint(b.Form->Handle(), 150, 90), up);
}

// An edit's border becomes a ButtonShadow frame with a white one inside, on
// screen and in WM_PRINT; a borderless edit is left alone; an up-down inside
// either is skinned within a 1-pixel margin.
TEST_F(SkinControls2, EditFramesAndItsUpDown) {
  ControlBench& b = Bench(300, 100);
  for (TBorderStyle border : {bsSingleBorder, bsNoBorder}) {
    SCOPED_TRACE(border);
    auto* edit = b.Add<TEdit>(10, 10, 150, 24);
    edit->BorderStyle = border;
    edit->SetColor(clYellow);
    edit->RecreateWnd();
    HWND spin = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 100, 0, 16, 20, edit->Handle(), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    auto* skin = b.Attach<TSkinEdit>(edit);
    const bool framed = border == bsSingleBorder;
    EXPECT_EQ(At(*edit, 0, 0), framed ? "ButtonShadow" : "#ffff00");
    EXPECT_EQ(At(*edit, 1, 1), framed ? "#ffffff" : "#ffff00");
    EXPECT_EQ(PlainAt(spin, 0, 0), "ButtonFace");
    EXPECT_EQ(PlainAt(spin, 1, 1), Frame(kUpDownVert, 1));
    EXPECT_EQ(b.Frame.FindSkinControl(spin), skin->UpDown);
    TBitmap printed(150, 24);
    printed.Canvas().Brush.Color = clRed;  // the DC's brush frames the inside
    printed.Canvas().UseBrush();
    SendMessageA(edit->Handle(), WM_PRINT, WPARAM(printed.Canvas().Handle()), PRF_NONCLIENT | PRF_CLIENT);
    EXPECT_EQ(Describe(BitmapPixel(printed, 0, 0)) == "ButtonShadow", framed);
    EXPECT_EQ(Describe(BitmapPixel(printed, 1, 1)) == "#ff0000", framed);
    delete edit;
  }
}

// The button, glyph and sunk edge in each state; on the left from the
// mirrored strip; the plain drawing of Style 1.
TEST_F(SkinControls2, ComboBoxButton) {
  ControlBench& b = Bench(300, 100);
  auto* combo = b.Add<TComboBox>(10, 10, 150, 24);
  auto* other = b.Add<TEdit>(10, 60, 100, 24);
  b.Attach<TSkinComBox>(combo);
  const int w = combo->Width(), h = combo->Height(), t = GetSystemMetrics(SM_CXHSCROLL);
  const POINT away = ScreenPoint(b.Form->Handle(), 290, 95);
  for (int step = 0; step < 4; ++step) {
    SCOPED_TRACE(testing::Message() << "step " << step);
    const int frame[] = {1, 4, 3, 1};  // normal, hot, disabled, normal with the button on the left
    if (step == 0) other->SetFocus();
    MouseAt(step == 1 ? ScreenPoint(combo->Handle(), 20, 5) : away);
    combo->SetEnabled(step != 2);
    if (step == 3) SetWindowLongPtrA(combo->Handle(), GWL_EXSTYLE, WS_EX_LEFTSCROLLBAR);
    Repaint(combo->Handle());
    const bool left = step == 3;
    // The mirrored strip's frame d shows frame 5 - d.
    EXPECT_EQ(At(*combo, left ? 0 : w - 1, 0), Frame(kComboButton, left ? 5 - frame[step] : frame[step]));
    EXPECT_EQ(At(*combo, left ? 2 + t / 2 : w - 2 - t / 2, h / 2), Frame(kExtraImages, frame[step]));
    EXPECT_EQ(At(*combo, left ? w - 1 : 0, h / 2), Frame(kSunkEdge, frame[step]));
  }
  SetWindowLongPtrA(combo->Handle(), GWL_EXSTYLE, 0);
  b.Data.ComboButton->Style = 1;  // the reader never sets it; only a skin built in code reaches this
  Repaint(combo->Handle());
  EXPECT_EQ(At(*combo, 0, 0), "ButtonShadow");
  EXPECT_EQ(At(*combo, 1, 1), "#ffffff");  // the window DC's brush
  EXPECT_EQ(At(*combo, w - 3, h / 2), Frame(kComboButton, 1));
  EXPECT_EQ(At(*combo, w - 3 - GetSystemMetrics(SM_CYVTHUMB), h / 2), "#ffffff");
}

// A page of the control center's kinds drawn with the shipped skin. With
// SKIN_PAGE_SHOT set, the form's screen area is saved there as a BMP.
TEST_F(SkinControls2, ShippedSkinDrawsAPageOfControls) {
  ControlBench& b = Bench(440, 230);
  b.Data.SkinStream.LoadFromFile(ShippedSkin());
  ASSERT_TRUE(b.Data.LoadFromStore());
  b.Form->SetColor(b.Data.Colours.ButtonFace);
  auto* lcd = b.Add<TCheckBox>(20, 20, 110, 17, "--LCD");
  auto* crt = b.Add<TCheckBox>(150, 20, 110, 17, "--CRT");
  auto* off = b.Add<TCheckBox>(280, 20, 140, 17, "Disabled");
  auto* radio = b.Add<TRadioButton>(20, 50, 110, 17, "Plan 1");
  auto* bright = b.Add<TTrackBar>(20, 80, 400, 33);
  auto* edit = b.Add<TEdit>(20, 125, 256, 23);
  auto* combo = b.Add<TComboBox>(290, 125, 130, 24);
  auto* progress = b.Add<TProgressBar>(20, 165, 256, 17);
  for (TButtonControl* c : std::initializer_list<TButtonControl*>{lcd, off, radio}) c->SetChecked(true);
  off->SetEnabled(false);
  bright->TickStyle = TTrackBar::tsNone;
  bright->RecreateWnd();
  bright->SetRange(0, 97);
  bright->SetPosition(60);
  edit->SetText("Alt+F1");
  combo->Items.Assign({"Balanced", "Power saver"});
  combo->SetItemIndex(0);
  progress->SetPosition(40);
  for (TCheckBox* c : {lcd, crt, off}) b.Attach<TSkinCheckBox>(c);
  b.Attach<TSkinRadioButton>(radio);
  b.Attach<TSkinTrackBar>(bright);
  b.Attach<TSkinEdit>(edit);
  b.Attach<TSkinComBox>(combo);
  b.Attach<TSkinProgress>(progress);
  b.Attach<TSkinUpDown>(b.Add<TUpDown>(290, 160, 17, 25));
  const std::string accent = "#2b6cd6";
  EXPECT_EQ(At(*lcd, 5, 6), accent) << "a checked box";
  EXPECT_EQ(At(*crt, 5, 6), "#ffffff") << "an unchecked box";
  RECT t{};
  SendMessageA(bright->Handle(), TBM_GETTHUMBRECT, 0, LPARAM(&t));
  EXPECT_EQ(At(*bright, (t.left + t.right) / 2, (t.top + t.bottom) / 2), accent) << "the thumb";
  EXPECT_EQ(ControlPixel(*edit, 0, 0), ui::ColorToRGB(b.Data.Colours.ButtonShadow));
  EXPECT_EQ(At(*progress, 50, 8), accent) << "the filled part";
  EXPECT_EQ(At(*progress, 200, 8), "#ffffff");
  if (const char* shot = std::getenv("SKIN_PAGE_SHOT")) SaveScreenArea(b.Form->Handle(), shot);
}
