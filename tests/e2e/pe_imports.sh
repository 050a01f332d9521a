# The programs are PE32 for i386 and import nothing but system DLLs: the C and C++
# runtimes are linked in, so a bare Windows needs nothing installed beside them. The
# accessor alone imports our own SONARET.DLL as well.
set -euo pipefail
system='KERNEL32|USER32|GDI32|COMCTL32|SHELL32|ADVAPI32|VERSION|WINMM|msvcrt'
status=0
for program in "$@"; do
  allowed="^($system)\\.(dll|DLL)$"
  [ "$(basename "$program")" = OSTREL.EXE ] && allowed="^($system|SONARET)\\.(dll|DLL)$"
  dump=$(i686-w64-mingw32-objdump -p "$program")
  grep -q 'file format pei-i386' <<<"$dump" || { echo "FAIL: $program is not PE32 for i386"; status=1; }
  imports=$(grep 'DLL Name:' <<<"$dump" | awk '{print $3}')
  echo "$(basename "$program") imports: $(echo $imports)"
  for dll in $imports; do
    [[ $dll =~ $allowed ]] || { echo "FAIL: $program imports $dll"; status=1; }
  done
done
exit $status
