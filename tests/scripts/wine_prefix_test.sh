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
cleanup() {
  for p in "$outside" "$inside" "$home/.wine"; do WINEPREFIX=$p "$server" -k 2>/dev/null || true; done
  rm -rf "$outside" "$inside" "$home"
}
trap cleanup EXIT
# cmd needs no display; one that does not exist keeps the wrapper from
# starting an Xvfb that would outlive the test.
export DISPLAY=:9999
# Someone's prefixes: made by the wrapper, moved, our marker taken away, and
# a file of their own added.
rm -rf "$inside"
for p in "$outside" "$inside" "$home/.wine"; do
  WINEPREFIX="$tree/made-prefix" "$root/scripts/wine" cmd /c exit >/dev/null 2>&1
  WINEPREFIX="$tree/made-prefix" "$server" -k 2>/dev/null || true
  rm -rf "$p"
  mv "$tree/made-prefix" "$p"
  rm "$p/.corvel-prefix"
  echo mine >"$p/keep.txt"
done

failed=0
check() {  # check <prefix> <what>
  if [ "$(cat "$1/keep.txt" 2>/dev/null)" != mine ] || [ ! -f "$1/system.reg" ]; then
    echo "FAIL: $2: the prefix's files are gone"; failed=1
  fi
  if [ -e "$1/.corvel-prefix" ]; then echo "FAIL: $2: marked as ours"; failed=1; fi
}
WINEPREFIX=$outside "$root/scripts/wine" cmd /c exit >/dev/null 2>&1 || { echo "FAIL: cannot run in $outside"; failed=1; }
check "$outside" "a prefix outside the build tree"
WINEPREFIX=$inside "$root/scripts/wine" cmd /c exit >/dev/null 2>&1 || { echo "FAIL: cannot run in $inside"; failed=1; }
check "$inside" "a prefix inside the build tree"
(unset WINEPREFIX; HOME=$home "$root/scripts/wine" "$tree/bin/corvelsim.exe" show >/dev/null 2>&1) ||
  { echo "FAIL: cannot run without WINEPREFIX"; failed=1; }
check "$home/.wine" "~/.wine with WINEPREFIX unset"
exit "$failed"
