// corvelsim: the simulated machine's command-line interface for tests and demos.
#include <cstdio>
#include <exception>

#include "SimCommands.h"

int main(int argc, char** argv) {
  try {
    std::string out;
    const int rc = sim::RunCommand(std::vector<std::string>(argv + 1, argv + argc), out);
    fputs(rc == 0 ? out.c_str() : sim::kUsage, rc == 0 ? stdout : stderr);
    return rc;
  } catch (const std::exception& e) {
    fprintf(stderr, "corvelsim: %s\n", e.what());
    return 1;
  }
}
