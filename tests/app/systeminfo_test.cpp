#include <gtest/gtest.h>

#include "FakeMachine.h"
#include "Unit_Systeminfo.h"
#include "Unit_ini.h"

TEST(SystemInfo, BytesToHexJoinsUppercasePairsWithDashes) {
  const BYTE mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
  EXPECT_EQ(BytesToHex(mac, 6), "00-1A-2B-3C-4D-5E");
  EXPECT_EQ(BytesToHex(mac, 6).size(), 17u);
  EXPECT_EQ(BytesToHex(mac, 1), "00");
  EXPECT_EQ(BytesToHex(mac, 0), "");
}

TEST(SystemInfo, IpListRunsTheAddressesTogether) {
  IP_ADDR_STRING second = {};
  strcpy(second.IpAddress.String, "10.0.0.2");
  IP_ADDR_STRING first = {};
  strcpy(first.IpAddress.String, "192.168.100.200");
  first.Next = &second;
  EXPECT_EQ(IpListToString(&first), "192.168.100.20010.0.0.2");
  EXPECT_EQ(IpListToString(nullptr), "");
  memset(second.IpAddress.String, '1', sizeof second.IpAddress.String);  // no terminating zero
  EXPECT_EQ(IpListToString(&second), std::string(16, '1'));
}

TEST(SystemInfo, GigabytesWithTwoDecimals) {
  const std::string text = FormatGigabytes(3ull * 1073741824ull / 2);
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(text[0], '1');
  EXPECT_EQ(text.substr(2), "50");
  EXPECT_EQ(FormatGigabytes(0).substr(2), "00");
}

// --- Played machines.

class PlayedMachine : public testing::Test {
 protected:
  void SetUp() override {
    savedMode = S_HDMode;
    savedSize = S_HDSize;
    S_HDMode = "Mode:";
    S_HDSize = "Size:";
    PlayTypicalMachine(machine);
  }
  void TearDown() override {
    S_HDMode = savedMode;
    S_HDSize = savedSize;
  }
  Lines Disks() {
    Lines lines;
    AddDiskInfo(lines);
    return lines;
  }
  Lines Adapters() {
    Lines lines;
    AddAdapterInfo(lines);
    return lines;
  }
  std::string Video(std::vector<std::optional<seams::WmiValue>> values) {
    auto& rows = machine.results[FakeMachine::kVideo];
    rows.clear();
    for (auto& v : values) rows.push_back({{"AdapterRAM", v}});
    return GetVideoMemory();
  }

  FakeMachine machine;
  seams::ScopedSeam<seams::SystemInfo> seam{machine};
  std::string savedMode, savedSize;
};

TEST_F(PlayedMachine, HardDisksRunTogetherAndTheirSizesAddUp) {
  // A number and a text size; the removable disk is left out.
  EXPECT_EQ(Disks(), (Lines{"  Mode:AB", "  Size:1" + DecimalSeparator() + "50GB"}));

  auto& rows = machine.results[FakeMachine::kDisks];
  rows.push_back({{"MediaType", std::nullopt}, {"Model", "N"}, {"Size", "1073741824"}});
  rows.push_back({{"MediaType", "Fixed Hard Disk"}, {"Model", "C"}, {"Size", "1073741824"}});  // the match minds case
  EXPECT_EQ(Disks()[0], "  Mode:AB");

  // Sizes are unsigned 64-bit: 2^63 as text is 8 EB, not an error.
  rows = {{{"MediaType", "Fixed hard disk"}, {"Model", "Huge"}, {"Size", "9223372036854775808"}}};
  EXPECT_EQ(Disks()[1], "  Size:8589934592" + DecimalSeparator() + "00GB");

  rows.clear();
  EXPECT_EQ(Disks(), (Lines{"  Mode:", "  Size:0" + DecimalSeparator() + "00GB"}));
}

