#!/usr/bin/env bash
# Builds Orvista in build/ and starts the wizard; arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -U ORVISTA_MODULES >/dev/null
cmake --build build -j"$(nproc)" --target orvista vexlib
exec build/bin/orvista "$@"
