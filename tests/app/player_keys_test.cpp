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

namespace {

// The key table as the players' documentation gives it, one row per
// candidate in the order they are tried; "" is every other program.
struct Row {
  const char* program;
  const char* keys;
};

const std::vector<Row> kUp = {
    {"POWERPNT.EXE", "d VK_UP"},
    {"wmplayer.exe", "xd Ctrl, xd B, xu Ctrl, xu B"},
    {"realplay.exe", "xd Ctrl, xd U, xu Ctrl, xu U"},
    {"TTPlayer.exe", "xd Ctrl, xd Left, xu Left, xu Ctrl"},
    {"storm.exe", "d VK_PRIOR"},
    {"QvodPlayer.exe", "d VK_PRIOR"},
    {"PowerDVD.exe", "d P"},
    {"", "d VK_UP"},
};
const std::vector<Row> kDown = {
    {"POWERPNT.EXE", "d VK_DOWN"},
    {"wmplayer.exe", "xd Ctrl, xd F, xu F, xu Ctrl"},
    {"realplay.exe", "xd Ctrl, xd T, xu Ctrl, xu T"},
    {"TTPlayer.exe", "xd Ctrl, xd Right, xu Right, xu Ctrl"},
    {"storm.exe", "d VK_NEXT"},
    {"QvodPlayer.exe", "d VK_NEXT"},
    {"PowerDVD.exe", "d N"},
    {"", "d VK_DOWN"},
};
const std::vector<Row> kLeft = {
    {"wmplayer.exe", "xd Ctrl, xd Shift, xd B, xu B, xu Shift, xu Ctrl"},
    {"realplay.exe", "xd Ctrl, xd Shift, xd F3, xu F3, xu Shift, xu Ctrl"},
    {"storm.exe", "xd Ctrl, xd Left, xu Ctrl, xu Left"},
    {"QvodPlayer.exe", "xd Ctrl, xd Left, xu Ctrl, xu Left"},
    {"PowerDVD.exe", "xd Ctrl, xd B, xu Ctrl, xu B"},
    {"PPStream.exe", "xd Ctrl, xd VK_PRIOR, xu Ctrl, xu VK_PRIOR"},
    {"PPLive.exe", "d F8"},
    {"", "d VK_LEFT"},
};
const std::vector<Row> kRight = {
    {"wmplayer.exe", "xd Ctrl, xd Shift, xd F, xu F, xu Shift, xu Ctrl"},
    {"realplay.exe", "xd Ctrl, xd Shift, xd F4, xu F4, xu Shift, xu Ctrl"},
    {"storm.exe", "xd Ctrl, xd Right, xu Ctrl, xu Right"},
    {"QvodPlayer.exe", "xd Ctrl, xd Right, xu Ctrl, xu Right"},
    {"PowerDVD.exe", "d T"},
    {"PPStream.exe", "xd Ctrl, xd VK_NEXT, xu Ctrl, xu VK_NEXT"},
    {"PPLive.exe", "d F9"},
    {"", "d VK_RIGHT"},
};
const std::vector<Row> kEnter = {
    {"wmplayer.exe", "d VK_MEDIA_PLAY_PAUSE"},
    {"realplay.exe", "xd Ctrl, xd P, xu Ctrl, xu P"},
    {"PPLive.exe", "xd Ctrl, xd P, xu Ctrl, xu P"},
    {"TTPlayer.exe", "d F5"},
    {"storm.exe", "d VK_SPACE"},
    {"PPStream.exe", "d VK_SPACE"},
    {"QvodPlayer.exe", "d VK_SPACE"},
    {"PowerDVD.exe", "d VK_SPACE"},
    {"", "d VK_RETURN"},
};

BYTE KeyCode(const std::string& name) {
  static const std::pair<const char*, BYTE> names[] = {
      {"Ctrl", VK_CONTROL}, {"Shift", VK_SHIFT},   {"Left", VK_LEFT},
      {"Right", VK_RIGHT},  {"VK_UP", VK_UP},      {"VK_DOWN", VK_DOWN},
      {"VK_LEFT", VK_LEFT}, {"VK_RIGHT", VK_RIGHT}, {"VK_PRIOR", VK_PRIOR},
      {"VK_NEXT", VK_NEXT}, {"VK_SPACE", VK_SPACE}, {"VK_RETURN", VK_RETURN},
      {"F3", VK_F3},        {"F4", VK_F4},         {"F5", VK_F5},
      {"F8", VK_F8},        {"F9", VK_F9},         {"VK_MEDIA_PLAY_PAUSE", VK_MEDIA_PLAY_PAUSE},
  };
  for (auto [n, vk] : names)
    if (name == n) return vk;
  if (name.size() == 1) return static_cast<BYTE>(name[0]);
  ADD_FAILURE() << "unknown key " << name;
  return 0;
}

// "xd Ctrl, xd B, xu Ctrl" as the events keybd_event receives.
std::vector<InputEvent> Events(const std::string& text) {
  std::vector<InputEvent> events;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(", ", at);
    if (end == std::string::npos) end = text.size();
    const std::string item = text.substr(at, end - at);
    const size_t space = item.find(' ');
    const std::string kind = item.substr(0, space);
    DWORD flags = 0;
    if (kind == "u" || kind == "xu") flags |= U;
    if (kind == "xd" || kind == "xu") flags |= X;
    events.push_back(InputEvent::Key(KeyCode(item.substr(space + 1)), 0, flags));
    at = end + 2;
  }
  return events;
}

}  // namespace

TEST(PlayerKeys, EveryRowOfTheKeyTableInCandidateOrder) {
  const std::pair<NavKey, const std::vector<Row>*> keys[] = {
      {NavKey::Up, &kUp}, {NavKey::Down, &kDown}, {NavKey::Left, &kLeft}, {NavKey::Right, &kRight},
      {NavKey::Enter, &kEnter}};
  testsupport::RecordingInput input;
  seams::ScopedSeam<seams::Input> use(input);
  for (auto [key, rows] : keys) {
    const auto& table = PlayerKeyTable(key);
    ASSERT_EQ(table.size(), rows->size()) << "key " << static_cast<int>(key);
    for (size_t i = 0; i < rows->size(); ++i) {
      const Row& row = (*rows)[i];
      SCOPED_TRACE(std::string("key ") + std::to_string(static_cast<int>(key)) + " " + row.program);
      // The position is the order the candidates are tried in: the first match wins.
      EXPECT_STREQ(table[i].program, row.program);
      input.Clear();
      SendKeys(table[i].keys);
      EXPECT_EQ(input.Keys(), Events(row.keys));
    }
  }
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
