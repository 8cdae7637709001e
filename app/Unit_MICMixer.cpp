#include "Unit_MICMixer.h"

#include "Forms.h"
#include "MixerLine.h"

DWORD MicMuteControlId = 0;

namespace {
MixerLine mic;
HWND window = nullptr;
WNDPROC handler = nullptr;

// No exception of the handler unwinds through the system's frames.
LRESULT CALLBACK GuardedProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  try {
    return handler(h, msg, w, l);
  } catch (...) {
    ui::HandleException(nullptr);
    return 0;
  }
}
}  // namespace

int OpenMicMixer(WNDPROC callback) {
  // Created with the default procedure: one that never calls it would make
  // the creation itself fail.
  if (!window) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TMicMixerWindow";
    RegisterClassA(&wc);
    window = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             wc.hInstance, nullptr);
    handler = callback;
    if (window) SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GuardedProc));
  }
  const MMRESULT status = mic.Open(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, window);
  MicMuteControlId = mic.MuteControlId();
  return static_cast<int>(status);
}

bool HasMicMute() { return mic.HasMute(); }
bool GetMicMute() { return mic.GetMute(); }
void SetMicMute(bool on) { mic.SetMute(on); }
bool GetMicLinkedControl() { return mic.HasMute() && mic.GetBool(MicMuteControlId - 1); }
void SetMicLinkedControl(bool on) {
  if (mic.HasMute()) mic.SetBool(MicMuteControlId - 1, on);
}

void CloseMicMixer() {
  mic.Close();
  if (window) DestroyWindow(window);
  window = nullptr;
}

HWND MicMixerWindow() { return window; }
