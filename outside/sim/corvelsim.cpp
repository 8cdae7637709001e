// corvelsim: the simulated machine's command-line interface for tests and demos.
//   reset | set <key> <value|fail> | get <key> | event <code> | log [--clear] | show
#include <windows.h>
#include <dbt.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "SimState.h"

namespace {

int Usage() {
  fprintf(stderr,
          "usage: corvelsim reset | set <id> <value|fail> | get <id> | event <code> | log [--clear] | show\n"
          "  ids and values in decimal or 0x hex; also the keys events, backlight, output,\n"
          "  volume (0..1), mute, xpscheme, vistaplan\n");
  return 2;
}

bool ParseNumber(const char* text, long long& out) {
  char* end = nullptr;
  errno = 0;
  out = strtoll(text, &end, 0);
  return *text && *end == 0 && errno == 0;
}

bool ParseId(const char* text, unsigned& id) {
  long long v;
  if (!ParseNumber(text, v) || v < 0 || v > 0xFF) return false;
  id = static_cast<unsigned>(v);
  return true;
}

// Named fields that are not ACPI ids: read as text, set from text.
struct NamedField {
  const char* name;
  std::string (*get)(const sim::State&);
  bool (*set)(sim::State&, const char*);
};

template <class T, T sim::State::*field>
bool SetInteger(sim::State& s, const char* text) {
  long long v;
  if (!ParseNumber(text, v) || v < INT32_MIN || v > UINT32_MAX) return false;
  s.*field = static_cast<T>(v);
  return true;
}

template <class T, T sim::State::*field>
std::string GetInteger(const sim::State& s) {
  return std::to_string(s.*field);
}

bool SetVolume(sim::State& s, const char* text) {
  char* end = nullptr;
  const double v = strtod(text, &end);
  if (!*text || *end || !(v >= 0.0 && v <= 1.0)) return false;
  s.volume = static_cast<float>(v);
  return true;
}

std::string GetVolume(const sim::State& s) {
  char text[16];
  snprintf(text, sizeof text, "%.3f", s.volume);
  return text;
}

const NamedField kNamedFields[] = {
    {"events", GetInteger<uint32_t, &sim::State::eventsOn>, SetInteger<uint32_t, &sim::State::eventsOn>},
    {"backlight", GetInteger<uint32_t, &sim::State::backlight>, SetInteger<uint32_t, &sim::State::backlight>},
    {"output", GetInteger<uint32_t, &sim::State::output>, SetInteger<uint32_t, &sim::State::output>},
    {"volume", GetVolume, SetVolume},
    {"mute", GetInteger<uint32_t, &sim::State::mute>, SetInteger<uint32_t, &sim::State::mute>},
    {"xpscheme", GetInteger<int32_t, &sim::State::xpScheme>, SetInteger<int32_t, &sim::State::xpScheme>},
    {"vistaplan", GetInteger<int32_t, &sim::State::vistaPlan>, SetInteger<int32_t, &sim::State::vistaPlan>},
};

const NamedField* FindField(const std::string& key) {
  for (const auto& f : kNamedFields)
    if (key == f.name) return &f;
  return nullptr;
}

int Set(const char* key, const char* text) {
  sim::Machine m;
  if (const NamedField* field = FindField(key)) return field->set(m.state(), text) ? 0 : Usage();
  unsigned id;
  if (!ParseId(key, id)) return Usage();
  if (strcmp(text, "fail") == 0) {
    m->failing[id] = 1;
    return 0;
  }
  long long v;
  if (!ParseNumber(text, v) || v < INT32_MIN || v > UINT32_MAX) return Usage();
  m->value[id] = static_cast<int32_t>(v);
  m->failing[id] = 0;
  return 0;
}

int Get(const char* key) {
  sim::Machine m;
  if (const NamedField* field = FindField(key)) {
    printf("%s\n", field->get(m.state()).c_str());
    return 0;
  }
  unsigned id;
  if (!ParseId(key, id)) return Usage();
  printf("%d\n", m->failing[id] ? -1 : m->value[id]);
  return 0;
}

int Event(const char* text) {
  long long code;
  if (!ParseNumber(text, code) || code < 0 || code > 0xFF) return Usage();
  uint64_t windows[sim::kMaxWindows];
  uint32_t count = 0;
  {
    // Copy the list and let go of the lock: a window's handler calls the
    // library, which takes it again.
    sim::Machine m;
    if (m->eventsOn) {
      count = m->windowCount;
      memcpy(windows, m->windows, sizeof(uint64_t) * count);
    }
  }
  DEV_BROADCAST_HANDLE record = {};
  record.dbch_size = sizeof record;
  record.dbch_devicetype = DBT_DEVTYP_HANDLE;
  record.dbch_data[0] = static_cast<BYTE>(code);
  int reached = 0;
  for (uint32_t i = 0; i < count; ++i) {
    HWND wnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(windows[i]));
    if (!IsWindow(wnd)) continue;
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(wnd, WM_DEVICECHANGE, DBT_CUSTOMEVENT, reinterpret_cast<LPARAM>(&record),
                            SMTO_ABORTIFHUNG, 10000, &result))
      ++reached;
  }
  printf("%d\n", reached);
  return 0;
}

int Log(bool clear) {
  sim::Machine m;
  if (clear) {
    m->logCount = 0;
    return 0;
  }
  for (uint32_t i = 0; i < m->logCount; ++i) printf("%s %s\n", m->log[i].program, m->log[i].text);
  return 0;
}

int Show() {
  sim::Machine m;
  const sim::State& s = m.state();
  auto value = [&](int id) { return s.failing[id] ? -1 : s.value[id]; };
  printf("events=%u\n", s.eventsOn);
  printf("wifi=%d\n", value(0x83));
  printf("touchpad=%d\n", value(0x81));
  printf("brightness=%d\n", value(0x84) & 0xFF);
  printf("brightness_min=%d\n", value(0x84) >> 8 & 0xFF);
  printf("brightness_max=%d\n", value(0x84) >> 16 & 0xFF);
  printf("backlight=%u\n", s.backlight);
  printf("output=%u\n", s.output);
  printf("model=%s\n", sim::ModelText(value(0x90)).c_str());
  printf("swivel=%d\n", value(0x56));
  printf("cputemp=%d\n", value(0x85));
  printf("tilt=%d\n", value(0x55));
  printf("slider=%d\n", value(0x88));
  for (const char* key : {"volume", "mute", "xpscheme", "vistaplan"})
    printf("%s=%s\n", key, FindField(key)->get(s).c_str());
  printf("windows=%u\n", s.windowCount);
  if (s.driverCount) printf("driver=%s|%s|%d\n", s.driverInf, s.driverHwid, s.driverFlag);
  printf("drivers=%u\n", s.driverCount);
  printf("camera=%u snapshots=%u\n", s.cameraOpen, s.snapshots);
  return 0;
}

int Run(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string cmd = argv[1];
  if (cmd == "reset" && argc == 2) {
    sim::Machine m;
    sim::SetDefaults(m.state());
    return 0;
  }
  if (cmd == "set" && argc == 4) return Set(argv[2], argv[3]);
  if (cmd == "get" && argc == 3) return Get(argv[2]);
  if (cmd == "event" && argc == 3) return Event(argv[2]);
  if (cmd == "log" && argc == 2) return Log(false);
  if (cmd == "log" && argc == 3 && strcmp(argv[2], "--clear") == 0) return Log(true);
  if (cmd == "show" && argc == 2) return Show();
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    fprintf(stderr, "corvelsim: %s\n", e.what());
    return 1;
  }
}
