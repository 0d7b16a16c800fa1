#!/usr/bin/env bash
# Installs a build into a temporary prefix, moves that prefix elsewhere (so nothing can be found
# through the build tree), then checks the layout, runs the desktop-entry and AppStream
# validators, and writes a PDF report with the installed tool from an unrelated folder. Then it
# builds programs of other offices against the moved prefix alone (a small one through the CMake
# package, the same through pkg-config, and examples/visitor-register), runs them on the same
# temporary store and reads back with sqlite3 the rows they wrote.
# Usage: scripts/check-install.sh BUILD_DIR APP_ID
set -euo pipefail

build=$(realpath "$1")
source=$(cd "$(dirname "$0")/.." && pwd)
id=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "check-install: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$work/staged" >/dev/null
mkdir -p "$work/elsewhere" "$work/cwd" "$work/config" "$work/data" "$work/home"
mkdir -m 700 "$work/runtime"
mv "$work/staged" "$work/elsewhere/prefix"
prefix=$work/elsewhere/prefix

expected=(
  bin/quillet
  bin/quillet-schedule
  share/quillet/EMI.rpt
  "share/applications/$id.desktop"
  "share/metainfo/$id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$id.svg"
  share/man/man1/quillet.1.gz
  share/man/man1/quillet-schedule.1.gz
  share/doc/quillet/LICENSE
  share/doc/quillet/copyright
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
  [ -s "$prefix/$file" ] || fail "not installed: $file"
done
for program in quillet quillet-schedule; do
  [ -x "$prefix/bin/$program" ] || fail "not executable: bin/$program"
  if readelf -d "$prefix/bin/$program" | grep -F -q "$build"; then
    fail "bin/$program still looks for libraries in the build tree"
  fi
done
# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 16 22 24 32 48 64 128 256; do
  dimensions=$(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" |
    awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
  [ "$dimensions" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dimensions"
done
gzip -t "$prefix"/share/man/man1/*.gz || fail "a man page is not a valid gzip file"

desktop-file-validate "$prefix/share/applications/$id.desktop"
grep -qx "Exec=quillet" "$prefix/share/applications/$id.desktop" ||
  fail "the desktop entry does not start the window"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" ||
  fail "the desktop entry does not name the installed icon"
grep -qx "StartupWMClass=$id" "$prefix/share/applications/$id.desktop" ||
  fail "the desktop entry does not tie the window to itself"
# copyright-format 1.0: the format line first, then a stanza for every file with its licence.
copyright=$prefix/share/doc/quillet/copyright
head -n1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "share/doc/quillet/copyright is not machine-readable"
grep -qx 'Files: \*' "$copyright" && grep -qx 'License: Expat' "$copyright" ||
  fail "share/doc/quillet/copyright does not cover every file with its licence"
# The programs answer --version and --help without a display, and say nothing on stderr.
for program in quillet quillet-schedule; do
  for question in --version --help; do
    answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR "$prefix/bin/$program" "$question" 2>"$work/stderr") ||
      fail "$program $question failed"
    [ -n "$answer" ] || fail "$program $question printed nothing"
    [ ! -s "$work/stderr" ] || fail "$program $question wrote to stderr: $(cat "$work/stderr")"
  done
done
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"

# A clean user: no configuration, a fresh data folder, standing far from both trees.
run() {
  (cd "$work/cwd" && env HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
     XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen "$prefix/bin/quillet-schedule" "$@")
}

run --months 24 --store --pdf x.pdf >/dev/null || fail "the installed tool could not write a report"
head -c 5 "$work/cwd/x.pdf" | grep -q '%PDF-' || fail "x.pdf is not a PDF"
[ -s "$work/data/quillet/quillet.db" ] || fail "the run stored nothing in the data folder"

# Only the installed definition can have been used: without it the report cannot be made, and
# the message names the places tried.
mv "$prefix/share/quillet/EMI.rpt" "$work/EMI.rpt"
rm -f "$work/cwd/y.pdf"
if run --months 24 --pdf y.pdf >/dev/null 2>"$work/stderr"; then
  fail "a report was made without the installed definition"
fi
grep -qF "$prefix/share/quillet/EMI.rpt" "$work/stderr" ||
  fail "the missing definition was not explained: $(cat "$work/stderr")"
grep -qF "$work/config/quillet/EMI.rpt" "$work/stderr" ||
  fail "the explanation does not name the user's folder: $(cat "$work/stderr")"

# ---- The libraries, headers and package files for other programs -----------------------------
store_library=$(find "$prefix" -name libquillet-store.so.0 -print -quit)
[ -n "$store_library" ] || fail "libquillet-store.so.0 is not installed"
libdir=$(dirname "$store_library")
for file in include/quillet/VekClass.h include/quillet/Quillet.h include/quillet/QuilletQt.h \
  include/quillet/runtime/Variant.h include/quillet/ui/Controls.h; do
  [ -s "$prefix/$file" ] || fail "not installed: $file"
done
for file in libquillet-store.so libquillet-qt.so.0 libquillet-qt.so pkgconfig/quillet-store.pc \
  pkgconfig/quillet-qt.pc cmake/Quillet/QuilletConfig.cmake; do
  [ -e "$libdir/$file" ] || fail "not installed: $(basename "$libdir")/$file"
done
dynamic=$(readelf -d "$store_library")
grep -qF 'Library soname: [libquillet-store.so.0]' <<<"$dynamic" ||
  fail "libquillet-store.so.0 does not carry its SONAME"
# The engines stay inside the library.
for file in engine/Session.h OperationFrame.h dialect engine/sqlite engine/odbc; do
  [ ! -e "$prefix/include/quillet/$file" ] || fail "engine internals installed: $file"
done

export PKG_CONFIG_PATH=$libdir/pkgconfig
libs=$(pkg-config --libs quillet-store)
case " $libs " in
  *" -lquillet-store "*) ;;
  *) fail "pkg-config --libs quillet-store gives '$libs'" ;;
esac
# The folder it names is the moved prefix's, reached from the .pc file's own place.
named=$(echo "$libs" | tr ' ' '\n' | sed -n 's/^-L//p' | head -1)
[ -n "$named" ] && [ "$(realpath "$named")" = "$(realpath "$libdir")" ] ||
  fail "pkg-config --libs quillet-store names '$named', not $libdir"
# Nothing may be found through the build tree or CMake's registry of built packages.
cmake_build() {
  cmake -S "$1" -B "$2" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF \
    -DCMAKE_BUILD_TYPE=Release >"$work/cmake.log" 2>&1 &&
    cmake --build "$2" -j2 >>"$work/cmake.log" 2>&1 ||
    fail "building $1 against $prefix failed: $(tail -20 "$work/cmake.log")"
}
stored() {
  sqlite3 "$work/data/quillet/quillet.db" "$1"
}

cmake_build "$source/tests/install/consumer" "$work/consumer-cmake"
run_program() {
  (cd "$work/cwd" && env HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
     XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen "$@")
}
run_program "$work/consumer-cmake/consumer" 501 >/dev/null ||
  fail "the program built with find_package(Quillet) failed"
[ "$(stored "select Name_ from Visitor where SN = 501")" = "Feb" ] ||
  fail "the find_package program's row is not in the store"

mkdir -p "$work/consumer-pc"
# shellcheck disable=SC2046 # pkg-config's output is a list of options
c++ -std=c++20 -o "$work/consumer-pc/consumer" "$source/tests/install/consumer/consumer.cpp" \
  $(pkg-config --cflags --libs quillet-store) -Wl,-rpath,"$libdir" ||
  fail "the program could not be built with pkg-config"
run_program "$work/consumer-pc/consumer" 502 >/dev/null ||
  fail "the program built with pkg-config failed"
[ "$(stored "select Name_ from Visitor where SN = 502")" = "Feb" ] ||
  fail "the pkg-config program's row is not in the store"

cmake_build "$source/examples/visitor-register" "$work/example"
run_program "$work/example/visitor-register" --demo >"$work/example.out" 2>&1 ||
  fail "the visitor register failed: $(cat "$work/example.out")"
visit=$(stored "select Name_, StaffNo, ValidFrom, ValidTo from Visitor where StaffNo = 'EX-104'")
case $visit in
  "Asha Verma|EX-104|2026-12-01"*"|2027-01-31"*) ;;
  *) fail "the visitor register stored '$visit'" ;;
esac

echo "check-install: $prefix laid out and working"
