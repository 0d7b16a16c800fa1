#!/usr/bin/env bash
# Installs the Debian packages Quillet needs to build, test and run, and only those missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsqlite3-dev unixodbc-dev
  unixodbc odbc-postgresql libsqliteodbc postgresql postgresql-contrib
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 poppler-utils
  desktop-file-utils appstream
  clang libfuzzer-14-dev libclang-rt-14-dev clang-format
)

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
