// The skinned control base, the status bar, group box and panel, with real
// windows and common controls, read through the controls' DCs.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Buttons.h"
#include "ComCtrls.h"
#include "Streams.h"
#include "SkinControlTest.h"
#include "SkinTestBitmaps.h"
#include "WinSkinCtrls.h"

using namespace skintest;

namespace {

using SkinControls = SkinControlTest;

// What a plain test window's own procedure saw.
std::vector<UINT> g_own;
LRESULT CALLBACK OwnProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  g_own.push_back(msg);
  return DefWindowProcA(h, msg, w, l);
}
int Seen(UINT msg) { return int(std::count(g_own.begin(), g_own.end(), msg)); }

WNDPROC g_laterNext = nullptr;
LRESULT CALLBACK LaterProc(HWND h, UINT msg, WPARAM w, LPARAM l) { return CallWindowProcA(g_laterNext, h, msg, w, l); }

HWND PlainWindow(ControlBench& b) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = OwnProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SkinPlainTest";
  RegisterClassA(&wc);
  g_own.clear();
  return b.AddPlain("SkinPlainTest", "", 0, RECT{10, 10, 90, 40}, 1);
}

WNDPROC ProcOf(HWND h) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)); }

// Records what reaches AfterMessage.
class TSpyGroupBox : public TSkinGroupBox {
 public:
  using TSkinGroupBox::TSkinGroupBox;
  void AfterMessage(TMessage& m) override {
    after.push_back(m.Msg);
    TSkinGroupBox::AfterMessage(m);
  }
  std::vector<UINT> after;
};

// A painter that fails: drawn through its own paint cycle, or through the
// base's painting over the window's own.
template <bool OwnCycle>
class TFailingSkin : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& m) override {
    if (!OwnCycle || m.Msg != WM_PAINT) return TSkinControl::BeforeMessage(m);
    PaintSkinControl(m);
    return false;
  }
  void DrawSkin(HDC, const RECT&) override { throw Exception("painter failed"); }
};

}  // namespace

// The stub goes when the instance goes, while it is the window's procedure;
// behind a later subclass it stays as a pass-through.
TEST_F(SkinControls, PlainWindowGetsItsProcedureBack) {
  ControlBench& b = Bench();
  HWND h = PlainWindow(b);
  auto* skin = b.AttachPlain<TSkinControl>(h);
  EXPECT_NE(ProcOf(h), &OwnProc);
  EXPECT_EQ(b.Frame.FindSkinControl(h), skin);
  skin->AttachHandle(h, &b.Data, &b.Frame, &b.Frame.ControlCanvas);  // a second attach changes nothing
  g_own.clear();
  SendMessageA(h, WM_USER, 0, 0);
  EXPECT_EQ(Seen(WM_USER), 1);
  delete skin;
  EXPECT_EQ(ProcOf(h), &OwnProc);
  EXPECT_TRUE(b.Frame.Controls.empty());

  skin = b.AttachPlain<TSkinControl>(h);
  g_laterNext = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));
  delete skin;
  EXPECT_EQ(ProcOf(h), &LaterProc) << "the later subclass was cut off";
  g_own.clear();
  SendMessageA(h, WM_USER, 0, 0);
  SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_laterNext));  // it leaves in its turn
  SendMessageA(h, WM_USER, 0, 0);
  DestroyWindow(h);
  EXPECT_EQ(Seen(WM_USER), 2);
  EXPECT_EQ(Seen(WM_NCDESTROY), 1);
}

