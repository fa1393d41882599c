#pragma once
// The commands of orvista-cli; each returns its exit code.

#include "cli_common.h"

namespace orv::cli {

int Info(const Args& args, Streams s);
int Extract(const Args& args, Streams s);
int ExtractAll(const Args& args, Streams s);
int Insert(const Args& args, Streams s);
int InsertAll(const Args& args, Streams s);
int Palette(const Args& args, Streams s);
int Convert(const Args& args, Streams s);
int Compress(const Args& args, Streams s);
int Decompress(const Args& args, Streams s);
int Search(const Args& args, Streams s);
int Space(const Args& args, Streams s);

} // namespace orv::cli
