#include <cstring>

#include "ComCtrls.h"
#include "TestSupport.h"
#include "UiTest.h"

namespace {

using Windows = UiTest;

POINT Center(TControl* c) { return POINT{c->Left() + c->Width() / 2, c->Top() + c->Height() / 2}; }

TEST_F(Windows, LaterSiblingsLieAboveEarlierOnesAndTakeTheClick) {
  auto* form = new TPlainForm(app.get());
  form->SetBounds(100, 100, 300, 200);
  auto* edit = new TEdit(form);  // the earlier one, partly covered
  edit->SetBounds(10, 10, 150, 23);
  edit->SetParent(form);
  auto* group = new TRadioGroup(form);
  group->SetBounds(100, 5, 150, 120);
  group->SetParent(form);
  auto* button = new TButton(form);  // inside the group's area
  button->SetBounds(180, 90, 50, 20);
  button->SetParent(form);
  form->Show();
  auto topAt = [&](POINT p) {
    ClientToScreen(form->Handle(), &p);
    return WindowFromPoint(p);
  };
  EXPECT_EQ(topAt(Center(button)), button->Handle());
  EXPECT_EQ(topAt(POINT{120, 20}), group->Handle()) << "the group covers the edit";
  EXPECT_EQ(topAt(POINT{20, 20}), edit->Handle());
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  POINT at = Center(button);
  ClientToScreen(form->Handle(), &at);
  testsupport::ClickAt(at);
  EXPECT_EQ(clicks, 1);
  // A window made again keeps its place in the list's order.
  group->RecreateWnd();
  EXPECT_EQ(topAt(Center(button)), button->Handle());
  EXPECT_EQ(topAt(POINT{120, 20}), group->Handle());
}

class TFailingForm : public TForm {
  UI_CLASS(TFailingForm)
 public:
  explicit TFailingForm(TComponent* owner) : TForm(owner) {
    OnCreate = [](TObject*) { throw Exception("Resource IMG_NONE not found"); };
  }
};

TEST_F(Windows, AnErrorInOnCreateIsShownAndTheFormStays) {
  TFailingForm* form = nullptr;
  EXPECT_NO_THROW(app->CreateForm(form));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(app->MainForm(), form);
  EXPECT_EQ(errors, std::vector<std::string>{"Resource IMG_NONE not found"});
}

TEST_F(Windows, TheActivePageIsShownWithItsForm) {
  auto* form = new TPlainForm(app.get());
  auto* pages = new TPageControl(form);
  pages->SetParent(form);
  int shown[2] = {0, 0};
  TTabSheet* sheets[2];
  for (int i = 0; i < 2; ++i) {
    sheets[i] = new TTabSheet(form);
    sheets[i]->SetParent(pages);
    sheets[i]->OnShow = [&shown, i](TObject*) { ++shown[i]; };
  }
  pages->SetActivePage(sheets[1]);
  EXPECT_EQ(shown[1], 1) << "the tab change";
  form->Show();
  EXPECT_EQ(shown[1], 2) << "the form shown";
  form->Hide();
  form->Show();
  EXPECT_EQ(shown[1], 3) << "the form shown again";
  EXPECT_EQ(shown[0], 0) << "the hidden page";
}

}  // namespace

