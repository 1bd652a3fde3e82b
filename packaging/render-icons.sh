#!/bin/sh
# Renders the fixed-size PNG icons from the program's SVG icon. The PNGs are committed so
# that building needs no SVG tools; run this again after the SVG changes.
set -eu
root=$(CDPATH='' cd "$(dirname "$0")/.." && pwd)
for size in 16 32 48 64 128; do
  rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio \
    --output "$root/packaging/icons/$size.png" "$root/src/resources/svg/icon.svg"
done
