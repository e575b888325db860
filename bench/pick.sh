#!/usr/bin/env bash
# Picking frames from a long video: a generated 10-minute 720p clip (25 fps, a
# key frame every 10 s).
#  1. One image a minute: kelmora-cli --every 1m (a seek for each image, the
#     duration from ffprobe included) beside ffmpeg's fps filter over the
#     whole clip (-vf fps=1/60:round=up, what kelmora-cli runs past 100
#     images; plain fps=1/60 takes the frame before the middle of each
#     minute, 29.96 s, 89.96 s, ...); target at least 5x faster. Each pair of
#     images is compared (PSNR: the same frame gives "inf" or, where the two
#     JPEG encoders' rate control differs, above 40 dB; testsrc2 changes every
#     frame, and a frame off shows near 21 dB).
#  2. Key frames only: kelmora-cli --keyframes (the decoder skips the other
#     frames) beside decoding every frame and keeping the key frames
#     (-vf select='eq(pict_type,I)'); the same images either way.
# Each timing is the best of ROUNDS (default 3). Not run by ctest.
# Usage: bench/pick.sh [BUILD_DIR]   (default build/bench, a Release build)
set -euo pipefail
source "$(dirname "$0")/cli-bench.sh" "${1:-}" pick
clip=$work/long.mp4

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "making a 10-minute 1280x720 clip ..."
ffmpeg -nostdin -loglevel error -f lavfi -i "testsrc2=size=1280x720:rate=25" -t 600 -c:v libx264 -preset veryfast \
  -g 250 -pix_fmt yuv420p "$clip"

now() { date +%s%N; }
# best_ms NAME COMMAND...: runs the command ROUNDS times into a fresh $work/NAME, prints the best time in ms.
best_ms() {
  local name=$1 best=
  shift
  for _ in $(seq "$rounds"); do
    rm -rf "${work:?}/$name" && mkdir "$work/$name"
    local start end
    start=$(now)
    "$@" </dev/null >/dev/null 2>&1
    end=$(now)
    local took=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$took" -lt "$best" ]; then best=$took; fi
  done
  echo "$best"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }

filter_ms=$(best_ms filter ffmpeg -nostdin -i "$clip" -f image2 -vf fps=1/60:round=up "$work/filter/long_%05d.jpg")
seek_ms=$(best_ms seek "$cli" --no-settings -q -j 1 --every 1m -o "$work/seek" "$clip")
echo "one image a minute: fps filter ${filter_ms} ms, kelmora-cli --every 1m ${seek_ms} ms:" \
  "$(ratio "$filter_ms" "$seek_ms")x faster"
echo "images: $(ls "$work/filter" | wc -l) by the filter, $(ls "$work/seek" | wc -l) by seeking"
for image in "$work"/seek/*.jpg; do
  name=$(basename "$image")
  psnr=$(ffmpeg -nostdin -i "$image" -i "$work/filter/$name" -lavfi psnr -f null - 2>&1 |
    sed -n 's/.*average:\([^ ]*\).*/\1/p')
  echo "  $name: PSNR $psnr"
done

key_filter="select='eq(pict_type,I)'"
all_ms=$(best_ms all ffmpeg -nostdin -i "$clip" -f image2 -fps_mode passthrough -vf "$key_filter" "$work/all/long_%05d.jpg")
key_ms=$(best_ms key "$cli" --no-settings -q -j 1 --keyframes -o "$work/key" "$clip")
echo "key frames: decoding every frame ${all_ms} ms, kelmora-cli --keyframes ${key_ms} ms:" \
  "$(ratio "$all_ms" "$key_ms")x faster ($(ls "$work/all" | wc -l) and $(ls "$work/key" | wc -l) images)"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