TEST_F(PlayedMachine, DiskReadErrorReplacesBothLines) {
  auto& rows = machine.results[FakeMachine::kDisks];
  const auto good = rows;
  for (seams::WmiValue size : {seams::WmiValue("12x"), seams::WmiValue("-5"), seams::WmiValue("")}) {
    rows = good;
    rows.push_back({{"MediaType", "Fixed hard disk"}, {"Model", "Bad"}, {"Size", size}});
    EXPECT_EQ(Disks(), Lines{"Read Error"});
  }
  rows = {{{"MediaType", "Fixed hard disk"}, {"Size", "1"}}};  // no Model
  EXPECT_EQ(Disks(), Lines{"Read Error"});
  rows = {{{"MediaType", "Fixed hard disk"}, {"Model", "A"}, {"Size", std::nullopt}}};
  EXPECT_EQ(Disks(), Lines{"Read Error"});
  machine.results.erase(FakeMachine::kDisks);
  EXPECT_EQ(Disks(), Lines{"Read Error"});
}

TEST_F(PlayedMachine, ConnectionFailuresReachTheCaller) {
  machine.connectFails = true;
  Lines lines;
  EXPECT_THROW(AddDiskInfo(lines), seams::WmiConnectError);
  EXPECT_TRUE(lines.empty());
  EXPECT_THROW(GetVideoMemory(), seams::WmiConnectError);
}

TEST_F(PlayedMachine, VideoMemoryIsTheLastReportedValue) {
  EXPECT_EQ(Video({134217728LL}), "128MB");
  EXPECT_EQ(Video({std::nullopt}), "UnKnown");
  EXPECT_EQ(Video({}), "UnKnown");
  EXPECT_EQ(Video({268435456LL, std::nullopt}), "256MB");
  EXPECT_EQ(Video({67108864LL, 134217728LL}), "128MB") << "values are not added";
  EXPECT_EQ(Video({134217728LL, 0LL}), "UnKnown");
  // A signed 32-bit report of 0xFFF00000 and 0xFFFFFFFF.
  EXPECT_EQ(Video({-1048576LL}), "4095MB");
  EXPECT_EQ(Video({-1LL}), "4095MB");
  EXPECT_EQ(Video({seams::WmiValue("536870912")}), "512MB");
  EXPECT_EQ(Video({seams::WmiValue("lots")}), "Read Error");
  machine.results.erase(FakeMachine::kVideo);
  EXPECT_EQ(GetVideoMemory(), "Read Error");
}

TEST_F(PlayedMachine, ThreeLinesPerAdapterOrNA) {
  EXPECT_EQ(Adapters(), (Lines{"  Gigabit Ethernet", "      MAC Address:  00-1A-2B-3C-4D-5E",
                               "      IP  Address:     192.168.1.2010.0.0.7"}));

  // No address at all, and a length past the 8-byte array.
  machine.adapters.push_back({"Loopback", {}, 0, {"127.0.0.1"}});
  machine.adapters.push_back({"Odd", {1, 2, 3, 4, 5, 6, 7, 8}, 200, {}});
  const Lines lines = Adapters();
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[3], "  Loopback");
  EXPECT_EQ(lines[4], "      MAC Address:  ");
  EXPECT_EQ(lines[5], "      IP  Address:     127.0.0.1");
  EXPECT_EQ(lines[7], "      MAC Address:  01-02-03-04-05-06-07-08");
  EXPECT_EQ(lines[8], "      IP  Address:     ");

  for (DWORD error : {DWORD(ERROR_NO_DATA), DWORD(ERROR_BUFFER_OVERFLOW), DWORD(ERROR_NOT_SUPPORTED)}) {
    machine.adaptersError = error;
    EXPECT_EQ(Adapters(), Lines{"N/A"});
  }
  machine.adaptersError = ERROR_SUCCESS;
  machine.adapters.clear();
  EXPECT_EQ(Adapters(), Lines{"N/A"});
  // More adapters than the 5120-byte buffer holds.
  machine.adapters.assign(5120 / sizeof(IP_ADAPTER_INFO) + 1, {"Many", {1}, 1, {}});
  EXPECT_EQ(Adapters(), Lines{"N/A"});
}

