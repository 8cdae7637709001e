// Skinned push, glyph and speed buttons: their frames, glyphs and clicks,
// driven with real input and read through the controls' DCs.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Buttons.h"
#include "SkinControlTest.h"
#include "SkinManage.h"
#include "WaitPumping.h"

using namespace skintest;

namespace {

using SkinButtons = SkinControlTest;

// Glyph frames: solid colours over a bottom row of the key colour.
constexpr COLORREF kGlyph[] = {RGB(210, 30, 30), RGB(30, 150, 30), RGB(30, 30, 240), RGB(200, 200, 0)};
constexpr COLORREF kGlyphKey = RGB(0, 128, 128);
constexpr int kGlyphSize = 16;

COLORREF Grey(COLORREF c) {
  const int v = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
  return RGB(v, v, v);
}

void MakeGlyph(TBitmap& glyph, int frames) {
  glyph.SetSize(kGlyphSize * frames, frames ? kGlyphSize : 0, pf24bit);
  for (int k = 0; k < frames; ++k) {
    TCanvas& c = glyph.Canvas();
    c.Brush.Color = TColor(kGlyph[k]);
    c.FillRect(RECT{k * kGlyphSize, 0, (k + 1) * kGlyphSize, kGlyphSize - 1});
    c.Brush.Color = TColor(kGlyphKey);
    c.FillRect(RECT{k * kGlyphSize, kGlyphSize - 1, (k + 1) * kGlyphSize, kGlyphSize});
  }
}

POINT Inside(TControl& c) {
  auto* w = dynamic_cast<TWinControl*>(&c);
  return w ? ScreenPoint(w->Handle(), c.Width() / 2, c.Height() / 2)
           : ScreenPoint(c.Parent()->Handle(), c.Left() + c.Width() / 2, c.Top() + c.Height() / 2);
}
POINT Inside(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
POINT Away(ControlBench& b) { return ScreenPoint(b.Form->Handle(), b.Form->Width() - 5, b.Form->Height() - 5); }

std::string PlainAt(HWND h, int x, int y) { return Describe(WindowPixel(h, x, y)); }

// What reaches a plain button's own procedure.
WNDPROC g_buttonProc = nullptr;
int g_ownPresses = 0;
LRESULT CALLBACK CountingButtonProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  g_ownPresses += msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK;
  return CallWindowProcA(g_buttonProc, h, msg, w, l);
}

}  // namespace

// Each state's frame and caption colour, on a push button and a glyph button,
// driven by real input.
TEST_F(SkinButtons, PushButtonsShowTheirState) {
  ControlBench& b = Bench(300, 100);
  auto* other = b.Add<TButton>(150, 10, 80, 26, "Other");
  TButton* buttons[] = {b.Add<TButton>(10, 10, 80, 26, "Push"), b.Add<TBitBtn>(10, 50, 80, 26, "Glyph")};
  b.Attach<TSkinButton>(buttons[0]);
  b.Attach<TSkinBitButton>(buttons[1]);
  const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
  for (TButton* button : buttons) {
    const struct {
      const char* what;
      std::function<void()> act;
      int frame;
      COLORREF text;
    } steps[] = {
        {"normal", [&] { other->SetFocus(); }, 1, kNormalText},
        {"hot", [&] { MouseAt(Inside(*button)); }, 4, kHotText},
        {"pressed", [&] { MouseAt(Inside(*button), MOUSEEVENTF_LEFTDOWN); }, 2, kPressedText},
        {"left and released",
         [&] {
           MouseAt(Away(b), MOUSEEVENTF_LEFTUP);
           other->SetFocus();
         },
         1, kNormalText},
        {"focused", [&] { button->SetFocus(); }, 4, kHotText},
        {"disabled", [&] { button->SetEnabled(false); }, 3, grey},
    };
    for (const auto& s : steps) {
      SCOPED_TRACE(testing::Message() << button->Caption() << ", " << s.what);
      s.act();
      Pump();
      EXPECT_EQ(At(*button, 2, 2), Frame(kButtons, s.frame));
      EXPECT_EQ(At(*button, 77, 23), Frame(kButtons, s.frame));
      TBitmap seen;
      Snapshot(*button, seen);
      for (COLORREF text : {kNormalText, kHotText, kPressedText, grey})
        EXPECT_EQ(CountColour(seen, text) > 0, text == s.text) << "caption in " << Describe(text);
    }
  }
}

