#include "PlayerKeys.h"

#include <mmsystem.h>

#include "Unit_global.h"
#include "seams/Input.h"
#include "seams/Sound.h"

namespace {

using K = KeyStroke;

KeySequence Single(BYTE vk) { return {{vk, K::d}}; }
// Modifier and key down, then the modifier released before the key.
KeySequence Crossed(BYTE mod, BYTE key) { return {{mod, K::xd}, {key, K::xd}, {mod, K::xu}, {key, K::xu}}; }
// Modifiers and key down, released in reverse order.
KeySequence Nested(std::initializer_list<BYTE> mods, BYTE key) {
  KeySequence s;
  for (BYTE m : mods) s.push_back({m, K::xd});
  s.push_back({key, K::xd});
  s.push_back({key, K::xu});
  for (auto it = std::rbegin(mods); it != std::rend(mods); ++it) s.push_back({*it, K::xu});
  return s;
}

const std::vector<PlayerKey>& UpTable() {
  static const std::vector<PlayerKey> t = {
      {"POWERPNT.EXE", Single(VK_UP)},
      {"wmplayer.exe", Crossed(VK_CONTROL, 'B')},
      {"realplay.exe", Crossed(VK_CONTROL, 'U')},
      {"TTPlayer.exe", Nested({VK_CONTROL}, VK_LEFT)},
      {"storm.exe", Single(VK_PRIOR)},
      {"QvodPlayer.exe", Single(VK_PRIOR)},
      {"PowerDVD.exe", Single('P')},
      {"", Single(VK_UP)},
  };
  return t;
}

const std::vector<PlayerKey>& DownTable() {
  static const std::vector<PlayerKey> t = {
      {"POWERPNT.EXE", Single(VK_DOWN)},
      {"wmplayer.exe", Nested({VK_CONTROL}, 'F')},
      {"realplay.exe", Crossed(VK_CONTROL, 'T')},
      {"TTPlayer.exe", Nested({VK_CONTROL}, VK_RIGHT)},
      {"storm.exe", Single(VK_NEXT)},
      {"QvodPlayer.exe", Single(VK_NEXT)},
      {"PowerDVD.exe", Single('N')},
      {"", Single(VK_DOWN)},
  };
  return t;
}

const std::vector<PlayerKey>& LeftTable() {
  static const std::vector<PlayerKey> t = {
      {"wmplayer.exe", Nested({VK_CONTROL, VK_SHIFT}, 'B')},
      {"realplay.exe", Nested({VK_CONTROL, VK_SHIFT}, VK_F3)},
      {"storm.exe", Crossed(VK_CONTROL, VK_LEFT)},
      {"QvodPlayer.exe", Crossed(VK_CONTROL, VK_LEFT)},
      {"PowerDVD.exe", Crossed(VK_CONTROL, 'B')},
      {"PPStream.exe", Crossed(VK_CONTROL, VK_PRIOR)},
      {"PPLive.exe", Single(VK_F8)},
      {"", Single(VK_LEFT)},
  };
  return t;
}

const std::vector<PlayerKey>& RightTable() {
  static const std::vector<PlayerKey> t = {
      {"wmplayer.exe", Nested({VK_CONTROL, VK_SHIFT}, 'F')},
      {"realplay.exe", Nested({VK_CONTROL, VK_SHIFT}, VK_F4)},
      {"storm.exe", Crossed(VK_CONTROL, VK_RIGHT)},
      {"QvodPlayer.exe", Crossed(VK_CONTROL, VK_RIGHT)},
      {"PowerDVD.exe", Single('T')},
      {"PPStream.exe", Crossed(VK_CONTROL, VK_NEXT)},
      {"PPLive.exe", Single(VK_F9)},
      {"", Single(VK_RIGHT)},
  };
  return t;
}

const std::vector<PlayerKey>& EnterTable() {
  static const std::vector<PlayerKey> t = {
      {"wmplayer.exe", Single(VK_MEDIA_PLAY_PAUSE)},
      {"realplay.exe", Crossed(VK_CONTROL, 'P')},
      {"PPLive.exe", Crossed(VK_CONTROL, 'P')},
      {"TTPlayer.exe", Single(VK_F5)},
      {"storm.exe", Single(VK_SPACE)},
      {"PPStream.exe", Single(VK_SPACE)},
      {"QvodPlayer.exe", Single(VK_SPACE)},
      {"PowerDVD.exe", Single(VK_SPACE)},
      {"", Single(VK_RETURN)},
  };
  return t;
}

const KeySequence& KeysFor(const std::vector<PlayerKey>& table, const std::string& program) {
  for (const auto& entry : table)
    if (program == entry.program) return entry.keys;
  return table.back().keys;
}

DWORD ForegroundProcessId() {
  DWORD pid = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &pid);
  return pid;
}

}  // namespace

