// Real keystrokes to a stand-in player in the foreground.
#include <gtest/gtest.h>

#include "PlayerKeys.h"
#include "TestSupport.h"

using StandInPlayer = testsupport::KeyLog;  // keylog.exe under a player's name

TEST(PlayerKeysE2E, TheFirstMatchingPlayerGetsItsShortcut) {
  const StandInPlayer player("player_keys_e2e", "wmplayer.exe");
  ASSERT_TRUE(player.ready());
  EXPECT_EQ(ForegroundProgram(PlayerKeyTable(NavKey::Up)), "wmplayer.exe");
  SendPlayerKey(NavKey::Up);  // Ctrl+B, Ctrl released first
  ASSERT_TRUE(player.WaitForLog("up 0x42"));
  EXPECT_NE(player.Log().find("down 0x11 ext\ndown 0x42 ext\nup 0x11 ext\nup 0x42 ext\n"), std::string::npos)
      << player.Log();
}

TEST(PlayerKeysE2E, AnUnknownProgramGetsThePlainKeyWithoutKeyUp) {
  const StandInPlayer player("player_keys_e2e", "viewer.exe");
  ASSERT_TRUE(player.ready());
  EXPECT_EQ(ForegroundProgram(PlayerKeyTable(NavKey::Left)), "");
  SendPlayerKey(NavKey::Left);
  SendPlayerKey(NavKey::Enter);
  ASSERT_TRUE(player.WaitForLog("down 0x0D"));
  EXPECT_EQ(player.Log(), "ready\ndown 0x25\ndown 0x0D\n");
}