TEST_F(PlayedMachine, DisplayDevicesSkipMirroringDrivers) {
  machine.displays.push_back(FakeMachine::Display("Mobile Graphics"));  // second head of the same adapter
  DISPLAY_DEVICEA full = FakeMachine::Display("");
  memset(full.DeviceString, 'G', sizeof full.DeviceString);  // no terminating zero
  machine.displays.push_back(full);
  Lines lines;
  AddDisplayDevices(lines);
  EXPECT_EQ(lines, (Lines{"  Mobile Graphics", "  Mobile Graphics", "  " + std::string(128, 'G')}));
}

TEST_F(PlayedMachine, OperatingSystemAndProcessors) {
  Lines lines;
  AddOSInfo(lines);
  EXPECT_EQ(lines, Lines{"  Windows 7 Professional Service Pack 1    Version6.1.7601"});
  machine.keys[FakeMachine::kOsKey].erase("CSDVersion");
  lines.clear();
  AddOSInfo(lines);
  EXPECT_EQ(lines, Lines{"  Windows 7 Professional     Version6.1.7601"});
  machine.keys.erase(FakeMachine::kOsKey);
  lines.clear();
  AddOSInfo(lines);
  EXPECT_TRUE(lines.empty());

  // Seven processors, the third without a name: five lines, names as stored.
  for (int n = 0; n < 7; ++n) machine.keys[FakeMachine::CpuKey(n)] = {{"ProcessorNameString", " CPU" + std::to_string(n)}};
  machine.keys[FakeMachine::CpuKey(2)].clear();
  lines.clear();
  AddCpuInfo(lines);
  EXPECT_EQ(lines, (Lines{"   CPU0", "   CPU1", "   CPU3", "   CPU4", "   CPU5"}));
  EXPECT_EQ(GetCpuName(6), " CPU6");
}

TEST_F(PlayedMachine, MemoryPastFourGigabytes) {
  machine.totalPhys = 6ull << 30;
  EXPECT_EQ(GetTotalPhysMem(), 6ull << 30);
}

// --- This machine (Wine's answers).

TEST(SystemInfo, PageLinesFromThisMachine) {
  Lines lines;
  AddOSInfo(lines);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("  ", 0), 0u);
  EXPECT_NE(lines[0].find("    Version"), std::string::npos);

  lines.clear();
  AddCpuInfo(lines);
  EXPECT_GE(lines.size(), 1u);
  EXPECT_LE(lines.size(), 6u) << "processors past the sixth are not listed";
  EXPECT_EQ(GetCpuName(99), "");

  lines.clear();
  AddDisplayDevices(lines);
  ASSERT_GE(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("  ", 0), 0u);

  lines.clear();
  AddAdapterInfo(lines);
  ASSERT_FALSE(lines.empty());
  if (lines[0] != "N/A") {
    ASSERT_EQ(lines.size() % 3, 0u);
    EXPECT_EQ(lines[1].rfind("      MAC Address:  ", 0), 0u);
    EXPECT_EQ(lines[2].rfind("      IP  Address:     ", 0), 0u);
  }

  EXPECT_GT(GetTotalPhysMem(), 0u);
}

// Wine answers both queries (sizes as text, video memory as a signed number).
TEST(SystemInfo, WmiQueries) {
  Lines lines;
  AddDiskInfo(lines);
  ASSERT_EQ(lines.size(), 2u) << lines[0];
  EXPECT_EQ(lines[0].rfind("  " + S_HDMode, 0), 0u);
  EXPECT_GT(lines[0].size(), 2 + S_HDMode.size()) << "a fixed disk's model";
  EXPECT_EQ(lines[1].substr(lines[1].size() - 2), "GB");
  EXPECT_NE(lines[1], "  " + S_HDSize + "0" + DecimalSeparator() + "00GB");
  const std::string video = GetVideoMemory();
  EXPECT_TRUE(video == "UnKnown" || (video.find("MB") == video.size() - 2 && video[0] != '-')) << video;
}