// A destroyed window: its own procedure sees WM_NCDESTROY once, the colour
// goes back, a window made again for the control paints as the control does,
// and the frame frees the dead instances.
TEST_F(SkinControls, DestroyedWindowsLetGo) {
  ControlBench& b = Bench();
  HWND h = PlainWindow(b);
  auto* plain = b.AttachPlain<TSkinControl>(h);
  DestroyWindow(h);
  EXPECT_EQ(Seen(WM_NCDESTROY), 1);
  EXPECT_EQ(plain->State, scDestroyed);

  auto* box = b.Add<TGroupBox>(10, 50, 150, 80, "Box");
  box->SetColor(clWhite);
  int ncDestroys = 0;
  TWndMethod own = box->WindowProc;
  box->WindowProc = [&ncDestroys, own](TMessage& m) {
    ncDestroys += m.Msg == WM_NCDESTROY;
    own(m);
  };
  auto* spy = b.Attach<TSpyGroupBox>(box, true);
  EXPECT_EQ(At(*box, 5, 40), "ButtonFace");
  EXPECT_EQ(At(*box, 1, 40), "ButtonShadow");
  box->RecreateWnd();
  Repaint(box->Handle());
  EXPECT_EQ(ncDestroys, 1);
  EXPECT_EQ(std::count(spy->after.begin(), spy->after.end(), UINT(WM_NCDESTROY)), 0);
  EXPECT_EQ(spy->State, scDestroyed);
  EXPECT_EQ(box->Color(), clWhite);
  EXPECT_EQ(At(*box, 5, 40), "#ffffff");
  EXPECT_NE(At(*box, 1, 40), "ButtonShadow") << "the new window was skinned";

  auto* button = b.Add<TButton>(200, 50, 80, 26, "Again");
  b.Attach<TSkinButton>(button);
  EXPECT_EQ(At(*button, 2, 2), Frame(kButtons, 1));
  button->RecreateWnd();
  Repaint(button->Handle());
  EXPECT_FALSE(GetUpdateRect(button->Handle(), nullptr, FALSE)) << "the new window is never painted";
  EXPECT_NE(At(*button, 2, 2), Frame(kButtons, 1));
  EXPECT_NE(At(*button, 2, 2), "ButtonFace");

  EXPECT_EQ(b.Frame.Controls.size(), 3u);
  b.Frame.PurgeControls();
  EXPECT_TRUE(b.Frame.Controls.empty());
  EXPECT_EQ(box->ComponentCount(), 0);
  EXPECT_EQ(button->ComponentCount(), 0);
  box->RecreateWnd();  // through the control's own procedure again
  EXPECT_EQ(ncDestroys, 2);
}

// Lent colours: ButtonFace while attached (following a new skin), the
// control's own after RestoreColor; freeing alone keeps the lent one.
TEST_F(SkinControls, PanelsBorrowTheSkinColourUntilRestoreColor) {
  ControlBench& b = Bench();
  const COLORREF newFace = RGB(0xC0, 0xE0, 0xB0);
  for (bool useSkinColour : {false, true}) {
    SCOPED_TRACE(useSkinColour);
    auto* panel = b.Add<TPanel>(10, 10, 80, 40);
    panel->BevelOuter = TCustomPanel::bvNone;
    panel->SetColor(clWhite);
    auto* skin = b.Attach<TSkinBox>(panel, useSkinColour);
    EXPECT_FALSE(skin->Attached);
    EXPECT_EQ(skin->State, scCreated);
    EXPECT_EQ(At(*panel, 40, 20), useSkinColour ? "ButtonFace" : "#ffffff");
    b.Data.Colours.ButtonFace = TColor(newFace);
    skin->UpdateSkin();
    Repaint(panel->Handle());
    EXPECT_EQ(At(*panel, 40, 20), useSkinColour ? Describe(newFace) : "#ffffff");
    skin->RestoreColor();
    Repaint(panel->Handle());
    EXPECT_EQ(At(*panel, 40, 20), "#ffffff");
    EXPECT_EQ(skin->State, scColourRestored);
    UseTestColours(b.Data);
    delete panel;
  }

  auto* freed = b.Add<TPanel>(10, 10, 80, 40);
  auto* released = b.Add<TPanel>(100, 10, 80, 40);
  for (TPanel* p : {freed, released}) p->SetColor(clWhite);
  delete b.Attach<TSkinBox>(freed, true);
  b.Attach<TSkinBox>(released, true);
  b.Frame.FreeSkinControls();
  EXPECT_EQ(freed->Color(), TColor(kButtonFace));
  EXPECT_EQ(released->Color(), clWhite);
  EXPECT_TRUE(b.Frame.Controls.empty());
}

