#!/usr/bin/env bash
# Start-up time: from process start to the main window's first paint, the
# median of several runs, the program beside a bare Qt window (the floor).
#   bench/startup.sh BUILD_DIR [OTHER_KELMORA]
# OTHER_KELMORA, another build of the program (an older one, say), is timed in
# the same turns, so both see the same load.
set -euo pipefail
build=$(cd "${1:?usage: bench/startup.sh BUILD_DIR (a Release build gives the fair figures)}" && pwd)
watch=$build/bench/libbench_first_paint.so
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The median of a list of numbers.
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Milliseconds from the start of program to its first paint, one run.
first_paint_ms() {
  local start line
  start=$(date +%s%N)
  line=$(cd "$work" && HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" \
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} LD_PRELOAD="$watch" "$@" 2>/dev/null | grep '^first-paint-ns=')
  awk "BEGIN { print (${line#first-paint-ns=} - $start) / 1e6 }"
}

runs=${KELMORA_BENCH_RUNS:-9}
echo "== Process start to first paint (median of $runs runs each, taken in turn)"
echo "load: $(uptime | sed 's/.*load average: //')"
other=${2:-}
bare=() window=() others=()
for _ in $(seq "$runs"); do
  bare+=("$(first_paint_ms "$build/bench/bench_bare_window")")
  window+=("$(first_paint_ms "$build/bin/kelmora")")
  if [[ -n $other ]]; then others+=("$(first_paint_ms "$other")"); fi
done
echo "bare Qt window: $(median "${bare[@]}") ms"
echo "kelmora:        $(median "${window[@]}") ms"
if [[ -n $other ]]; then echo "$other: $(median "${others[@]}") ms"; fi
