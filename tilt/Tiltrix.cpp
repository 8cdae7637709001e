// Tiltrix: the tilt game control. One copy at a time.
#include "Unit1.h"

namespace {

constexpr char kRunningAtom[] = "Corvel-Game-Running";

// Holds the single-instance atom and gives it back however the program ends,
// so a start that fails never locks out every later one.
class RunningAtom {
 public:
  RunningAtom() { GlobalAddAtomA(kRunningAtom); }
  ~RunningAtom() {
    if (ATOM atom = GlobalFindAtomA(kRunningAtom)) GlobalDeleteAtom(atom);
  }
  RunningAtom(const RunningAtom&) = delete;
  RunningAtom& operator=(const RunningAtom&) = delete;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The atom outlives a copy ended by force; the mutex beside it dies with
  // its process, so it tells whether a copy really runs.
  CreateMutexA(nullptr, FALSE, kRunningAtom);
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;
  for (ATOM stale; (stale = GlobalFindAtomA(kRunningAtom)) != 0;)
    if (GlobalDeleteAtom(stale) != 0) return 0;  // cannot be removed: leave it to its owner
  RunningAtom running;
  return ui::RunApplication("Tiltrix", [](TApplication& app) { app.CreateForm(Form1); });
}
