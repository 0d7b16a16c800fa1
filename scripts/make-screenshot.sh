#!/usr/bin/env bash
# Refreshes docs/screenshot.png: starts the built window on a private X server (Xvfb) with a
# throw-away data folder, presses Calculate, and captures the window with ImageMagick's import.
# Needs the Debian packages xvfb, imagemagick and xdotool.
# Usage: scripts/make-screenshot.sh [BUILD_DIR]   (default: build)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
for tool in Xvfb import xdotool; do
  command -v "$tool" >/dev/null ||
    { echo "make-screenshot: $tool is missing (apt-get install xvfb imagemagick xdotool)" >&2; exit 1; }
done
[ -x "$build/bin/quillet" ] || { echo "make-screenshot: build $build/bin/quillet first" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
  # The window first, then its X server.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

# -displayfd picks a free display number and reports it, so parallel runs do not collide.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

# A fixed, neutral look: no user configuration, no desktop theme, English, the default fonts.
env -i PATH="$PATH" DISPLAY="$DISPLAY" HOME="$work" XDG_DATA_HOME="$work/data" \
  XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" LANG=C.UTF-8 QT_QPA_PLATFORM=xcb \
  "$build/bin/quillet" &
pids+=($!)

window=$(xdotool search --sync --onlyvisible --name '^Quillet' | head -n 1)
xdotool windowfocus --sync "$window"
# The Calculate button has the focus when the window opens.
xdotool key --clearmodifiers Return
sleep 2
import -window "$window" "$work/screenshot.png"
mkdir -p "$root/docs"
# Strip the time stamps, so an unchanged window gives an unchanged file.
convert "$work/screenshot.png" -strip "$root/docs/screenshot.png"
echo "make-screenshot: wrote docs/screenshot.png"
