#!/usr/bin/env bash
# What the probe, square pixels and tone mapping cost beside a plain cut.
# Three generated 640x360 clips of SECONDS (default 4) at 25 fps, every frame
# cut as JPEG with kelmora-cli -j 1: an ordinary one (the probe only, today's
# command line), one with pixels of 64:45 (square-pixel scaling), one PQ/BT.2020
# (tone mapping, when this ffmpeg has libx265). Also the probe alone, and the
# plain command line run without kelmora-cli (no probe). Best of ROUNDS (3)
# each; per video and per image.
# Usage: bench/pixels.sh [BUILD_DIR]   (default build/bench, a Release build)
set -euo pipefail
source "$(dirname "$0")/cli-bench.sh" "${1:-}" pixels
seconds=${SECONDS_OF_VIDEO:-4}
ff() { ffmpeg -nostdin -loglevel error -y "$@"; }

src="testsrc2=size=640x360:rate=25:duration=$seconds"
ff -f lavfi -i "$src" -pix_fmt yuv420p "$work/plain.mp4"
ff -f lavfi -i "$src" -vf setsar=64/45 -pix_fmt yuv420p "$work/wide.mp4"
have_hdr=0
ffmpeg -hide_banner -encoders >"$work/encoders" 2>/dev/null
if grep -q libx265 "$work/encoders"; then
  ff -i "$work/plain.mp4" -vf \
    "zscale=tin=bt709:min=bt709:pin=bt709:rin=tv:t=smpte2084:m=bt2020nc:p=bt2020:r=tv:npl=100,format=yuv420p10le" \
    -c:v libx265 -x265-params log-level=error -color_primaries bt2020 -color_trc smpte2084 -colorspace bt2020nc \
    "$work/hdr.mp4"
  have_hdr=1
fi
images=$(( seconds * 25 ))

now() { date +%s%N; }
best=0
# best_of NAME COMMAND...: the fastest of the rounds, in milliseconds, into $best.
best_of() {
  local name=$1 start end took
  shift
  best=999999999
  for _ in $(seq "$rounds"); do
    rm -rf "$work/out"
    mkdir "$work/out"
    start=$(now)
    "$@" >/dev/null 2>&1
    end=$(now)
    took=$(( (end - start) / 1000000 ))
    [ "$took" -lt "$best" ] && best=$took
  done
  printf '%-34s %7d ms a video  %7.2f ms an image\n' "$name" "$best" "$(echo "$best / $images" | bc -l)"
}

probe() {
  for _ in $(seq 10); do
    ffprobe -v error -select_streams v:0 -show_entries \
      stream=width,height,sample_aspect_ratio,field_order,color_transfer,avg_frame_rate,r_frame_rate,nb_frames,duration:stream_side_data=rotation:format=duration \
      -of flat "$work/plain.mp4"
  done
}
start=$(now); probe >/dev/null; end=$(now)
printf '%-34s %7.1f ms a video\n' "probe alone (10 runs)" "$(echo "($end - $start) / 10000000" | bc -l)"

plain_line=$("$cli" --no-settings --dry-run -o "$work/out" "$work/plain.mp4")
best_of "plain, command line alone" sh -c "$plain_line"
best_of "plain, kelmora-cli (probe)" "$cli" --no-settings -q -o "$work/out" "$work/plain.mp4"
best_of "64:45 pixels made square" "$cli" --no-settings -q -o "$work/out" "$work/wide.mp4"
if [ "$have_hdr" = 1 ]; then
  best_of "PQ tone-mapped" "$cli" --no-settings -q -o "$work/out" "$work/hdr.mp4"
  untreated=$("$cli" --no-settings --dry-run -o "$work/out" "$work/plain.mp4" | sed "s|$work/plain.mp4|$work/hdr.mp4|")
  best_of "PQ untreated (same decode)" sh -c "$untreated"
fi