// SetWindowText(h, NULL) is legal: the caption goes.
TEST_F(SkinButtons, ANullTextClearsTheCaption) {
  ControlBench& b = Bench();
  HWND h = b.AddPlain("button", "Caption", BS_PUSHBUTTON, RECT{10, 10, 90, 36}, 7);
  auto* skin = b.AttachPlain<TSkinButton>(h);
  TBitmap seen;
  auto captionPixels = [&] {
    BitBlt(seen.Canvas().Handle(), 0, 0, 80, 26, ui::WindowDC(h, true).get(), 0, 0, SRCCOPY);
    return CountColour(seen, kNormalText);
  };
  seen.SetSize(80, 26, pf24bit);
  EXPECT_GT(captionPixels(), 0);
  SetWindowTextA(h, nullptr);
  Pump();
  EXPECT_EQ(skin->Text, "");
  EXPECT_EQ(captionPixels(), 0);
}

// Pressed and released inside: one click, and the button's own procedure
// never sees the press. Pressed, left and released: nothing.
TEST_F(SkinButtons, ClicksComeFromTheSkin) {
  ControlBench& b = Bench(300, 100);
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  b.Form->OnMessage(WM_COMMAND, [&commands](TMessage& m) { commands.emplace_back(m.WParam, m.LParam); });
  HWND plain = b.AddPlain("button", "Plain", BS_PUSHBUTTON, RECT{10, 10, 90, 36}, 7);
  HWND neighbour = b.AddPlain("button", "Next", BS_PUSHBUTTON, RECT{90, 10, 170, 36}, 8);
  g_ownPresses = 0;
  g_buttonProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(plain, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingButtonProc)));
  b.AttachPlain<TSkinButton>(plain);
  b.AttachPlain<TSkinButton>(neighbour);
  auto* button = b.Add<TButton>(10, 50, 80, 26, "Library");
  int clicks = 0, libraryPresses = 0;
  button->OnClick = [&clicks](TObject*) { ++clicks; };
  TWndMethod own = button->WindowProc;
  button->WindowProc = [&libraryPresses, own](TMessage& m) {
    libraryPresses += m.Msg == WM_LBUTTONDOWN;
    own(m);
  };
  b.Attach<TSkinButton>(button);

  // A plain button leaves when the mouse moves onto another skinned button.
  const std::pair<POINT, POINT> buttons[] = {{Inside(plain), Inside(neighbour)}, {Inside(*button), Away(b)}};
  for (const auto& [in, out] : buttons) {
    MouseAt(in, MOUSEEVENTF_LEFTDOWN);
    MouseAt(in, MOUSEEVENTF_LEFTUP);
    MouseAt(in, MOUSEEVENTF_LEFTDOWN);
    MouseAt(out);
    MouseAt(in, MOUSEEVENTF_LEFTUP);
  }
  const std::vector<std::pair<WPARAM, LPARAM>> one{{MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(plain)}};
  EXPECT_EQ(commands, one);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(g_ownPresses, 0);
  EXPECT_EQ(libraryPresses, 0);
}

