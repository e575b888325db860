#!/usr/bin/env bash
# Shares of one list cut at once into one shared destination, as a cluster's
# runner would start them on its hosts: CLIPS short clips (default 2000, hard
# links to a few generated 160x120 one-second clips of ten frames) cut by
# SHARDS kelmora-cli processes at once (default 4, each --shard K/SHARDS -j 1,
# --existing skip) into one folder. Checks that no image is lost or doubled
# (every clip has its ten images under its own name, no " (2)") and that the
# manifest is whole (one start and one end line a clip, every line JSON); then
# times the same list cut by one process with -j 2, and a second run of the
# shares' destination with --existing skip (nothing left to cut).
# Not run by ctest. Usage: bench/shards.sh [BUILD_DIR]   (default build/debug)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/debug}
cli=$build/bin/kelmora-cli
if [ ! -x "$cli" ]; then
  cmake -S "$here" -B "$build" -G Ninja >/dev/null
  cmake --build "$build" --target kelmora-cli -j2 >/dev/null
fi
clips=${CLIPS:-2000}
shards=${SHARDS:-4}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/videos"

sources=(testsrc testsrc2 smptebars rgbtestsrc)
for i in "${!sources[@]}"; do
  ffmpeg -nostdin -loglevel error -f lavfi -i "${sources[$i]}=size=160x120:rate=10" -t 1 -pix_fmt yuv420p \
    "$work/source$i.mp4"
done
for n in $(seq -w 1 "$clips"); do
  ln "$work/source$((10#$n % ${#sources[@]})).mp4" "$work/videos/clip$n.mp4"
done

ms() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }

# The shares at once, into one destination.
start=$(date +%s%N)
pids=()
for k in $(seq 1 "$shards"); do
  "$cli" --no-settings -q -j 1 --existing skip -o "$work/shared" --shard "$k/$shards" "$work/videos" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid"; done
shared_ms=$(ms "$start")

# No image lost, none doubled, the manifest whole.
images=$(find "$work/shared" -name 'clip*_*.jpg' | wc -l)
renamed=$(find "$work/shared" -name '* (*' | wc -l)
[ "$images" -eq $((clips * 10)) ] || { echo "FAIL: $images images, not $((clips * 10))" >&2; exit 1; }
[ "$renamed" -eq 0 ] || { echo "FAIL: $renamed images under a second name" >&2; exit 1; }
for n in $(seq -w 1 "$clips"); do
  [ -s "$work/shared/clip${n}_00010.jpg" ] && [ ! -e "$work/shared/clip${n}_00011.jpg" ] ||
    { echo "FAIL: clip$n has not its ten images" >&2; exit 1; }
done
python3 - "$work/shared/.kelmora-manifest.jsonl" "$clips" <<'PY'
import collections, json, sys
path, clips = sys.argv[1], int(sys.argv[2])
with open(path, "rb") as f:
    lines = f.read().split(b"\n")
assert lines[-1] == b"", "the last line is whole"
records = [json.loads(line) for line in lines[:-1]]
ends = collections.Counter(r["video"] for r in records if r["finished"] and r["images"] == 10)
starts = collections.Counter(r["video"] for r in records if not r["finished"] and r["images"] == 0)
assert len(records) == 2 * clips, f"{len(records)} lines, not {2 * clips}"
assert len(ends) == clips and set(ends.values()) == {1}, "one end line a clip"
assert len(starts) == clips and set(starts.values()) == {1}, "one start line a clip"
PY

# One process, two runs at once.
start=$(date +%s%N)
"$cli" --no-settings -q -j 2 -o "$work/single" "$work/videos"
single_ms=$(ms "$start")

# The shares' destination again: everything is there.
start=$(date +%s%N)
"$cli" --no-settings -q -j 2 --existing skip -o "$work/shared" "$work/videos"
again_ms=$(ms "$start")
[ "$(find "$work/shared" -name 'clip*_*.jpg' | wc -l)" -eq $((clips * 10)) ]

echo "$clips clips, $((clips * 10)) images: no image lost or doubled, manifest whole"
echo "$shards shares at once (-j 1 each), one destination: $shared_ms ms"
echo "one process -j 2:                        $single_ms ms"
echo "again with --existing skip (-j 2):       $again_ms ms"
