#include "SimState.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <stdexcept>

namespace sim {

std::string MachineName() {
  char buf[64] = {};
  DWORD n = GetEnvironmentVariableA("CORVELSIM", buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf) : std::string("default");
}

std::string ProgramName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const char* slash = strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

std::string ModelText(int32_t value) {
  char text[16];
  snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value) & 0xFFFF);
  if (text[0] == 'B') text[0] = 'P';
  return text;
}

void SetDefaults(State& s) {
  memset(&s, 0, sizeof s);
  s.magic = kMagic;
  s.version = kVersion;
  s.backlight = 1;
  s.output = 4;
  s.value[0x55] = 0;                             // tilt
  s.value[0x56] = 1;                             // swivel
  s.value[0x81] = 1;                             // touch panel on
  s.value[0x83] = 1;                             // WiFi on
  s.value[0x84] = BrightnessValue(50, 10, 110);
  s.value[0x85] = 45;                            // CPU temperature
  s.value[0x88] = 0;                             // slider
  s.value[0x90] = kDefaultModel;
  s.volume = 0.5f;
  s.xpScheme = 0;
  s.vistaPlan = 1;  // balanced
}

namespace {

// Each machine is opened once per process and kept open: opening the file and
// the mapping again for every call cost more than a millisecond under Wine,
// which every device action paid several times over.
struct Opened {
  HANDLE mutex;
  State* state;
};

Opened Open(const std::string& machine) {
  static std::mutex lock;
  static std::map<std::string, Opened> opened;
  std::lock_guard<std::mutex> hold(lock);
  if (auto it = opened.find(machine); it != opened.end()) return it->second;
  const std::string name = "Local\\CorvelSim." + machine;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, (name + ".lock").c_str());
  if (!mutex) throw std::runtime_error("cannot create the simulator lock");
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  const std::string file = std::string(dir) + "CorvelSim-" + machine + ".dat";
  HANDLE h = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    CloseHandle(mutex);
    throw std::runtime_error("cannot open the simulator state " + file);
  }
  HANDLE mapping = CreateFileMappingA(h, nullptr, PAGE_READWRITE, 0, sizeof(State), name.c_str());
  CloseHandle(h);
  State* state = mapping ? static_cast<State*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(State))) : nullptr;
  if (mapping) CloseHandle(mapping);  // the view keeps it
  if (!state) {
    CloseHandle(mutex);
    throw std::runtime_error("cannot map the simulator state");
  }
  return opened[machine] = {mutex, state};
}

}  // namespace

Machine::Machine() {
  const Opened machine = Open(MachineName());
  mutex_ = machine.mutex;
  state_ = machine.state;
  // An abandoned lock still protects a consistent record: every change is
  // a few stores, so take it over.
  WaitForSingleObject(mutex_, INFINITE);
  if (state_->magic != kMagic || state_->version != kVersion) SetDefaults(*state_);
}

Machine::~Machine() { ReleaseMutex(mutex_); }

void Machine::Log(const std::string& text) {
  State& s = *state_;
  if (s.logCount == kMaxLog) {
    memmove(&s.log[0], &s.log[1], sizeof(LogEntry) * (kMaxLog - 1));
    --s.logCount;
  }
  LogEntry& e = s.log[s.logCount++];
  snprintf(e.program, sizeof e.program, "%s", ProgramName().c_str());
  snprintf(e.text, sizeof e.text, "%s", text.c_str());
}

}  // namespace sim
