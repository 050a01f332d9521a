# SONARET.DLL exports exactly its eight functions, by name and by ordinal from 2, as the
# by-ordinal import list has them; a program built with that import library imports
# them by ordinal alone.
#   volume_exports.sh SONARET.DLL sonaret_imports.def PROGRAM.EXE
set -euo pipefail
dll=$1 imports_def=$2 program=$3
fail() { echo "FAIL: $*"; exit 1; }

dump=$(i686-w64-mingw32-objdump -p "$dll")
grep -q 'file format pei-i386' <<<"$dump" || fail "$dll is not PE32 for i386"
base=$(sed -nE 's/^Ordinal Base[[:space:]]+([0-9]+)$/\1/p' <<<"$dump")
[ "$base" = 2 ] || fail "ordinal base is '$base', not 2"
slots=$(sed -n '/^Export Address Table -- /,/^$/p' <<<"$dump" | grep -c 'Export RVA' || true)
[ "$slots" = 8 ] || fail "$slots exported addresses, not 8"

# The name table gives each name with its index in the address table: ordinal - base.
exported=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
  sed -nE 's/^[[:space:]]*\[ *([0-9]+)\] ([A-Za-z_0-9]+)$/\2 \1/p' |
  awk -v base="$base" '{print $1, $2 + base}' | sort)
expected=$(sed -nE 's/^[[:space:]]*([A-Za-z_0-9]+)[[:space:]]+@([0-9]+)[[:space:]]+NONAME[[:space:]]*$/\1 \2/p' \
  "$imports_def" | sort)
[ "$(grep -c . <<<"$expected")" = 8 ] || fail "the import list does not have eight entries"
[ "$exported" = "$expected" ] || fail "exports differ from the import list:
$exported
expected:
$expected"
echo "$(basename "$dll") exports (name ordinal): $(echo $exported)"

# The program's import block of the library: ordinal entries only, no names.
block=$(i686-w64-mingw32-objdump -p "$program" | sed -n '/DLL Name: SONARET.DLL/,/^$/p')
[ -n "$block" ] || fail "$program does not import SONARET.DLL"
entries=$(sed '1,2d' <<<"$block" | grep -c . || true)
ordinals=$(grep -cE '^[[:space:]]+8000000[2-9][[:space:]]+[2-9][[:space:]]+<none>$' <<<"$block" || true)
[ "$entries" -gt 0 ] && [ "$entries" = "$ordinals" ] ||
  fail "$program imports SONARET.DLL by name or outside ordinals 2..9:
$block"
echo "$(basename "$program") imports $ordinals functions of SONARET.DLL by ordinal"
