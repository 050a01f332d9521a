# DLLs that someone left under the names of the version library and the common controls, beside
# SETUP.EXE, in the temporary directory and in the installation directory, are never loaded:
# not by an installation, not by its uninstallation (nor by the uninstaller's helper, which
# runs from the temporary directory): no LoadLibrary takes them and none of their functions is
# called. Wine prefers its own DLLs; told to prefer files on the disk for these two, it
# searches for them as Windows does. First a program that loads both by name shows that a
# planted DLL leaves its mark where it is taken.
. "$(dirname "$0")/lib.sh"
: "${PLANTED_DIR:?}"
target=$WINEPREFIX/drive_c/PLANTED
temp=$(winepath -u "$(wine cmd /c 'echo %TEMP%' </dev/null 2>/dev/null | tr -d '\r')" 2>/dev/null)
[ -d "$temp" ] || fail "no temporary directory: $temp"
mark=$WINEPREFIX/drive_c/PLANTED.LOG
cleanup() {
  stop_launch
  rm -rf "$target" "$mark" "$temp/VERSION.DLL" "$temp/COMCTL32.DLL"
  wine reg delete 'HKCU\Software\E2E Planted' /f >/dev/null 2>&1 </dev/null || true
  wine reg delete 'HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\E2E Planted' /f >/dev/null 2>&1 \
    </dev/null || true
}
trap cleanup EXIT
cleanup
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}version,comctl32=n,b"
plant() { cp "$PLANTED_DIR/VERSION.DLL" "$PLANTED_DIR/COMCTL32.DLL" "$1/"; }

note "a program that loads them by name takes the planted ones"
plant "$DRIVE_DIR"
cp "$PLANTED_DIR/OLDWAY.EXE" "$DRIVE_DIR/"
start_launch "$WIN_DIR\\OLDWAY.EXE"
finish_launch
for name in VERSION COMCTL32; do
  grep -qi "$name.DLL .* by" "$mark" 2>/dev/null || fail "the planted $name.DLL left no mark: the scenario cannot see a load"
done
rm -f "$mark" "$DRIVE_DIR/OLDWAY.EXE"

echo "a file" >"$DRIVE_DIR/FILE.TXT"
layout_setup '[Setup System]
AP Name=E2E Planted

[Initiation]
Install Name=Planted Test
DefDir=C:\PLANTED

[DefDir]
File 1.1=FILE.TXT

[UnInstall]
Key=HKEY_CURRENT_USER
SubKey=E2E Planted
DisplayName=E2E Planted
UnInstallString=SETUP.EXE /UNINSTALL=PLANTED.UNR
Record=PLANTED.UNR'
plant "$temp"

note "an installation started beside them"
start_launch "$WIN_DIR\\SETUP.EXE"
click_away "$(wait_dialog "Installation")" 1
click_away "$(wait_dialog "End of Installation")" 1022
finish_launch
[ -f "$target/FILE.TXT" ] || fail "the installation did not install FILE.TXT"
[ ! -e "$mark" ] || fail "the installation loaded a planted DLL: $(cat "$mark")"

note "its uninstallation, with them in the installation directory too"
plant "$target"
start_launch 'C:\PLANTED\SETUP.EXE' '/UNINSTALL=PLANTED.UNR'
click_away "$(wait_dialog "Uninstall")" 1022
click_away "$(wait_dialog "End of Uninstall")" 1022
finish_launch
[ ! -e "$target/FILE.TXT" ] || fail "the uninstallation left FILE.TXT"
[ ! -e "$mark" ] || fail "the uninstallation loaded a planted DLL: $(cat "$mark")"
note "passed"
