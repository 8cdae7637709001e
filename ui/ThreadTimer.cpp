#include "ThreadTimer.h"

#include "Forms.h"

namespace ui {

namespace {
TimerClock* timerClock = nullptr;
}  // namespace

void SetTimerClock(TimerClock* clock) { timerClock = clock; }

void ThreadTimer::Start(UINT ms) {
  Stop();
  if (timerClock) {
    clock_ = timerClock;
    clock_->Arm(*this, ms);
    return;
  }
  id_ = SetTimer(nullptr, 0, ms, Proc);
  if (id_ && Application) Application->ThreadTimers[id_] = this;
}

void ThreadTimer::Stop() {
  if (clock_) {
    clock_->Disarm(*this);
    clock_ = nullptr;
  }
  if (!id_) return;
  KillTimer(nullptr, id_);
  if (Application) Application->ThreadTimers.erase(id_);
  id_ = 0;
}

void ThreadTimer::Fire() {
  Stop();  // one shot: the callback kills its own timer first
  Guard(Application, fire_);
}

void CALLBACK ThreadTimer::Proc(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Application ? Application->ThreadTimers.find(id) : decltype(Application->ThreadTimers.end()){};
  if (!Application || it == Application->ThreadTimers.end()) {
    KillTimer(nullptr, id);  // its owner is gone
    return;
  }
  it->second->Fire();
}

}  // namespace ui
