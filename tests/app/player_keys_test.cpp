#include <windows.h>
#include <mmsystem.h>
#include <gtest/gtest.h>

#include "PlayerKeys.h"
#include "RecordingInput.h"
#include "seams/Sound.h"

using testsupport::InputEvent;
using K = KeyStroke;

namespace {

constexpr DWORD U = KEYEVENTF_KEYUP, X = KEYEVENTF_EXTENDEDKEY;

const KeySequence& Keys(NavKey key, const std::string& program) {
  for (const auto& e : PlayerKeyTable(key))
    if (program == e.program) return e.keys;
  return PlayerKeyTable(key).back().keys;
}

class RecordingSound : public seams::Sound {
 public:
  std::vector<std::string> played;
  void PlayFile(const std::string& path, UINT flags) override {
    EXPECT_EQ(flags, static_cast<UINT>(SND_ASYNC));
    played.push_back(path);
  }
  void Beep(DWORD, DWORD) override {}
};

}  // namespace

TEST(PlayerKeys, EventsCarryTheirFlagsAndScanCodeZero) {
  testsupport::RecordingInput input;
  seams::ScopedSeam<seams::Input> use(input);
  SendKeys({{VK_MENU, K::d}, {VK_F4, K::xd}, {VK_MENU, K::u}, {VK_F4, K::xu}});
  EXPECT_EQ(input.Keys(), (std::vector<InputEvent>{InputEvent::Key(VK_MENU, 0, 0), InputEvent::Key(VK_F4, 0, X),
                                                   InputEvent::Key(VK_MENU, 0, U), InputEvent::Key(VK_F4, 0, U | X)}));
}

TEST(PlayerKeys, PerPlayerShortcutsKeepTheirReleaseOrder) {
  // Ctrl released before the key for some players, after it for others.
  EXPECT_EQ(Keys(NavKey::Up, "wmplayer.exe"),
            (KeySequence{{VK_CONTROL, K::xd}, {'B', K::xd}, {VK_CONTROL, K::xu}, {'B', K::xu}}));
  EXPECT_EQ(Keys(NavKey::Down, "wmplayer.exe"),
            (KeySequence{{VK_CONTROL, K::xd}, {'F', K::xd}, {'F', K::xu}, {VK_CONTROL, K::xu}}));
  EXPECT_EQ(Keys(NavKey::Left, "wmplayer.exe"), (KeySequence{{VK_CONTROL, K::xd}, {VK_SHIFT, K::xd}, {'B', K::xd},
                                                             {'B', K::xu}, {VK_SHIFT, K::xu}, {VK_CONTROL, K::xu}}));
  EXPECT_EQ(Keys(NavKey::Right, "realplay.exe"),
            (KeySequence{{VK_CONTROL, K::xd}, {VK_SHIFT, K::xd}, {VK_F4, K::xd}, {VK_F4, K::xu}, {VK_SHIFT, K::xu},
                         {VK_CONTROL, K::xu}}));
  EXPECT_EQ(Keys(NavKey::Up, "TTPlayer.exe"),
            (KeySequence{{VK_CONTROL, K::xd}, {VK_LEFT, K::xd}, {VK_LEFT, K::xu}, {VK_CONTROL, K::xu}}));
  EXPECT_EQ(Keys(NavKey::Left, "storm.exe"),
            (KeySequence{{VK_CONTROL, K::xd}, {VK_LEFT, K::xd}, {VK_CONTROL, K::xu}, {VK_LEFT, K::xu}}));
  EXPECT_EQ(Keys(NavKey::Enter, "PPLive.exe"), Keys(NavKey::Enter, "realplay.exe"));
  EXPECT_EQ(Keys(NavKey::Right, "PPStream.exe"),
            (KeySequence{{VK_CONTROL, K::xd}, {VK_NEXT, K::xd}, {VK_CONTROL, K::xu}, {VK_NEXT, K::xu}}));
  // A single key is one key-down and nothing else.
  EXPECT_EQ(Keys(NavKey::Enter, "wmplayer.exe"), (KeySequence{{VK_MEDIA_PLAY_PAUSE, K::d}}));
  EXPECT_EQ(Keys(NavKey::Up, "PowerDVD.exe"), (KeySequence{{'P', K::d}}));
}

