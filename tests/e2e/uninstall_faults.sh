# What an uninstallation leaves, and what it refuses. Damaged and hostile records (cut short,
# garbage, a path out of the installation's directories, the Windows directory's WIN.INI
# named as a file the installation made) are refused with a message, and nothing changes.
# The record is sealed under HKEY_LOCAL_MACHINE: one changed after the installation wrote it is
# refused too, and the installer's own files have rights that keep others out (Wine keeps
# rights as a file's Unix permissions, so that is what reads back). Then a file the user
# changed, an INI entry and a registry value changed since stay and are listed, a file held
# open is removed at the next restart, which is asked for, and a program group that was there
# before keeps its other items.
. "$(dirname "$0")/lib.sh"
target=$WINEPREFIX/drive_c/UNDO
group=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs)/"E2E Undo Old"
cleanup() {
  stop_launch
  [ -z "${holder:-}" ] || { robot stop "$holder_stop" >/dev/null 2>&1 || true; wait "$holder" 2>/dev/null || true; }
  rm -rf "$target" "$group"
  for key in 'HKCU\Software\E2E Undo' 'HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\E2E Undo'; do
    wine reg delete "$key" /f >/dev/null 2>&1 </dev/null || true
  done
  wine reg delete 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations /f \
    >/dev/null 2>&1 </dev/null || true
  wine reg delete 'HKLM\SOFTWARE\Setup Undo Records' /f >/dev/null 2>&1 </dev/null || true
}
trap cleanup EXIT
cleanup
for f in KEEP HELD GONE; do echo "$f as installed" >"$DRIVE_DIR/$f.TXT"; done
layout_setup '[Setup System]
AP Name=E2E Uninstall

[Initiation]
Install Name=Undo Test
DefDir=C:\UNDO
Write INI 1=UNDO.INI:0
Group 1=E2E Undo Old

[Group 1]
Item 1=KEEP.TXT,Undo Keep

[DefDir]
File 1.1=KEEP.TXT
File 1.2=HELD.TXT
File 1.3=GONE.TXT

[Write INI 1]
Item 1=Settings,Colour,Blue

[Register]
Key 1=HKEY_CURRENT_USER
SubKey 1=Software\E2E Undo
Key Class 1=NULL
Name 1.1=Mode
Data 1.1=Fast
Name 1.2=Other
Data 1.2=Plain

[UnInstall]
Key=HKEY_CURRENT_USER
SubKey=E2E Undo
DisplayName=E2E Undo
UnInstallString=SETUP.EXE /UNINSTALL=UNDO.UNR
Record=UNDO.UNR'
mkdir -p "$group"
echo "the user's own" >"$group/Other.lnk"
start_launch "$WIN_DIR\\SETUP.EXE" /QUIET
finish_launch
[ -f "$group/Undo Keep.lnk" ] || fail "no item in the group that was there"
expect_eq "$LAUNCH_CODE" 0 "the quiet installation's exit code"
uninstall_entry='HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\E2E Undo'
expect_eq "$(robot reg HKCU 'SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\E2E Undo' UninstallString)" \
  'C:\UNDO\SETUP.EXE /UNINSTALL=UNDO.UNR' "the uninstall entry's command"

installed() {
  (cd "$target" && find . -type f -print0 | sort -z | xargs -0 cksum)
  wine reg query 'HKCU\Software\E2E Undo' </dev/null 2>/dev/null | tr -d '\r'
  wine reg query "$uninstall_entry" </dev/null 2>/dev/null | tr -d '\r'
  tr -d '\r' <"$target/UNDO.INI"
}
installed >"$SUITE_RESULTS/installed.txt"

note "damaged and hostile records"
record=$target/UNDO.UNR
sed '3s/\r$//' "$record" >"$target/CUT.UNR"  # a line in the middle without its end
head -c 600 /dev/urandom >"$target/GARBAGE.UNR"
{ cat "$record"; printf 'file\tC:\\UNDO\\..\\windows\\win.ini\t1\t1\t00000000\r\n'; } >"$target/DOTS.UNR"
{ cat "$record"; printf 'file\tC:\\windows\\WIN.INI\t1\t1\t00000000\r\n'; } >"$target/WININI.UNR"
for bad in CUT:'cut short' GARBAGE:'not an undo record' DOTS:'outside what the installation' \
           WININI:'C:\windows\WIN.INI, which lies outside'; do
  name=${bad%%:*}
  LAUNCH_OUT=$SUITE_RESULTS/$name.out
  start_launch "$WIN_DIR\\SETUP.EXE" /QUIET "/UNINSTALL=C:\\UNDO\\$name.UNR" "/LOG=$WIN_DIR\\$name.log"
  finish_launch
  expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 1603" "the exit code for the $name record"
  grep -qF "${bad#*:}" "$DRIVE_DIR/$name.log" || fail "the log does not say why $name was refused: $(cat "$DRIVE_DIR/$name.log")"
  rm -f "$target/$name.UNR"
