// Stand-in for the vendor's ACPI access library: answers from and acts on the
// simulated machine instead of the firmware.
#include <windows.h>

#include "SimState.h"

namespace {

void Execute(sim::State& s, int id, int param) {
  switch (id) {
    case 0x83: s.value[0x83] = s.value[0x83] ? 0 : 1; break;
    case 0x84:
      s.value[0x84] = (s.value[0x84] & ~0xFF) | param;
      s.backlight = 1;
      break;
    case 0x85: s.output = param; break;
    case 0x86: s.eventsOn = 1; break;
    case 0x87: s.eventsOn = 0; break;
    case 0x93: s.backlight = 0; break;
    default: break;  // 0x95, 0x97 and the rest are only logged
  }
}

}  // namespace

extern "C" {

int __stdcall GetAcpiValue(int id) {
  try {
    sim::Machine m;
    const unsigned i = static_cast<unsigned>(id);
    if (i > 0xFF || m->failing[i]) return -1;
    return m->value[i];
  } catch (...) {
    return -1;
  }
}

BOOL __stdcall SetAcpiValue(int command) {
  try {
    sim::Machine m;
    char text[32];
    wsprintfA(text, "set 0x%04X", command & 0xFFFF);
    m.Log(text);
    Execute(m.state(), command & 0xFF, (command >> 8) & 0xFF);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

BOOL __stdcall RegistDeivceNotify(HWND window) {
  try {
    sim::Machine m;
    m.Log("notify");
    sim::State& s = m.state();
    const uint64_t h = reinterpret_cast<uintptr_t>(window);
    for (uint32_t i = 0; i < s.windowCount; ++i)
      if (s.windows[i] == h) return TRUE;
    // Full: forget windows that no longer exist before giving up.
    if (s.windowCount == sim::kMaxWindows) {
      uint32_t kept = 0;
      for (uint32_t i = 0; i < s.windowCount; ++i)
        if (IsWindow(reinterpret_cast<HWND>(static_cast<uintptr_t>(s.windows[i])))) s.windows[kept++] = s.windows[i];
      s.windowCount = kept;
      if (kept == sim::kMaxWindows) return FALSE;
    }
    s.windows[s.windowCount++] = h;
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

}  // extern "C"
