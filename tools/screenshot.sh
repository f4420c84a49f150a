#!/usr/bin/env bash
# Takes the README's screenshot (packaging/screenshot.png): VORN on a virtual display of
# 1280 x 800, identifying on the sample key with its history list replayed.
# Needs xvfb-run (Debian package xvfb). Usage: tools/screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if ! command -v xvfb-run >/dev/null; then
    echo "screenshot.sh needs xvfb-run: apt-get install xvfb" >&2
    exit 1
fi
cmake --build "$build" --target vorn-screenshot >/dev/null
runtime=$(mktemp -d /tmp/vorn-runtime-XXXXXX)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
# No window manager runs on the virtual display: Qt draws the child windows' frames.
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/tools/vorn-screenshot" keys/TREES.DES keys/TREES.HIS packaging/screenshot.png
echo "wrote packaging/screenshot.png"
