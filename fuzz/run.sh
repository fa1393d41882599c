#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for
# SECONDS (default 60). Corpora grow in fuzz/corpus-<target>/, findings land
# in fuzz/artifacts/. Fails when a target finds a fault.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

missing=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

out=build-fuzz
mkdir -p "$out" fuzz/artifacts
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -Icodec/include -Icodec/src -Itests/codec)
codec=(codec/src/*.cpp)
clang++ "${flags[@]}" fuzz/measure_decode_fuzz.cpp "${codec[@]}" -o "$out/measure_decode_fuzz"
clang++ "${flags[@]}" fuzz/roundtrip_fuzz.cpp tests/codec/reference_encoder.cpp "${codec[@]}" \
        -o "$out/roundtrip_fuzz"

# Seeds: the format's small examples.
seeds=fuzz/corpus-measure_decode_fuzz
mkdir -p "$seeds" fuzz/corpus-roundtrip_fuzz
printf '\xff' >"$seeds/end"
printf '\x02abc\xff' >"$seeds/literal"
printf '\xe4\x27\x00\xff' >"$seeds/long-iterate"
printf '\x01\x12\x34\x81\x81\xff' >"$seeds/repeat"
printf '\x00\x01\xa0\x80\xff' >"$seeds/flip"
printf '\x02\x01\x02\x03\xc2\x80\xff' >"$seeds/reverse"
printf '\x00\x07\xfc\x10\x04\x80\xff' >"$seeds/chained-header"
printf '\x01\x02\x03\x09\x01\x02\x03' >fuzz/corpus-roundtrip_fuzz/copy

status=0
for target in measure_decode_fuzz roundtrip_fuzz; do
  echo "== $target for ${seconds}s =="
  "$out/$target" -max_total_time="$seconds" -max_len=8192 -timeout=20 \
      -artifact_prefix=fuzz/artifacts/ "fuzz/corpus-$target" || status=1
done
exit $status
