# The sample product, installed as the demo installs it (defaults accepted, no restart),
# every effect of its script checked (the demo's own check), and the checker's plan of it
# compared with what was installed.
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
problem=$(sample_check "$root" "$SUITE_BUILD") || fail "$problem"
target=$WINEPREFIX/drive_c/BRIGHTLF
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
expect_eq "$planned" 11 "files the plan copies (the installer and its script among them)"
# Nothing was installed that the plan leaves out (BRIGHT.INI is written by the INI entries,
# BRIGHTLF.UNR is the undo record).
while read -r file; do
  [ "$file" = BRIGHT.INI ] || [ "$file" = BRIGHTLF.UNR ] && continue
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
