# One script with every kind of entry after the copy: program groups with their items in
# the Start Menu, registry keys and the uninstall entry, start-up programs on win.ini's
# "Run" and "Load" lines, [Write INI N] entries and [Version] entries; the restart question
# that the start-up programs bring stays in front of the group windows that the shell opens
# late, until the user clicks one, and is answered No.
. "$(dirname "$0")/lib.sh"
for f in STUDIO.EXE README.TXT SAMPLE.DAT; do echo "$f" >"$DRIVE_DIR/$f"; done
layout_setup '[Setup System]
AP Name=E2E Full

[Initiation]
Install Name=Acme Studio
DefDir=C:\STUDIO
SubDir 1=DATA
Group 1=Acme Studio
Group 2=Acme Extras
Write INI 1=SYSTEM.INI
Write INI 2=STUDIO.INI:0

[DefDir]
File 1.1=STUDIO.EXE
File 1.2=README.TXT

[SubDir 1]
File 1.1=SAMPLE.DAT

[Group 1]
Item 1=STUDIO.EXE,Acme Studio
Item 2=README.TXT,Read Me,STUDIO.EXE,0

[Group 2]
Item 1=SAMPLE.DAT:1,Sample Data

[Register]
Key 1=HKEY_LOCAL_MACHINE
SubKey 1=Software\Acme\Studio
Key Class 1=NULL
Name 1.1=Path
Data 1.1=STUDIO.EXE:0
Name 1.2=NULL
Data 1.2=Acme Studio 3
Key 2=HKEY_CURRENT_USER
SubKey 2=Software\Acme\Studio\Options
Key Class 2=NULL
Name 2.1=Color
Data 2.1=blue

[UnInstall]
SubKey=AcmeStudio
DisplayName=Acme Studio 3
UnInstallString=REMOVE.EXE /all

[WIN.INI]
RunFile 1=STUDIO.EXE /tray
LoadFile 1=HELPER.EXE:@

[Write INI 1]
Item 1=Acme,Studio,installed

[Write INI 2]
Item 1=Options,Color,blue
Item 2=Options, Size , large

[Version]
File 1=STUDIO.INI:0
Item 1.1=Version,Number,3.0'
robot set-profile win.ini windows Run ""
robot set-profile win.ini windows Load "OLD.EXE"
rm -rf "$WINEPREFIX/drive_c/STUDIO"

start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(wait_dialog "Installation")
robot click "$hwnd" 1
hwnd=$(wait_dialog "End of Installation")
expect_eq "$(control_text "$(robot texts "$hwnd")" 1012)" 'Acme Studio installation complete.\n\nThe Setup program will restart Windows\nso that the Acme Studio can take effect.\n\nDo you wish to restart Windows now ?' "restart question after start-up programs"
# The shell opens the groups' windows by itself, after the conversation has ended: the
# question stays in front of them, with nothing over its centre, for as many of its keeper's
# ticks as a window system needs to draw a new window and the keeper to repair the order.
shell=$(robot wait-window --timeout "$WAIT_MS" '*' 'Acme Extras') || fail "the shell showed no group window: $shell"
front=$(robot uncovered --timeout "$WAIT_MS" --ticks 6 "$hwnd") || fail "the question went behind a window of the shell: $front"
# And on the screen: the question's face looks the same where the group window lies under it
# as where nothing else is (a window system may draw a new window over it for a moment).
read -r left _ right bottom <<<"$(window_rect "$(robot texts "$hwnd")")"
face_shown() {
  local shot
  shot=$(screenshot question-in-front)
  [ "$(pixel "$shot" $((left + 10)) $((bottom - 12)))" = "$(pixel "$shot" $((right - 10)) $((bottom - 12)))" ]
}
wait_until face_shown || fail "the screen shows the group window over the question"

# A user who clicks the group's window keeps the front for it (or for a window the shell opens
# later still): the question's keeper sees the click and lets go (it leaves the topmost band
# and stops its timer, the only thing that could take the front back), and the clicked window
# keeps the front.
click=$(robot user-click --timeout "$WAIT_MS" "$shell") || fail "the click on the group window did not take the front (or it was taken back at once): $click"
not_topmost() { ! (( $(robot texts "$hwnd" | sed -n 's/^window .* exstyle \(0x[0-9A-F]*\) .*/\1/p') & 0x8 )); }
wait_until not_topmost || fail "the question's keeper did not let go after the user's click"
if front=$(robot front --timeout 0 "$hwnd"); then
  fail "the question took the front back from the window the user clicked"
fi
robot click "$hwnd" 1023
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"

# The Start Menu.
programs=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs)
link_targets() { { strings -a "$1"; strings -a -el "$1"; } | tr '[:lower:]' '[:upper:]'; }
for link in "Acme Studio/Acme Studio.lnk:C:\\STUDIO\\STUDIO.EXE" "Acme Studio/Read Me.lnk:C:\\STUDIO\\README.TXT" \
            "Acme Extras/Sample Data.lnk:C:\\STUDIO\\DATA\\SAMPLE.DAT"; do
  file=$programs/${link%%:*}
  target=${link#*:}
  [ -f "$file" ] || fail "no shortcut ${link%%:*} in $(ls -R "$programs" | tr '\n' ' ')"
  link_targets "$file" | grep -qF "$target" || fail "${link%%:*} does not point at $target"
done

# The registry.
expect_eq "$(robot reg HKLM 'Software\Acme\Studio' Path)" 'C:\STUDIO\STUDIO.EXE' "registry path"
expect_eq "$(robot reg HKLM 'Software\Acme\Studio' @)" 'Acme Studio 3' "registry default value"
expect_eq "$(robot reg HKCU 'Software\Acme\Studio\Options' Color)" 'blue' "registry option"
uninstall='SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\AcmeStudio'
expect_eq "$(robot reg HKLM "$uninstall" DisplayName)" 'Acme Studio 3' "uninstall name"
expect_eq "$(robot reg HKLM "$uninstall" UninstallString)" 'C:\STUDIO\REMOVE.EXE /all' "uninstall command"

# win.ini's start-up lines and the INI entries.
expect_eq "$(robot profile win.ini windows Run)" '  C:\STUDIO\STUDIO.EXE /tray' "Run line"
expect_eq "$(robot profile win.ini windows Load)" 'OLD.EXE C:\windows\HELPER.EXE' "Load line"
expect_eq "$(robot profile system.ini Acme Studio)" installed "system.ini entry"
expect_eq "$(robot profile 'C:\STUDIO\STUDIO.INI' Options Color)" blue "product INI"
expect_eq "$(robot profile 'C:\STUDIO\STUDIO.INI' Options Size)" large "product INI, trimmed fields"
expect_eq "$(robot profile 'C:\STUDIO\STUDIO.INI' Version Number)" 3.0 "version entry"
note "passed"
