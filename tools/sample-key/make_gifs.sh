#!/usr/bin/env bash
# Makes the numbered GIF pictures of the sample key, which the taxa Mismatch window hands
# to the desktop's picture viewer, from the key's own JPEG drawings (Qt cannot write GIF;
# ImageMagick's convert can: apt-get install imagemagick). Run once; the GIFs are
# committed. The beech has 01 and 03 but no 02, so its series stops after 01.
set -euo pipefail
keys=$(dirname "$0")/../../keys
make() { convert "$keys/$1" "${@:3}" -colors 64 "$keys/$2"; }
make QROB.JPG QROB01.GIF
make QROB.JPG QROB02.GIF -flop
make FAGUS.JPG FAGUS01.GIF
make FAGUS.JPG FAGUS03.GIF -flip
make HOLLY.JPG HOLLY01.GIF