TEST(PlayerKeys, ProgramsWithoutAnEntryGetThePlainKeys) {
  // No presentation or TTPlayer entry for left and right; no PPStream or PPLive for up and down.
  for (const char* p : {"POWERPNT.EXE", "TTPlayer.exe", "notepad.exe"}) {
    EXPECT_EQ(Keys(NavKey::Left, p), (KeySequence{{VK_LEFT, K::d}})) << p;
    EXPECT_EQ(Keys(NavKey::Right, p), (KeySequence{{VK_RIGHT, K::d}})) << p;
  }
  for (const char* p : {"PPStream.exe", "PPLive.exe"}) EXPECT_EQ(Keys(NavKey::Up, p), (KeySequence{{VK_UP, K::d}}));
  EXPECT_EQ(Keys(NavKey::Enter, "POWERPNT.EXE"), (KeySequence{{VK_RETURN, K::d}}));

  // The candidates are tried in the table's order.
  const auto& enter = PlayerKeyTable(NavKey::Enter);
  const char* order[] = {"wmplayer.exe", "realplay.exe",   "PPLive.exe",   "TTPlayer.exe", "storm.exe",
                         "PPStream.exe", "QvodPlayer.exe", "PowerDVD.exe", ""};
  ASSERT_EQ(enter.size(), std::size(order));
  for (size_t i = 0; i < enter.size(); ++i) EXPECT_STREQ(enter[i].program, order[i]);
}

TEST(PlayerKeys, StopAndFullScreen) {
  EXPECT_EQ(StopKeysFor("wmplayer.exe"), (KeySequence{{VK_MEDIA_STOP, K::d}}));
  EXPECT_EQ(StopKeysFor("TTPlayer.exe"), (KeySequence{{VK_F6, K::d}}));
  EXPECT_EQ(StopKeysFor("PowerDVD.exe"),
            (KeySequence{{VK_CONTROL, K::xd}, {'S', K::xd}, {VK_CONTROL, K::xu}, {'S', K::xu}}));
  EXPECT_TRUE(StopKeysFor("").empty());
  EXPECT_EQ(FullScreenKeysFor("storm.exe"),
            (KeySequence{{VK_MENU, K::d}, {VK_RETURN, K::xd}, {VK_RETURN, K::xu}, {VK_MENU, K::u}}));
  EXPECT_EQ(FullScreenKeysFor("POWERPNT.EXE"),
            (KeySequence{{VK_SHIFT, K::xd}, {VK_F5, K::xd}, {VK_F5, K::xu}, {VK_SHIFT, K::xu}}));
  EXPECT_EQ(FullScreenKeysFor("TTPlayer.exe"),
            (KeySequence{{VK_MENU, K::d}, {'F', K::xd}, {VK_MENU, K::u}, {'F', K::xu}}));
  EXPECT_TRUE(FullScreenKeysFor("").empty());
}

TEST(PlayerKeys, ForegroundTestFallsBackToOtherAndSliderKeysFollowIt) {
  // This test program is no known player: the plain key goes out, the
  // slider's up and down keys send nothing and its play key selects media.
  testsupport::RecordingInput input;
  seams::ScopedSeam<seams::Input> use(input);
  EXPECT_EQ(KeysForForeground(NavKey::Down), (KeySequence{{VK_DOWN, K::d}}));
  PlayerUpKey();
  PlayerDownKey();
  EXPECT_TRUE(input.Keys().empty());
  PlayerPlayKey();
  EXPECT_EQ(input.Keys(), std::vector<InputEvent>{InputEvent::Key(VK_LAUNCH_MEDIA_SELECT, 0, 0)});
}

TEST(KeySounds, PendingFlagsAndTheSilencingSetting) {
  RecordingSound sound;
  seams::ScopedSeam<seams::Sound> use(sound);
  KeySound keys;
  // Both start pending: the first key plays both, enter first.
  keys.Play("False", "", "C:\\my\\arrow.wav", "C:\\Corvel\\Res\\");
  EXPECT_EQ(sound.played, (std::vector<std::string>{"C:\\Corvel\\Res\\KE.wav", "C:\\my\\arrow.wav"}));

  sound.played.clear();
  keys.EnterSoundPending = true;
  keys.Play("true", "C:\\my\\enter.wav", "", "R\\");  // only the exact "True" silences
  EXPECT_EQ(sound.played, std::vector<std::string>{"C:\\my\\enter.wav"});

  sound.played.clear();
  keys.EnterSoundPending = keys.ArrowSoundPending = true;
  keys.Play("True", "", "", "R\\");
  EXPECT_TRUE(sound.played.empty());
  EXPECT_TRUE(keys.EnterSoundPending);  // left pending while silenced
  keys.Play("False", "", "", "R\\");
  EXPECT_EQ(sound.played, (std::vector<std::string>{"R\\KE.wav", "R\\KM.wav"}));
}