// Of two adjacent buttons only the one under the cursor is hot; a plain
// window's hot button leaves on the hover tick once the cursor is outside
// it, and when the frame is deactivated.
TEST_F(SkinButtons, OnlyTheButtonUnderTheCursorIsHot) {
  ControlBench& b = Bench(300, 100);
  const std::string normal = Frame(kButtons, 1), hot = Frame(kButtons, 4);
  auto* libraryA = b.Add<TButton>(10, 50, 80, 26, "A");
  auto* libraryB = b.Add<TButton>(90, 50, 80, 26, "B");
  TSkinButton* skinLA = b.Attach<TSkinButton>(libraryA);
  TSkinButton* skinLB = b.Attach<TSkinButton>(libraryB);
  b.Form->SetFocus();

  MouseAt(Inside(*libraryA));
  EXPECT_EQ(At(*libraryA, 2, 2), hot);
  EXPECT_EQ(At(*libraryB, 2, 2), normal);
  EXPECT_EQ(b.Frame.HotButton, skinLA);
  MouseAt(Inside(*libraryB));
  EXPECT_EQ(At(*libraryA, 2, 2), normal);
  EXPECT_EQ(At(*libraryB, 2, 2), hot);
  EXPECT_EQ(b.Frame.HotButton, skinLB);
  // Disabled while hot, then enabled with the mouse elsewhere: not hot.
  libraryB->SetEnabled(false);
  MouseAt(Away(b));
  libraryB->SetEnabled(true);
  Pump();
  EXPECT_EQ(At(*libraryB, 2, 2), normal);
  EXPECT_NE(b.Frame.HotButton, skinLB);

  // Buttons of a plain window taken over: nothing tells them the mouse left,
  // the frame's hover tick does, and so does the window's deactivation.
  SkinManage = new TSkinManage();
  SkinManage->AddSkinData(&b.Data);
  SkinManage->Active = true;
  HWND window = CreateWindowExA(0, "STATIC", "plain", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 200, 300, 100, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_TRUE(SkinManage->AddWindow(window));
  Pump();
  TWinSkinForm& frame = *SkinManage->FindSkinForm(window);
  HWND plain[2];
  TSkinButton* skinned[2];
  for (int i = 0; i < 2; ++i) {
    plain[i] = CreateWindowExA(0, "button", "P", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10 + 80 * i, 10, 80, 26, window,
                               nullptr, nullptr, nullptr);
    skinned[i] = new TSkinButton(&frame);
    skinned[i]->AttachHandle(plain[i], &b.Data, &frame, &frame.ControlCanvas);
  }
  Repaint(window);
  MouseAt(Inside(plain[0]));
  EXPECT_EQ(PlainAt(plain[0], 2, 2), hot);
  EXPECT_EQ(frame.HotButton, skinned[0]);
  MouseAt(Inside(plain[1]));
  EXPECT_EQ(PlainAt(plain[0], 2, 2), normal);
  EXPECT_EQ(PlainAt(plain[1], 2, 2), hot);
  MouseAt(ScreenPoint(window, 250, 80));
  ui::WaitPumping(300);
  EXPECT_EQ(PlainAt(plain[1], 2, 2), normal);
  EXPECT_EQ(frame.HotButton, nullptr);

  MouseAt(Inside(plain[0]));
  ASSERT_EQ(frame.HotButton, skinned[0]);
  SetForegroundWindow(b.Form->Handle());
  Pump();
  EXPECT_EQ(PlainAt(plain[0], 2, 2), normal);
  EXPECT_EQ(frame.HotButton, nullptr);
  DestroyWindow(window);
  SkinManage->PurgeForms();
  FreeSkinManage();
}

// A freed hot button is never sent the next mouse-leave.
TEST_F(SkinButtons, AFreedHotButtonIsForgotten) {
  ControlBench& b = Bench(300, 100);
  auto* button = b.Add<TButton>(10, 50, 80, 26, "Going");
  b.Attach<TSkinButton>(button);
  HWND plain = b.AddPlain("button", "Going", BS_PUSHBUTTON, RECT{10, 10, 90, 36}, 1);
  b.AttachPlain<TSkinButton>(plain);

  MouseAt(Inside(*button));
  ASSERT_NE(b.Frame.HotButton, nullptr);
  delete button;
  EXPECT_EQ(b.Frame.HotButton, nullptr);

  MouseAt(Inside(plain));
  ASSERT_NE(b.Frame.HotButton, nullptr);
  DestroyWindow(plain);
  b.Frame.PurgeControls();
  EXPECT_EQ(b.Frame.HotButton, nullptr);
  MouseAt(Away(b));
  b.Frame.HoverHotButton();
  EXPECT_TRUE(b.Frame.Controls.empty());
}

// Without the skin's Buttons image each kind of button is the platform's:
// it looks as its unskinned twin does, and a push button clicks once.
TEST_F(SkinButtons, WithoutTheImageButtonsPaintThemselves) {
  ControlBench& b = Bench(300, 130);
  b.Data.Buttons->Image.SetSize(0, 0, pf24bit);
  const std::pair<TControl*, TControl*> twins[] = {
      {b.Add<TButton>(10, 10, 80, 26, "Push"), b.Add<TButton>(150, 10, 80, 26, "Push")},
      {b.Add<TBitBtn>(10, 50, 80, 26, "Glyph"), b.Add<TBitBtn>(150, 50, 80, 26, "Glyph")},
      {b.Add<TSpeedButton>(10, 90, 80, 26, "Speed"), b.Add<TSpeedButton>(150, 90, 80, 26, "Speed")}};
  b.Attach<TSkinButton>(twins[0].first);
  b.Attach<TSkinBitButton>(twins[1].first);
  b.Attach<TSkinSpeedButton>(twins[2].first);
  b.Form->SetFocus();
  MouseAt(Away(b));
  // What covered the form goes: every button paints its area again.
  HDC dc = GetDCEx(b.Form->Handle(), nullptr, DCX_CACHE);
  ui::GdiObject magenta(CreateSolidBrush(kMagenta));
  const RECT all{0, 0, b.Form->Width(), b.Form->Height()};
  FillRect(dc, &all, static_cast<HBRUSH>(magenta.get()));
  ReleaseDC(b.Form->Handle(), dc);
  Repaint(b.Form->Handle());
  for (const auto& [skinned, twin] : twins) {
    SCOPED_TRACE(skinned->ClassName());
    TBitmap seen, expected;
    Snapshot(*skinned, seen);
    Snapshot(*twin, expected);
    ASSERT_GT(CountColour(expected, GetSysColor(COLOR_BTNFACE)), 0);
    int differing = 0;
    for (int y = 0; y < seen.Height(); ++y)
      for (int x = 0; x < seen.Width(); ++x) differing += BitmapPixel(seen, x, y) != BitmapPixel(expected, x, y);
    EXPECT_EQ(differing, 0);
  }
  int clicks = 0;
  twins[0].first->OnClick = [&clicks](TObject*) { ++clicks; };
  MouseAt(Inside(*twins[0].first), MOUSEEVENTF_LEFTDOWN);
  MouseAt(Inside(*twins[0].first), MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(clicks, 1);
}

// The glyph frame of each state for 1, 2 and 4 glyphs: only a 4-glyph strip
// shows its pressed and disabled frames; the others grey the first. A count
// of 0 is one glyph; without a glyph the button shows its frame alone.
TEST_F(SkinButtons, GlyphFramesFollowTheState) {
  ControlBench& b = Bench(300, 100);
  auto* other = b.Add<TButton>(200, 10, 80, 26, "Other");
  const struct {
    int frames, numGlyphs;
    std::string normal, pressed, disabled;
  } cases[] = {
      {4, 4, Describe(kGlyph[0]), Describe(kGlyph[2]), Describe(Grey(kGlyph[1]))},
      {2, 2, Describe(kGlyph[0]), Describe(kGlyph[0]), Describe(Grey(kGlyph[0]))},
      {1, 1, Describe(kGlyph[0]), Describe(kGlyph[0]), Describe(Grey(kGlyph[0]))},
      {1, 0, Describe(kGlyph[0]), Describe(kGlyph[0]), Describe(Grey(kGlyph[0]))},
      {0, 1, Frame(kButtons, 1), Frame(kButtons, 2), Frame(kButtons, 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.frames << " frames, NumGlyphs " << c.numGlyphs);
    auto* button = b.Add<TBitBtn>(10, 10, 60, 30);
    MakeGlyph(button->Glyph.Glyph, c.frames);
    button->Glyph.NumGlyphs = c.numGlyphs;
    b.Attach<TSkinBitButton>(button);
    other->SetFocus();
    Pump();
    EXPECT_EQ(At(*button, 30, 15), c.normal);
    MouseAt(Inside(*button), MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(At(*button, 30, 15), c.pressed);
    MouseAt(Away(b), MOUSEEVENTF_LEFTUP);
    button->SetEnabled(false);
    Pump();
    EXPECT_EQ(At(*button, 30, 15), c.disabled);
    delete button;
  }
}

// A speed button down shows frame 2 even when disabled; attached twice, it is
// attached once; without a glyph its caption keeps its own font colour when
// hot; with Margin -1 and a given Spacing its glyph sits one pixel further in
// than a glyph button's.
TEST_F(SkinButtons, SpeedButtons) {
  ControlBench& b = Bench(300, 120);
  auto* down = b.Add<TSpeedButton>(10, 10, 60, 26, "Down");
  down->SetDown(true);
  down->SetEnabled(false);
  b.Attach<TSkinSpeedButton>(down);
  EXPECT_EQ(At(*down, 2, 2), Frame(kButtons, 2));

  auto* plain = b.Add<TSpeedButton>(80, 10, 60, 26, "Text");
  plain->Font.SetColor(clRed);
  auto* skin = b.Attach<TSkinSpeedButton>(plain);
  skin->AttachGraphic(&b.Frame, &b.Data, &b.Frame.ControlCanvas);  // a second attach changes nothing
  for (int frame : {1, 4}) {
    if (frame == 4) MouseAt(Inside(*plain));
    EXPECT_EQ(At(*plain, 2, 2), Frame(kButtons, frame));
    TBitmap seen;
    Snapshot(*plain, seen);
    EXPECT_GT(CountColour(seen, RGB(255, 0, 0)), 0) << "frame " << frame;
  }

  auto* speed = b.Add<TSpeedButton>(10, 50, 100, 30, "Go");
  auto* glyph = b.Add<TBitBtn>(150, 50, 100, 30, "Go");
  for (TGlyphLayout* g : {&speed->Glyph, &glyph->Glyph}) {
    MakeGlyph(g->Glyph, 1);
    g->Spacing = 4;
  }
  b.Attach<TSkinSpeedButton>(speed);
  b.Attach<TSkinBitButton>(glyph);
  MouseAt(Away(b));
  TBitmap seenSpeed, seenGlyph;
  Snapshot(*speed, seenSpeed);
  Snapshot(*glyph, seenGlyph);
  const int glyphColumn = FirstColumnWith(seenGlyph, kGlyph[0]);
  EXPECT_GT(glyphColumn, 0);
  EXPECT_EQ(FirstColumnWith(seenSpeed, kGlyph[0]), glyphColumn + 1);
}

TEST(GlyphLayout, PlacesGlyphAndCaption) {
  const SIZE wide{100, 30}, square{60, 60}, g{16, 16}, t{30, 13};
  const struct {
    const char* what;
    SIZE c, text;
    TButtonLayout layout;
    int margin, spacing;
    bool speed;
    POINT glyph, textAt;
    UINT flag;
  } cases[] = {
      {"left, spacing given", wide, t, blGlyphLeft, -1, 4, false, {25, 7}, {45, 9}, DT_LEFT},
      {"the speed button one further in", wide, t, blGlyphLeft, -1, 4, true, {26, 7}, {46, 9}, DT_LEFT},
      {"both automatic", wide, t, blGlyphLeft, -1, -1, false, {18, 7}, {52, 9}, DT_LEFT},
      {"margin given", wide, t, blGlyphLeft, 5, -1, false, {5, 7}, {45, 9}, DT_LEFT},
      {"right", wide, t, blGlyphRight, -1, 4, false, {59, 7}, {25, 9}, DT_RIGHT},
      {"top", square, t, blGlyphTop, -1, 4, false, {22, 13}, {15, 33}, DT_CENTER},
      {"bottom", square, t, blGlyphBottom, -1, 4, false, {22, 31}, {15, 14}, DT_CENTER},
      {"no caption: no spacing", wide, {0, 0}, blGlyphLeft, -1, 4, false, {42, 7}, {58, 15}, DT_LEFT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TGlyphPlacement p = PlaceGlyph(c.c, g, c.text, c.layout, c.margin, c.spacing, c.speed);
    EXPECT_EQ(p.Glyph.x, c.glyph.x);
    EXPECT_EQ(p.Glyph.y, c.glyph.y);
    EXPECT_EQ(p.Text.left, c.textAt.x);
    EXPECT_EQ(p.Text.top, c.textAt.y);
    EXPECT_EQ(p.Text.right - p.Text.left, c.text.cx);
    EXPECT_EQ(p.TextFlag, c.flag);
  }
}
