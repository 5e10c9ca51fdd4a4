// The kestra program: its subcommands and how their failures are reported.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kestra::cli {

// Runs the program on the arguments (without the program name). Help and
// version go to `out` with exit 0; usage errors (exit 2) and failures
// (exit 1) go to `err`, naming the status code and its meaning.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestra::cli