void SendKeys(const KeySequence& keys) {
  for (const auto& k : keys) {
    DWORD flags = 0;
    if (k.kind == K::u || k.kind == K::xu) flags |= KEYEVENTF_KEYUP;
    if (k.kind == K::xd || k.kind == K::xu) flags |= KEYEVENTF_EXTENDEDKEY;
    seams::input().KeybdEvent(k.vk, 0, flags);
  }
}

const std::vector<PlayerKey>& PlayerKeyTable(NavKey key) {
  switch (key) {
    case NavKey::Up: return UpTable();
    case NavKey::Down: return DownTable();
    case NavKey::Left: return LeftTable();
    case NavKey::Right: return RightTable();
    case NavKey::Enter: break;
  }
  return EnterTable();
}

std::string ForegroundProgram(std::initializer_list<const char*> candidates) {
  const DWORD pid = ForegroundProcessId();
  if (pid == 0) return "";
  for (const char* name : candidates)
    if (FindProcessId(name) == pid) return name;
  return "";
}

std::string ForegroundProgram(const std::vector<PlayerKey>& table) {
  const DWORD pid = ForegroundProcessId();
  if (pid == 0) return "";
  for (const auto& entry : table)
    if (*entry.program && FindProcessId(entry.program) == pid) return entry.program;
  return "";
}

KeySequence KeysForForeground(NavKey key) {
  const auto& table = PlayerKeyTable(key);
  return KeysFor(table, ForegroundProgram(table));
}

void SendPlayerKey(NavKey key) { SendKeys(KeysForForeground(key)); }

void PlayerUpKey() {
  const auto& table = PlayerKeyTable(NavKey::Up);
  const std::string program = ForegroundProgram(table);
  if (!program.empty()) SendKeys(KeysFor(table, program));
}

void PlayerDownKey() {
  const auto& table = PlayerKeyTable(NavKey::Down);
  const std::string program = ForegroundProgram(table);
  if (!program.empty()) SendKeys(KeysFor(table, program));
}

void PlayerPlayKey() {
  const auto& table = PlayerKeyTable(NavKey::Enter);
  const std::string program = ForegroundProgram(table);
  SendKeys(program.empty() ? Single(VK_LAUNCH_MEDIA_SELECT) : KeysFor(table, program));
}

KeySequence StopKeysFor(const std::string& program) {
  if (program == "wmplayer.exe") return Single(VK_MEDIA_STOP);
  if (program == "TTPlayer.exe") return Single(VK_F6);
  if (program.empty()) return {};
  return Crossed(VK_CONTROL, 'S');
}

KeySequence FullScreenKeysFor(const std::string& program) {
  if (program == "wmplayer.exe" || program == "storm.exe" || program == "PPStream.exe" || program == "PPLive.exe")
    return {{VK_MENU, K::d}, {VK_RETURN, K::xd}, {VK_RETURN, K::xu}, {VK_MENU, K::u}};
  if (program == "POWERPNT.EXE") return Nested({VK_SHIFT}, VK_F5);
  if (program == "realplay.exe") return Crossed(VK_CONTROL, '3');
  if (program == "TTPlayer.exe") return {{VK_MENU, K::d}, {'F', K::xd}, {VK_MENU, K::u}, {'F', K::xu}};
  if (program == "QvodPlayer.exe") return Single(VK_F8);
  if (program == "PowerDVD.exe") return Single('Z');
  return {};
}

void KeySound::Play(const std::string& keySetting, const std::string& enterFile, const std::string& arrowFile,
                    const std::string& resDir) {
  if (keySetting == "True") return;
  if (EnterSoundPending) {
    EnterSoundPending = false;
    seams::sound().PlayFile(enterFile.empty() ? resDir + "KE.wav" : enterFile, SND_ASYNC);
  }
  if (ArrowSoundPending) {
    ArrowSoundPending = false;
    seams::sound().PlayFile(arrowFile.empty() ? resDir + "KM.wav" : arrowFile, SND_ASYNC);
  }
}
