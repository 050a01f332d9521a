# Uninstalling the sample leaves the machine as it was before: a snapshot of the whole prefix
# (every file with its checksum, the registry, win.ini and system.ini) taken before the
# installation equals the one taken after the uninstallation, for an installation with a
# person at the screen, a quiet one, and one stopped half way by Cancel and "Yes". The first
# uninstallation starts in the installation directory, as a double click would start it; the
# others elsewhere: either way the directory goes at once, not at a restart. Needs a clean
# machine: a Wine environment of its own.
set -euo pipefail
. "$(dirname "$0")/own_env.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
export SAMPLE_DISKS=$SUITE_RESULTS/disks SAMPLE_LOG=$SUITE_RESULTS/launch.out
"$root/tools/make_sample_disks.sh" "$SUITE_BUILD" "$SAMPLE_DISKS" >/dev/null
# shellcheck source=tools/sample_install.sh
. "$root/tools/sample_install.sh"

# The first window of a prefix makes Wine write its display settings: that happens before.
robot hold-window --timeout 1 Warming >/dev/null || true
machine_snapshot "$SUITE_RESULTS/before.txt"
target=$WINEPREFIX/drive_c/BRIGHTLF

# The machine as before: the uninstallation's helper removes the program's own copy and the
# directory once the program has ended.
expect_as_before() {
  wait_until test ! -e "$target" || fail "$1: C:\\BRIGHTLF is still there: $(cd "$target" && find .)"
  machine_snapshot "$SUITE_RESULTS/after-$1.txt"
  diff -u "$SUITE_RESULTS/before.txt" "$SUITE_RESULTS/after-$1.txt" >"$SUITE_RESULTS/diff-$1.txt" ||
    fail "$1: the machine is not as before: $(head -c 3000 "$SUITE_RESULTS/diff-$1.txt")"
  note "$1: the machine is as before"
}

uninstall_quietly() {
  LAUNCH_OUT=$SUITE_RESULTS/uninstall-$1.out
  start_launch --watch-windows 'C:\BRIGHTLF\SETUP.EXE' /QUIET '/UNINSTALL=BRIGHTLF.UNR' "/LOG=$WIN_DIR\\$1.log"
  finish_launch
  if grep -q '^visible window' "$LAUNCH_OUT"; then fail "$1: the quiet uninstallation showed a window"; fi
  expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 0" "$1: the quiet uninstallation's exit code"
}

note "with a person at the screen"
sample_install >/dev/null
problem=$(sample_check "$root" "$SUITE_BUILD") || fail "$problem"
start_launch --dir 'C:\BRIGHTLF' 'C:\BRIGHTLF\SETUP.EXE' '/UNINSTALL=BRIGHTLF.UNR'
expect_message "Uninstall" \
  'Brightleaf 2.1 will be removed from this computer: the files, directories, program group, INI and registry entries that its installation made.\n\nDo you wish to continue ?' \
  uninstall-confirmation 1022
expect_message "End of Uninstall" "Brightleaf 2.1 has been removed." "" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "the uninstallation's exit code with a person at the screen"
expect_as_before interactive

note "quiet"
rm -rf "$WINEPREFIX/drive_c/SRC"
mkdir -p "$WINEPREFIX/drive_c/SRC"
cp -r "$SAMPLE_DISKS"/DISK* "$WINEPREFIX/drive_c/SRC/"
LAUNCH_OUT=$SUITE_RESULTS/install-quiet.out
start_launch 'C:\SRC\DISK1\SETUP.EXE' /QUIET /NORESTART
finish_launch
expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 3010" "the quiet installation's exit code"
[ -f "$target/BRIGHTLF.UNR" ] || fail "the quiet installation kept no record"
uninstall_quietly quiet
expect_as_before quiet

note "stopped half way"
# Held at the second disk's prompt: OK and the copy's Cancel are clicked together, so the stop
# question comes after the first file of disk 2, whatever the machine's speed.
rm -rf "$SAMPLE_DIR"
mkdir -p "$SAMPLE_DIR"
cp "$SAMPLE_DISKS/DISK1/SETUP.EXE" "$SAMPLE_DISKS/DISK1/SETUP.INF" "$SAMPLE_DIR/"
sample_insert_disk 1
# Without its rollback, the stopped installation stays for the uninstallation to remove.
sed -i '/^Rollback=/d' "$SAMPLE_DIR/SETUP.INF"
LAUNCH_OUT=$SUITE_RESULTS/install-stopped.out
start_launch 'C:\SAMPLE\SETUP.EXE'
for caption in "Brightleaf Remote" "Brightleaf Edition" "Sample Notes" "Brightleaf 2.1 Installation"; do
  click_away "$(wait_dialog "$caption")" 1
done
copy=$(wait_dialog "Brightleaf 2.1")
prompt=$(wait_dialog "Insert Disk")
sample_insert_disk 2
robot click "$prompt" 1022 "$copy" 2 >/dev/null
click_away "$(wait_dialog "Terminate Installation")" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "the stopped installation's exit code"
[ -f "$target/BRIGHT.EXE" ] && [ ! -e "$target/LICENSE.TXT" ] || fail "the installation did not stop on disk 2"
grep -q '^file	C:\\BRIGHTLF\\BRIGHT.HLP	' "$target/BRIGHTLF.UNR" || fail "the record lacks the last file copied"
uninstall_quietly stopped
expect_as_before stopped
note "passed"
