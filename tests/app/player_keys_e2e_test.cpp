// Real keystrokes to a stand-in player in the foreground.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "PlayerKeys.h"
#include "TestSupport.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream f(path);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

DWORD ForegroundPid() {
  DWORD pid = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &pid);
  return pid;
}

// keylog.exe copied under a player's name, started and in the foreground.
class StandInPlayer {
 public:
  explicit StandInPlayer(const std::string& exeName) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    dir_ = std::string(tmp) + "player_keys_e2e\\";
    CreateDirectoryA(dir_.c_str(), nullptr);
    const std::string exe = dir_ + exeName;
    log_ = dir_ + exeName + ".log";
    DeleteFileA(log_.c_str());
    CopyFileA((testsupport::ExeDir() + "keylog.exe").c_str(), exe.c_str(), FALSE);
    process_ = std::make_unique<testsupport::Process>("\"" + exe + "\" \"" + log_ + "\"");
    ready_ = testsupport::WaitFor(
        [&] { return ReadAll(log_).find("ready") != std::string::npos && ForegroundPid() == process_->id(); });
  }
  bool ready() const { return ready_; }
  std::string Log() const { return ReadAll(log_); }
  bool WaitForLog(const std::string& text) const {
    return testsupport::WaitFor([&] { return Log().find(text) != std::string::npos; }, 5000);
  }

 private:
  std::string dir_, log_;
  std::unique_ptr<testsupport::Process> process_;
  bool ready_ = false;
};

}  // namespace

TEST(PlayerKeysE2E, TheFirstMatchingPlayerGetsItsShortcut) {
  StandInPlayer player("wmplayer.exe");
  ASSERT_TRUE(player.ready());
  EXPECT_EQ(ForegroundProgram(PlayerKeyTable(NavKey::Up)), "wmplayer.exe");
  SendPlayerKey(NavKey::Up);  // Ctrl+B, Ctrl released first
  ASSERT_TRUE(player.WaitForLog("up 0x42"));
  EXPECT_NE(player.Log().find("down 0x11 ext\ndown 0x42 ext\nup 0x11 ext\nup 0x42 ext\n"), std::string::npos)
      << player.Log();
}

TEST(PlayerKeysE2E, AnUnknownProgramGetsThePlainKeyWithoutKeyUp) {
  StandInPlayer player("viewer.exe");
  ASSERT_TRUE(player.ready());
  EXPECT_EQ(ForegroundProgram(PlayerKeyTable(NavKey::Left)), "");
  SendPlayerKey(NavKey::Left);
  SendPlayerKey(NavKey::Enter);
  ASSERT_TRUE(player.WaitForLog("down 0x0D"));
  EXPECT_EQ(player.Log(), "ready\ndown 0x25\ndown 0x0D\n");
}
