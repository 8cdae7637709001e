// Start-up time of the control center: two installed folders (this build and
// another), started in turn, each start timed from CreateProcess until the
// program waits for input with its main window made, and its processor time
// by then (less disturbed by a busy machine); medians per folder.
//   startup_bench ROUNDS FOLDER_A FOLDER_B      (a Windows program; runs under Wine)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct TStart {
  double wall = -1;  // milliseconds until the program is up; negative when it is not
  double cpu = 0;    // its processor time (user and kernel) by then
};

double Milliseconds(const FILETIME& t) { return double(uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e4; }

TStart StartOnce(const std::string& folder) {
  std::string cmd = "\"" + folder + "\\Pavona.exe\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  const auto t0 = std::chrono::steady_clock::now();
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) return {};
  const bool idle = WaitForInputIdle(pi.hProcess, 20000) == 0;
  TStart start;
  start.wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  FILETIME created, exited, kernel, user;
  if (GetProcessTimes(pi.hProcess, &created, &exited, &kernel, &user)) start.cpu = Milliseconds(kernel) + Milliseconds(user);
  if (!idle || !FindWindowA("TForm_Main", "QVX Center")) start.wall = -1;
  DWORD_PTR result;
  SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("QVXPAVONACLOSE"), 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return start;
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
  std::vector<double> wall[2], cpu[2];
  StartOnce(folders[0]);  // the first start of a session warms Wine's caches
  for (int k = 0; k < rounds; ++k)
    for (int i = 0; i < 2; ++i) {
      const int which = (k + i) % 2;  // A B, B A, A B, ...
      const TStart start = StartOnce(folders[which]);
      if (start.wall < 0) {
        std::fprintf(stderr, "startup_bench: %s did not come up\n", folders[which].c_str());
        return 1;
      }
      wall[which].push_back(start.wall);
      cpu[which].push_back(start.cpu);
    }
  std::printf("startup_bench: %d starts each, alternating; medians of the time until it waits for input, and of\n"
              "its processor time by then\n",
              rounds);
  for (int i = 0; i < 2; ++i)
    std::printf("  %c %s: %.1f ms (min %.1f, max %.1f), processor %.1f ms\n", 'A' + i, folders[i].c_str(),
                Median(wall[i]), *std::min_element(wall[i].begin(), wall[i].end()),
                *std::max_element(wall[i].begin(), wall[i].end()), Median(cpu[i]));
  std::printf("  A - B: %+.1f ms, processor %+.1f ms\n", Median(wall[0]) - Median(wall[1]),
              Median(cpu[0]) - Median(cpu[1]));
  return 0;
}
