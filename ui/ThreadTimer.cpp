#include "ThreadTimer.h"

#include "Forms.h"

namespace ui {

void ThreadTimer::Start(UINT ms) {
  Stop();
  id_ = SetTimer(nullptr, 0, ms, Proc);
  if (id_ && Application) Application->ThreadTimers[id_] = this;
}

void ThreadTimer::Stop() {
  if (!id_) return;
  KillTimer(nullptr, id_);
  if (Application) Application->ThreadTimers.erase(id_);
  id_ = 0;
}

void CALLBACK ThreadTimer::Proc(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Application ? Application->ThreadTimers.find(id) : decltype(Application->ThreadTimers.end()){};
  if (!Application || it == Application->ThreadTimers.end()) {
    KillTimer(nullptr, id);  // its owner is gone
    return;
  }
  ThreadTimer* t = it->second;
  t->Stop();  // one shot: the callback kills its own timer first
  Guard(Application, t->fire_);
}

}  // namespace ui
