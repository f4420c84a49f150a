#!/usr/bin/env bash
# Renders VORN's icon (packaging/icons/vorn.svg, drawn by hand) into the PNG files that are
# committed beside it: 48 x 48 for the desktop's icon theme, 128 x 128 for the windows.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v rsvg-convert >/dev/null; then
    echo "make-icons.sh needs rsvg-convert: apt-get install librsvg2-bin" >&2
    exit 1
fi
rsvg-convert -w 48 -h 48 packaging/icons/vorn.svg -o packaging/icons/vorn-48.png
rsvg-convert -w 128 -h 128 packaging/icons/vorn.svg -o frame/pictures/vorn.png
