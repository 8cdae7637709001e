#include <windows.h>
#include <winioctl.h>
#include <poclass.h>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "Unit_Battery.h"
#include "Unit_global.h"
#include "Unit_ini.h"
#include "seams/Battery.h"

namespace {

HANDLE FakeHandle(int n) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x100 + n)); }

struct Call {
  HANDLE device;
  DWORD code;
  std::vector<BYTE> in;
  DWORD outSize;
};

// Plays a battery class driver: one answer set per handle.
class FakeBattery : public seams::Battery {
 public:
  struct Cell {
    ULONG tag = 7;
    BATTERY_STATUS status = {};
    DWORD statusBytes = sizeof(BATTERY_STATUS);
    BATTERY_INFORMATION info = {};
    DWORD infoBytes = sizeof(BATTERY_INFORMATION);
    std::wstring uniqueId, manufacturer;
  };
  int interfaces = 0;
  std::vector<int> failingOpens;
  std::map<HANDLE, Cell> cells;
  std::vector<Call> calls;
  SYSTEM_POWER_STATUS power = {};

  std::optional<std::string> InterfacePath(DWORD n) override {
    if (static_cast<int>(n) >= interfaces) return std::nullopt;
    return "\\\\?\\battery#" + std::to_string(n);
  }
  HANDLE Open(const std::string& path) override {
    const int n = path.back() - '0';
    for (int f : failingOpens)
      if (f == n) return INVALID_HANDLE_VALUE;
    return FakeHandle(n);
  }
  BOOL IoControl(HANDLE device, DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                 DWORD* returned) override {
    const BYTE* b = static_cast<const BYTE*>(in);
    calls.push_back({device, code, std::vector<BYTE>(b, b + inSize), outSize});
    *returned = 0;
    auto it = cells.find(device);
    if (it == cells.end()) return FALSE;
    Cell& c = it->second;
    if (code == IOCTL_BATTERY_QUERY_TAG) return Answer(&c.tag, sizeof c.tag, out, outSize, returned);
    if (code == IOCTL_BATTERY_QUERY_STATUS) return Answer(&c.status, c.statusBytes, out, outSize, returned);
    const auto* q = static_cast<const BATTERY_QUERY_INFORMATION*>(in);
    switch (q->InformationLevel) {
      case BatteryInformation: return Answer(&c.info, c.infoBytes, out, outSize, returned);
      case BatteryUniqueID: return Text(c.uniqueId, out, outSize, returned);
      case BatteryManufactureName: return Text(c.manufacturer, out, outSize, returned);
      default: return FALSE;
    }
  }
  BOOL PowerStatus(SYSTEM_POWER_STATUS& status) override {
    status = power;
    return TRUE;
  }

 private:
  static BOOL Answer(const void* data, DWORD size, void* out, DWORD outSize, DWORD* returned) {
    *returned = size < outSize ? size : outSize;
    memcpy(out, data, *returned);
    return TRUE;
  }
  static BOOL Text(const std::wstring& text, void* out, DWORD outSize, DWORD* returned) {
    // A driver may fill the buffer without a terminating zero.
    return Answer(text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), out, outSize, returned);
  }
};

class BatteryTest : public testing::Test {
 protected:
  void SetUp() override {
    BatteryCount = 0;
    for (auto& h : BatteryHandles) h = nullptr;
    S_Unknown = "Unknown";
    S_DisCharge = "Discharge...";
    S_Charge = "Charging...";
    S_hours = "hours";
    StatusText.clear();
  }
  FakeBattery fake;
  seams::ScopedSeam<seams::Battery> use{fake};
};

}  // namespace

TEST_F(BatteryTest, EnumerationListsAtMostFiveAndKeepsFailedSlots) {
  fake.interfaces = 2;
  EnumBatteries();
  EXPECT_EQ(BatteryCount, 2);
  EXPECT_EQ(BatteryHandles[0], FakeHandle(0));
  EXPECT_EQ(BatteryHandles[1], FakeHandle(1));

  SetUp();
  fake.interfaces = 6;
  fake.failingOpens = {1};
  EnumBatteries();
  EXPECT_EQ(BatteryCount, 5);
  EXPECT_EQ(BatteryHandles[1], INVALID_HANDLE_VALUE);
  EXPECT_EQ(BatteryHandles[4], FakeHandle(4));
}

