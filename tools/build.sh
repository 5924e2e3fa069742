#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine (run as root):
#   tools/build.sh run    install what is missing, build, start the program
#   tools/build.sh test   install what is missing, build, run every test; then
#                         the same in build-sanitize under ASan and UBSan
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools libqt6test6 qt6-qpa-plugins fonts-dejavu-core desktop-file-utils)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

build() { # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}

mode=${1:-run}
install_missing
case "$mode" in
  run)
    build build
    exec ./build/vellimor
    ;;
  test)
    # The plain build's tests, then the same tests built with AddressSanitizer
    # and UndefinedBehaviorSanitizer, where any report fails its test.
    status=0
    build build
    (cd build && ctest --output-on-failure -j"$(nproc)") || status=1
    build build-sanitize -DVELLIMOR_SANITIZE=ON -DVELLIMOR_BENCH=OFF
    (cd build-sanitize && ctest --output-on-failure -j"$(nproc)") || status=1
    exit "$status"
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
