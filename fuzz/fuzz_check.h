#pragma once
// A fuzz target's assertion: abort, so libFuzzer keeps the input.

#include <cstdlib>

inline void Check(bool condition)
{
    if (!condition)
        abort();
}
