// One-shot thread timer: SetTimer with no window and a callback procedure.
#pragma once
#include <windows.h>

#include <functional>

namespace ui {

class TimerClock;

class ThreadTimer {
 public:
  explicit ThreadTimer(std::function<void()> fire) : fire_(std::move(fire)) {}
  ~ThreadTimer() { Stop(); }
  ThreadTimer(const ThreadTimer&) = delete;
  ThreadTimer& operator=(const ThreadTimer&) = delete;
  void Start(UINT ms);  // kills a pending timer first
  void Stop();          // safe from inside the callback
  bool Armed() const { return id_ != 0 || clock_ != nullptr; }

 private:
  friend class TimerClock;
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD);
  void Fire();
  std::function<void()> fire_;
  UINT_PTR id_ = 0;
  TimerClock* clock_ = nullptr;  // armed on a clock instead of the platform
};

// Where timers are armed: the platform's thread timers, unless a clock is put
// in their place (tests step time with one). A clock fires the timers it
// holds with Fire, in the order they fall due, and lets go of those still
// armed with Forget when it goes away.
class TimerClock {
 public:
  virtual ~TimerClock() = default;
  virtual void Arm(ThreadTimer& timer, UINT ms) = 0;
  virtual void Disarm(ThreadTimer& timer) = 0;

 protected:
  static void Fire(ThreadTimer& timer) { timer.Fire(); }
  static void Forget(ThreadTimer& timer) { timer.clock_ = nullptr; }
};

// The clock for timers started from now on; nullptr for the platform's.
void SetTimerClock(TimerClock* clock);

}  // namespace ui
