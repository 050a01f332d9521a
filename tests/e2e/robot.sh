# The robot against a dialog built for it: it finds the window, reads every control, types,
# selects and clicks, and the dialog's exit code tells what arrived.
. "$(dirname "$0")/lib.sh"
: "${ROBOT_TARGET_EXE:?}"
cp "$ROBOT_TARGET_EXE" "$DRIVE_DIR/TARGET.EXE"

run_target() {
  start_launch "$WIN_DIR\\TARGET.EXE"
  hwnd=$(robot wait-window '#32770' 'Robot Target') || fail "no target dialog: $hwnd"
}

# Read, type, select, click.
run_target
texts=$(robot texts "$hwnd")
echo "$texts"
grep -q '^window #32770 visible 1 .*caption "Robot Target"$' <<<"$texts" || fail "dialog line"
grep -q '^control 103 Static visible 1 enabled 1 .* "Static text"$' <<<"$texts" || fail "static text"
grep -q '^control 104 Button visible 0 ' <<<"$texts" || fail "hidden button"
grep -q '^  item 2 "third"$' <<<"$texts" || fail "list entries"
robot click "$hwnd" 104 && fail "a hidden button was clicked"
robot set-text "$hwnd" 100 hello
robot select "$hwnd" 101 2
robot select "$hwnd" 102 1
robot select "$hwnd" 101 7 && fail "an entry that does not exist was selected"
robot texts "$hwnd" | grep -q '^control 100 Edit .* "hello"$' || fail "typed text not read back"
robot click "$hwnd" 1
finish_launch
expect_eq "$LAUNCH_CODE" 121 "OK after typing and selecting"

# The list box told its parent about the selection, as a user's selection would.
run_target
robot select "$hwnd" 101 1
robot click "$hwnd" 1
finish_launch
expect_eq "$LAUNCH_CODE" 51 "selection notifications"

# Escape, the system menu's Close, and Cancel all end with 2.
run_target
robot key "$hwnd" escape
finish_launch
expect_eq "$LAUNCH_CODE" 2 "Escape"
run_target
robot close "$hwnd"
finish_launch
expect_eq "$LAUNCH_CODE" 2 "Close"
run_target
robot click "$hwnd" 2
finish_launch
expect_eq "$LAUNCH_CODE" 2 "Cancel"

# A window that never comes: a bounded wait that says so.
out=$(robot wait-window --timeout 300 '#32770' 'No Such Window') && fail "found a window that is not there"
grep -q 'no window' <<<"$out" || fail "wait-window timeout report: $out"

# The launcher's watchdog ends a program that does not end by itself, by its handle.
code=0
robot launch --timeout 500 "$WIN_DIR\\TARGET.EXE" >"$SUITE_RESULTS/watchdog.out" || code=$?
expect_eq "$code" 124 "launch timeout"
robot wait-window --timeout 300 '#32770' 'Robot Target' >/dev/null && fail "the timed-out program is still there"
note "passed"
