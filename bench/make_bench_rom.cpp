// Writes the tests' synthetic 2 MB ROM (English or German) for timing whole
// orvista-cli runs: make_bench_rom FILE [E|D]

#include <cstdio>

#include "synthetic_rom.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_bench_rom FILE [E|D]\n");
        return 2;
    }
    orv::test::SyntheticRom::Standard(argc > 2 ? argv[2][0] : 'E').write(argv[1]);
    return 0;
}
