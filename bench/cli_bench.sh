#!/usr/bin/env bash
# Times whole orvista-cli runs on the synthetic 2 MB ROM: start-up, extract-all
# to .2bpp and to .png, one insertion with the free-space search (and its dry
# run, to show what the commit costs), a picture with a 511 MB sparse tail
# (time and peak memory), and extract-all + insert-all of an untouched folder
# and of one with 50 changed pictures, in the flat names and in the sprite
# packs' layout (there with 50 changed shiny.pal files).
#   bench/cli_bench.sh [RUNS] [FOLDER]   (after scripts/test.sh or a build in build/)
# FOLDER (default: a new one under $TMPDIR) is where the files go: creating
# files costs what the file system makes it cost.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/bin
runs=${1:-5}
[[ -x $bin/orvista-cli && -x $bin/make_bench_rom ]] || cmake --build "$root/build" -j2 --target orvista-cli make_bench_rom
work=$(mktemp -d "${2:-${TMPDIR:-/tmp}}/orvista-bench.XXXXXX")
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

echo "start-up (--help):    $(time_ms "$bin/orvista-cli" --help) ms (median of $runs)"
prepare="rm -rf '$work/out'"
echo "extract-all to .2bpp: $(time_ms "$bin/orvista-cli" extract-all "$work/game.gb" "$work/out" --format 2bpp) ms"
echo "extract-all to .png:  $(time_ms "$bin/orvista-cli" extract-all "$work/game.gb" "$work/out" --format png) ms"
prepare="cp '$work/game.gb' '$work/target.gb'"
echo "insert with search:   $(time_ms "$bin/orvista-cli" insert "$work/pic.png" "$work/target.gb" --pokemon 7 --name NEU) ms"
echo "insert, dry run:      $(time_ms "$bin/orvista-cli" insert "$work/pic.png" "$work/target.gb" --pokemon 7 --name NEU --dry-run) ms"

# The picture followed by 511 MB of sparse zeros: read up to its IEND only.
cp "$work/pic.png" "$work/tail.png"
truncate -s 511M "$work/tail.png"
prepare=""
echo "convert, sparse tail: $(time_ms "$bin/orvista-cli" convert "$work/tail.png" "$work/tail.orv") ms"
/usr/bin/env time -f "convert, sparse tail: %M KB at most" "$bin/orvista-cli" convert "$work/tail.png" \
    "$work/tail.orv" 2>&1 >/dev/null | tail -n 1 || true

# insert-all of an untouched folder and of one with the front pictures of
# Pokemon 1..50 edited (light and dark shades exchanged), each after a fresh
# copy of the ROM; the edits are made once, outside the timing.
"$bin/orvista-cli" extract-all "$work/game.gb" "$work/untouched" >/dev/null 2>&1
cp -r "$work/untouched" "$work/edited"
for n in $(seq -f %03g 1 50); do
    "$bin/orvista-cli" convert "$work/untouched/pokemon-$n-front.png" "$work/edited/pokemon-$n-front.png" \
        --exchange-light-dark >/dev/null
done
prepare="cp '$work/game.gb' '$work/target.gb'"
echo "insert-all, untouched: $(time_ms "$bin/orvista-cli" insert-all "$work/untouched" "$work/target.gb") ms"
# The synthetic ROM's fronts are 32 x 32, a shape the games do not draw whole.
echo "insert-all, 50 edited: $(time_ms "$bin/orvista-cli" insert-all "$work/edited" "$work/target.gb" --any-shape) ms"
cp "$work/game.gb" "$work/target.gb"
"$bin/orvista-cli" insert-all "$work/edited" "$work/target.gb" --any-shape 2>/dev/null | tail -n 1

# The sprite packs' layout: 870 files (618 PNGs, 252 .pal files).
prepare="rm -rf '$work/out'"
echo "extract-all, pret layout:        $(time_ms "$bin/orvista-cli" extract-all "$work/game.gb" "$work/out" --layout pret) ms"
"$bin/orvista-cli" extract-all "$work/game.gb" "$work/pret" --layout pret >/dev/null 2>&1
cp -r "$work/pret" "$work/pret-edited"
for folder in $(ls "$work/pret-edited/pokemon" | grep -v '^unown' | head -n 50); do
    printf '\tRGB 31, 00, 00\n\tRGB 00, 00, 31\n' >"$work/pret-edited/pokemon/$folder/shiny.pal"
done
prepare="cp '$work/game.gb' '$work/target.gb'"
echo "insert-all, pret untouched:      $(time_ms "$bin/orvista-cli" insert-all "$work/pret" "$work/target.gb") ms"
echo "insert-all, pret 50 shiny.pal:   $(time_ms "$bin/orvista-cli" insert-all "$work/pret-edited" "$work/target.gb") ms"
cp "$work/game.gb" "$work/target.gb"
"$bin/orvista-cli" insert-all "$work/pret-edited" "$work/target.gb" 2>/dev/null | tail -n 1
