#!/usr/bin/env bash
# Compares the symbols a shared library exports with the list kept in the repository.
# Usage: scripts/check-abi.sh LIBRARY LIST VERSION          check
#        scripts/check-abi.sh --update LIBRARY LIST VERSION rewrite LIST from LIBRARY, which it
#                                                           refuses as the check fails below
#
# The list holds the mangled names of the library's own exported symbols (those of namespace
# quillet), one a line, after a first line "# version X.Y.Z" naming the version they belong to.
# A program built against the library binds to exactly these names, so:
#   - a name removed breaks programs already built: it needs a new major version (and SONAME);
#   - a name added is new interface: it needs at least a new version;
# and either way the list is refreshed (--update) in the same change.
set -euo pipefail
# One collation for sorting and comparing the lists, whatever the caller's locale.
export LC_ALL=C

update=false
if [ "${1:-}" = "--update" ]; then
  update=true
  shift
fi
[ $# -eq 3 ] || { echo "usage: $0 [--update] LIBRARY LIST VERSION" >&2; exit 64; }
library=$1
list=$2
version=$3

fail() {
  echo "check-abi: $*" >&2
  exit 1
}

exported() {
  # Defined dynamic symbols, mangled; c++filt only decides which are the library's own.
  nm -D --defined-only "$library" | awk '{ print $NF }' | sort -u |
    while read -r name; do
      case $(echo "$name" | c++filt) in
        quillet::* | "typeinfo for quillet::"* | "typeinfo name for quillet::"* | \
          "vtable for quillet::"* | "VTT for quillet::"*)
          echo "$name" ;;
      esac
    done
}

current=$(exported)
[ -n "$current" ] || fail "$library exports nothing of namespace quillet"

write_list() {
  { echo "# version $version"; echo "$current"; } >"$list"
  echo "check-abi: $list now lists $(echo "$current" | wc -l) symbols of $version"
  exit 0
}

if [ ! -f "$list" ]; then
  $update && write_list
  fail "no symbol list $list (make it with --update)"
fi
recorded_version=$(sed -n '1s/^# version //p' "$list")
[ -n "$recorded_version" ] || fail "$list does not start with '# version X.Y.Z'"
recorded=$(sed '1d' "$list")

removed=$(comm -23 <(echo "$recorded") <(echo "$current"))
added=$(comm -13 <(echo "$recorded") <(echo "$current"))
if [ -z "$removed" ] && [ -z "$added" ]; then
  echo "check-abi: $(basename "$library") exports the $(echo "$current" | wc -l) listed symbols"
  exit 0
fi

show() { echo "$1" | head -20 | sed 's/^/    /' >&2; }
if [ -n "$removed" ]; then
  echo "check-abi: symbols gone from $(basename "$library"):" >&2
  show "$removed"
fi
if [ -n "$added" ]; then
  echo "check-abi: symbols new in $(basename "$library"):" >&2
  show "$added"
fi
if [ -n "$removed" ] && [ "${recorded_version%%.*}" = "${version%%.*}" ]; then
  fail "removing symbols breaks programs built against $recorded_version: raise the major version"
fi
if [ "$recorded_version" = "$version" ]; then
  fail "the exported interface changed but the version is still $version: raise it"
fi
# The version says so: the list may follow.
$update && write_list
fail "the version moved from $recorded_version to $version: refresh the list with" \
  "scripts/check-abi.sh --update $library $list $version"