// A failing painter neither reaches the application nor leaves the window
// invalid or a DC taken.
TEST_F(SkinControls, PaintersFailQuietly) {
  ControlBench& b = Bench();
  for (bool ownCycle : {true, false}) {
    SCOPED_TRACE(ownCycle);
    HWND h = PlainWindow(b);
    if (ownCycle) b.AttachPlain<TFailingSkin<true>>(h);
    else b.AttachPlain<TFailingSkin<false>>(h);
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
    EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE));
    EXPECT_EQ(ui::LiveHandles(ui::HandleKind::Paint), 0);
    EXPECT_EQ(ui::LiveHandles(ui::HandleKind::WindowDc), 0);
    DestroyWindow(h);
  }
}

namespace {
struct StatusCase {
  const char* what;
  bool edges;             // the skin has StatusBarEdges
  bool grip;
  std::vector<TStatusPanel> panels;
  std::vector<int> parts;  // right edges given to the control, after the library's
  struct Probe {
    int x, y;  // negative x counts from the right edge
    const char* seen;
  };
  std::vector<Probe> probes;
};
}  // namespace

TEST_F(SkinControls, StatusBarPanels) {
  ControlBench& b = Bench(300, 100);
  const std::string lowered = Frame(kStatusBarEdges, 1), raised = Frame(kStatusBarEdges, 2);
  const std::string shadow = Describe(GetSysColor(COLOR_BTNSHADOW)), light = Describe(GetSysColor(COLOR_BTNHIGHLIGHT));
  const StatusCase cases[] = {
      {"simple text without panels", true, false, {}, {}, {{1, 1, lowered.c_str()}, {-2, 18, lowered.c_str()}}},
      {"the last panel reaches the right edge, the grip over it",
       true,
       true,
       {{"A", 60, taLeftJustify, TStatusPanel::pbLowered}, {"B", 50, taLeftJustify, TStatusPanel::pbRaised}},
       {60, 110},
       {{30, 10, lowered.c_str()}, {200, 10, raised.c_str()}, {-6, 14, "ExtraImages#5"}, {-1, 10, raised.c_str()}}},
      {"system edges without StatusBarEdges",
       false,
       false,
       {{"", 60, taLeftJustify, TStatusPanel::pbLowered}, {"", 50, taLeftJustify, TStatusPanel::pbNone}},
       {},
       {{-1, 10, "ButtonFace"}}},
  };
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(c.what);
    BuildTestSkin(b.Data);
    UseTestColours(b.Data);
    if (!c.edges) b.Data.StatusBarEdges.reset();
    auto* bar = b.Add<TStatusBar>(0, 0, 300, 20);
    bar->SetAlign(alNone);
    bar->SetBounds(0, 0, 300, 20);
    bar->SetSizeGrip(c.grip);
    bar->SimpleText = "Ready";
    bar->Panels = c.panels;
    bar->UpdatePanels();
    if (!c.parts.empty()) SendMessageA(bar->Handle(), SB_SETPARTS, c.parts.size(), LPARAM(c.parts.data()));
    b.Attach<TSkinStatusBar>(bar);
    for (const auto& p : c.probes) {
      const int x = p.x < 0 ? bar->Width() + p.x : p.x;
      EXPECT_EQ(At(*bar, x, p.y), p.seen) << x << "," << p.y;
    }
    if (!c.edges) {
      // The panel rectangles the control reports, with one-pixel edges: lowered, then none.
      RECT r;
      SendMessageA(bar->Handle(), SB_GETRECT, 0, LPARAM(&r));
      EXPECT_EQ(At(*bar, r.left, r.top), shadow);
      EXPECT_EQ(At(*bar, r.right - 1, r.bottom - 1), light);
      SendMessageA(bar->Handle(), SB_GETRECT, 1, LPARAM(&r));
      EXPECT_EQ(At(*bar, r.left, r.top), "ButtonFace");
    } else if (c.panels.empty()) {
      // The simple text, left-aligned: its first column just inside the panel.
      TBitmap seen;
      Snapshot(*bar, seen);
      const int first = FirstColumnWith(seen, 0);  // NormalColour2 of the test skin: black
      EXPECT_GE(first, 2);
      EXPECT_LE(first, 5);
    }
    delete bar;
  }
}

