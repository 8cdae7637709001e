#include <gtest/gtest.h>

#include "OutsideLibraries.h"
#include "TestSupport.h"
#include "Unit_global.h"

using testsupport::Sim;

class StandIns : public testing::Test {
 protected:
  void SetUp() override {
    testsupport::UseFreshMachine(std::string("standins-") +
                                 testing::UnitTest::GetInstance()->current_test_info()->name());
  }
};

TEST_F(StandIns, VistaVolumeAndMuteAreTheMachines) {
  EXPECT_FLOAT_EQ(GetVistaVolume(), 0.5f);
  SetVistaVolume(0.58f);
  EXPECT_EQ(Sim("get volume"), "0.580\n");
  Sim("set volume 0.125");
  EXPECT_FLOAT_EQ(GetVistaVolume(), 0.125f);
  SetVistaVolume(1.5f);  // kept within 0..1
  EXPECT_FLOAT_EQ(GetVistaVolume(), 1.0f);

  EXPECT_FALSE(GetVistaMute());
  SetVistaMute(TRUE);
  EXPECT_EQ(Sim("get mute"), "1\n");
  Sim("set mute 0");
  EXPECT_FALSE(GetVistaMute());
}

TEST_F(StandIns, XpSchemeAndVistaPlan) {
  SetDefaultPwrScheme(3);
  EXPECT_EQ(GetDefaultPwrScheme(), 3);
  EXPECT_EQ(Sim("get xpscheme"), "3\n");
  Sim("set xpscheme 1");
  EXPECT_EQ(GetDefaultPwrScheme(), 1);

  // The Vista library is loaded by name.
  EXPECT_EQ(GetVistaPlan(), 1);
  SetVistaPlan(2);
  EXPECT_EQ(Sim("get vistaplan"), "2\n");
  Sim("set vistaplan 3");
  EXPECT_EQ(GetVistaPlan(), 3);
}
