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
  if (GlobalFindAtomA(kRunningAtom)) return 0;
  RunningAtom running;
  return ui::RunApplication("Tiltrix", [](TApplication& app) { app.CreateForm(Form1); });
}
