# The sample keeps a rollback: an installation that does not complete leaves the machine as
# it was. A snapshot of the whole prefix (every file with its checksum, the registry, win.ini
# and system.ini) taken before equals the one taken after: Cancel and "Yes" at the second
# disk; Exit at a missing file; a quiet run stopped by a rule (1603); the process ended by
# force at the second disk's prompt, then the installer started again, undoing it when asked.
# Each time the earlier version of LEAFSPL.DLL that the installation replaced is back. And a
# completed installation leaves what one without rollback leaves, but for its record. Needs
# a clean machine: a Wine environment of its own.
set -euo pipefail
. "$(dirname "$0")/own_env.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
export SAMPLE_DISKS=$SUITE_RESULTS/disks SAMPLE_LOG=$SUITE_RESULTS/launch.out
"$root/tools/make_sample_disks.sh" "$SUITE_BUILD" "$SAMPLE_DISKS" >/dev/null
# shellcheck source=tools/sample_install.sh
. "$root/tools/sample_install.sh"

system_dll=$WINEPREFIX/drive_c/windows/system32/LEAFSPL.DLL
echo "LEAFSPL 2.0, the version before" >"$SUITE_RESULTS/LEAFSPL.OLD"
cp "$SUITE_RESULTS/LEAFSPL.OLD" "$system_dll"
robot hold-window --timeout 1 Warming >/dev/null || true
machine_snapshot "$SUITE_RESULTS/before.txt"

expect_as_before() {
  cmp -s "$SUITE_RESULTS/LEAFSPL.OLD" "$system_dll" || fail "$1: LEAFSPL.DLL is not the version that was there before"
  machine_snapshot "$SUITE_RESULTS/after-$1.txt"
  diff -u "$SUITE_RESULTS/before.txt" "$SUITE_RESULTS/after-$1.txt" >"$SUITE_RESULTS/diff-$1.txt" ||
    fail "$1: the machine is not as before: $(head -c 3000 "$SUITE_RESULTS/diff-$1.txt")"
  note "$1: the machine is as before"
}

# The sample's first disk in the drive, its dialogs answered up to the copy.
start_sample() {
  rm -rf "$SAMPLE_DIR"
  mkdir -p "$SAMPLE_DIR"
  cp "$SAMPLE_DISKS/DISK1/SETUP.EXE" "$SAMPLE_DISKS/DISK1/SETUP.INF" "$SAMPLE_DIR/"
  sample_insert_disk 1
  LAUNCH_OUT=$SUITE_RESULTS/$1.out
  start_launch 'C:\SAMPLE\SETUP.EXE'
  answer_choices
}

# The earlier version of LEAFSPL.DLL is there: Yes, replace it (it is kept aside first).
replace_yes() { click_away "$(wait_dialog "Confirm File Replace")" 1022; }

answer_choices() {
  for caption in "Brightleaf Remote" "Brightleaf Edition" "Sample Notes" "Brightleaf 2.1 Installation"; do
    click_away "$(wait_dialog "$caption")" 1
  done
}

# Held at the second disk's prompt: OK and the copy's Cancel are clicked together, so the stop
# question comes after the first file of disk 2, whatever the machine's speed.
stop_at_second_disk() {
  local copy prompt
  copy=$(wait_dialog "Brightleaf 2.1")
  prompt=$(wait_dialog "Insert Disk")
  sample_insert_disk 2
  robot click "$prompt" 1022 "$copy" 2 >/dev/null
  click_away "$(wait_dialog "Terminate Installation")" 1022
}

undone_message() {
  expect_message "Installation Undone" \
    "The installation of Brightleaf 2.1 did not finish: the changes it made have been undone." "${1:-}" 1022
}

note "Cancel and Yes at the second disk"
start_sample cancelled
replace_yes
stop_at_second_disk
undone_message undone
finish_launch
expect_eq "$LAUNCH_CODE" 18 "the stopped installation's exit code"
expect_as_before cancelled

