#!/usr/bin/env bash
# Runs every benchmark under bench/ against a throw-away data folder. The office-store benchmark
# runs against a throw-away PostgreSQL server when one is installed; with strace installed, the
# sends of one command-line Calculate of 32767 months to that server are counted as well.
set -euo pipefail
build_dir=${1:-build}
scripts=$(cd "$(dirname "$0")" && pwd)
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
export XDG_DATA_HOME="$data" QT_QPA_PLATFORM=offscreen
have_postgres() {
  ls -d /usr/lib/postgresql/*/bin >/dev/null 2>&1 && ls /usr/lib/*/odbc/psqlodbca.so >/dev/null 2>&1
}
for b in "$build_dir"/bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  if [ "$(basename "$b")" = bench_office_calculate ]; then
    if have_postgres; then
      "$scripts/with-postgres.sh" "$b"
    else
      echo "PostgreSQL or psqlODBC not installed: skipped"
    fi
    continue
  fi
  "$b" --benchmark_min_time=0.2
done
tool="$build_dir/bin/quillet-schedule"
if have_postgres && command -v strace >/dev/null && [ -x "$tool" ]; then
  echo "== sends of quillet-schedule --store --months 32767 to PostgreSQL (strace)"
  # shellcheck disable=SC2016
  "$scripts/with-postgres.sh" sh -c '"$1" --create-schema >/dev/null &&
    strace -f -qq -c -e trace=sendto "$1" --store --months 32767 2>&1 >/dev/null |
    awk "/sendto/ { print \$4 \" sends (target under 2000)\" }"' sh "$tool"
fi
