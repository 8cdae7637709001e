// Time for the class library's one-shot timers that only moves when a test
// says so: while a StepClock exists, timers are armed on it, and Advance fires
// those that fall due, in order, each at its own time.
#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "ThreadTimer.h"

namespace testsupport {

class StepClock : public ui::TimerClock {
 public:
  StepClock() { ui::SetTimerClock(this); }
  ~StepClock() override {
    ui::SetTimerClock(nullptr);
    for (const Entry& e : armed_) Forget(*e.timer);
  }
  StepClock(const StepClock&) = delete;
  StepClock& operator=(const StepClock&) = delete;

  // Moves time on by ms; a timer a callback arms fires too if it falls due
  // within them.
  void Advance(uint64_t ms) {
    const uint64_t end = now_ + ms;
    for (;;) {
      const auto next = std::min_element(armed_.begin(), armed_.end());
      if (next == armed_.end() || next->due > end) break;
      now_ = next->due;
      Fire(*next->timer);  // stops it first, which takes it off the list
    }
    now_ = end;
  }
  uint64_t Now() const { return now_; }

 private:
  struct Entry {
    uint64_t due, order;
    ui::ThreadTimer* timer;
    bool operator<(const Entry& o) const { return due != o.due ? due < o.due : order < o.order; }
  };
  void Arm(ui::ThreadTimer& timer, UINT ms) override { armed_.push_back({now_ + ms, order_++, &timer}); }
  void Disarm(ui::ThreadTimer& timer) override {
    std::erase_if(armed_, [&](const Entry& e) { return e.timer == &timer; });
  }

  std::vector<Entry> armed_;
  uint64_t now_ = 0, order_ = 0;
};

}  // namespace testsupport