note "Exit at a missing file"
start_sample missing-file
rm -f "$SAMPLE_DIR/README.TX_"
replace_yes
click_away "$(wait_dialog "Installation Error")" 1024  # Exit
click_away "$(wait_dialog "Terminate Installation")" 1022
undone_message
finish_launch
expect_eq "$LAUNCH_CODE" 18 "the exit code after Exit"
expect_as_before missing-file

note "a quiet run stopped by a rule"
quiet=$WINEPREFIX/drive_c/SRC
rm -rf "$quiet"
mkdir -p "$quiet"
cp -r "$SAMPLE_DISKS/DISK1" "$SAMPLE_DISKS/DISK2" "$quiet/"  # the third disk is nowhere
LAUNCH_OUT=$SUITE_RESULTS/quiet.out
start_launch --watch-windows 'C:\SRC\DISK1\SETUP.EXE' /QUIET /NORESTART '/LOG=C:\SRC\SETUP.LOG'
finish_launch
expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 1603" "the quiet run's exit code"
if grep -q '^visible window' "$LAUNCH_OUT"; then fail "the quiet run showed a window"; fi
log=$(tr -d '\r' <"$quiet/SETUP.LOG")
grep -q 'rollback: the installation stopped before it completed' <<<"$log" || fail "the log tells of no rollback: $log"
grep -q 'rollback: C:\\windows\\system32\\LEAFSPL.DLL: put back as it was before the installation' <<<"$log" ||
  fail "the log does not tell that LEAFSPL.DLL was put back: $log"
rm -rf "$quiet"
expect_as_before quiet

note "ended by force, then started again"
start_sample killed
replace_yes
wait_dialog "Insert Disk" >/dev/null
stop_launch
[ -f "$SAMPLE_TARGET/BRIGHTLF.UNR" ] || fail "the ended installation left no record"
LAUNCH_OUT=$SUITE_RESULTS/again.out
start_launch 'C:\SAMPLE\SETUP.EXE'
answer_choices
expect_message "Unfinished Installation" \
  'An earlier installation of Brightleaf 2.1 did not finish:\nC:\\BRIGHTLF\\\n\nDo you wish to undo the changes it made before this installation begins ?' \
  pending 1022
undone_message
# The installation goes on as usual; stopped in its turn, it is undone too.
replace_yes
stop_at_second_disk
undone_message
finish_launch
expect_as_before killed

note "completed, with and without rollback"
# From the same machine (without LEAFSPL.DLL, which an uninstallation would leave), the same
# installation leaves the same, but for its record and its copy of the script, which has the
# line that differs.
rm -f "$system_dll"
sample_install >/dev/null
problem=$(sample_check "$root" "$SUITE_BUILD") || fail "$problem"
[ ! -e "$SAMPLE_TARGET/BRIGHTLF.UNR.OLD" ] || fail "the copies aside stayed after the installation completed"
machine_snapshot "$SUITE_RESULTS/with.txt"
LAUNCH_OUT=$SUITE_RESULTS/uninstall.out
start_launch 'C:\BRIGHTLF\SETUP.EXE' /QUIET '/UNINSTALL=BRIGHTLF.UNR'
finish_launch
wait_until test ! -e "$SAMPLE_TARGET" || fail "the uninstallation left C:\\BRIGHTLF"
sed -i '/^Rollback=/d' "$SAMPLE_DISKS/DISK1/SETUP.INF"
sample_install >/dev/null
problem=$(sample_check "$root" "$SUITE_BUILD") || fail "without rollback: $problem"
machine_snapshot "$SUITE_RESULTS/without.txt"
if diff "$SUITE_RESULTS/with.txt" "$SUITE_RESULTS/without.txt" | grep '^[<>]' |
  grep -v '/BRIGHTLF/BRIGHTLF\.UNR$' | grep -v '/BRIGHTLF/SETUP\.INF$' >"$SUITE_RESULTS/diff-completed.txt"; then
  fail "a completed installation with rollback left more than its record: $(head -c 3000 "$SUITE_RESULTS/diff-completed.txt")"
fi
note "passed"
