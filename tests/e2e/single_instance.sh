# One installer at a time: a window that already carries the installer's title (the
# first run's, or any other program's) is brought to the front and the second run ends
# without showing anything.
. "$(dirname "$0")/lib.sh"
layout_setup '[Setup System]
AP Name=E2E Single

[Initiation]
Install Name=Single'

holder_out=$SUITE_RESULTS/holder.out
wine "$ROBOT_EXE" hold-window --timeout "$WAIT_MS" 'E2E Single' </dev/null >"$holder_out" 2>&1 &
holder=$!
wait_for_line "$holder_out" ready "$holder" || fail "the holding window did not come up"

start_launch "$WIN_DIR\\SETUP.EXE"
finish_launch
expect_eq "$LAUNCH_CODE" 0 "the second run's exit code (no window ever ran)"
code=0
wait "$holder" || code=$?
cat "$holder_out"
expect_eq "$code" 0 "the window with the title was brought to the front"

# A real first run: while its window is up (at its end message), a second start ends at
# once and the first goes on.
start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(wait_dialog "End of Installation")
second=0
robot launch --timeout "$WAIT_MS" "$WIN_DIR\\SETUP.EXE" >"$SUITE_RESULTS/second.out" || second=$?
expect_eq "$second" 0 "the second run's exit code"
robot click "$hwnd" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "the first run's exit code"
note "passed"
