# The choice dialogs: the port question and three selection questions (the second cancelled
# once and kept with No), the per-choice files of the chosen items and only those, and the
# port, selections and version entries in the INI files the script names.
. "$(dirname "$0")/lib.sh"
for f in COMMON HOME OFFICE STUDIO EN DE NONE SOME; do echo "$f" >"$DRIVE_DIR/$f.TXT"; done
mkdir -p "$DRIVE_DIR/ICONS"
convert -size 32x32 xc:red "$DRIVE_DIR/ICONS/SPIN1.ICO"
convert -size 32x32 xc:lime "$DRIVE_DIR/ICONS/SPIN2.ICO"
layout_setup '[Setup System]
AP Name=E2E Choices
ICON Directory=ICONS

[Initiation]
Install Name=Acme Suite
DefDir=C:\CHOICES

[ComPort]
File 1=ACME.INI:0
Item 1.1=Remote,Port
Title Name=Acme Remote
Info=Which port is the remote control on?

[Dialog 1]
Title Name=Edition
Info Line 1=Which edition of Acme Suite?
Select Item 1=Home
Select Item 2=Office
Select Item 3=Studio
Animation Icon=SPIN
File 1=ACME.INI:0
Item 1.1=Choice,Edition

[Dialog 2]
Title Name=Language
Info Line 1=Acme Suite speaks several languages. The one chosen here is used for menus, messages and the help.
Info Line 2=(The help is in English for every choice.)
Info Line 3=It can be changed later in the settings of the program.
Select Item 1=English
Select Item 2=Deutsch
Select Item 3=Francais
WriteValueType=Integer
BaseValue=100
File 1=ACME.INI:0
Item 1.1=Choice,Language

[Dialog 3]
Title Name=Samples
Info Line 1=Which samples?
Select Item 1=None
Select Item 2=Some
Select Item 3=All
DefSelect=3
File 1=SAMPLES.INI:0
Item 1.1=Samples,Set

[Version]
File 1=ACME.INI:0
Item 1.1=Version,Number,2.1

[DefDir]
File 1.1=COMMON.TXT
Dialog 1. SelItem 1. File 1.1=HOME.TXT
Dialog 1. SelItem 2. File 1.1=OFFICE.TXT
Dialog 1. SelItem 3. File 1.1=STUDIO.TXT
Dialog 2. SelItem 1. File 1.1=EN.TXT
Dialog 2. SelItem 2. File 1.1=DE.TXT
Dialog 3. SelItem 1. File 1.1=NONE.TXT
Dialog 3. SelItem 2. File 1.1=SOME.TXT'
rm -rf "$WINEPREFIX/drive_c/CHOICES"

start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(wait_dialog "Acme Remote")
dialog=$(robot texts "$hwnd")
expect_eq "$(control_text "$dialog" 1012)" 'Which port is the remote control on?' "port text"
grep -q '^  item 1 selected "COM2"$' <<<"$dialog" || fail "COM2 is not preselected"
grep -q '^  item 3 "COM4"$' <<<"$dialog" || fail "the ports are not in order"
screenshot 01-port >/dev/null
robot select "$hwnd" 1005 2
robot click "$hwnd" 1

hwnd=$(wait_dialog "Edition")
# The animation's timer changes the icon by itself: watched until it does, within the bound.
first=$(robot icon "$hwnd" 1008)
icon_changed() { [ "$(robot icon "$hwnd" 1008)" != "$first" ]; }
wait_until icon_changed || fail "the animation icon did not change ($first)"
edition=$(robot texts "$hwnd")
screenshot 02-edition >/dev/null
robot select "$hwnd" 1005 1
robot click "$hwnd" 1

hwnd=$(wait_dialog "Language")
language=$(robot texts "$hwnd")
read -r _ ok_short _ _ <<<"$(control_rect "$edition" 1)"
read -r _ ok_long _ _ <<<"$(control_rect "$language" 1)"
note "OK button at $ok_short for one info line, at $ok_long for the long text"
[ "$ok_long" -gt "$ok_short" ] || fail "the long text did not push the buttons down"
screenshot 03-language >/dev/null
click_away "$hwnd" 2
click_away "$(wait_dialog "Terminate Installation")" 1023
hwnd=$(wait_dialog "Language")
robot select "$hwnd" 1005 1
robot click "$hwnd" 1

hwnd=$(wait_dialog "Samples")
grep -q '^  item 2 selected "All"$' <<<"$(robot texts "$hwnd")" || fail "DefSelect 3 not selected"
robot select "$hwnd" 1005 1
robot click "$hwnd" 1

hwnd=$(wait_dialog "Installation")
robot click "$hwnd" 1
hwnd=$(wait_dialog "End of Installation")
robot click "$hwnd" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"

target=$WINEPREFIX/drive_c/CHOICES
installed=$(cd "$target" && ls *.TXT | tr '\n' ' ')
expect_eq "$installed" "COMMON.TXT DE.TXT OFFICE.TXT SOME.TXT " "installed files"
expect_eq "$(robot profile 'C:\CHOICES\ACME.INI' Remote Port)" 3 "port"
expect_eq "$(robot profile 'C:\CHOICES\ACME.INI' Choice Edition)" Office "edition"
expect_eq "$(robot profile 'C:\CHOICES\ACME.INI' Choice Language)" 101 "language"
expect_eq "$(robot profile 'C:\CHOICES\SAMPLES.INI' Samples Set)" Some "samples"
expect_eq "$(robot profile 'C:\CHOICES\ACME.INI' Version Number)" 2.1 "version"
expect_eq "$(grep -c '=' "$target/ACME.INI")" 4 "entries in ACME.INI"
note "passed"
