// Writes the standard synthetic ROM to a file, for tests outside C++ (the
// browser edition's): write_synthetic_rom OUT [LANGUAGE-BYTE]
#include <cstdio>
#include <exception>

#include "synthetic_rom.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: write_synthetic_rom OUT [E|D]\n");
        return 2;
    }
    try {
        orv::test::SyntheticRom::Standard(argc == 3 ? argv[2][0] : 'E').write(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "write_synthetic_rom: %s\n", e.what());
        return 1;
    }
    return 0;
}
