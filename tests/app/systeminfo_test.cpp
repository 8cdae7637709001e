#include <gtest/gtest.h>

#include "Unit_Systeminfo.h"

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

TEST(SystemInfo, WmiQueries) {
  Lines lines;
  AddDiskInfo(lines);
  ASSERT_FALSE(lines.empty());
  if (lines[0] != "Read Error") {
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find("GB"), std::string::npos);
  }
  const std::string video = GetVideoMemory();
  EXPECT_TRUE(video == "UnKnown" || video == "Read Error" || video.find("MB") == video.size() - 2) << video;
}
