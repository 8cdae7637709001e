// The control center started from an installed folder, watched from outside.
#include <gtest/gtest.h>

#include "TestSupport.h"

using testsupport::Sim;

namespace {

HWND MainWindow() { return FindWindowA("TForm_Main", "QVX Center"); }

class PavonaTest : public testing::Test {
 protected:
  void SetUp() override {
    testsupport::UseFreshMachine("pavona-e2e");
    dir_ = testsupport::InstallCopy("pavona-e2e");
  }
  void Start() {
    pavona_ = std::make_unique<testsupport::Process>("\"" + dir_ + "Pavona.exe\"");
    ASSERT_TRUE(testsupport::WaitFor([] { return MainWindow() != nullptr; })) << "no main window";
  }
  std::string dir_;
  std::unique_ptr<testsupport::Process> pavona_;
};

}  // namespace

TEST_F(PavonaTest, StartsHiddenAndReceivesTheDevicesEvents) {
  Start();
  EXPECT_FALSE(IsWindowVisible(MainWindow()));
  ASSERT_TRUE(testsupport::WaitFor([] { return Sim("log").find("notify") != std::string::npos; }));
  EXPECT_EQ(Sim("log"), "Pavona.exe set 0x0086\nPavona.exe notify\n");
  EXPECT_EQ(Sim("get events"), "1\n");
  EXPECT_EQ(Sim("event 82"), "1\n");
  EXPECT_EQ(Sim("event 85"), "1\n") << "codes it ignores still reach the window";
}

namespace {

bool OverlayShown() {
  HWND overlay = FindWindowA("TICOForm", nullptr);
  return overlay && IsWindowVisible(overlay);
}

}  // namespace

TEST_F(PavonaTest, VolumeKeyStepsTheVolumeAndShowsTheOverlay) {
  Start();
  ASSERT_TRUE(testsupport::WaitFor([] { return Sim("get events") == "1\n"; }));
  Sim("set volume 0.5");
  EXPECT_EQ(Sim("event 82"), "1\n");
  EXPECT_NE(Sim("show").find("volume=0.580\n"), std::string::npos) << Sim("show");
  EXPECT_TRUE(testsupport::WaitFor(OverlayShown, 3000));
}

TEST_F(PavonaTest, PowerPlanKeyWithoutThePlanLibraryGoesToLow) {
  Sim("set 0x90 0xB9A7");  // the model whose key toggles the plan
  Sim("set vistaplan 3");
  ASSERT_TRUE(DeleteFileA((dir_ + "Planswitch.dll").c_str()));
  Start();
  ASSERT_TRUE(testsupport::WaitFor([] { return Sim("get events") == "1\n"; }));
  Sim("log --clear");
  EXPECT_EQ(Sim("event 177"), "1\n");
  EXPECT_EQ(Sim("get vistaplan"), "3\n") << "nothing to set the plan with";
  const std::string log = Sim("log");
  EXPECT_NE(log.find("Pavona.exe set 0x"), std::string::npos) << log;
  EXPECT_EQ(log.find("LockWorkStation"), std::string::npos);
  EXPECT_TRUE(testsupport::WaitFor(OverlayShown, 3000));
  EXPECT_FALSE(pavona_->WaitExit(0)) << "still running";
}
