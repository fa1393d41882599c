#!/usr/bin/env bash
# Builds the browser edition into build-web/ (the core as one wasm32-wasi
# module in build-wasm/, the page bundled by esbuild after a type check) and
# serves that folder on http://127.0.0.1:PORT/. build-web/ is a plain static
# folder: any static host can serve it.
#   scripts/web.sh [--port N] [--build-only]
set -euo pipefail
cd "$(dirname "$0")/.."
port=8080
serve=1
while [ $# -gt 0 ]; do
  case "$1" in
    --port) port="${2:?--port needs a number}"; shift 2 ;;
    --build-only) serve=0; shift ;;
    -h|--help) sed -n '2,7s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "web.sh: unknown argument $1 (try --help)" >&2; exit 2 ;;
  esac
done
case "$port" in ''|*[!0-9]*) echo "web.sh: --port needs a number" >&2; exit 2 ;; esac

if [ ! -f core/CMakeLists.txt ]; then
  echo "web.sh: the browser edition is built on the core (core/), which this tree lacks" >&2
  exit 1
fi
scripts/deps.sh web
cmake -S . -B build-wasm -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake >/dev/null
cmake --build build-wasm -j"$(nproc)" --target orv_web

# The npm packages pinned by web/package-lock.json, installed again only when it changed.
if ! cmp -s web/package-lock.json web/node_modules/.orv-lock 2>/dev/null; then
  (cd web && npm ci --no-audit --no-fund --ignore-scripts --loglevel=error)
  cp web/package-lock.json web/node_modules/.orv-lock
fi
rm -rf build-web
node web/build.mjs --out build-web --wasm build-wasm/bin/orv_web.wasm
[ "$serve" = 1 ] || exit 0
exec node web/serve.mjs build-web --port "$port"
