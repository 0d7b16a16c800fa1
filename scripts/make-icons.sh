#!/usr/bin/env bash
# Renders the application icon's PNG sizes from packaging/icons/quillet.svg with rsvg-convert
# (Debian package librsvg2-bin). The PNGs are committed, so a build needs no SVG renderer; run
# this again after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" quillet.svg --output "quillet-$size.png"
done
