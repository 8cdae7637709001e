// Keystrokes for the program in the foreground: the remote's navigation keys
// become the shortcut each known media player understands.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// One synthesized key event: d (down), u (up), xd and xu (the same with the
// extended-key flag).
struct KeyStroke {
  enum Kind { d, u, xd, xu };
  BYTE vk;
  Kind kind;
  bool operator==(const KeyStroke&) const = default;
};
using KeySequence = std::vector<KeyStroke>;

void SendKeys(const KeySequence& keys);

enum class NavKey { Up, Down, Left, Right, Enter };

// The candidates tried for a key, in order, and what each receives; an empty
// program name is every other program.
struct PlayerKey {
  const char* program;
  KeySequence keys;
};
const std::vector<PlayerKey>& PlayerKeyTable(NavKey key);

// The first of the candidates that is the foreground program, or "" for any
// other program.
std::string ForegroundProgram(std::initializer_list<const char*> candidates);
std::string ForegroundProgram(const std::vector<PlayerKey>& table);

// The keys for the foreground program (step 5 of the arrow and enter keys).
KeySequence KeysForForeground(NavKey key);
void SendPlayerKey(NavKey key);

// The touch slider's player keys: no sound, nothing for other programs
// except the play key, which starts the media selection.
void PlayerUpKey();
void PlayerDownKey();
void PlayerPlayKey();

KeySequence StopKeysFor(const std::string& program);
KeySequence FullScreenKeysFor(const std::string& program);

// The key sounds and their pending flags.
class KeySound {
 public:
  bool EnterSoundPending = true;
  bool ArrowSoundPending = true;
  // keySetting is [AVI] KK ("True" silences); the files are the settings
  // page's fields, empty for the defaults in resDir.
  void Play(const std::string& keySetting, const std::string& enterFile, const std::string& arrowFile,
            const std::string& resDir);
};