namespace {

TEST_F(Windows, ControlsWithoutAColourOfTheirOwnTakeTheirParents) {
  auto* form = new TPlainForm(app.get());
  auto* pages = new TPageControl(form);
  pages->SetParent(form);
  auto* sheet = new TTabSheet(form);
  sheet->SetParent(pages);
  pages->SetActivePage(sheet);
  auto* check = new TCheckBox(form);
  const struct {
    TControl* control;
    bool follows;
  } controls[] = {{pages, true},
                  {sheet, true},
                  {check, true},
                  {new TRadioButton(form), true},
                  {new TLabel(form), true},
                  {new TGroupBox(form), true},
                  {new TRadioGroup(form), true},
                  {new TTrackBar(form), true},
                  {new TImage(form), true},
                  {new TEdit(form), false},
                  {new TMemo(form), false},
                  {new TComboBox(form), false},
                  {new TListView(form), false},
                  {new TPanel(form), false}};
  for (const auto& c : controls)
    if (!c.control->Parent()) {
      c.control->SetTop(20);  // below the check box
      c.control->SetParent(sheet);
    }
  form->SetColor(clRed);
  for (const auto& c : controls) EXPECT_EQ(c.control->Color() == clRed, c.follows) << c.control->ClassName();
  // What shows: the check box's background.
  check->SetBounds(0, 0, 60, 17);
  form->Show();
  UpdateWindow(check->Handle());
  EXPECT_EQ(GetPixel(ui::WindowDC(check->Handle()).get(), 56, 8), static_cast<COLORREF>(clRed));
}

TEST_F(Windows, GroupBoxFrameAndCaptionLieWhereTheSkinDrawsThem) {
  auto* form = new TPlainForm(app.get());
  auto* group = new TGroupBox(form);
  group->SetBounds(0, 0, 120, 60);
  group->SetColor(clRed);
  group->SetCaption("Hg");
  group->SetParent(form);
  TBitmap bmp(120, 60);
  HDC dc = bmp.Canvas().Handle();
  SendMessageA(group->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(group->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  bmp.Canvas().Font.Assign(group->Font);
  const int h = bmp.Canvas().TextHeight("0");
  const COLORREF red = clRed, shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const struct {
    int x, y;
    COLORREF color;
  } probes[] = {{60, h / 2 - 2, red}, {60, h / 2 - 1, shadow}, {60, h / 2, light}, {60, h / 2 + 1, red},
                {0, 30, shadow},      {1, 30, light},          {119, 30, light}, {5, 59, light}};
  for (const auto& p : probes) EXPECT_EQ(GetPixel(dc, p.x, p.y), p.color) << p.x << "," << p.y;
  // The caption starts at x 9: nothing but background left of it above the frame.
  int first = -1;
  for (int x = 2; x < 60 && first < 0; ++x)
    for (int y = 0; y < h / 2 - 1; ++y)
      if (GetPixel(dc, x, y) != red) {
        first = x;
        break;
      }
  EXPECT_TRUE(first == 9 || first == 10) << first;
}

TEST_F(Windows, DialogFormsCarryTheModalFrame) {
  auto* form = new TPlainForm(app.get());
  form->BorderStyle = bsDialog;
  const LONG_PTR style = GetWindowLongPtrA(form->Handle(), GWL_STYLE);
  EXPECT_EQ(style & DS_MODALFRAME, DS_MODALFRAME);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  EXPECT_TRUE(GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
}

TEST_F(Windows, StatusBarGripAndRightToLeftPanels) {
  auto* form = new TPlainForm(app.get());
  auto* bar = new TStatusBar(form);
  bar->SetParent(form);
  const HWND first = bar->Handle();
  bar->SetSizeGrip(true);
  EXPECT_EQ(bar->Handle(), first) << "no change, no new window";
  bar->SetSizeGrip(false);
  EXPECT_FALSE(GetWindowLongPtrA(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
  bar->SetSizeGrip(true);
  EXPECT_TRUE(GetWindowLongPtrA(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
  const struct {
    TAlignment alignment;
    bool rtl;
    const char* shown;
  } panels[] = {{taLeftJustify, true, "\t\ta"}, {taRightJustify, true, "b"}, {taCenter, true, "\tc"},
                {taLeftJustify, false, "d"}};
  bar->Panels.clear();
  for (const auto& p : panels) {
    TStatusPanel panel;
    panel.Alignment = p.alignment;
    panel.RightToLeft = p.rtl;
    panel.Text = std::string(1, p.shown[std::strlen(p.shown) - 1]);
    bar->Panels.push_back(panel);
  }
  bar->UpdatePanels();
  for (int i = 0; i < 4; ++i) {
    char text[16] = {};
    const LRESULT info = SendMessageA(bar->Handle(), SB_GETTEXTA, i, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, panels[i].shown) << i;
    EXPECT_EQ((HIWORD(info) & SBT_RTLREADING) != 0, panels[i].rtl) << i;
  }
}

TEST_F(Windows, AutoScrollShowsBarsAndMovesTheControls) {
  auto* form = new TPlainForm(app.get());
  auto* button = new TButton(form);
  button->SetBounds(10, 300, 75, 25);
  button->SetParent(form);
  form->Show();
  auto style = [&] { return GetWindowLongPtrA(form->Handle(), GWL_STYLE); };
  auto windowTop = [&] {
    RECT r;
    GetWindowRect(button->Handle(), &r);
    POINT p{r.left, r.top};
    ScreenToClient(form->Handle(), &p);
    return static_cast<int>(p.y);
  };
  EXPECT_FALSE(style() & WS_VSCROLL) << "off by default";
  form->SetAutoScroll(true);
  EXPECT_TRUE(style() & WS_VSCROLL);
  EXPECT_FALSE(style() & WS_HSCROLL);
  SendMessageA(form->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(button->Top() + button->Height(), form->ClientHeight()) << "scrolled to the end";
  EXPECT_EQ(windowTop(), button->Top());
  SendMessageA(form->Handle(), WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(button->Top() + button->Height(), form->ClientHeight() + 8);
  form->SetAutoScroll(false);
  EXPECT_FALSE(style() & WS_VSCROLL);
  EXPECT_EQ(button->Top(), 300);
  EXPECT_EQ(windowTop(), 300);
}

// A tab set's tabs lie from StartMargin, from FirstIndex on, each its
// caption's width plus 9; one that does not fit is left out and the next
// follows. A click selects the tab under it (the second click of a double
// click too), a click beside them nothing.
TEST_F(Windows, TabSetClicksFollowItsLayout) {
  auto* form = new TPlainForm(app.get());
  auto* set = new TTabSet(form);
  set->SetBounds(0, 0, 200, 21);
  set->Tabs.Assign({"Zero", "One", "A caption far too long to show here", "Two"});
  set->StartMargin = 20;
  set->FirstIndex = 1;
  set->SetParent(form);
  form->Show();
  ui::WindowDC screen;
  TCanvas measure(screen.get());
  measure.Font.Assign(set->Font);
  const int one = 20 + measure.TextWidth("One") + 9, two = one + measure.TextWidth("Two") + 9;
  const struct {
    int x, index;
  } clicks[] = {{19, -1}, {20, 1}, {one, 3}, {one - 1, 1}, {two, 1}};
  for (const auto& c : clicks) {
    POINT at{c.x, 10};
    ClientToScreen(set->Handle(), &at);
    testsupport::ClickAt(at);
    EXPECT_EQ(set->TabIndex(), c.index) << c.x;
  }
}

}  // namespace
