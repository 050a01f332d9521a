# The installer on the Windows it was made for, as far as Wine can show it: Wine reports an
# older Windows to SETUP.EXE alone (its version setting under AppDefaults). As Windows 98, a
# quiet uninstallation with a file held open leaves that file's removal to WININIT.INI's
# [rename] section and asks for the restart (3010); as NT 4.0 the same uninstallation goes
# through MoveFileExA. As Windows 95, the sample installs completely, and its closing
# question stays in sight after the program group's window has come. Needs a machine of its
# own: WININIT.INI and the pending renames stay behind.
. "$(dirname "$0")/own_env.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
target=$WINEPREFIX/drive_c/VERSIONS
cleanup() {
  stop_launch
  [ -z "${holder:-}" ] || { robot stop "$holder_stop" >/dev/null 2>&1 || true; wait "$holder" 2>/dev/null || true; }
  "$wine_env" down "$own_env"
}
trap cleanup EXIT

as_windows() {
  wine reg add 'HKCU\Software\Wine\AppDefaults\SETUP.EXE' /v Version /d "$1" /f </dev/null >/dev/null 2>&1
}
pending_renames() {
  wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations \
    </dev/null 2>/dev/null | tr -d '\r' || true
}
# The file as the system names it, whatever the case of its name on the Linux side.
wininit_file() { find "$WINDOWS_DIR" -maxdepth 1 -iname wininit.ini | head -n 1; }
wininit() { local file; file=$(wininit_file); [ -z "$file" ] || tr -d '\r' <"$file"; }

for f in KEEP HELD; do echo "$f as installed" >"$DRIVE_DIR/$f.TXT"; done
layout_setup '[Setup System]
AP Name=E2E Versions

[Initiation]
Install Name=Versions Test
DefDir=C:\VERSIONS

[DefDir]
File 1.1=KEEP.TXT
File 1.2=HELD.TXT

[UnInstall]
Key=HKEY_CURRENT_USER
SubKey=E2E Versions
DisplayName=E2E Versions
UnInstallString=SETUP.EXE /UNINSTALL=VERSIONS.UNR
Record=VERSIONS.UNR'

# Installs quietly, holds HELD.TXT open and uninstalls quietly: the restart is asked for.
uninstall_with_held_file() {
  rm -rf "$target"
  LAUNCH_OUT=$SUITE_RESULTS/install-$1.out
  start_launch "$WIN_DIR\\SETUP.EXE" /QUIET
  finish_launch
  expect_eq "$LAUNCH_CODE" 0 "$1: the quiet installation's exit code"
  holder_stop="e2e-held-$$-$1"
  wine "$ROBOT_EXE" hold-file --timeout 300000 --stop "$holder_stop" 'C:\VERSIONS\HELD.TXT' </dev/null \
    >"$SUITE_RESULTS/held-$1.out" 2>&1 &
  holder=$!
  wait_for_line "$SUITE_RESULTS/held-$1.out" held "$holder" || fail "$1: HELD.TXT was not held"
  LAUNCH_OUT=$SUITE_RESULTS/uninstall-$1.out
  start_launch 'C:\VERSIONS\SETUP.EXE' /QUIET /NORESTART '/UNINSTALL=VERSIONS.UNR' "/LOG=$WIN_DIR\\$1.log"
  finish_launch
  expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 3010" "$1: the quiet uninstallation's exit code"
  robot stop "$holder_stop" >/dev/null 2>&1 || true
  wait "$holder" 2>/dev/null || true
  holder=
  [ -e "$target/HELD.TXT" ] || fail "$1: the held file was removed at once"
  [ ! -e "$target/KEEP.TXT" ] || fail "$1: KEEP.TXT is still there"
}

note "as Windows 98"
as_windows win98
uninstall_with_held_file win98
grep -qx 'NUL=C:\\VERSIONS\\HELD.TXT' <<<"$(sed -n '/^\[rename\]$/,/^\[/p' <<<"$(wininit)")" ||
  fail "win98: HELD.TXT is not in WININIT.INI's [rename] section: $(wininit)"
grep -qi 'VERSIONS\\HELD.TXT' <<<"$(pending_renames)" && fail "win98: HELD.TXT went to the NT family's pending renames"

note "as Windows NT 4.0"
rm -f "$(wininit_file)"
as_windows nt40
uninstall_with_held_file nt40
grep -qi 'C:\\VERSIONS\\HELD.TXT' <<<"$(pending_renames)" ||
  fail "nt40: HELD.TXT is not among the pending renames: $(pending_renames)"
[ -z "$(wininit)" ] || fail "nt40: WININIT.INI was written: $(wininit)"

note "as Windows 95"
as_windows win95
export SAMPLE_DISKS=$SUITE_RESULTS/disks SAMPLE_LOG=$SUITE_RESULTS/launch.out
"$root/tools/make_sample_disks.sh" "$SUITE_BUILD" "$SAMPLE_DISKS" >/dev/null
# shellcheck source=tools/sample_install.sh
. "$root/tools/sample_install.sh"
# The closing question, once the shell has shown the program group's window: nothing of
# another window over its centre for a while. Then the user clicks the group's window, and the
# question, which has no hooks here to see that click, lets go of its topmost place.
topmost() { (( $(robot texts "$1" | sed -n 's/^window .* exstyle \(0x[0-9A-F]*\) .*/\1/p') & 0x8 )); }
not_topmost() { ! topmost "$1"; }
in_sight() {
  local shell front click
  shell=$(robot wait-window --timeout "$WAIT_MS" ExplorerWClass Brightleaf) || fail "win95: no program group window"
  front=$(robot uncovered --timeout "$WAIT_MS" --ticks 6 "$1") || fail "win95: the closing question went behind a window: $front"
  note "win95: the closing question stayed in sight over $shell"
  topmost "$1" || fail "win95: the closing question is not kept topmost"
  click=$(robot user-click --timeout "$WAIT_MS" "$shell") || fail "win95: the click on the group window: $click"
  wait_until not_topmost "$1" || fail "win95: the closing question stayed topmost after the user's click"
}
SAMPLE_ON_LAST=in_sight
sample_install >"$SUITE_RESULTS/dialogs-win95.txt"
[ -z "$SAMPLE_STUCK" ] || fail "win95: $SAMPLE_STUCK"
problem=$(sample_check "$root" "$SUITE_BUILD") || fail "win95: $problem"
note "passed"
