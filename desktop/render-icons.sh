#!/usr/bin/env bash
# Renders the PNG sizes of the icon from tekvanis.svg (run after changing the
# picture; needs imagemagick). The build installs the files as they are here.
set -euo pipefail
cd "$(dirname "$0")"
for s in 16 24 32 48 64 128 256; do
  density=$(( s * 192 / 128 )); [ "$density" -ge 192 ] || density=192
  convert -background none -density "$density" tekvanis.svg -resize "${s}x${s}" -depth 8 "PNG32:icons/${s}x${s}.png"
done
