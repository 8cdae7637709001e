// Message-sequence checks: a WindowProc spy records what reaches a control,
// and a table says what must arrive, in which order, which parameters count
// and what may be missing.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Controls.h"

struct SeenMsg {
  std::string who;
  UINT msg;
  WPARAM w;
  LPARAM l;
};

enum : int { kWParam = 1, kLParam = 2, kOptional = 4 };

struct ExpectedMsg {
  std::string who;
  UINT msg;
  int flags = 0;
  WPARAM w = 0;
  LPARAM l = 0;
};

class MsgLog {
 public:
  // Records the messages that pass the filter on their way into c's WindowProc.
  void Watch(TControl* c, const std::string& who, std::function<bool(UINT)> filter) {
    TWndMethod next = c->WindowProc;
    c->WindowProc = [log = log_, who, next, filter](TMessage& m) {
      if (filter(m.Msg)) log->push_back({who, m.Msg, m.WParam, m.LParam});
      next(m);
    };
  }
  // A line of our own, to mark where something happened among the messages.
  void Note(const std::string& who, UINT what = 0) { log_->push_back({who, what, 0, 0}); }
  std::vector<SeenMsg> Take() {
    std::vector<SeenMsg> seen;
    seen.swap(*log_);
    return seen;
  }

 private:
  std::shared_ptr<std::vector<SeenMsg>> log_ = std::make_shared<std::vector<SeenMsg>>();
};

inline std::string Describe(const std::string& who, UINT msg, WPARAM w, LPARAM l) {
  char buf[96];
  std::snprintf(buf, sizeof buf, " 0x%04X (%llx, %llx)", msg, static_cast<unsigned long long>(w),
                static_cast<unsigned long long>(l));
  return who + buf;
}

// Walks the table against what was seen: an optional line that does not
// match is skipped; anything else out of place, missing or left over fails.
inline void ExpectSequence(const std::vector<SeenMsg>& seen, const std::vector<ExpectedMsg>& table,
                           const std::string& context) {
  size_t i = 0;
  for (const ExpectedMsg& e : table) {
    const bool match = i < seen.size() && seen[i].who == e.who && seen[i].msg == e.msg &&
                       (!(e.flags & kWParam) || seen[i].w == e.w) && (!(e.flags & kLParam) || seen[i].l == e.l);
    if (match) {
      ++i;
      continue;
    }
    if (e.flags & kOptional) continue;
    ADD_FAILURE() << context << ": expected " << Describe(e.who, e.msg, e.w, e.l) << ", got "
                  << (i < seen.size() ? Describe(seen[i].who, seen[i].msg, seen[i].w, seen[i].l) : "nothing");
    return;
  }
  if (i < seen.size())
    ADD_FAILURE() << context << ": unexpected " << Describe(seen[i].who, seen[i].msg, seen[i].w, seen[i].l);
}

// The class library's own notifications.
inline bool IsNotification(UINT msg) { return msg >= 0xB000 && msg < 0xB100; }
