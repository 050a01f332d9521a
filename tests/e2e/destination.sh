# The destination dialog: its script texts, a typed directory that is not a drive path
# (the dialog stays), Cancel with the stop question (No: the dialog again with the
# script's directory; Yes: the end), and a typed directory that is stored and used.
. "$(dirname "$0")/lib.sh"
echo data >"$DRIVE_DIR/DATA.TXT"
layout_setup '[Setup System]
AP Name=E2E Destination

[Initiation]
Install Name=Acme Tools
Dialog Name=Acme
DefDir=C:\ACME

[SetDir Message]
Line 1=Where shall Acme Tools go?
Line 2=NULL
Line 3=Type a directory.

[Static Text]
Copy To :=Folder:

[Button Text]
OK=Install

[DefDir]
File 1.1=DATA.TXT'
rm -rf "$WINEPREFIX/drive_c/typed" "$WINEPREFIX/drive_c/ACME"

start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(wait_dialog "Acme Installation")
dialog=$(robot texts "$hwnd")
expect_eq "$(control_text "$dialog" 1012)" 'Where shall Acme Tools go?\n\nType a directory.' "script text"
expect_eq "$(control_text "$dialog" 1010)" 'Folder:' "label"
expect_eq "$(control_text "$dialog" 1)" 'Install' "OK caption"
expect_eq "$(control_text "$dialog" 1011)" 'C:\\ACME' "preset directory"
screenshot destination >/dev/null

# OK on a directory without a drive, then Cancel, posted together in this order: the stop
# question comes only if OK left the dialog open (had it accepted the directory, the dialog
# would have ended before the Cancel reached it, and the copy would have begun).
robot set-text "$hwnd" 1011 'apps'
robot click "$hwnd" 1 "$hwnd" 2
click_away "$(wait_dialog "Terminate Installation")" 1023
hwnd=$(wait_dialog "Acme Installation")
expect_eq "$(control_text "$(robot texts "$hwnd")" 1011)" 'C:\\ACME' "the script's directory again after No"

robot set-text "$hwnd" 1011 'c:\typed'
click_away "$hwnd" 1
end=$(wait_dialog "End of Installation")
robot click "$end" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"
[ "$(cat "$WINEPREFIX/drive_c/typed/DATA.TXT")" = data ] || fail "not installed into the typed directory"

# Cancel, then Yes: the installation ends before anything is copied.
start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(wait_dialog "Acme Installation")
robot key "$hwnd" escape
stop=$(wait_dialog "Terminate Installation")
robot click "$stop" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"
[ ! -e "$WINEPREFIX/drive_c/ACME" ] || fail "something was installed after the stop"
note "passed"
