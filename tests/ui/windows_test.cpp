#include "ComCtrls.h"
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
  ClickAt(form->Handle(), Center(button));
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
