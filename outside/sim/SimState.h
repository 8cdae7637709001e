// The simulated machine behind every stand-in of an outside component: one
// record in a named, file-backed shared memory, so every process of the
// prefix sees the same device and the state outlives the processes.
// CORVELSIM=<name> selects a separate machine (one per test).
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

constexpr uint32_t kMagic = 0x4D534C43;  // "CLSM"
constexpr uint32_t kVersion = 3;
constexpr int kMaxWindows = 64;
constexpr int kMaxLog = 1024;

struct LogEntry {
  char program[48];
  char text[32];
};

struct State {
  uint32_t magic;
  uint32_t version;
  uint32_t eventsOn;     // event reporting (0x86 on, 0x87 off)
  uint32_t backlight;    // LCD backlight: 1 on, 0 off
  uint32_t output;       // display output: 1 CRT, 4 LCD, 5 both
  int32_t value[256];    // GetAcpiValue answers by id
  uint8_t failing[256];  // reads of these ids answer -1
  uint32_t windowCount;
  uint64_t windows[kMaxWindows];
  uint32_t logCount;
  LogEntry log[kMaxLog];
  float volume;       // master volume 0..1 (the Vista volume library)
  uint32_t mute;      // master mute
  int32_t xpScheme;   // current XP power scheme (1 low power, 3 high performance)
  int32_t vistaPlan;  // current Vista power plan (2 power saver, 3 high performance)
  uint32_t driverCount;    // driver installations asked of the driver-installation library
  char driverInf[MAX_PATH];  // the last one's information file, hardware id and flag
  char driverHwid[64];
  int32_t driverFlag;
  uint32_t cameraOpen;  // the camera program runs
  uint32_t snapshots;   // pictures it was asked to take
};

// Board model 0xB4D2 reads "P4D2"; brightness level 50 in 10..110.
constexpr int32_t kDefaultModel = 0xB4D2;
constexpr int32_t BrightnessValue(int level, int low, int high) {
  return (level & 0xFF) | (low & 0xFF) << 8 | (high & 0xFF) << 16;
}

void SetDefaults(State& s);

// Holds the machine's lock for its lifetime; state() is valid meanwhile.
class Machine {
 public:
  Machine();
  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;
  State& state() { return *state_; }
  State* operator->() { return state_; }

  // Appends "<program> <text>" to the command log, the program being the
  // calling executable's file name.
  void Log(const std::string& text);

 private:
  HANDLE mutex_ = nullptr;  // both opened once per process and machine
  State* state_ = nullptr;
};

std::string ProgramName();
std::string MachineName();
std::string ModelText(int32_t value);

}  // namespace sim
