// execlog: stands in for a Windows tool that a test must not really start.
// Copied under the tool's name beside a test program, it appends its own
// file name and its command line to the file named by CORVEL_EXECLOG and
// exits; without that variable it only exits.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int) {
  char logPath[MAX_PATH];
  if (!GetEnvironmentVariableA("CORVEL_EXECLOG", logPath, sizeof logPath)) return 0;
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  const char* name = strrchr(self, '\\');
  FILE* f = fopen(logPath, "a");
  if (!f) return 1;
  fprintf(f, "%s %s\n", name ? name + 1 : self, cmdLine);
  fclose(f);
  return 0;
}
