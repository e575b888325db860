# Sourced by the kelmora-cli benches, with the bench's BUILD_DIR argument (may
# be empty) and its name: sets $here (the source tree), $build, $cli (built
# there when missing: Release, core only), $rounds (ROUNDS, default 3) and
# $work (a scratch folder removed at exit).
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$here/build/bench}
cli=$build/bin/kelmora-cli
if [ ! -x "$cli" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELMORA_CORE_ONLY=ON -DKELMORA_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build" --target kelmora-cli -j2 >/dev/null
fi
rounds=${ROUNDS:-3}
work=$(mktemp -d "/tmp/kelmora-$2-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
