// The main window clicked through the screen as a user does, on each board:
// what lies on top at a point is what the description draws there.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestSupport.h"
#include "Unit_ini.h"
#include "Unit_main.h"

namespace {

using testsupport::Sim;

class ScreenClicks : public testing::Test {
 protected:
  void TearDown() override { Stop(); }
  void Start(const char* model) {
    testsupport::UseFreshMachine("screen-clicks");
    Sim(std::string("set 0x90 ") + model);
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->OnException = [this](TObject*, const std::string& m) { errors.push_back(m); };
    app->CreateForm(Form_Main);
    Form_Main->ShowForm();
  }
  void Stop() {
    if (!app) return;
    Form_Main->ExitRequested = true;
    app.reset();
    Form_Main = nullptr;
    EXPECT_TRUE(errors.empty()) << errors.front();
  }
  // A point of a control, in screen coordinates.
  static POINT OnScreen(TControl* c, int x, int y) {
    POINT p{c->Left() + x, c->Top() + y};
    ClientToScreen(c->Parent()->Handle(), &p);
    return p;
  }
  std::unique_ptr<TApplication> app;
  std::vector<std::string> errors;
};

TEST_F(ScreenClicks, PowerOkLiesOnTopOfItsGroupAndActsOnEveryBoard) {
  for (const char* model : {"0xB4D2", "0xB6E1", "0xB0D6", "0xB1B7", "0xB1A2", "0x1234"}) {
    SCOPED_TRACE(model);
    Start(model);
    TForm_Main* f = Form_Main;
    f->PGC->SetActivePage(f->TSBatt);
    f->RG_PWR->SetItemIndex(0);
    BrightnessMin = 20;
    const POINT center = OnScreen(f->BT_PWROK, f->BT_PWROK->Width() / 2, f->BT_PWROK->Height() / 2);
    EXPECT_EQ(WindowFromPoint(center), f->BT_PWROK->Handle());
    Sim("log --clear");
    testsupport::ClickAt(center);
    EXPECT_NE(Sim("log").find("set 0x1484"), std::string::npos) << "the saver level was not sent";
    Stop();
  }
}

TEST_F(ScreenClicks, TheWifiPictureTakesAClickWhereAnEditLiesBelowIt) {
  Start("0xB1B7");
  TForm_Main* f = Form_Main;
  f->PGC->SetActivePage(f->TSSet);
  // A point of the picture over the first edit of the page beneath the panel.
  const POINT local{40, 20};
  const POINT onPage{f->Image_WiFiCtr->Left() + local.x, f->Image_WiFiCtr->Top() + local.y};
  const RECT edit = f->Edit_IRH->BoundsRect();
  ASSERT_TRUE(PtInRect(&edit, onPage));
  const POINT at = OnScreen(f->Image_WiFiCtr, local.x, local.y);
  EXPECT_EQ(WindowFromPoint(at), f->Pl_L500->Handle());
  const std::string before = Sim("get 0x83");
  testsupport::ClickAt(at);
  EXPECT_NE(Sim("get 0x83"), before) << "WiFi did not toggle";
}

TEST_F(ScreenClicks, ReopeningOnTheDisplayPageReadsTheBrightnessAgain) {
  Start("0xB4D2");
  TForm_Main* f = Form_Main;
  f->PGC->SetActivePage(f->TSDISP);
  f->HideForm();
  Sim("set 0x84 " + std::to_string(60 | 20 << 8 | 120 << 16));
  f->ShowForm();
  EXPECT_EQ(f->TB_Bright->Position(), 60);
}

}  // namespace