// Detached, the bar paints itself again; a right-to-left panel set to the
// left draws its text at the right.
TEST_F(SkinControls, StatusBarDetachesAndMirrorsRightToLeftText) {
  ControlBench& b = Bench(300, 100);
  auto* bar = b.Add<TStatusBar>(0, 0, 300, 20);
  bar->SetAlign(alNone);
  bar->SetSizeGrip(false);
  bar->Panels = {{"Left", 300, taLeftJustify, TStatusPanel::pbLowered, true}};
  bar->UpdatePanels();
  auto* skin = b.Attach<TSkinStatusBar>(bar);
  TBitmap seen;
  Snapshot(*bar, seen);
  EXPECT_GT(FirstColumnWith(seen, 0), 250);
  delete skin;
  Repaint(bar->Handle());
  EXPECT_NE(At(*bar, 100, 10), Frame(kStatusBarEdges, 1));
}

// The rounded frame lies half the height of "0", less one pixel, below the
// top, over two pixels of background; the caption starts 9 pixels in. A
// radio group's box is the same.
TEST_F(SkinControls, GroupBoxFrameAndCaption) {
  ControlBench& b = Bench(360, 150);
  auto* group = b.Add<TGroupBox>(10, 10, 150, 100, "Group");
  auto* radios = b.Add<TRadioGroup>(180, 10, 150, 100, "Radios");
  radios->Items.Assign({"One", "Two"});
  for (TCustomGroupBox* box : {static_cast<TCustomGroupBox*>(group), static_cast<TCustomGroupBox*>(radios)}) {
    SCOPED_TRACE(box->Caption());
    b.Attach<TSkinGroupBox>(box, true);
    ui::WindowDC dc(box->Handle());
    ui::SelectedObject font(dc.get(), box->Font.Handle());
    SIZE zero;
    GetTextExtentPoint32A(dc.get(), "0", 1, &zero);
    const int y = zero.cy / 2 - 1, w = box->Width(), h = box->Height();
    EXPECT_EQ(At(*box, 8, y), "ButtonShadow");
    EXPECT_NE(At(*box, 9, y), "ButtonShadow") << "the caption starts at 9";
    EXPECT_EQ(At(*box, w - 10, y), "ButtonShadow");
    EXPECT_EQ(At(*box, 0, y + 20), "ButtonFace");
    EXPECT_EQ(At(*box, 1, y + 20), "ButtonShadow");
    EXPECT_EQ(At(*box, w - 2, y + 20), "ButtonShadow");
    EXPECT_EQ(At(*box, w - 1, y + 20), "ButtonFace");
    EXPECT_EQ(At(*box, w / 2, h - 2), "ButtonShadow");
    TBitmap seen;
    Snapshot(*box, seen);
    const int first = FirstColumnWith(seen, 0, 0, zero.cy);
    EXPECT_GE(first, 9);
    EXPECT_LE(first, 11);
  }
}

// The shared caption painters place text as they say.
TEST(SkinControlDrawing, CaptionsArePlacedInTheirRectangle) {
  TBitmap b(120, 40);
  TCanvas& c = b.Canvas();
  c.Font.SetColor(clBlack);
  const RECT r{20, 0, 100, 40};
  const struct {
    const char* what;
    std::function<void()> draw;
    int firstColumn;  // where the text starts, within a pixel or two
  } cases[] = {
      {"a left caption", [&] { DrawSkinCaption(c, r, DT_LEFT, true, "i"); }, 20},
      {"centred text whatever the alignment", [&] { DrawSkinText(c, r, "i", taLeftJustify, true); }, 58},
      {"an image caption without an icon", [&] { DrawImageCaption(c, r, 0, "i", -1, nullptr, true); }, 23},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    c.Brush.Color = clWhite;
    c.Brush.BrushStyle = TBrush::bsSolid;
    c.FillRect(RECT{0, 0, 120, 40});
    k.draw();
    const int first = FirstColumnWith(b, 0);
    EXPECT_GE(first, k.firstColumn);
    EXPECT_LE(first, k.firstColumn + 2);
  }
}

