// Puts an object's message handler in front of a window's procedure. The
// object is found through a window property, so nothing depends on
// GWLP_USERDATA and no executable stubs are needed.
#pragma once
#include <windows.h>

#include <functional>

namespace skin {

class TWindowHook {
 public:
  using TReceiver = std::function<LRESULT(UINT msg, WPARAM w, LPARAM l)>;
  explicit TWindowHook(TReceiver receiver) : receiver_(std::move(receiver)) {}
  ~TWindowHook() { Release(); }
  TWindowHook(const TWindowHook&) = delete;
  TWindowHook& operator=(const TWindowHook&) = delete;

  // Hooks h; false when this object or another hook already holds it. A
  // window a hook let go of while another procedure stood in front is hooked
  // again where it was.
  bool Hook(HWND h);
  // Hands the window back. When our procedure is still the window's, the saved
  // one is put back; when another procedure was set in front of ours since,
  // ours stays in its chain and passes every message on to the saved one.
  void Release();
  bool Hooked() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  // The window's procedure before the hook (kept after Release).
  WNDPROC OldWndProc() const { return old_; }
  LRESULT CallDefault(HWND h, UINT msg, WPARAM w, LPARAM l) const { return CallWindowProcA(old_, h, msg, w, l); }

 private:
  struct TLink;
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l);
  TReceiver receiver_;
  HWND window_ = nullptr;
  WNDPROC old_ = nullptr;
};

}  // namespace skin