TEST_F(BatteryTest, ReadQueriesTagStatusTagInformationIdAndMaker) {
  fake.interfaces = 1;
  EnumBatteries();
  auto& cell = fake.cells[FakeHandle(0)];
  cell.status = {BATTERY_DISCHARGING, 30000, 11100, -900};
  cell.info.DesignedCapacity = 48000;
  cell.info.FullChargedCapacity = 45000;
  memcpy(cell.info.Chemistry, "LION", 4);  // all four letters, no terminating zero
  cell.uniqueId = L"0123456789012345678901234567890123456";  // longer than the buffer
  cell.manufacturer = L"Corvel";

  ReadBatteryInfo(0);
  ASSERT_EQ(fake.calls.size(), 6u);
  EXPECT_EQ(fake.calls[0].code, static_cast<DWORD>(IOCTL_BATTERY_QUERY_TAG));
  EXPECT_EQ(fake.calls[0].in, std::vector<BYTE>(4, 0)) << "wait time 0";
  EXPECT_EQ(fake.calls[1].code, static_cast<DWORD>(IOCTL_BATTERY_QUERY_STATUS));
  BATTERY_WAIT_STATUS wait;
  ASSERT_EQ(fake.calls[1].in.size(), sizeof wait);
  memcpy(&wait, fake.calls[1].in.data(), sizeof wait);
  EXPECT_EQ(wait.BatteryTag, 7u);
  EXPECT_EQ(wait.Timeout, 0u);
  EXPECT_EQ(fake.calls[2].code, static_cast<DWORD>(IOCTL_BATTERY_QUERY_TAG));
  for (int i = 3; i < 6; ++i) EXPECT_EQ(fake.calls[i].code, static_cast<DWORD>(IOCTL_BATTERY_QUERY_INFORMATION));
  EXPECT_EQ(fake.calls[4].outSize, 66u);
  EXPECT_EQ(fake.calls[5].outSize, 66u);

  EXPECT_EQ(PowerState, static_cast<ULONG>(BATTERY_DISCHARGING));
  EXPECT_EQ(Capacity, 30000u);
  EXPECT_EQ(Voltage, 11100u);
  EXPECT_EQ(Rate, -900);
  EXPECT_EQ(StatusText, "Discharge...");
  EXPECT_EQ(Chemistry, "LION");
  EXPECT_EQ(DesignedCapacity, 48000u);
  EXPECT_EQ(FullChargedCapacity, 45000u);
  EXPECT_EQ(UniqueId, "012345678901234567890123456789012") << "stops at the 33 characters of the buffer";
  EXPECT_EQ(ManufactureName, "Corvel");
}

TEST_F(BatteryTest, PartialAnswersAndDeadSlotsAreNoData) {
  fake.interfaces = 2;
  fake.failingOpens = {1};
  EnumBatteries();
  auto& cell = fake.cells[FakeHandle(0)];
  cell.status = {BATTERY_POWER_ON_LINE | BATTERY_CHARGING, 1, 2, 3};
  cell.statusBytes = 8;  // half a status record
  memcpy(cell.info.Chemistry, "Li\0X", 4);
  cell.uniqueId = L"ID";
  ReadBatteryInfo(0);
  EXPECT_EQ(PowerState, 0u);
  EXPECT_EQ(Capacity, 0u);
  EXPECT_EQ(StatusText, "Unknown");
  EXPECT_EQ(Chemistry, "Li") << "a shorter chemistry ends at its zero";

  cell.statusBytes = sizeof(BATTERY_STATUS);
  ReadBatteryInfo(0);
  EXPECT_EQ(StatusText, "Charging...");

  const size_t before = fake.calls.size();
  ReadBatteryInfo(1);  // its handle failed to open
  EXPECT_EQ(fake.calls.size(), before) << "an invalid handle is never queried";
  EXPECT_EQ(PowerState, 0u);
  EXPECT_EQ(UniqueId, "");
  EXPECT_EQ(Chemistry, "");
  EXPECT_EQ(StatusText, "Unknown");
}

// Every power state gets its text from its bits, never an earlier read's.
TEST_F(BatteryTest, StatusTextFollowsTheStateBits) {
  fake.interfaces = 1;
  EnumBatteries();
  auto& cell = fake.cells[FakeHandle(0)];
  const std::pair<ULONG, const char*> states[] = {
      {BATTERY_POWER_ON_LINE | BATTERY_CHARGING, "Charging..."},
      {BATTERY_DISCHARGING | BATTERY_CRITICAL, "Discharge..."},  // after "Charging..."
      {BATTERY_CHARGING, "Charging..."},
      {BATTERY_POWER_ON_LINE, "Unknown"},
      {BATTERY_CRITICAL, "Unknown"},
      {BATTERY_POWER_ON_LINE | BATTERY_CHARGING | BATTERY_CRITICAL, "Charging..."},
      {BATTERY_DISCHARGING, "Discharge..."},
      {0, "Unknown"},
  };
  for (auto [state, text] : states) {
    cell.status.PowerState = state;
    ReadBatteryInfo(0);
    EXPECT_EQ(StatusText, text) << state;
  }
}

TEST_F(BatteryTest, TimeLeftAndPercentTexts) {
  struct {
    DWORD seconds;
    const char* text;
  } cases[] = {{59, "0:00hours"},      {3600, "1:00hours"},   {7500, "2:05hours"}, {359999, "99:59hours"},
               {360000, "Unknown"},    {0, "Unknown"},        {0xFFFFFFFF, "Unknown"}};
  for (auto c : cases) {
    fake.power.BatteryLifeTime = c.seconds;
    ReadPowerStatus();
    EXPECT_EQ(TimeLeftText, c.text) << c.seconds;
  }
  fake.power.BatteryFlag = 128;
  fake.power.BatteryLifePercent = 255;
  ReadPowerStatus();
  EXPECT_EQ(BatteryPercentText, "Unknown");
  fake.power.BatteryFlag = 8;
  ReadPowerStatus();
  EXPECT_EQ(BatteryPercentText, "255%");
  fake.power.BatteryFlag = 1;
  fake.power.BatteryLifePercent = 80;
  ReadPowerStatus();
  EXPECT_EQ(BatteryPercentText, "80%");
}
