# The sample product, installed as the demo installs it (defaults accepted, no restart),
# and every effect of its script checked.
. "$(dirname "$0")/lib.sh"
: "${SUITE_BUILD:?}"
root=$(cd "$(dirname "$0")/../.." && pwd)
export SAMPLE_DISKS=$SUITE_RESULTS/disks SAMPLE_LOG=$SUITE_RESULTS/launch.out
"$root/tools/make_sample_disks.sh" "$SUITE_BUILD" "$SAMPLE_DISKS" >/dev/null
# shellcheck source=tools/sample_install.sh
. "$root/tools/sample_install.sh"
robot set-profile win.ini windows Run ""
sample_install >"$SUITE_RESULTS/dialogs.txt"
cat "$SUITE_RESULTS/dialogs.txt"
expect_eq "$SAMPLE_EXIT" 18 "exit code"
expect_eq "$(tr '\n' '|' <"$SUITE_RESULTS/dialogs.txt")" \
  'sample: "Brightleaf Remote"|sample: "Brightleaf Edition"|sample: "Sample Notes"|sample: "Brightleaf 2.1 Installation"|sample: "Brightleaf 2.1"|sample: "Insert Disk"|sample: "Insert Disk"|sample: "End of Installation"|' \
  "the dialogs, in order"

# Files: plain and compressed ones, byte for byte; the per-choice files of the defaults only.
files=$root/examples/sample/files
target=$WINEPREFIX/drive_c/BRIGHTLF
expect_same_file "$SUITE_BUILD/examples/sample/program/BRIGHT.EXE" "$target/BRIGHT.EXE"
expect_same_file "$SUITE_BUILD/examples/sample/program/LEAFSPL.DLL" "$SYSTEM_DIR/LEAFSPL.DLL"
expect_same_file "$files/BRIGHTLF.INI" "$WINDOWS_DIR/BRIGHTLF.INI"
for f in README.TXT BRIGHT.HLP LICENSE.TXT HOME.DAT NOTES/WELCOME.TXT TEMPLATE/PLAIN.TPL; do
  expect_same_file "$files/$(basename "$f")" "$target/$f"
done
for f in STUDIO.DAT NOTES/RECIPES.TXT TEMPLATE/OUTLINE.TPL SLIDE1.BMP NOTES/SLIDE1.BMP TEMPLATE/SLIDE2.BMP; do
  [ ! -e "$target/$f" ] || fail "$f should not be there"
done

# The choices and the version in the product's INI file; win.ini.
ini='C:\BRIGHTLF\BRIGHT.INI'
for entry in "Remote Port 2" "Edition Name Home" "Samples Set 1" "Version Number 2.1" "Version Build 2104" \
             "Options Autosave 5" "Options Font Times"; do
  read -r section key value <<<"$entry"
  expect_eq "$(robot profile "$ini" "$section" "$key")" "$value" "BRIGHT.INI $section $key"
done
expect_eq "$(robot profile win.ini Brightleaf Version)" 2.1 "win.ini entry"
expect_eq "$(robot profile win.ini windows Run)" '  C:\BRIGHTLF\BRIGHT.EXE /tray' "start-up program"

# Registry, uninstall entry and Start Menu.
key='Software\Kestrel Works\Brightleaf\2.1'
expect_eq "$(robot reg HKLM "$key" Path)" 'C:\BRIGHTLF\BRIGHT.EXE' "registry Path"
expect_eq "$(robot reg HKLM "$key" Notes)" 'C:\BRIGHTLF\NOTES' "registry Notes"
expect_eq "$(robot reg HKLM "$key" @)" 'Brightleaf 2.1' "registry default value"
expect_eq "$(robot reg HKCU 'Software\Kestrel Works\Brightleaf' Font)" Times "registry Font"
uninstall='SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Brightleaf'
expect_eq "$(robot reg HKLM "$uninstall" DisplayName)" 'Brightleaf 2.1' "uninstall name"
expect_eq "$(robot reg HKLM "$uninstall" UninstallString)" 'C:\BRIGHTLF\BRIGHT.EXE /uninstall' "uninstall command"
report=$(sample_report)
for link in 'Brightleaf.lnk -> C:\BRIGHTLF\BRIGHT.EXE' 'Read Me.lnk -> C:\BRIGHTLF\README.TXT' \
            'Brightleaf Help.lnk -> C:\BRIGHTLF\BRIGHT.HLP'; do
  grep -qF "Programs/Brightleaf/$link" <<<"$report" || fail "no shortcut $link"
done
note "passed"
