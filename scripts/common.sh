# Shared by scripts/run and scripts/test: package installation and the CMake build.
# Sourced, not run.

KELMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Every Debian package the build, the tests and the program need.
KELMORA_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev gettext
  ffmpeg fonts-ipafont-gothic
  xvfb xauth
  xdg-utils
  desktop-file-utils appstream dpkg-dev file lintian man-db util-linux
  parallel
)

# What scripts/fuzz needs on top: clang and its libFuzzer runtime.
KELMORA_FUZZ_PACKAGES=(cmake ninja-build clang libclang-rt-14-dev)

# What scripts/test-windows needs on top: the cross compiler (posix threads),
# Wine to run the tests, GoogleTest's sources to build with that compiler, the
# Japanese locale's data, and CLI11's headers for kelmora-cli.exe.
KELMORA_WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64 googletest locales
  libcli11-dev)

# What scripts/format needs: the formatter, one version so every machine agrees.
KELMORA_FORMAT_PACKAGES=(clang-format-14)

# kelmora_install_packages [PACKAGE...]: installs those missing (default: KELMORA_PACKAGES).
kelmora_install_packages() {
  local missing=() p
  [ $# -gt 0 ] || set -- "${KELMORA_PACKAGES[@]}"
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# kelmora_build DIR BUILD_TYPE [extra cmake args...]
kelmora_build() {
  local dir=$1 type=$2
  shift 2
  cmake -S "$KELMORA_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
  cmake --build "$dir" --parallel "${KELMORA_JOBS:-2}"
}
