// One-shot thread timer: SetTimer with no window and a callback procedure.
#pragma once
#include <windows.h>

#include <functional>

namespace ui {

class ThreadTimer {
 public:
  explicit ThreadTimer(std::function<void()> fire) : fire_(std::move(fire)) {}
  ~ThreadTimer() { Stop(); }
  ThreadTimer(const ThreadTimer&) = delete;
  ThreadTimer& operator=(const ThreadTimer&) = delete;
  void Start(UINT ms);  // kills a pending timer first
  void Stop();          // safe from inside the callback
  bool Armed() const { return id_ != 0; }

 private:
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD);
  std::function<void()> fire_;
  UINT_PTR id_ = 0;
};

}  // namespace ui
