#!/usr/bin/env bash
# Times whole orvista-cli runs on the synthetic 2 MB ROM: extract-all to .2bpp
# and to .png, and one insertion with the free-space search.
#   bench/cli_bench.sh [RUNS]   (after scripts/test.sh or a build in build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/bin
runs=${1:-5}
[[ -x $bin/orvista-cli && -x $bin/make_bench_rom ]] || cmake --build "$root/build" -j2 --target orvista-cli make_bench_rom
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/make_bench_rom" "$work/game.gb" E
# A 56 x 56 picture to insert, taken out of the ROM itself.
"$bin/orvista-cli" extract "$work/game.gb" "$work/pic.png" --pokemon 1 >/dev/null

# median of RUNS wall times in milliseconds of the command "$@"
time_ms() {
    local times=()
    for ((i = 0; i < runs; i++)); do
        [[ -n ${prepare:-} ]] && eval "$prepare"
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

prepare="rm -rf '$work/out'"
echo "extract-all to .2bpp: $(time_ms "$bin/orvista-cli" extract-all "$work/game.gb" "$work/out" --format 2bpp) ms (median of $runs)"
echo "extract-all to .png:  $(time_ms "$bin/orvista-cli" extract-all "$work/game.gb" "$work/out" --format png) ms"
prepare="cp '$work/game.gb' '$work/target.gb'"
echo "insert with search:   $(time_ms "$bin/orvista-cli" insert "$work/pic.png" "$work/target.gb" --pokemon 7 --name NEU) ms"
