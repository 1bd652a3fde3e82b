#!/bin/sh
# Renders the program's pictures from svg/ at 1x and 2x. The PNGs are committed, so that
# building needs no SVG tools and the program does not load the SVG renderer at start-up;
# run this again after changing an SVG.
set -eu
here=$(CDPATH='' cd "$(dirname "$0")" && pwd)
for svg in "$here"/svg/*.svg; do
  name=$(basename "$svg" .svg)
  w=$(sed -n 's/.*<svg[^>]* width="\([0-9]*\)".*/\1/p' "$svg" | head -n1)
  h=$(sed -n 's/.*<svg[^>]* height="\([0-9]*\)".*/\1/p' "$svg" | head -n1)
  rsvg-convert --width "$w" --height "$h" --output "$here/$name.png" "$svg"
  rsvg-convert --width $((w * 2)) --height $((h * 2)) --output "$here/$name@2x.png" "$svg"
done
