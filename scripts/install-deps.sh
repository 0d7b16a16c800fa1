#!/usr/bin/env bash
# Installs the Debian packages Quillet needs, and only those missing.
# Usage: scripts/install-deps.sh [run|test]
#   run   what building and running the window and the tool need (make run)
#   test  that, plus the test, benchmark, fuzzing, packaging-check and PostgreSQL packages
#         (make test; the default)
set -euo pipefail

set_name=${1:-test}

run_packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsqlite3-dev unixodbc-dev
  fonts-liberation2
)
test_packages=(
  unixodbc odbc-postgresql libsqliteodbc postgresql postgresql-contrib
  libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils
  desktop-file-utils appstream
  clang libfuzzer-14-dev libclang-rt-14-dev clang-format
)

case "$set_name" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *)
    echo "usage: $0 [run|test]" >&2
    exit 64
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q "${missing[@]}"
