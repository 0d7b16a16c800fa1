#!/usr/bin/env bash
# Runs every benchmark under bench/ against a throw-away data folder.
set -euo pipefail
build_dir=${1:-build}
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
export XDG_DATA_HOME="$data" QT_QPA_PLATFORM=offscreen
for b in "$build_dir"/bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.2
done
