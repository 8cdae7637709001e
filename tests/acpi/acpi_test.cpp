#include <windows.h>
#include <dbt.h>
#include <gtest/gtest.h>

#include <cstddef>

#include "CorvelAcpi.h"
#include "SimState.h"
#include "TestSupport.h"

using testsupport::Sim;

namespace {

class AcpiTest : public testing::Test {
 protected:
  void SetUp() override {
    testsupport::UseFreshMachine(std::string("acpi-") + testing::UnitTest::GetInstance()->current_test_info()->name());
  }
};

struct EventWindow {
  int lastCode = -1;
  int count = 0;
  testsupport::MessageWindow window{"", [this](UINT msg, WPARAM wp, LPARAM lp) {
                                      if (msg != WM_DEVICECHANGE) return false;
                                      if (auto code = acpi::DeviceEventCode(wp, lp)) {
                                        lastCode = *code;
                                        ++count;
                                      }
                                      return true;
                                    }};
  HWND hwnd() const { return window.hwnd(); }
};

DEV_BROADCAST_HANDLE Record(BYTE code) {
  DEV_BROADCAST_HANDLE r = {};
  r.dbch_size = sizeof r;
  r.dbch_devicetype = DBT_DEVTYP_HANDLE;
  r.dbch_data[0] = code;
  return r;
}

}  // namespace

TEST(AcpiBinding, CommandPutsIdLowAndParameterInTheSecondByte) {
  EXPECT_EQ(acpi::Command(acpi::AcpiEventsOn), 0x0086);
  EXPECT_EQ(acpi::Command(acpi::AcpiBrightness, 50), 0x3284);
  EXPECT_EQ(acpi::Command(acpi::AcpiDisplayOutput, acpi::DisplayBoth), 0x0585);
  // The parameter is cut to its byte and never spills into the id.
  EXPECT_EQ(acpi::Command(acpi::AcpiBrightness, 0x1FF), 0xFF84);
  EXPECT_EQ(acpi::Command(0x1FF, 1), 0x01FF);
}

TEST(AcpiBinding, BrightnessValueSplitsIntoLevelAndRange) {
  auto b = acpi::SplitBrightness(sim::BrightnessValue(50, 10, 110));
  EXPECT_EQ(b.level, 50);
  EXPECT_EQ(b.lowest, 10);
  EXPECT_EQ(b.highest, 110);
}

TEST(AcpiBinding, EventCodeIsTheFirstDataByteOfACustomEvent) {
#ifdef _WIN64
  EXPECT_EQ(offsetof(DEV_BROADCAST_HANDLE, dbch_data), 52u);
#else
  EXPECT_EQ(offsetof(DEV_BROADCAST_HANDLE, dbch_data), 40u);
#endif
  DEV_BROADCAST_HANDLE r = Record(82);
  auto lp = reinterpret_cast<LPARAM>(&r);
  EXPECT_EQ(acpi::DeviceEventCode(DBT_CUSTOMEVENT, lp), std::optional<uint8_t>(82));
  EXPECT_EQ(acpi::DeviceEventCode(DBT_DEVICEARRIVAL, lp), std::nullopt);
  EXPECT_EQ(acpi::DeviceEventCode(DBT_CUSTOMEVENT, 0), std::nullopt);
  r.dbch_size = offsetof(DEV_BROADCAST_HANDLE, dbch_data);  // record ends before the data
  EXPECT_EQ(acpi::DeviceEventCode(DBT_CUSTOMEVENT, lp), std::nullopt);
}

TEST_F(AcpiTest, FreshDeviceHasTheDefaults) {
  EXPECT_EQ(sim::ModelText(GetAcpiValue(acpi::AcpiModel)), "P4D2");
  auto b = acpi::SplitBrightness(GetAcpiValue(acpi::AcpiBrightness));
  EXPECT_EQ(b.level, 50);
  EXPECT_EQ(b.lowest, 10);
  EXPECT_EQ(b.highest, 110);
  EXPECT_EQ(GetAcpiValue(acpi::AcpiWifi), 1);
  EXPECT_EQ(GetAcpiValue(acpi::AcpiTouchpad), 1);
  EXPECT_EQ(GetAcpiValue(acpi::AcpiSwivel), 1);
  EXPECT_EQ(GetAcpiValue(acpi::AcpiCpuTemp), 45);
  EXPECT_EQ(GetAcpiValue(acpi::AcpiSlider), 0);
  EXPECT_EQ(GetAcpiValue(0x300), -1);
  const std::string show = Sim("show");
  for (const char* line : {"events=0\n", "wifi=1\n", "touchpad=1\n", "brightness=50\n", "output=4\n",
                           "backlight=1\n", "model=P4D2\n"})
    EXPECT_NE(show.find(line), std::string::npos) << line;
}

