# The complete client of docs/accessor-protocol.md, built from the manual's text, against
# the real accessor: it finds the window, gets its results back by reply (the thread id is
# the one the accessor reports to the client library too, drive C has a file system), and
# "destroy" closes the accessor, which ends with 0.
. "$(dirname "$0")/lib.sh"
: "${OSTREL_EXE:?}" "${SONARET_DLL:?}" "${ACCESSOR_PROBE_EXE:?}" "${MANUAL_CLIENT_EXE:?}"
cp "$OSTREL_EXE" "$SONARET_DLL" "$MANUAL_CLIENT_EXE" "$DRIVE_DIR/"
OSTREL="$WIN_DIR\\OSTREL.EXE"
CLIENT="$DRIVE_DIR/$(basename "$MANUAL_CLIENT_EXE")"

probe() { wine_quiet "$ACCESSOR_PROBE_EXE" "$@"; }
# The line of the client's output that starts with the given words.
line_of() { grep "^$2" <<<"$1" || fail "the client printed no line \"$2\": $1"; }

probe absent || fail "an accessor is already running on this desktop"

note "without an accessor"
code=0
out=$(wine_quiet "$CLIENT") || code=$?
expect_eq "$code" 1 "the client's exit code without an accessor"
expect_eq "$out" "OSTREL.EXE is not running" "the client's output without an accessor"

note "against a running accessor"
start_launch "$OSTREL"
hwnd=$(probe wait-up --timeout "$WAIT_MS") || fail "the accessor's window did not come up: $hwnd"
thread=$(probe thread-id) || fail "the accessor does not serve requests"
out=$(wine_quiet "$CLIENT") || fail "the client failed: $out"
echo "$out" >"$SUITE_RESULTS/client.out"
expect_eq "$(line_of "$out" "direct magic:")" "direct magic: 0x73820478" "the direct magic"
expect_eq "$(line_of "$out" "GetCurrentThreadId:")" "GetCurrentThreadId: result 1, thread $thread" \
  "the accessor's thread by reply"
line_of "$out" "GetVolumeInformation: result 1, call 1, " | grep -q 'file system "[^"]\+"$' ||
  fail "no file system of drive C: $out"
line_of "$out" "mixerGetVolume: result 1, " >/dev/null
probe alive "$hwnd" || fail "the client closed the accessor without being asked"

note "destroy"
out=$(wine_quiet "$CLIENT" destroy) || fail "the client failed: $out"
expect_eq "$(line_of "$out" "Destroy:")" "Destroy: result 1" "the control message's result"
probe wait-gone --timeout "$WAIT_MS" "$hwnd" >/dev/null || fail "Destroy did not close the accessor"
finish_launch
expect_eq "$LAUNCH_CODE" 0 "the accessor's exit code after Destroy"
note "passed"
