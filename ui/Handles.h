// Scoped owners of Win32 handles: each is given back on every way out of its
// scope, exceptions included, and counted while it lives (Wine counts no GDI
// objects, so leaks are found through these counts).
#pragma once
#include <windows.h>

namespace ui {

enum class HandleKind { WindowDc, Paint, MemoryDc, Selection, Gdi, Key, Module, Kernel, Count };
// Handles of a kind held by scoped owners right now.
int LiveHandles(HandleKind kind);

namespace detail {
void CountHandle(HandleKind kind, int delta);
}

// A handle with a stateless release; null (and for kernel handles also
// INVALID_HANDLE_VALUE) is empty.
template <class Traits>
class Scoped {
 public:
  using Handle = typename Traits::Handle;
  Scoped() = default;
  explicit Scoped(Handle h) { reset(h); }
  ~Scoped() { reset(); }
  Scoped(Scoped&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  Scoped& operator=(Scoped&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = o.h_;
      o.h_ = nullptr;
    }
    return *this;
  }
  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void reset(Handle h = nullptr) {
    if (Traits::Empty(h)) h = nullptr;
    if (h == h_) return;
    if (h_) {
      Traits::Free(h_);
      detail::CountHandle(Traits::kKind, -1);
    }
    h_ = h;
    if (h_) detail::CountHandle(Traits::kKind, +1);
  }
  // Gives the handle up without releasing it.
  Handle release() {
    Handle h = h_;
    if (h_) detail::CountHandle(Traits::kKind, -1);
    h_ = nullptr;
    return h;
  }

 private:
  Handle h_ = nullptr;
};

namespace traits {
template <class H, HandleKind K, auto FreeFn>
struct Plain {
  using Handle = H;
  static constexpr HandleKind kKind = K;
  static bool Empty(H h) { return h == nullptr; }
  static void Free(H h) { FreeFn(h); }
};
template <auto FreeFn>
struct Kernel {
  using Handle = HANDLE;
  static constexpr HandleKind kKind = HandleKind::Kernel;
  static bool Empty(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
  static void Free(HANDLE h) { FreeFn(h); }
};
}  // namespace traits

using GdiObject = Scoped<traits::Plain<HGDIOBJ, HandleKind::Gdi, DeleteObject>>;
using MemoryDC = Scoped<traits::Plain<HDC, HandleKind::MemoryDc, DeleteDC>>;
using RegKey = Scoped<traits::Plain<HKEY, HandleKind::Key, RegCloseKey>>;
using Module = Scoped<traits::Plain<HMODULE, HandleKind::Module, FreeLibrary>>;
using KernelHandle = Scoped<traits::Kernel<CloseHandle>>;
using FindHandle = Scoped<traits::Kernel<FindClose>>;

// GetDC (or GetWindowDC for the whole window) and ReleaseDC; no window: the screen.
class WindowDC {
 public:
  explicit WindowDC(HWND window = nullptr, bool wholeWindow = false);
  ~WindowDC();
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint and EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND window);
  ~PaintDC();
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return dc_; }
  const PAINTSTRUCT& Info() const { return ps_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// An object selected into a DC; the one it replaced goes back at the end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object);
  ~SelectedObject();
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace ui
