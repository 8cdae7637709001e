// The arrow-key repeat workers: one thread per direction tapping its arrow key
// until told to stop. Owned by the window; called from the window thread only.
// A worker whose tap fails hands the error to the application (from its own
// thread) and ends.
#pragma once
#include <windows.h>

#include <array>
#include <atomic>
#include <memory>

#include "Handles.h"
#include "TiltGesture.h"
#include "seams/Input.h"

namespace tilt {

class KeyRepeat {
 public:
  // input must outlive every worker (the real one does).
  explicit KeyRepeat(seams::Input& input);
  // Stops and waits for the workers (bounded), so no arrow stays pressed.
  ~KeyRepeat();
  KeyRepeat(const KeyRepeat&) = delete;
  KeyRepeat& operator=(const KeyRepeat&) = delete;

  // Starts the direction's worker; a worker still finishing its last tap is
  // kept going instead, so a direction never has two.
  void Start(Direction d);
  // The worker ends after its current tap; does not wait.
  void Stop(Direction d);
  // Stops all and waits for them up to timeoutMs; true when all have ended.
  bool StopAll(DWORD timeoutMs = kStopWaitMs);

  bool Repeating(Direction d) const;

  static constexpr DWORD kStopWaitMs = 500;

 private:
  struct Shared;
  static DWORD WINAPI Worker(LPVOID param);

  std::shared_ptr<Shared> shared_;
  std::array<ui::KernelHandle, 4> threads_;
};

}  // namespace tilt
