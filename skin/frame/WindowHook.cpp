#include "WindowHook.h"

#include "Forms.h"

namespace skin {

namespace {
const char* const kHookProp = "CorvelSkinHook";
}

// What the window property points to: the hook, or null once the hook let go
// while another procedure stood in front of ours.
struct TWindowHook::TLink {
  TWindowHook* hook;
  WNDPROC old;
};

bool TWindowHook::Hook(HWND h) {
  if (window_ || !h || !IsWindow(h)) return false;
  if (auto* link = static_cast<TLink*>(GetPropA(h, kHookProp))) {
    if (link->hook) return false;
    // Our procedure is still in the window's chain, passing messages on: it
    // serves this hook now.
    link->hook = this;
    window_ = h;
    old_ = link->old;
    return true;
  }
  auto* link = new TLink{this, nullptr};
  SetPropA(h, kHookProp, link);
  window_ = h;
  old_ = link->old = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWindowHook::Proc)));
  return true;
}

void TWindowHook::Release() {
  if (!window_) return;
  auto* link = static_cast<TLink*>(GetPropA(window_, kHookProp));
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window_, GWLP_WNDPROC)) == &TWindowHook::Proc) {
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_));
    RemovePropA(window_, kHookProp);
    delete link;
  } else if (link) {
    link->hook = nullptr;
  }
  window_ = nullptr;
}

LRESULT CALLBACK TWindowHook::Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* link = static_cast<TLink*>(GetPropA(h, kHookProp));
  if (!link) return DefWindowProcA(h, msg, w, l);
  if (!link->hook) {
    const WNDPROC old = link->old;
    if (msg == WM_NCDESTROY) {
      RemovePropA(h, kHookProp);
      delete link;
    }
    return CallWindowProcA(old, h, msg, w, l);
  }
  // The receiver may release the hook, and with it the link.
  TWindowHook* hook = link->hook;
  LRESULT result = 0;
  try {
    result = hook->receiver_(msg, w, l);
  } catch (...) {
    ui::HandleException(nullptr);
  }
  // A window going away never keeps a link to a hook.
  if (msg == WM_NCDESTROY && GetPropA(h, kHookProp) == link && link->hook) link->hook->Release();
  return result;
}

}  // namespace skin
