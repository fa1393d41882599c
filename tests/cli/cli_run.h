#pragma once
// orvista-cli run in the test's own process.

#include <sstream>
#include <string>
#include <vector>

#include "cli.h"

namespace orv::test {

struct CliRun {
    int code;
    std::string out, err;
};

inline CliRun Invoke(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = cli::RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

} // namespace orv::test
