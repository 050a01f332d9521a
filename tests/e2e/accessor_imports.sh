# OSTREL.EXE binds SONARET.DLL by ordinal alone, and exactly the seven functions it calls:
# ordinals 3 to 9 (the library resets itself when it is loaded, so 2 is not imported).
#   accessor_imports.sh OSTREL.EXE
set -euo pipefail
program=$1
fail() { echo "FAIL: $*"; exit 1; }
block=$(i686-w64-mingw32-objdump -p "$program" | sed -n '/DLL Name: SONARET.DLL/,/^$/p')
[ -n "$block" ] || fail "$program does not import SONARET.DLL"
entries=$(sed '1,2d' <<<"$block" | grep -c . || true)
ordinals=$(sed -nE 's/^[[:space:]]+8000000([0-9])[[:space:]]+([0-9])[[:space:]]+<none>$/\2/p' <<<"$block" | sort | tr '\n' ' ')
[ "$entries" = 7 ] || fail "$program has $entries entries for SONARET.DLL, not 7:
$block"
[ "$ordinals" = "3 4 5 6 7 8 9 " ] || fail "$program imports SONARET.DLL ordinals '$ordinals', not 3..9 by ordinal:
$block"
echo "$(basename "$program") imports SONARET.DLL by ordinal: $ordinals"
