// Start-up time of the control center: two installed folders (this build and
// another), started in turn, each start timed from CreateProcess until the
// program waits for input with its main window made; medians per folder.
//   startup_bench ROUNDS FOLDER_A FOLDER_B      (a Windows program; runs under Wine)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Milliseconds until the program is up, or a negative number when it is not.
double StartOnce(const std::string& folder) {
  std::string cmd = "\"" + folder + "\\Pavona.exe\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  const auto t0 = std::chrono::steady_clock::now();
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) return -1;
  const bool idle = WaitForInputIdle(pi.hProcess, 20000) == 0;
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  const bool up = idle && FindWindowA("TForm_Main", "QVX Center");
  DWORD_PTR result;
  SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("QVXPAVONACLOSE"), 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return up ? ms : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::atoi(argv[1]) < 1) {
    std::fprintf(stderr, "usage: startup_bench ROUNDS FOLDER_A FOLDER_B\n");
    return 2;
  }
  const int rounds = std::atoi(argv[1]);
  const std::string folders[2] = {argv[2], argv[3]};
  std::vector<double> times[2];
  StartOnce(folders[0]);  // the first start of a session warms Wine's caches
  for (int k = 0; k < rounds; ++k)
    for (int i = 0; i < 2; ++i) {
      const int which = (k + i) % 2;  // A B, B A, A B, ...
      const double ms = StartOnce(folders[which]);
      if (ms < 0) {
        std::fprintf(stderr, "startup_bench: %s did not come up\n", folders[which].c_str());
        return 1;
      }
      times[which].push_back(ms);
    }
  const double a = Median(times[0]), b = Median(times[1]);
  std::printf("startup_bench: %d starts each, alternating\n  A %s: median %.1f ms (min %.1f, max %.1f)\n"
              "  B %s: median %.1f ms (min %.1f, max %.1f)\n  A - B: %+.1f ms\n",
              rounds, folders[0].c_str(), a, *std::min_element(times[0].begin(), times[0].end()),
              *std::max_element(times[0].begin(), times[0].end()), folders[1].c_str(), b,
              *std::min_element(times[1].begin(), times[1].end()), *std::max_element(times[1].begin(), times[1].end()),
              a - b);
  return 0;
}
