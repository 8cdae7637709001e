// Helpers for tests that start programs and watch them from outside.
#pragma once
#include <windows.h>

#include <string>

namespace testsupport {

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

// Runs corvelsim from beside the test executable.
std::string Sim(const std::string& args);

// Starts a program without waiting; the handle closes with the object.
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

// Polls (dispatching messages) until pred() holds or the time runs out.
template <class Pred>
bool WaitFor(Pred pred, DWORD timeoutMs = 10000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (pred()) return true;
    if (GetTickCount64() > end) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
}

}  // namespace testsupport
