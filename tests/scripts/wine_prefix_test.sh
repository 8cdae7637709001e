#!/usr/bin/env bash
# scripts/wine leaves a prefix it did not make as it is: one outside the build
# tree, one inside it, and ~/.wine when WINEPREFIX is unset.
# wine_prefix_test.sh <build tree>
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tree=$1
server=/usr/lib/wine/wineserver64
[ -x "$server" ] || server=$(command -v wineserver)
outside=$(mktemp -d)
inside="$tree/foreign-prefix"
home=$(mktemp -d)
# A build tree of its own for the run without WINEPREFIX, whose prefix it then
# takes: the real tree's is left to its users.
other="$tree/prefix-test-tree"
cleanup() {
  for p in "$outside" "$inside" "$home/.wine" "$other/wineprefix"; do WINEPREFIX=$p "$server" -k 2>/dev/null || true; done
  rm -rf "$outside" "$inside" "$home" "$other"
}
trap cleanup EXIT
# cmd needs no display; one that does not exist keeps the wrapper from
# starting an Xvfb that would outlive the test.
export DISPLAY=:9999
# Someone's prefixes: made by the wrapper, moved, our marker taken away, and
# a file of their own added.
rm -rf "$inside"
make_foreign() {  # make_foreign <n> <where>
  local made="$tree/made-prefix-$1"
  rm -rf "$made"
  WINEPREFIX=$made "$root/scripts/wine" cmd /c exit >/dev/null 2>&1
  WINEPREFIX=$made "$server" -k 2>/dev/null || true
  rm -rf "$2"
  mv "$made" "$2"
  rm "$2/.corvel-prefix"
  echo mine >"$2/keep.txt"
}
make_foreign 1 "$outside" & make_foreign 2 "$inside" & make_foreign 3 "$home/.wine" & wait

failed=0
check() {  # check <prefix> <what>
  if [ "$(cat "$1/keep.txt" 2>/dev/null)" != mine ] || [ ! -f "$1/system.reg" ]; then
    echo "FAIL: $2: the prefix's files are gone"; failed=1
  fi
  if [ -e "$1/.corvel-prefix" ]; then echo "FAIL: $2: marked as ours"; failed=1; fi
}
WINEPREFIX=$outside "$root/scripts/wine" cmd /c exit >/dev/null 2>&1 & a=$!
WINEPREFIX=$inside "$root/scripts/wine" cmd /c exit >/dev/null 2>&1 & b=$!
mkdir -p "$other/bin"
touch "$other/CMakeCache.txt"
cp "$tree/bin/corvelsim.exe" "$other/bin/"
(unset WINEPREFIX; HOME=$home exec "$root/scripts/wine" "$other/bin/corvelsim.exe" show >/dev/null 2>&1) & c=$!
for job in $a $b $c; do wait "$job" || { echo "FAIL: a run of the wrapper failed"; failed=1; }; done
check "$outside" "a prefix outside the build tree"
check "$inside" "a prefix inside the build tree"
check "$home/.wine" "~/.wine with WINEPREFIX unset"
exit "$failed"
