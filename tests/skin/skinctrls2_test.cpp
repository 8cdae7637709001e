// Skinned check boxes, radio buttons, track bars, progress bars, up-downs,
// edits and combo boxes on real common controls, read through their DCs.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <functional>
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
class TPublished : public C {
 public:
  using C::C;
  std::optional<std::string> GetProp(const std::string& name) const override {
    return name == "Checked" ? std::optional<std::string>(shown) : C::GetProp(name);
  }
  std::string shown;
};

}  // namespace

// Which frame of which strip, and where: the box beside the text, or at the
// right with BS_LEFTTEXT; 12- and 8-frame strips hold the states elsewhere.
TEST_F(SkinControls2, CheckAndRadioBoxes) {
  ControlBench& b = Bench(300, 60);
  const struct {
    bool radio;
    int frames;
    DWORD style;
    WPARAM check;
    bool disabled;
    int frame;
  } cases[] = {
      {false, 4, BS_CHECKBOX, BST_UNCHECKED, false, 1},  {false, 4, BS_CHECKBOX, BST_CHECKED, false, 2},
      {false, 4, BS_CHECKBOX, BST_UNCHECKED, true, 3},   {false, 4, BS_CHECKBOX, BST_CHECKED, true, 4},
      {false, 4, BS_3STATE, BST_INDETERMINATE, true, 4}, {false, 12, BS_CHECKBOX, BST_CHECKED, false, 5},
      {false, 12, BS_CHECKBOX, BST_UNCHECKED, true, 4},  {false, 12, BS_CHECKBOX, BST_CHECKED, true, 8},
      {false, 12, BS_3STATE, BST_INDETERMINATE, false, 9}, {false, 12, BS_3STATE, BST_INDETERMINATE, true, 12},
      {false, 4, BS_CHECKBOX | BS_LEFTTEXT, BST_CHECKED, false, 2},
      {true, 4, BS_RADIOBUTTON, BST_CHECKED, true, 4},   {true, 8, BS_RADIOBUTTON, BST_CHECKED, false, 5},
      {true, 8, BS_RADIOBUTTON, BST_UNCHECKED, true, 4}, {true, 8, BS_RADIOBUTTON | BS_LEFTTEXT, BST_CHECKED, true, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.radio ? "radio " : "check ") << c.frames << " frames, frame " << c.frame);
    TDataSkinButton& e = *b.Data.Buttons;
    const int element = c.radio ? kRadioButton : kCheckButton;
    FillStrip(c.radio ? e.RadioButton : e.CheckButton, element, Strip{c.frames, kBoxSize, kBoxSize});
    (c.radio ? e.RadioButtonFrame : e.CheckButtonFrame) = c.frames;
    HWND h = b.AddPlain("button", "Box", c.style | (c.disabled ? WS_DISABLED : 0), RECT{10, 10, 210, 31}, 1);
    SendMessageA(h, BM_SETCHECK, c.check, 0);
    if (c.radio) b.AttachPlain<TSkinRadioButton>(h);
    else b.AttachPlain<TSkinCheckBox>(h);
    // An 11-pixel box is centred in 14: one pixel in, plus 2 for a check box.
    const int left = c.style & BS_LEFTTEXT ? 200 - 1 - kBoxSize : c.radio ? 1 : 3, top = (21 - kBoxSize) / 2;
    EXPECT_EQ(PlainAt(h, left, top), Frame(element, c.frame));
    EXPECT_EQ(PlainAt(h, left + kBoxSize - 1, top + kBoxSize - 1), Frame(element, c.frame));
    EXPECT_EQ(PlainAt(h, left - 1, top), "ButtonFace");
    DestroyWindow(h);
  }
}

