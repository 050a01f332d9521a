# A script whose [Execute File] names a program: it is started with its arguments and the
# installation ends without the end message or a restart question.
. "$(dirname "$0")/lib.sh"
: "${ECHO_ARGS_EXE:?}"
cp "$ECHO_ARGS_EXE" "$DRIVE_DIR/ECHOARGS.EXE"
layout_setup '[Setup System]
AP Name=E2E Execute

[Initiation]
Install Name=Acme Viewer
DefDir=C:\VIEWER
Restart Windows=1

[DefDir]
File 1.1=ECHOARGS.EXE

[Execute File]
File=ECHOARGS.EXE --first-run now'
rm -rf "$WINEPREFIX/drive_c/VIEWER"
start_launch --watch-windows "$WIN_DIR\\SETUP.EXE"
click_away "$(wait_dialog "Installation")" 1
finish_launch_without_dialogs  # no closing message after the program start
expect_eq "$LAUNCH_CODE" 18 "exit code"
# The started program writes its command line by itself: watched for, within the bound.
wait_until test -s "$WINEPREFIX/drive_c/VIEWER/ARGS.TXT" || fail "the started program wrote nothing"
expect_eq "$(cat "$WINEPREFIX/drive_c/VIEWER/ARGS.TXT")" 'C:\VIEWER\ECHOARGS.EXE --first-run now' "the started command line"
note "passed"
