#!/usr/bin/env bash
# Builds and runs every test: once plain (build/), and the codec, the core
# modules that read untrusted files and the command line once more under
# AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/). The
# platform-free libraries are built for wasm32-wasi too (build-wasm/) and
# checked under node's WASI; then each libFuzzer target runs for FUZZ_SECONDS
# (default 20). Fails when any test or build fails.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh || exit 1
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1
jobs=$(nproc)
status=0

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -U ORVISTA_MODULES >/dev/null || exit 1
cmake --build build -j"$jobs" || exit 1
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DORVISTA_SANITIZE=ON \
      -DORVISTA_MODULES="platform;picture;preview;cli" -DORVISTA_BUILD_BENCH=OFF >/dev/null || exit 1
cmake --build build-sanitize -j"$jobs" || exit 1

echo "== wasm32-wasi build =="
if cmake -S . -B build-wasm -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake >/dev/null &&
   cmake --build build-wasm -j"$jobs"; then
  if node -e 'process.exit(parseInt(process.versions.node) >= 20 ? 0 : 1)' 2>/dev/null; then
    ctest --test-dir build-wasm --output-on-failure --no-tests=error || status=1
  else
    echo "wasm32-wasi check not run: it needs node 20 or later"
  fi
else
  echo "wasm32-wasi build failed"
  status=1
fi
echo "== sanitizer build =="
ctest --test-dir build-sanitize --output-on-failure -j"$jobs" || status=1
echo "== plain build =="
ctest --test-dir build --output-on-failure -j"$jobs" || status=1
echo "== fuzz targets =="
fuzz/run.sh "${FUZZ_SECONDS:-20}" || status=1

# The browser edition: the wasm module and the page in build-web/, then the
# JavaScript module under node and the page in headless Chromium, both
# against orvista-cli of the plain build.
echo "== browser edition =="
if scripts/web.sh --build-only; then
  (cd web && ORV_BUILD_DIR="$PWD/../build" node --test test/*.test.mjs) || status=1
else
  status=1
fi
exit $status
