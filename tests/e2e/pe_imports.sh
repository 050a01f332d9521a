# The programs are PE32 for i386 and start on Windows 95 and NT 4.0 as they shipped: a loader
# refuses a program whose import table names a DLL or a function it lacks. Every import must
# be in the table of docs/windows-versions.md, with Windows 95 and an NT release no later than
# 4.0 as the first that export it; the table lists nothing that no program imports. The DLLs
# imported are the known ones, which Windows loads from its system directory whatever the
# program's folder holds (the installer runs with an administrator's rights); besides them, the
# accessor imports our own SONARET.DLL, which ships beside it, by ordinal (e2e_accessor_imports
# checks which).
#   pe_imports.sh TABLE PROGRAM...
set -euo pipefail
table=$1
shift
known='KERNEL32|USER32|GDI32|ADVAPI32|SHELL32'
# "DLL FUNCTION 95 NT" for each row of the table.
rows=$(sed -nE 's/^\| *([A-Z0-9]+\.DLL) *\| *`?([A-Za-z0-9_]+)`? *\| *([^|]*[^ |]) *\| *([^|]*[^ |]) *\|$/\1 \2 \3 \4/p' "$table")
[ -n "$rows" ] || { echo "FAIL: no rows in $table"; exit 1; }
status=0
used=
for program in "$@"; do
  name=$(basename "$program")
  dump=$(i686-w64-mingw32-objdump -p "$program")
  grep -q 'file format pei-i386' <<<"$dump" || { echo "FAIL: $name is not PE32 for i386"; status=1; }
  case $name in
    OSTREL.EXE) allowed="^($known|SONARET)\\.DLL$" ;;
    *) allowed="^($known)\\.DLL$" ;;
  esac
  imports=$(awk '/DLL Name:/ { dll = toupper($3) } /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll, $3 }' <<<"$dump")
  dlls=$(grep 'DLL Name:' <<<"$dump" | awk '{print toupper($3)}' | sort -u)
  echo "$name imports: $(echo $dlls) ($(grep -c . <<<"$imports") functions by name)"
  for dll in $dlls; do
    [[ $dll =~ $allowed ]] || { echo "FAIL: $name imports $dll, not a DLL that Windows loads from its system directory"; status=1; }
  done
  while read -r dll function; do
    [ -n "$dll" ] || continue
    used="$used $dll:$function"
    row=$(awk -v d="$dll" -v f="$function" '$1 == d && $2 == f' <<<"$rows")
    if [ -z "$row" ]; then
      echo "FAIL: $name imports $dll $function, which $(basename "$table") does not list"
      status=1
      continue
    fi
    read -r _ _ first95 firstNt <<<"$row"
    [ "$first95" = 95 ] || { echo "FAIL: $name imports $function, first in Windows $first95"; status=1; }
    case $firstNt in
      3.1 | 3.5 | 3.51 | 4.0) ;;
      *) echo "FAIL: $name imports $function, first in Windows NT $firstNt"; status=1 ;;
    esac
  done <<<"$imports"
done
while read -r dll function _; do
  [[ " $used " == *" $dll:$function "* ]] || { echo "FAIL: $(basename "$table") lists $dll $function, which no program imports"; status=1; }
done <<<"$rows"
exit $status
