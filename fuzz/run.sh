#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for
# SECONDS (default 60): the codec's, and the program's parsers of untrusted
# files (picture structure, own picture file, game text). The program has no
# patch reader: it only writes patches. Seeds are kept in fuzz/seeds/<target>/;
# the corpora grow in build-fuzz/corpus-<target>/, findings land in
# fuzz/artifacts/. Fails when a target finds a fault.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

# clang 16 for std::expected of the program's code; its runtime for libFuzzer.
missing=()
for p in clang-16 libclang-rt-16-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

cxx=clang++-16
out=build-fuzz
mkdir -p "$out" fuzz/artifacts
sanitize=(-O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
codec=(codec/src/*.cpp)
# The program's code is C++23 with libstdc++'s std::expected, which clang 16
# compiles but does not announce through __cpp_concepts.
app=(-std=c++2b -Wno-builtin-macro-redefined -U__cpp_concepts -D__cpp_concepts=202002L
     -Iapp/picture -Iapp/rom -Iapp/platform -Iapp/preview -Icodec/include)
platform=(app/platform/binary_file.cpp app/platform/file_commit.cpp app/platform/stop_signals.cpp)

build() { # target, then sources and flags; kept while no source is newer
  local target=$1
  shift
  [ -x "$out/$target" ] \
    && [ -z "$(find app codec fuzz tests/codec -newer "$out/$target" \( -name '*.h' -o -name '*.cpp' \) | head -1)" ] \
    && return 0
  echo "building $target"
  $cxx "${sanitize[@]}" "$@" -o "$out/$target"
}

build measure_decode_fuzz -std=c++20 -Icodec/include -Icodec/src fuzz/measure_decode_fuzz.cpp "${codec[@]}"
build roundtrip_fuzz -std=c++20 -Icodec/include -Icodec/src -Itests/codec fuzz/roundtrip_fuzz.cpp \
      tests/codec/reference_encoder.cpp "${codec[@]}"
build picture_structure_fuzz "${app[@]}" fuzz/picture_structure_fuzz.cpp app/picture/picture_structure.cpp
build game_text_fuzz "${app[@]}" fuzz/game_text_fuzz.cpp app/rom/game_text.cpp app/rom/rom_layout.cpp \
      app/rom/rom_error.cpp app/rom/rom_file.cpp app/rom/gbc_color.cpp app/platform/codec_library.cpp \
      "${platform[@]}" -DORV_LIBDIR_FROM_BINDIR='"../lib"' -ldl
# The own file reads streams through libvexlib.so, found beside the program.
if [ ! -e "$out/libvexlib.so" ] || [ -n "$(find codec -newer "$out/libvexlib.so" -name '*.cpp' | head -1)" ]; then
  $cxx -std=c++20 -O1 -g -fPIC -shared -Icodec/include -Icodec/src "${codec[@]}" -o "$out/libvexlib.so"
fi
build orv_file_fuzz "${app[@]}" fuzz/orv_file_fuzz.cpp app/picture/orv_file.cpp app/rom/gbc_color.cpp \
      app/platform/codec_library.cpp "${platform[@]}" -DORV_LIBDIR_FROM_BINDIR='"../lib"' -ldl

status=0
for target in measure_decode_fuzz roundtrip_fuzz picture_structure_fuzz orv_file_fuzz game_text_fuzz; do
  echo "== $target for ${seconds}s =="
  mkdir -p "$out/corpus-$target"
  "$out/$target" -max_total_time="$seconds" -max_len=8192 -timeout=20 -print_final_stats=0 \
      -artifact_prefix=fuzz/artifacts/ "$out/corpus-$target" "fuzz/seeds/$target" 2>&1 \
      | grep -E '^(Done|==|SUMMARY|INFO: Seed)|ERROR|deadly|crash' || true
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
done
exit $status