// The control's published Checked decides, in any letter case; a click
// toggles a class-library check box and the skin follows.
TEST_F(SkinControls2, PublishedCheckedAndARealClick) {
  ControlBench& b = Bench(300, 100);
  auto* check = b.Add<TPublished<TCheckBox>>(10, 10, 120, 21, "Check");
  auto* radio = b.Add<TPublished<TRadioButton>>(10, 40, 120, 21, "Radio");
  check->shown = "TRUE";
  radio->SetChecked(true);
  radio->shown = "false";
  b.Attach<TSkinCheckBox>(check);
  b.Attach<TSkinRadioButton>(radio);
  EXPECT_EQ(At(*check, 3, 5), Frame(kCheckButton, 2));
  EXPECT_EQ(At(*radio, 1, 5), Frame(kRadioButton, 1));

  auto* real = b.Add<TCheckBox>(150, 10, 120, 21, "Real");
  b.Attach<TSkinCheckBox>(real);
  testsupport::ClickOn(real->Handle());
  Pump();
  EXPECT_TRUE(real->Checked());
  EXPECT_EQ(At(*real, 3, 5), Frame(kCheckButton, 2));
}

// The thumb where the control puts it, through its reflected custom draw.
TEST_F(SkinControls2, TrackBarThumb) {
  ControlBench& b = Bench(300, 200);
  const struct {
    bool vertical, horzThumb, vertThumb;
    const char* seen;
  } cases[] = {
      {false, true, true, "Trackbar.ThumbHorz#2"},
      {true, true, true, "Trackbar.ThumbVert#2"},
      {true, true, false, "Trackbar.ThumbHorz#2"},
      {false, false, false, "ButtonShadow"},  // an outline
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seen);
    BuildTestSkin(b.Data);
    UseTestColours(b.Data);
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
    if (!c.horzThumb) {
      EXPECT_NE(At(*bar, (t.left + t.right) / 2, (t.top + t.bottom) / 2), c.seen);
    }
    delete bar;
  }
}

