#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for
# SECONDS (default 60): the codec's, and the program's parsers of untrusted
# files (picture structure, own picture file, game text). The program has no
# patch reader: it only writes patches. Seeds are kept in fuzz/seeds/<target>/;
# the corpora grow in build-fuzz/corpus-<target>/, findings land in
# fuzz/artifacts/. Builds and runs go as many at a time as there are cores.
# Fails when a build fails or a target finds a fault.
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
     -Iapp/picture -Icore -Icore/rom -Icore/picture -Icore/batch -Icodec/include)
# The core with the codec linked in.
core_codec=(core/codec.cpp core/codec_static.cpp core/error.cpp "${codec[@]}")

failed="$out/failed"
rm -f "$failed"
# Runs a command in the background once fewer than one per core run.
spawn() {
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  "$@" &
}

build() { # target, then sources and flags; kept while no source is newer
  local target=$1
  shift
  [ -x "$out/$target" ] \
    && [ -z "$(find app core codec fuzz tests/codec -newer "$out/$target" \( -name '*.h' -o -name '*.cpp' \) | head -1)" ] \
    && return 0
  echo "building $target"
  $cxx "${sanitize[@]}" "$@" -o "$out/$target.new" && mv "$out/$target.new" "$out/$target" \
    || echo "build of $target" >>"$failed"
}

run() { # target
  local target=$1
  mkdir -p "$out/corpus-$target"
  "$out/$target" -max_total_time="$seconds" -max_len=8192 -timeout=20 -print_final_stats=0 \
      -artifact_prefix=fuzz/artifacts/ "$out/corpus-$target" "fuzz/seeds/$target" >"$out/log-$target" 2>&1 \
    || echo "$target" >>"$failed"
}

spawn build measure_decode_fuzz -std=c++20 -Icodec/include -Icodec/src fuzz/measure_decode_fuzz.cpp "${codec[@]}"
spawn build roundtrip_fuzz -std=c++20 -Icodec/include -Icodec/src -Itests/codec fuzz/roundtrip_fuzz.cpp \
      tests/codec/reference_encoder.cpp "${codec[@]}"
spawn build picture_structure_fuzz "${app[@]}" fuzz/picture_structure_fuzz.cpp app/picture/picture_structure.cpp
spawn build game_text_fuzz "${app[@]}" fuzz/game_text_fuzz.cpp core/rom/game_text.cpp core/rom/rom_layout.cpp \
      core/rom/rom_image.cpp core/error.cpp core/picture/gbc_color.cpp
spawn build orv_file_fuzz "${app[@]}" -Icodec/src fuzz/orv_file_fuzz.cpp core/picture/orv_format.cpp \
      core/picture/gbc_color.cpp "${core_codec[@]}"

wait
if [ -s "$failed" ]; then
  cat "$failed" >&2
  exit 1
fi

targets=(measure_decode_fuzz roundtrip_fuzz picture_structure_fuzz orv_file_fuzz game_text_fuzz)
for target in "${targets[@]}"; do
  spawn run "$target"
done
wait
for target in "${targets[@]}"; do
  echo "== $target for ${seconds}s =="
  grep -E '^(Done|==|SUMMARY|INFO: Seed)|ERROR|deadly|crash' "$out/log-$target" || true
done
if [ -s "$failed" ]; then
  echo "fuzz: failed: $(tr '\n' ' ' <"$failed")" >&2
  exit 1
fi
