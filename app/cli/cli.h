#pragma once
// orvista-cli: the wizard's work on the command line, on the same cores.
// `orvista-cli --help` lists the commands; `orvista-cli COMMAND --help`
// describes one.

#include <iosfwd>
#include <span>
#include <string>

namespace orv::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1; // the work was refused or failed
constexpr int kExitUsage = 2;  // the command line itself is wrong

// args without the program's name. Results go to out, messages to err.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace orv::cli
