#!/usr/bin/env bash
# kelmora-cli beside the shell running the same ffmpeg command lines: 16
# generated one-second clips cut by a serial loop, by `xargs -P 2`, and by
# kelmora-cli -j 1 and -j 2, each round in that order; the best of three rounds
# of each is kept. Then the memory of kelmora-cli itself (not of ffmpeg): the
# high-water mark of its resident set, read from /proc while it runs.
# Targets on a 2-core machine: -j 1 within 1.02x of the loop, -j 2 at most 0.6x
# of the loop and within 1.03x of xargs -P 2, memory under 20 MB.
# Usage: bench/cli.sh [BUILD_DIR]   (default build/bench, a Release build)
set -euo pipefail
source "$(dirname "$0")/cli-bench.sh" "${1:-}" cli

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
mkdir "$work/clips"
for i in $(seq -w 1 16); do
  ffmpeg -nostdin -loglevel error -f lavfi -i "testsrc=size=320x240:rate=25" -t 1 -pix_fmt yuv420p \
    "$work/clips/clip$i.mp4"
done

now() { date +%s%N; }
ms() { echo $(( ($2 - $1) / 1000000 )); }
# The window's command lines for a fresh destination, one a line.
lines_for() { "$cli" --no-settings --dry-run -o "$1" "$work/clips"; }

serial() {
  while IFS= read -r line; do eval "$line" </dev/null >/dev/null 2>&1; done <"$1"
}
parallel2() {
  tr '\n' '\0' <"$1" | xargs -0 -P 2 -n 1 sh -c 'eval "$1" </dev/null >/dev/null 2>&1' sh
}

declare -A best
keep() { if [ -z "${best[$1]:-}" ] || [ "$2" -lt "${best[$1]}" ]; then best[$1]=$2; fi; }
for round in $(seq 1 "$rounds"); do
  for variant in serial xargs cli1 cli2; do
    out=$work/out-$variant-$round
    mkdir -p "$out"
    lines_for "$out" >"$work/lines"
    start=$(now)
    case $variant in
      serial) serial "$work/lines" ;;
      xargs) parallel2 "$work/lines" ;;
      cli1) "$cli" --no-settings -q -j 1 -o "$out" "$work/clips" ;;
      cli2) "$cli" --no-settings -q -j 2 -o "$out" "$work/clips" ;;
    esac
    keep "$variant" "$(ms "$start" "$(now)")"
    images=$(find "$out" -name '*.jpg' | wc -l)
    [ "$images" -eq 400 ] || { echo "$variant wrote $images images, not 400"; exit 1; }
    rm -rf "$out"
  done
done

# The CLI's own memory: its VmHWM, read until it has gone (ffmpeg is another process).
out=$work/out-memory
"$cli" --no-settings -q -j 2 -o "$out" "$work/clips" &
pid=$!
hwm=0
while kill -0 "$pid" 2>/dev/null; do
  kb=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/status" 2>/dev/null || true)
  [ -n "$kb" ] && [ "$kb" -gt "$hwm" ] && hwm=$kb
  sleep 0.01
done
wait "$pid"

s=${best[serial]} x=${best[xargs]} c1=${best[cli1]} c2=${best[cli2]}
ratio() { awk "BEGIN { printf \"%.2fx\", $1 / $2 }"; }
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| 16 one-second clips (best of $rounds) | time | vs serial loop | vs xargs -P 2 |"
echo "|---|---|---|---|"
echo "| serial shell loop | ${s} ms | 1.00x | |"
echo "| xargs -P 2 | ${x} ms | $(ratio "$x" "$s") | 1.00x |"
echo "| kelmora-cli -j 1 | ${c1} ms | $(ratio "$c1" "$s") (target <= 1.02x) | |"
echo "| kelmora-cli -j 2 | ${c2} ms | $(ratio "$c2" "$s") (target <= 0.60x) | $(ratio "$c2" "$x") (target <= 1.03x) |"
echo "| kelmora-cli -j 2, its own max RSS | $(awk "BEGIN { printf \"%.1f MB\", $hwm / 1024 }") (target < 20 MB) | | |"
