# An earlier version still on win.ini's "Run" line: the installer finds it, asks, removes it
# when the answer is Yes and asks Windows to restart. Under Wine the request ends the GUI
# programs of the session, the installer among them (as a restart would): nothing more is
# installed; the user runs the installer again afterwards. The request ends every window of
# the prefix, so this scenario has a Wine environment of its own and is driven by the
# (console) robot.
set -euo pipefail
. "$(dirname "$0")/own_env.sh"

echo new >"$DRIVE_DIR/MONITOR.EXE"
layout_setup '[Setup System]
AP Name=E2E Previous

[Initiation]
Install Name=Acme Monitor
DefDir=C:\ACME

[DefDir]
File 1.1=MONITOR.EXE

[WIN.INI]
RunFile 1=MONITOR.EXE'
robot set-profile win.ini windows Run 'C:\OLD\MONITOR.EXE OTHER.EXE'

# Another program's window, which the restart request is expected to end.
wine "$ROBOT_EXE" hold-window --timeout 300000 'Bystander' </dev/null >"$SUITE_RESULTS/bystander.out" 2>&1 &
bystander=$!
wait_for_line "$SUITE_RESULTS/bystander.out" ready "$bystander" || fail "the other program's window did not come up"

start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(wait_dialog "Installation")
dialog=$(robot texts "$hwnd")
if [ "$(control_text "$dialog" 1012)" != 'The Setup program found the previous Version of Acme Monitor\n\nThe Setup program will restart windows to continue.\n\nDo you wish to continue ?' ]; then
  fail "not the previous-version question: $dialog"
fi
robot click "$hwnd" 1022
started=$(date +%s)
wait "$bystander" || true
note "the other program ended $(( $(date +%s) - started )) s after Yes"
# Left alone, it would have waited out its time and said so; ended by the request, it says nothing.
grep -q 'never brought' "$SUITE_RESULTS/bystander.out" && fail "the restart request did not end the other program"

finish_launch
note "the installer ended with the session (exit code $LAUNCH_CODE)"
[ "$LAUNCH_CODE" != 124 ] || fail "the installer was still running"
expect_eq "$(robot profile win.ini windows Run)" 'OTHER.EXE' "Run line without the earlier version"
[ ! -e "$WINEPREFIX/drive_c/ACME" ] || fail "the installation went on during the restart"
note "passed"
