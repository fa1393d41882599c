#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# "scripts/deps.sh web" adds what the browser edition needs besides: Node.js
# with npm, and Chromium for its browser tests.
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core)
# The wasm32-wasi build (cmake/wasm32-wasi.cmake).
packages+=(clang-16 lld-16 wasi-libc libc++-16-dev-wasm32 libc++abi-16-dev-wasm32
           libclang-rt-16-dev-wasm32)
if [ "${1:-}" = web ]; then
  packages+=(chromium)
  # The machine's own Node.js (20 or later) serves; Debian's is older.
  command -v node >/dev/null || packages+=(nodejs npm)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
