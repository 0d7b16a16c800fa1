#!/usr/bin/env bash
# Runs every test through ctest, headless, each store test in its own temporary data folder.
set -euo pipefail
build_dir=${1:-build}
export QT_QPA_PLATFORM=offscreen
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)"
