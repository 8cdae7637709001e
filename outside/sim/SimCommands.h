// The simulated machine's commands, for the corvelsim program and for tests
// in process: reset | set <key> <value|fail> | get <key> | event <code> |
// log [--clear] | show.
#pragma once
#include <string>
#include <vector>

namespace sim {

extern const char kUsage[];

// Runs one command (the words after the program name); its text goes to out.
// 0 when done, 2 for a malformed command.
int RunCommand(const std::vector<std::string>& args, std::string& out);

}  // namespace sim
