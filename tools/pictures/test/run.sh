#!/bin/sh
# Builds the picture tool and its checker, runs the tool twice and checks
# what it wrote.  Usage: sh tools/pictures/test/run.sh
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

c++ -std=c++17 -O2 -o "$tmp/pictures" "$here"/*.cpp
lib=""
for f in "$here"/*.cpp; do
  [ "$(basename "$f")" = main.cpp ] || lib="$lib $f"
done
# shellcheck disable=SC2086
c++ -std=c++17 -O2 -Wall -o "$tmp/check" $lib "$here/test/check.cpp"

mkdir "$tmp/a"
"$tmp/pictures" "$tmp/a"
"$tmp/pictures" "$tmp/b"   # a folder that does not exist yet
cmp_ok=0
for f in "$tmp"/a/*; do
  cmp -s "$f" "$tmp/b/$(basename "$f")" || { echo "FAIL: $(basename "$f") differs between runs"; cmp_ok=1; }
done

# Errors: a message on stderr and exit status 1.
fail=0
expect_error() {
  rc=0
  "$@" >"$tmp/out" 2>"$tmp/err" || rc=$?
  [ $rc -eq 1 ] || { echo "FAIL: '$*' exited with $rc, not 1"; fail=1; }
  [ -s "$tmp/err" ] || { echo "FAIL: '$*' said nothing on stderr"; fail=1; }
}
expect_error "$tmp/pictures"
touch "$tmp/plainfile"
expect_error "$tmp/pictures" "$tmp/plainfile"
expect_error "$tmp/pictures" "$tmp/plainfile/sub"

"$tmp/check" "$tmp/a"
[ $cmp_ok -eq 0 ] && [ $fail -eq 0 ]
