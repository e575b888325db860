#!/usr/bin/env bash
# Runs bench_window beside the shell pipelines it is compared with.
#   bench/window.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: bench/window.sh BUILD_DIR (a Release build gives the fair figures)}
bench=$build/bench/bench_window
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The median of a list of numbers.
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

runs=${KELMORA_BENCH_RUNS:-5}
echo "== Registering a folder of 100,000 files beside find | sort -f (median of $runs runs each, taken in turn)"
echo "load: $(uptime | sed 's/.*load average: //')"
mkdir -p "$work/many"
for d in $(seq 0 99); do
  mkdir "$work/many/d$d"
  (cd "$work/many/d$d" && seq -f "File%g.avi" 1 1000 | xargs touch)
done
find "$work/many" | sort -f >/dev/null  # warms the cache for both
finds=() registers=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  find "$work/many" | sort -f >/dev/null
  finds+=("$(awk "BEGIN { print ($(date +%s%N) - $start) / 1e6 }")")
  line=$("$bench" register "$work/many")
  registers+=("$(echo "$line" | sed -n 's/.* in \([0-9.]*\) ms$/\1/p')")
done
find_ms=$(median "${finds[@]}")
register_ms=$(median "${registers[@]}")
echo "find | sort -f: ${find_ms} ms (runs: ${finds[*]})"
echo "${line% in *}: ${register_ms} ms (runs: ${registers[*]})"
awk "BEGIN { printf \"register / find | sort -f: %.2fx (target: within 1.2x)\n\", $register_ms / $find_ms }"
echo "load: $(uptime | sed 's/.*load average: //')"

echo "== Dropping the same 100,000 files by name, as their folder, and as arguments"
"$bench" drop "$work/many"

echo "== A batch of short runs"
mkdir "$work/clips"
ffmpeg -loglevel error -f lavfi -i testsrc=size=64x48:rate=10 -t 1 "$work/clip.mp4"
for i in $(seq 10 29); do ln -s "$work/clip.mp4" "$work/clips/clip$i.mp4"; done
"$bench" batch "$work/clips" "$work/out" "$work/runs.sh"
rm -rf "$work/out"; mkdir -p "$work/out"
start=$(date +%s%N)
sh "$work/runs.sh"
echo "shell script: 20 runs in $(( ($(date +%s%N) - start) / 1000000 )) ms"
