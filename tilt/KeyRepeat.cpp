#include "KeyRepeat.h"

#include <vector>

#include "Forms.h"
#include "KeyTaps.h"

namespace tilt {

namespace {

// Per direction. Only the worker moves Stopping -> Idle, and only when it
// leaves; Start takes Stopping back to Running, so a quick off/on keeps the
// live worker instead of adding a second one.
enum State : int { Idle, Running, Stopping };

size_t Index(Direction d) { return static_cast<size_t>(d); }

}  // namespace

// Shared with the workers, so a worker that outlives a bounded wait still
// touches valid memory.
struct KeyRepeat::Shared {
  explicit Shared(seams::Input& in) : input(in) {}
  seams::Input& input;
  std::array<std::atomic<int>, 4> state = {};
};

namespace {

struct WorkerArgs {
  std::shared_ptr<void> keepAlive;
  std::atomic<int>* state;
  seams::Input* input;
  Direction direction;
};

}  // namespace

KeyRepeat::KeyRepeat(seams::Input& input) : shared_(std::make_shared<Shared>(input)) {}

KeyRepeat::~KeyRepeat() { StopAll(); }

DWORD WINAPI KeyRepeat::Worker(LPVOID param) {
  std::unique_ptr<WorkerArgs> args(static_cast<WorkerArgs*>(param));
  try {
    for (;;) {
      TapArrow(*args->input, args->direction);
      int expected = Stopping;
      if (args->state->compare_exchange_strong(expected, Idle)) break;
    }
  } catch (...) {
    *args->state = Idle;
    ui::HandleException(nullptr);
  }
  return 0;
}

void KeyRepeat::Start(Direction d) {
  std::atomic<int>& state = shared_->state[Index(d)];
  int expected = Stopping;
  if (state.compare_exchange_strong(expected, Running) || expected == Running) return;

  // Idle: a previous worker has left its loop and is only returning.
  ui::KernelHandle& thread = threads_[Index(d)];
  if (thread) {
    WaitForSingleObject(thread.get(), kStopWaitMs);
    thread.reset();
  }
  state = Running;
  auto* args = new WorkerArgs{shared_, &state, &shared_->input, d};
  thread.reset(CreateThread(nullptr, 0, Worker, args, 0, nullptr));
  if (!thread) {
    delete args;
    state = Idle;
  }
}

void KeyRepeat::Stop(Direction d) {
  int expected = Running;
  shared_->state[Index(d)].compare_exchange_strong(expected, Stopping);
}

bool KeyRepeat::StopAll(DWORD timeoutMs) {
  std::vector<HANDLE> live;
  for (Direction d : kDirections) {
    Stop(d);
    if (threads_[Index(d)]) live.push_back(threads_[Index(d)].get());
  }
  bool ended = live.empty() ||
               WaitForMultipleObjects(static_cast<DWORD>(live.size()), live.data(), TRUE, timeoutMs) == WAIT_OBJECT_0;
  if (!ended) return false;
  for (ui::KernelHandle& thread : threads_) thread.reset();
  return true;
}

bool KeyRepeat::Repeating(Direction d) const { return shared_->state[Index(d)] == Running; }

}  // namespace tilt
