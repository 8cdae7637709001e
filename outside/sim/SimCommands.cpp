#include "SimCommands.h"

#include <windows.h>
#include <dbt.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "SimState.h"

namespace sim {

const char kUsage[] =
    "usage: corvelsim reset | set <id> <value|fail> | get <id> | event <code> | log [--clear] | show\n"
    "  ids and values in decimal or 0x hex; also the keys events, backlight, output,\n"
    "  volume (0..1), mute, xpscheme, vistaplan\n";

namespace {

constexpr int kUsageError = 2;

// Appends printf-style text.
template <class... Args>
void Print(std::string& out, const char* format, Args... args) {
  char line[512];
  snprintf(line, sizeof line, format, args...);
  out += line;
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
  std::string (*get)(const State&);
  bool (*set)(State&, const char*);
};

template <class T, T State::*field>
bool SetInteger(State& s, const char* text) {
  long long v;
  if (!ParseNumber(text, v) || v < INT32_MIN || v > UINT32_MAX) return false;
  s.*field = static_cast<T>(v);
  return true;
}

template <class T, T State::*field>
std::string GetInteger(const State& s) {
  return std::to_string(s.*field);
}

bool SetVolume(State& s, const char* text) {
  char* end = nullptr;
  const double v = strtod(text, &end);
  if (!*text || *end || !(v >= 0.0 && v <= 1.0)) return false;
  s.volume = static_cast<float>(v);
  return true;
}

std::string GetVolume(const State& s) {
  char text[16];
  snprintf(text, sizeof text, "%.3f", s.volume);
  return text;
}

const NamedField kNamedFields[] = {
    {"events", GetInteger<uint32_t, &State::eventsOn>, SetInteger<uint32_t, &State::eventsOn>},
    {"backlight", GetInteger<uint32_t, &State::backlight>, SetInteger<uint32_t, &State::backlight>},
    {"output", GetInteger<uint32_t, &State::output>, SetInteger<uint32_t, &State::output>},
    {"volume", GetVolume, SetVolume},
    {"mute", GetInteger<uint32_t, &State::mute>, SetInteger<uint32_t, &State::mute>},
    {"xpscheme", GetInteger<int32_t, &State::xpScheme>, SetInteger<int32_t, &State::xpScheme>},
    {"vistaplan", GetInteger<int32_t, &State::vistaPlan>, SetInteger<int32_t, &State::vistaPlan>},
};

const NamedField* FindField(const std::string& key) {
  for (const auto& f : kNamedFields)
    if (key == f.name) return &f;
  return nullptr;
}

int Set(const char* key, const char* text) {
  Machine m;
  if (const NamedField* field = FindField(key)) return field->set(m.state(), text) ? 0 : kUsageError;
  unsigned id;
  if (!ParseId(key, id)) return kUsageError;
  if (strcmp(text, "fail") == 0) {
    m->failing[id] = 1;
    return 0;
  }
  long long v;
  if (!ParseNumber(text, v) || v < INT32_MIN || v > UINT32_MAX) return kUsageError;
  m->value[id] = static_cast<int32_t>(v);
  m->failing[id] = 0;
  return 0;
}

int Get(const char* key, std::string& out) {
  Machine m;
  if (const NamedField* field = FindField(key)) {
    out += field->get(m.state()) + "\n";
    return 0;
  }
  unsigned id;
  if (!ParseId(key, id)) return kUsageError;
  Print(out, "%d\n", m->failing[id] ? -1 : m->value[id]);
  return 0;
}

int Event(const char* text, std::string& out) {
  long long code;
  if (!ParseNumber(text, code) || code < 0 || code > 0xFF) return kUsageError;
  uint64_t windows[kMaxWindows];
  uint32_t count = 0;
  {
    // Copy the list and let go of the lock: a window's handler calls the
    // library, which takes it again.
    Machine m;
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
  Print(out, "%d\n", reached);
  return 0;
}

int Log(bool clear, std::string& out) {
  Machine m;
  if (clear) {
    m->logCount = 0;
    return 0;
  }
  for (uint32_t i = 0; i < m->logCount; ++i) out += std::string(m->log[i].program) + " " + m->log[i].text + "\n";
  return 0;
}

int Show(std::string& out) {
  Machine m;
  const State& s = m.state();
  auto value = [&](int id) { return s.failing[id] ? -1 : s.value[id]; };
  Print(out, "events=%u\n", s.eventsOn);
  Print(out, "wifi=%d\n", value(0x83));
  Print(out, "touchpad=%d\n", value(0x81));
  Print(out, "brightness=%d\n", value(0x84) & 0xFF);
  Print(out, "brightness_min=%d\n", value(0x84) >> 8 & 0xFF);
  Print(out, "brightness_max=%d\n", value(0x84) >> 16 & 0xFF);
  Print(out, "backlight=%u\n", s.backlight);
  Print(out, "output=%u\n", s.output);
  Print(out, "model=%s\n", ModelText(value(0x90)).c_str());
  Print(out, "swivel=%d\n", value(0x56));
  Print(out, "cputemp=%d\n", value(0x85));
  Print(out, "tilt=%d\n", value(0x55));
  Print(out, "slider=%d\n", value(0x88));
  for (const char* key : {"volume", "mute", "xpscheme", "vistaplan"})
    Print(out, "%s=%s\n", key, FindField(key)->get(s).c_str());
  Print(out, "windows=%u\n", s.windowCount);
  if (s.driverCount) Print(out, "driver=%s|%s|%d\n", s.driverInf, s.driverHwid, s.driverFlag);
  Print(out, "drivers=%u\n", s.driverCount);
  Print(out, "camera=%u snapshots=%u\n", s.cameraOpen, s.snapshots);
  return 0;
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::string& out) {
  const size_t n = args.size();
  if (n == 0) return kUsageError;
  const std::string& cmd = args[0];
  if (cmd == "reset" && n == 1) {
    Machine m;
    SetDefaults(m.state());
    return 0;
  }
  if (cmd == "set" && n == 3) return Set(args[1].c_str(), args[2].c_str());
  if (cmd == "get" && n == 2) return Get(args[1].c_str(), out);
  if (cmd == "event" && n == 2) return Event(args[1].c_str(), out);
  if (cmd == "log" && n == 1) return Log(false, out);
  if (cmd == "log" && n == 2 && args[1] == "--clear") return Log(true, out);
  if (cmd == "show" && n == 1) return Show(out);
  return kUsageError;
}

}  // namespace sim
