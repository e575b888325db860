#!/bin/sh
# Times the folder walk over a generated tree of 100,000 files beside
# `find DIR | wc -l`, and prints both times and their ratios. The walk asking
# for names and kinds only (as registration does) is set against that find;
# the walk filling every fact (size, times, attributes) against a find that
# reads the same facts.
# Usage: bench/walk.sh [BUILD_DIR]   (default build/bench; the tree goes to /tmp)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/bench}
walk=$build/bench/bench_walk
if [ ! -x "$walk" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target bench_walk -j2 >/dev/null
fi

tree=$(mktemp -d /tmp/kelmora-walk-XXXXXX)
trap 'rm -rf "$tree"' EXIT
# 100 folders of 10 sub-folders, 100 files in each sub-folder: 100,000 files.
echo "generating 100,000 files in $tree ..."
i=0
while [ $i -lt 100 ]; do
    j=0
    while [ $j -lt 10 ]; do
        mkdir -p "$tree/d$i/s$j"
        (cd "$tree/d$i/s$j" && seq -f 'clip%03g.avi' 0 99 | xargs touch)
        j=$((j + 1))
    done
    i=$((i + 1))
done

# Warm the cache once, then time each twice and keep the better run.
find "$tree" | wc -l >/dev/null
best() { sort -n | head -1; }
find_time=$(for r in 1 2; do
    s=$(date +%s.%N); find "$tree" | wc -l >/dev/null; e=$(date +%s.%N)
    awk "BEGIN { printf \"%.3f\n\", $e - $s }"; done | best)
find_count=$(find "$tree" | wc -l)
# find reading the same facts the walk reports (size and times of every entry).
stat_time=$(for r in 1 2; do
    s=$(date +%s.%N); find "$tree" -printf '%s %C@ %T@ %A@\n' | wc -l >/dev/null; e=$(date +%s.%N)
    awk "BEGIN { printf \"%.3f\n\", $e - $s }"; done | best)
names_time=$(for r in 1 2; do "$walk" names "$tree" | cut -d' ' -f2; done | best)
walk_time=$(for r in 1 2; do "$walk" full "$tree" | cut -d' ' -f2; done | best)
walk_count=$("$walk" names "$tree" | cut -d' ' -f1)

echo "load: $(uptime | sed 's/.*load average: //')"
echo "find | wc -l : $find_count entries in ${find_time}s"
echo "find -printf size, times : ${stat_time}s"
echo "TSearchFile, names : $walk_count entries in ${names_time}s"
echo "TSearchFile, full  : ${walk_time}s"
awk "BEGIN { printf \"ratio, names : %.2fx find | wc -l\n\", $names_time / $find_time }"
awk "BEGIN { printf \"ratio, full  : %.2fx find | wc -l, %.2fx find -printf\n\", $walk_time / $find_time, $walk_time / $stat_time }"