TEST_F(AcpiTest, CommandsChangeTheDeviceAndAreLogged) {
  acpi::Send(acpi::AcpiWifi);
  EXPECT_EQ(GetAcpiValue(acpi::AcpiWifi), 0);
  acpi::Send(acpi::AcpiWifi);
  EXPECT_EQ(GetAcpiValue(acpi::AcpiWifi), 1);

  acpi::Send(acpi::AcpiBacklightOff);
  EXPECT_EQ(Sim("get backlight"), "0\n");
  acpi::Send(acpi::AcpiBrightness, 70);  // a level switches the backlight on again
  EXPECT_EQ(Sim("get backlight"), "1\n");
  auto b = acpi::SplitBrightness(GetAcpiValue(acpi::AcpiBrightness));
  EXPECT_EQ(b.level, 70);
  EXPECT_EQ(b.highest, 110);

  acpi::Send(acpi::AcpiDisplayOutput, acpi::DisplayCrt);
  EXPECT_EQ(Sim("get output"), "1\n");
  EXPECT_EQ(GetAcpiValue(acpi::AcpiCpuTemp), 45);  // the same id reads the temperature

  acpi::Send(acpi::AcpiEventsOn);
  EXPECT_EQ(Sim("get events"), "1\n");
  acpi::Send(acpi::AcpiEventsOff);
  EXPECT_EQ(Sim("get events"), "0\n");

  EXPECT_EQ(Sim("log"),
            "acpi_test.exe set 0x0083\nacpi_test.exe set 0x0083\nacpi_test.exe set 0x0093\n"
            "acpi_test.exe set 0x4684\nacpi_test.exe set 0x0185\nacpi_test.exe set 0x0086\n"
            "acpi_test.exe set 0x0087\n");
  Sim("log --clear");
  EXPECT_EQ(Sim("log"), "");
}

TEST_F(AcpiTest, TwoProcessesSeeOneDevice) {
  Sim("set 0x81 0");
  EXPECT_EQ(GetAcpiValue(acpi::AcpiTouchpad), 0);
  Sim("set 0x85 -7");
  EXPECT_EQ(GetAcpiValue(acpi::AcpiCpuTemp), -7);
  Sim("set 0x90 fail");
  EXPECT_EQ(GetAcpiValue(acpi::AcpiModel), -1);
  EXPECT_EQ(Sim("get 0x90"), "-1\n");
  Sim("set 144 0xB1B7");
  EXPECT_EQ(sim::ModelText(GetAcpiValue(acpi::AcpiModel)), "P1B7");
  acpi::Send(acpi::AcpiWifi);
  EXPECT_EQ(Sim("get 0x83"), "0\n");
}

TEST_F(AcpiTest, EventsReachRegisteredWindowsOnlyWhileReportingIsOn) {
  EventWindow a, b;
  RegistDeivceNotify(a.hwnd());
  RegistDeivceNotify(b.hwnd());
  RegistDeivceNotify(a.hwnd());  // registering twice delivers once

  EXPECT_EQ(Sim("event 82"), "0\n");
  EXPECT_EQ(a.count, 0);

  acpi::Send(acpi::AcpiEventsOn);
  EXPECT_EQ(Sim("event 82"), "2\n");
  EXPECT_EQ(a.lastCode, 82);
  EXPECT_EQ(a.count, 1);
  EXPECT_EQ(b.count, 1);

  b.window.Destroy();
  EXPECT_EQ(Sim("event 0xB9"), "1\n");
  EXPECT_EQ(a.lastCode, 185);

  acpi::Send(acpi::AcpiEventsOff);
  EXPECT_EQ(Sim("event 82"), "0\n");
  EXPECT_EQ(a.count, 2);
}

TEST_F(AcpiTest, SimulatorRejectsMalformedCommands) {
  using testsupport::Run;
  const std::string sim = "\"" + testsupport::ExeDir() + "corvelsim.exe\" ";
  for (const char* args : {"", "frobnicate", "set 0x84", "set 0x100 1", "set 0x84 ten", "get x", "event 256",
                           "log --all"})
    EXPECT_EQ(Run(sim + args).exitCode, 2u) << args;
  EXPECT_EQ(Sim("get 0x84"), std::to_string(sim::BrightnessValue(50, 10, 110)) + "\n");
}
