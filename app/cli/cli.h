#pragma once
// orvista-cli: the wizard's roads on the command line, on the same cores.
//
//   extract ROM ((--pokemon N | --unown U) [--back] [--shiny] | --trainer T |
//                --offset OFF [--size WxH] [--horizontal]) OUT.bmp|OUT.orv
//   insert ROM PICTURE|ORV (--offset OFF | --search) [--pokemon N | --unown U |
//                --trainer T] [--back] [--shiny] [--delete-original]
//                [--name NAME [--name-length L]] [--horizontal] [--dry-run]
//   info ROM
//   encode RAW OUT      decode STREAM OUT
//
// Numbers are decimal, or hexadecimal after "0x" or "&H".

#include <iosfwd>
#include <span>
#include <string>

namespace orv::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1; // a core refused or a file could not be used
constexpr int kExitUsage = 2;  // the command line itself is wrong

// args without the program's name. Results go to out, messages to err.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace orv::cli
