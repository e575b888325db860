#!/usr/bin/env bash
# Runs bench_window beside the shell pipelines it is compared with.
#   bench/window.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: bench/window.sh BUILD_DIR (a Release build gives the fair figures)}
bench=$build/bench/bench_window
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== Registering a folder of 100,000 files"
mkdir -p "$work/many"
for d in $(seq 0 99); do
  mkdir "$work/many/d$d"
  (cd "$work/many/d$d" && seq -f "File%g.avi" 1 1000 | xargs touch)
done
start=$(date +%s%N)
find "$work/many" | sort -f >/dev/null
echo "find | sort -f: $(( ($(date +%s%N) - start) / 1000000 )) ms"
"$bench" register "$work/many"

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