namespace {
// A two-frame glyph: a diamond on magenta, blue then grey.
void DiamondGlyph(TBitmap& glyph) {
  glyph.SetSize(32, 16, pf24bit);
  TCanvas& c = glyph.Canvas();
  c.Brush.Color = clFuchsia;
  c.FillRect(RECT{0, 0, 32, 16});
  for (int frame = 0; frame < 2; ++frame) {
    c.Brush.Color = frame ? clGray : TColor(RGB(43, 108, 214));
    c.Pen.Color = c.Brush.Color;
    const int x = frame * 16;
    POINT diamond[] = {{x + 8, 2}, {x + 14, 8}, {x + 8, 14}, {x + 2, 8}};
    c.UseBrush();
    c.UsePen();
    Polygon(c.Handle(), diamond, 4);
  }
}
}  // namespace

// A form of the control kinds attached directly with the shipped skin. With
// SKIN_CONTROLS_SHOT set, the form's screen area is saved there as a BMP.
TEST_F(SkinControls, ShippedSkinDrawsAFormOfControls) {
  ControlBench& b = Bench(420, 250);
  b.Data.SkinStream.LoadFromFile(ShippedSkin());
  ASSERT_TRUE(b.Data.LoadFromStore());
  b.Form->SetColor(b.Data.Colours.ButtonFace);
  b.Form->Font.SetName("Tahoma");
  auto* push = b.Add<TButton>(10, 10, 90, 26, "OK");
  auto* glyph = b.Add<TBitBtn>(110, 10, 90, 26, "Apply");
  auto* speed = b.Add<TSpeedButton>(210, 10, 90, 26, "Speed");
  auto* down = b.Add<TSpeedButton>(310, 10, 90, 26, "Down");
  for (TGlyphLayout* g : {&glyph->Glyph, &speed->Glyph}) {
    DiamondGlyph(g->Glyph);
    g->NumGlyphs = 2;
  }
  down->SetDown(true);
  auto* group = b.Add<TGroupBox>(10, 50, 190, 90, "Group box");
  auto* radios = b.Add<TRadioGroup>(210, 50, 190, 90, "Radio group");
  radios->Items.Assign({"Low", "High"});
  radios->SetItemIndex(0);
  auto* panel = b.Add<TPanel>(10, 150, 390, 50, "Panel");
  auto* bar = b.Add<TStatusBar>(0, 230, 420, 20);
  bar->Panels = {{"Ready", 180, taCenter}, {"V1.3.0.9", 140, taCenter}};
  bar->UpdatePanels();

  b.Attach<TSkinButton>(push);
  b.Attach<TSkinBitButton>(glyph);
  b.Attach<TSkinSpeedButton>(speed);
  b.Attach<TSkinSpeedButton>(down);
  b.Attach<TSkinGroupBox>(group, true);
  b.Attach<TSkinGroupBox>(radios, true);
  b.Attach<TSkinBox>(panel, true);
  b.Attach<TSkinStatusBar>(bar);
  b.Form->SetFocus();
  Repaint(b.Form->Handle());

  const std::string face = Describe(ui::ColorToRGB(b.Data.Colours.ButtonFace));
  const std::string shadow = Describe(ui::ColorToRGB(b.Data.Colours.ButtonShadow));
  EXPECT_EQ(At(*push, 0, 0), face) << "the keyed corner";
  EXPECT_EQ(At(*push, 45, 0), "#c4c9d1");
  EXPECT_EQ(At(*push, 4, 13), "#ffffff");
  EXPECT_EQ(At(*down, 4, 13), "#dee9fb") << "frame 2 of a speed button down";
  EXPECT_EQ(At(*group, 1, 30), shadow);
  EXPECT_EQ(At(*radios, 1, 30), shadow);
  EXPECT_EQ(At(*panel, 5, 5), face);
  RECT first;
  SendMessageA(bar->Handle(), SB_GETRECT, 0, LPARAM(&first));
  EXPECT_EQ(At(*bar, first.left + 10, first.top), "#c4c9d1") << "a lowered panel's top edge";
  EXPECT_EQ(At(*bar, first.left + 10, first.top + 4), face);
  if (const char* shot = std::getenv("SKIN_CONTROLS_SHOT")) SaveScreenArea(b.Form->Handle(), shot);
}