// The filled part is position x width / upper limit, whatever the lower one,
// without overflow; chunks start at the left margin.
TEST_F(SkinControls2, ProgressFill) {
  ControlBench& b = Bench(300, 60);
  const struct {
    int low, high, pos, chunkStyle, filled;
  } cases[] = {{0, 50, 25, 0, 100}, {10, 50, 25, 0, 100}, {0, 50, 0, 0, 0}, {0, 0x7FFFFFFF, 0x40000000, 0, 100},
               {0, 50, 25, 1, 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.low << ".." << c.high << " at " << c.pos << " style " << c.chunkStyle);
    TDataSkinBorder& e = *b.Data.Progress;
    e.Style = c.chunkStyle;
    e.LeftWidth = c.chunkStyle ? 4 : 0;
    if (c.chunkStyle) {
      FillStrip(e.Image, kProgress, Strip{});  // the bar as one frame
      e.Image2.SetSize(6, 8, pf24bit);        // the chunk
      e.Image2.Canvas().Brush.Color = TColor(FrameColour(kProgress, 3));
      e.Image2.Canvas().FillRect(RECT{0, 0, 6, 8});
    }
    auto* bar = b.Add<TProgressBar>(10, 10, 200, 20);
    SendMessageA(bar->Handle(), PBM_SETRANGE32, WPARAM(c.low), c.high);
    SendMessageA(bar->Handle(), PBM_SETPOS, WPARAM(c.pos), 0);
    b.Attach<TSkinProgress>(bar);
    const std::string fill = Frame(kProgress, c.chunkStyle ? 3 : 2);
    if (c.filled) {
      EXPECT_EQ(At(*bar, e.LeftWidth, 10), fill);
      EXPECT_EQ(At(*bar, e.LeftWidth + c.filled - 1, 10), fill);
    }
    EXPECT_EQ(At(*bar, e.LeftWidth + c.filled, 10), Frame(kProgress, 1));
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
  const POINT away = ScreenPoint(b.Form->Handle(), 150, 90);
  const struct {
    const char* what;
    HWND window;
    POINT at;  // where the mouse goes, in the window
    DWORD buttons;
    const char *first, *second;  // what the two parts show
  } steps[] = {
      {"over the upper part", vert, {10, 5}, 0, "UpDown.Vert#1", "UpDown.Vert#5"},
      {"pressed on it", vert, {10, 5}, MOUSEEVENTF_LEFTDOWN, "UpDown.Vert#2", "UpDown.Vert#5"},
      {"released", vert, {10, 5}, MOUSEEVENTF_LEFTUP, "UpDown.Vert#1", "UpDown.Vert#5"},
      {"pressed on the lower part", vert, {10, 35}, MOUSEEVENTF_LEFTDOWN, "UpDown.Vert#1", "UpDown.Vert#6"},
      {"released", vert, {10, 35}, MOUSEEVENTF_LEFTUP, "UpDown.Vert#1", "UpDown.Vert#5"},
      {"pressed on the right part", horz, {30, 10}, MOUSEEVENTF_LEFTDOWN, "UpDown.Horz#1", "UpDown.Horz#6"},
      {"released", horz, {30, 10}, MOUSEEVENTF_LEFTUP, "UpDown.Horz#1", "UpDown.Horz#5"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    MouseAt(ScreenPoint(s.window, s.at.x, s.at.y), s.buttons);
    const bool across = s.window == horz;
    EXPECT_EQ(PlainAt(s.window, 1, 1), s.first);
    EXPECT_EQ(PlainAt(s.window, across ? 38 : 1, across ? 1 : 38), s.second);
  }
  MouseAt(away);
  EnableWindow(vert, FALSE);
  Repaint(vert);
  EXPECT_EQ(PlainAt(vert, 1, 1), "UpDown.Vert#3");
  EXPECT_EQ(PlainAt(vert, 1, 38), "UpDown.Vert#7");

  b.Data.UpDownHorz.reset();
  MouseAt(ScreenPoint(horz, 30, 10), MOUSEEVENTF_LEFTDOWN);
  const std::string outline = Describe(GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(PlainAt(horz, 0, 0), outline);
  EXPECT_EQ(PlainAt(horz, 2, 2), "ButtonFace");
  EXPECT_EQ(PlainAt(horz, 22, 2), "ButtonShadow");
  MouseAt(away, MOUSEEVENTF_LEFTUP);
}

// An edit's border becomes a ButtonShadow frame with a white one inside, as
// on screen so in WM_PRINT; a borderless edit is left alone, but an up-down
// inside either is skinned within a 1-pixel margin.
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
    auto* skin = new TSkinEdit(edit);
    skin->AttachHandle(edit->Handle(), &b.Data, &b.Frame, &b.Frame.ControlCanvas);
    Repaint(b.Form->Handle());
    const bool framed = border == bsSingleBorder;
    EXPECT_EQ(At(*edit, 0, 0), framed ? "ButtonShadow" : "#ffff00");
    EXPECT_EQ(At(*edit, 1, 1), framed ? "#ffffff" : "#ffff00");
    EXPECT_EQ(PlainAt(spin, 0, 0), "ButtonFace");
    EXPECT_EQ(PlainAt(spin, 1, 1), "UpDown.Vert#1");
    EXPECT_EQ(b.Frame.FindSkinControl(spin), skin->UpDown);
    if (framed) {
      TBitmap printed(150, 24);
      printed.Canvas().Brush.Color = clRed;
      printed.Canvas().UseBrush();
      SendMessageA(edit->Handle(), WM_PRINT, WPARAM(printed.Canvas().Handle()), PRF_NONCLIENT | PRF_CLIENT);
      EXPECT_EQ(Describe(BitmapPixel(printed, 0, 0)), "ButtonShadow");
      EXPECT_EQ(Describe(BitmapPixel(printed, 1, 1)), "#ff0000");
    }
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
  const int w = combo->Width(), t = GetSystemMetrics(SM_CXHSCROLL);
  const auto setExStyle = [&](LONG_PTR ex) { SetWindowLongPtrA(combo->Handle(), GWL_EXSTYLE, ex); };
  const struct {
    const char* what;
    std::function<void()> act;
    int buttonX, glyphX, edgeX;  // where the button, its glyph and the sunk edge show
    const char *button, *glyph, *edge;
  } steps[] = {
      {"normal", [&] { other->SetFocus(); }, w - 1, w - 2 - t / 2, 0, "ComboButton#1", "ExtraImages#1", "SunkEdge#1"},
      {"hot", [&] { MouseAt(ScreenPoint(combo->Handle(), 20, 5)); }, w - 1, w - 2 - t / 2, 0, "ComboButton#4",
       "ExtraImages#4", "SunkEdge#4"},
      {"disabled", [&] { MouseAt(ScreenPoint(b.Form->Handle(), 290, 95)); combo->SetEnabled(false); }, w - 1,
       w - 2 - t / 2, 0, "ComboButton#3", "ExtraImages#3", "SunkEdge#3"},
      {"scroll bar on the left", [&] { combo->SetEnabled(true); setExStyle(WS_EX_LEFTSCROLLBAR); }, 0, 2 + t / 2,
       w - 1, "ComboButton#4", "ExtraImages#1", "SunkEdge#1"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    s.act();
    Repaint(combo->Handle());
    const int h = combo->Height();
    EXPECT_EQ(At(*combo, s.buttonX, 0), s.button);
    EXPECT_EQ(At(*combo, s.glyphX, h / 2), s.glyph);
    EXPECT_EQ(At(*combo, s.edgeX, h / 2), s.edge);
  }
  setExStyle(0);
  b.Data.ComboButton->Style = 1;  // the reader never sets it; only a skin built in code reaches this
  Repaint(combo->Handle());
  const int h = combo->Height();
  EXPECT_EQ(At(*combo, 0, 0), "ButtonShadow");
  EXPECT_EQ(At(*combo, 1, 1), "#ffffff");  // the window DC's brush
  EXPECT_EQ(At(*combo, w - 3, h / 2), "ComboButton#1");
  EXPECT_EQ(At(*combo, w - 3 - GetSystemMetrics(SM_CYVTHUMB), h / 2), "#ffffff");
}

// A page of the control center's kinds drawn with the shipped skin. With
// SKIN_PAGE_SHOT set, the form's screen area is saved there as a BMP.
TEST_F(SkinControls2, ShippedSkinDrawsAPageOfControls) {
  ControlBench& b = Bench(440, 230);
  b.Data.SkinStream.LoadFromFile(ShippedSkin());
  ASSERT_TRUE(b.Data.LoadFromStore());
  b.Form->SetColor(b.Data.Colours.ButtonFace);
  b.Form->Font.SetName("Tahoma");
  auto* lcd = b.Add<TCheckBox>(20, 20, 110, 17, "--LCD");
  auto* crt = b.Add<TCheckBox>(150, 20, 110, 17, "--CRT");
  auto* off = b.Add<TCheckBox>(280, 20, 140, 17, "Disabled");
  auto* radio = b.Add<TRadioButton>(20, 50, 110, 17, "Plan 1");
  auto* bright = b.Add<TTrackBar>(20, 80, 400, 33);
  auto* edit = b.Add<TEdit>(20, 125, 256, 23);
  auto* combo = b.Add<TComboBox>(290, 125, 130, 24);
  auto* progress = b.Add<TProgressBar>(20, 165, 256, 17);
  auto* spin = b.Add<TUpDown>(290, 160, 17, 25);
  lcd->SetChecked(true);
  off->SetChecked(true);
  off->SetEnabled(false);
  radio->SetChecked(true);
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
  (new TSkinEdit(edit))->AttachHandle(edit->Handle(), &b.Data, &b.Frame, &b.Frame.ControlCanvas);
  b.Attach<TSkinComBox>(combo);
  b.Attach<TSkinProgress>(progress);
  b.Attach<TSkinUpDown>(spin);
  Repaint(b.Form->Handle());

  const std::string accent = "#2b6cd6", shadow = Describe(ui::ColorToRGB(b.Data.Colours.ButtonShadow));
  EXPECT_EQ(At(*lcd, 5, 6), accent) << "a checked box";
  EXPECT_EQ(At(*crt, 5, 6), "#ffffff") << "an unchecked box";
  RECT t{};
  SendMessageA(bright->Handle(), TBM_GETTHUMBRECT, 0, LPARAM(&t));
  EXPECT_EQ(At(*bright, (t.left + t.right) / 2, (t.top + t.bottom) / 2), accent) << "the thumb";
  EXPECT_EQ(At(*edit, 0, 0), shadow);
  EXPECT_EQ(At(*progress, 50, 8), accent) << "the filled part";
  EXPECT_EQ(At(*progress, 200, 8), "#ffffff");
  if (const char* shot = std::getenv("SKIN_PAGE_SHOT")) SaveScreenArea(b.Form->Handle(), shot);
}
