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