done
seals() { wine reg query 'HKLM\SOFTWARE\Setup Undo Records' </dev/null 2>/dev/null | tr -d '\r' | grep -F REG_ || true; }
grep -qF 'C:\UNDO\UNDO.UNR    REG_SZ    0 ' <<<"$(seals)" || fail "the record has no seal: $(seals)"
cp "$record" "$SUITE_RESULTS/UNDO.UNR"
printf 'dir\tC:\\UNDO\\MORE\r\n' >>"$record"
LAUNCH_OUT=$SUITE_RESULTS/changed.out
start_launch "$WIN_DIR\\SETUP.EXE" /QUIET '/UNINSTALL=C:\UNDO\UNDO.UNR' "/LOG=$WIN_DIR\\changed.log"
finish_launch
expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 1603" "the exit code for a record changed after its seal"
grep -qF 'it was changed after the installation wrote it' "$DRIVE_DIR/changed.log" ||
  fail "the log does not say why the changed record was refused: $(cat "$DRIVE_DIR/changed.log")"
cp "$SUITE_RESULTS/UNDO.UNR" "$record"
for own in SETUP.EXE SETUP.INF UNDO.UNR KEEP.TXT; do
  rights=$(robot rights "C:\\UNDO\\$own") || fail "the rights of $own cannot be read: $rights"
  case $own:$rights in
    KEEP.TXT:*\;WD\)*) ;;
    KEEP.TXT:*) fail "the product's own KEEP.TXT lost the rights it inherits: $rights" ;;
    *\;WD\)*) fail "everyone keeps rights to the installer's $own: $rights" ;;
  esac
done
# The helper that removes the installer's own copy after an uninstallation takes nothing but
# a copy of the program itself, whatever its command line names.
start_launch "$WIN_DIR\\SETUP.EXE" '/FINISH=0|C:\UNDO\GONE.TXT|C:\UNDO'
finish_launch
[ -f "$target/GONE.TXT" ] || fail "the helper removed a file that is not a copy of the installer"
# With a person at the screen, the message says why; nothing changes.
cp "$record" "$target/WININI.UNR"
printf 'file\tC:\\windows\\WIN.INI\t1\t1\t00000000\r\n' >>"$target/WININI.UNR"
line=$(wc -l <"$target/WININI.UNR")
start_launch "$WIN_DIR\\SETUP.EXE" '/UNINSTALL=C:\UNDO\WININI.UNR'
expect_message "Uninstall Error" \
  'The uninstall record C:\\UNDO\\WININI.UNR can not be used:\nline '"$line"' names C:\\windows\\WIN.INI, which lies outside what the installation could have written.\n\nNothing has been removed.' \
  uninstall-refused 1022
finish_launch
rm -f "$target/WININI.UNR"
installed >"$SUITE_RESULTS/after-refusals.txt"
diff -u "$SUITE_RESULTS/installed.txt" "$SUITE_RESULTS/after-refusals.txt" || fail "a refused record changed the installation"

note "changed since the installation, and held open"
echo "edited by the user" >>"$target/KEEP.TXT"
robot set-profile 'C:\UNDO\UNDO.INI' Settings Colour Red >/dev/null
wine reg add 'HKCU\Software\E2E Undo' /v Mode /d Slow /f </dev/null >/dev/null 2>&1
holder_stop="e2e-held-$$"
wine "$ROBOT_EXE" hold-file --timeout 300000 --stop "$holder_stop" 'C:\UNDO\HELD.TXT' </dev/null >"$SUITE_RESULTS/held.out" 2>&1 &
holder=$!
wait_for_line "$SUITE_RESULTS/held.out" held "$holder" || fail "HELD.TXT was not held"
LAUNCH_OUT=$SUITE_RESULTS/launch.out
start_launch 'C:\UNDO\SETUP.EXE' '/UNINSTALL=UNDO.UNR' "/LOG=$WIN_DIR\\uninstall.log"
click_away "$(wait_dialog "Uninstall")" 1022
expect_message "End of Uninstall" \
  'Undo Test has been removed.\n\nThese were changed after the installation and stay:\nregistry value HKEY_CURRENT_USER\\Software\\E2E Undo Mode\nC:\\UNDO\\UNDO.INI [Settings] Colour\nC:\\UNDO\\KEEP.TXT' \
  uninstall-stayed 1022
expect_message "End of Uninstall" \
  'Some files of Undo Test are in use: they will be removed when Windows restarts.\n\nDo you wish to restart Windows now ?' \
  uninstall-restart 1023
finish_launch
expect_eq "$LAUNCH_CODE" 18 "the uninstallation's exit code"

grep -q 'edited by the user' "$target/KEEP.TXT" || fail "the changed file is gone"
[ ! -e "$target/GONE.TXT" ] || fail "GONE.TXT is still there"
[ -e "$target/HELD.TXT" ] || fail "the held file was removed at once"
pending=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations \
  </dev/null 2>/dev/null | tr -d '\r')
grep -qi 'C:\\UNDO\\HELD.TXT' <<<"$pending" || fail "HELD.TXT is not to be removed at the restart: $pending"
expect_eq "$(robot profile 'C:\UNDO\UNDO.INI' Settings Colour)" Red "the changed INI entry"
expect_eq "$(robot reg HKCU 'Software\E2E Undo' Mode)" Slow "the changed registry value"
robot reg HKCU 'Software\E2E Undo' Other >/dev/null && fail "the unchanged registry value is still there"
wine reg query "$uninstall_entry" </dev/null >/dev/null 2>&1 && fail "the uninstall entry is still there"
[ -z "$(seals)" ] || fail "the record's seal is still there: $(seals)"
[ ! -e "$group/Undo Keep.lnk" ] || fail "the item added to the group that was there stays"
[ -f "$group/Other.lnk" ] || fail "the group that was there lost its other item"
note "passed"
