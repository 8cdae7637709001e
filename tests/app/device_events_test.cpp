#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include "DeviceEvents.h"

TEST(DeviceEvents, FiftyAscendingCodesBetween48And186) {
  std::set<int> codes;
  int previous = -1;
  for (const auto& e : kDeviceEventCodes) {
    EXPECT_GT(e.code, previous) << "table must stay sorted for the lookup";
    previous = e.code;
    codes.insert(e.code);
    EXPECT_EQ(LookupDeviceEvent(e.code), e.event) << int(e.code);
  }
  EXPECT_EQ(codes.size(), 50u);
  EXPECT_EQ(*codes.begin(), 48);
  EXPECT_EQ(*codes.rbegin(), 186);
}

TEST(DeviceEvents, UnlistedCodesAreIgnored) {
  // The tilt reading (85) belongs to the tilt game control.
  for (int code : {0, 47, 52, 80, 85, 87, 130, 137, 138, 139, 144, 148, 151, 159, 187, 255})
    EXPECT_FALSE(LookupDeviceEvent(static_cast<uint8_t>(code))) << code;
}
