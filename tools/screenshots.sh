#!/usr/bin/env bash
# Regenerates the README's pictures in docs/screenshots/ from the current code:
#   tools/screenshots.sh [BUILD-DIRECTORY]    (default: build)
# The windows are drawn offscreen over a fixture of the program's own; the
# fonts come from fonts-dejavu-core, which tools/build.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target vellimor_screenshots -j"$(nproc)"
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen "$build/vellimor_screenshots" docs/screenshots
