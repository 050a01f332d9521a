# The sample product, installed as the demo installs it (defaults accepted, no restart),
# and every effect of its script checked.
. "$(dirname "$0")/lib.sh"
: "${SUITE_BUILD:?}"
root=$(cd "$(dirname "$0")/../.." && pwd)
export SAMPLE_DISKS=$SUITE_RESULTS/disks SAMPLE_LOG=$SUITE_RESULTS/launch.out
"$root/tools/make_sample_disks.sh" "$SUITE_BUILD" "$SAMPLE_DISKS" >"$SUITE_RESULTS/disks.txt"
grep ': error:\|: warning:' "$SUITE_RESULTS/disks.txt" && fail "setupdisks has findings on the sample"
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
# The checker's plan of the same script, with the same answers, against what was installed.
plan=$(wine_quiet "$SETUPCHK_EXE" --plan "$(winepath -w "$SAMPLE_DISKS/DISK1/SETUP.INF")")
printf '%s\n' "$plan" >"$SUITE_RESULTS/plan.txt"
grep -q ': error:\|: warning:' <<<"$plan" && fail "the sample script has findings"
unix_path() {  # C:\WINDOWS\SYSTEM32\X -> the file in the prefix
  local path=${1//\\//}
  case ${path^^} in
    C:/WINDOWS/SYSTEM32/*) echo "$SYSTEM_DIR/${path:20}" ;;
    C:/WINDOWS/*) echo "$WINDOWS_DIR/${path:11}" ;;
    *) echo "$WINEPREFIX/drive_c/${path:3}" ;;
  esac
}
planned=0
while read -r destination; do
  file=$(unix_path "$destination")
  if grep -qF "slide $destination shown" <<<"$plan"; then
    [ ! -e "$file" ] || fail "the plan deletes the slide $destination, but it is there"
  else
    [ -f "$file" ] || fail "the plan copies $destination, but it is not there"
    planned=$((planned + 1))
  fi
done < <(sed -n 's/^  [^ ].*  ->  \(.*\)$/\1/p' <<<"$plan")
expect_eq "$planned" 9 "files the plan copies"
# Nothing was installed that the plan leaves out (BRIGHT.INI is written by the INI entries).
while read -r file; do
  [ "$file" = BRIGHT.INI ] && continue
  grep -qiF "C:\\BRIGHTLF\\${file//\//\\}" <<<"$plan" || fail "$file was installed but is not in the plan"
done < <(cd "$target" && find . -type f -printf '%P\n')
while read -r ini section key value; do
  [ "$ini" = WIN.INI ] && ini=win.ini
  expect_eq "$(robot profile "$ini" "$section" "$key")" "$value" "planned INI entry $ini [$section] $key"
done < <(sed -n 's/^  \([^ ]*\.INI\)  \[\(.*\)\] \([^=]*\)=\(.*\)$/\1 \2 \3 \4/p' <<<"$plan")
while IFS='|' read -r root key name value; do
  [ "$name" = "(default)" ] && name=@
  expect_eq "$(robot reg "${root/HKEY_LOCAL_MACHINE/HKLM}" "$key" "$name")" "$value" "planned value $key $name"
done < <(sed -n 's/^  HKEY_\(LOCAL_MACHINE\|CURRENT_USER\)\\\(.*\)  \(.*\) = \(.*\)$/HKEY_\1|\2|\3|\4/p' <<<"$plan" |
         sed 's/^HKEY_CURRENT_USER/HKCU/')
note "passed"
