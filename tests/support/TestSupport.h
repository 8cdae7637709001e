// Helpers for tests that start programs and watch them from outside.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "WaitPumping.h"

namespace testsupport {

// How long a wait for something that is bound to happen may take: long, since
// it costs nothing while things go well, and the tests share the machine.
constexpr DWORD kPatienceMs = 20000;

// The folder of the running test executable, with a trailing backslash.
std::string ExeDir();

// Gives this test its own simulated machine, reset to defaults.
void UseFreshMachine(const std::string& name);

struct RunResult {
  DWORD exitCode = 0;
  std::string output;  // standard output
};

// Runs a command line to completion, dispatching this thread's messages while
// it waits (so the program can send messages to our windows).
RunResult Run(const std::string& commandLine, DWORD timeoutMs = 30000);

// A fresh copy of the staged install folder (build/<preset>/stage/Corvel)
// at %TEMP%\<name>\Corvel\; returns that folder with a trailing backslash.
std::string InstallCopy(const std::string& name);

// Runs a corvelsim command on this test's machine, in this process (the
// machine is shared memory); its output, or an exception when malformed.
std::string Sim(const std::string& args);

// Starts a program in its own folder without waiting; the handle closes
// with the object.
class Process {
 public:
  explicit Process(const std::string& commandLine);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  HANDLE handle() const { return info_.hProcess; }
  DWORD id() const { return info_.dwProcessId; }
  bool WaitExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
  void Kill();

 private:
  PROCESS_INFORMATION info_ = {};
};

// A hidden top-level window of this thread that shows every message to its
// handler first; a message the handler takes (returns true) is answered TRUE.
class MessageWindow {
 public:
  using Handler = std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam)>;
  MessageWindow(const std::string& caption, Handler onMessage);
  ~MessageWindow() { Destroy(); }
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;
  HWND hwnd() const { return hwnd_; }
  void Destroy();

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  Handler onMessage_;
  HWND hwnd_ = nullptr;
};

// The process of the foreground window.
DWORD ForegroundPid();

// A click at a point of the screen, as the user makes it (left, right or a
// left double click), then this thread's messages dispatched for a while.
enum class Button { Left, Right, Double };
void ClickAt(POINT screen, Button button = Button::Left);
// What the screen shows at a point.
COLORREF ScreenPixel(int x, int y);
// One mouse event at a point of the screen with these button flags: it
// carries the point, as a real mouse's does.
INPUT MouseEvent(POINT screen, DWORD buttonFlags);
// Clicks the middle of a window (a button of another program's dialog).
void ClickOn(HWND window);

// A top-level window of that process and class ("#32770" a dialog, "#32768" a
// popup menu), visible or any; null when there is none.
HWND VisibleWindowOf(DWORD pid, const std::string& windowClass);
HWND WindowOf(DWORD pid, const std::string& windowClass);

// True once the window's thread has taken every message sent to it before:
// it runs its message loop (or a wait that dispatches messages). Messages it
// was posted may still be queued.
bool Answers(HWND window, DWORD timeoutMs = kPatienceMs);

// Waits until the control center of that process has finished starting and
// runs its message loop: its last form's window exists and its main window
// has answered since. A device event or a close request sent earlier meets a
// program that is still creating its forms.
bool WaitUntilPavonaRuns(DWORD pid);

// A file's whole text; empty when it cannot be read.
std::string ReadFileText(const std::string& path);
// A file's bytes unchanged (empty when it cannot be read), and writing them.
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// A tilt reading (id 0x55) with these axes, each -32..31.
constexpr uint32_t TiltValue(int x, int y, int z) {
  return static_cast<uint32_t>((z & 0x3F) | (x & 0x3F) << 8 | (y & 0x3F) << 16);
}

// keylog.exe copied as %TEMP%\<folder>\<exeName>, started, and in the
// foreground once ready() (so it can stand in for a player or a game).
class KeyLog {
 public:
  KeyLog(const std::string& folder, const std::string& exeName);
  bool ready() const { return ready_; }
  DWORD id() const;
  std::string Log() const { return ReadFileText(log_); }
  bool WaitForLog(const std::string& text) const;

 private:
  std::string log_;
  std::unique_ptr<Process> process_;
  bool ready_ = false;
};

// Polls (dispatching messages) until pred() holds or the time runs out.
template <class Pred>
bool WaitFor(Pred pred, DWORD timeoutMs = kPatienceMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (pred()) return true;
    if (GetTickCount64() > end) return false;
    ui::WaitPumping(10);
  }
}

}  // namespace testsupport
