#!/usr/bin/env bash
# The stress test of a shared destination: two kelmora-cli processes and the
# window cut three same-named videos each into one folder at the same moment,
# ROUNDS times in a row (default 20), with the real ffmpeg, alternating the
# numbered and the unnumbered names. Every round must leave 90 whole images
# under nine names; it prints the time a round takes.
# Usage: bench/shared-folder.sh [BUILD_DIR]   (default build/debug, a build with tests)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/debug}
test=$build/tests/e2e/test_e2e
if [ ! -x "$test" ]; then
  cmake -S "$here" -B "$build" -G Ninja >/dev/null
  cmake --build "$build" --target test_e2e -j2 >/dev/null
fi
rounds=${ROUNDS:-20}
start=$(date +%s%N)
QT_QPA_PLATFORM=offscreen KELMORA_SHARED_FOLDER_ROUNDS=$rounds \
  "$test" --gtest_filter='SharedFolder.*' --gtest_brief=1
end=$(date +%s%N)
echo "$rounds rounds in $(( (end - start) / 1000000 )) ms: $(( (end - start) / 1000000 / rounds )) ms a round"
