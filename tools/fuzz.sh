#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang and runs each for a while
# (60 seconds unless given), one after the other, starting from its seed corpus
# in tests/fuzz/corpus/<target>/. Not part of the tests: run it by hand.
#   tools/fuzz.sh [seconds]
# Inputs found new go to build-fuzz/fuzz/<target>/corpus, inputs that crash to
# build-fuzz/fuzz/<target>/findings; the script fails when there is any.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
packages=(cmake make clang libclang-rt-14-dev qt6-base-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DVELLIMOR_FUZZ=ON -DVELLIMOR_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzzers

status=0
for source in tests/fuzz/*_fuzz.cpp; do
  target=$(basename "$source" .cpp)
  work=build-fuzz/fuzz/$target
  mkdir -p "$work/corpus" "$work/findings" "$work/tmp"
  echo "== $target for $seconds s"
  # The deletion fuzzer builds its fixture tree below TMPDIR.
  TMPDIR=$PWD/$work/tmp "build-fuzz/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$work/findings/" "$work/corpus" "tests/fuzz/corpus/$target" || status=1
  rm -rf "$work/tmp"
done
exit "$status"
