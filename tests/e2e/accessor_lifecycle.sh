# The accessor's life on one desktop: a first start with "Destroy" ends at once; a running
# accessor stays the only one, a second start hands it its command line and ends with 0;
# "Destroy" in any letter case closes it, any other text does not, Alt+F4 and the system
# menu's Close do not, a WM_CLOSE from another program does. It always ends with 0.
. "$(dirname "$0")/lib.sh"
: "${OSTREL_EXE:?}" "${SONARET_DLL:?}" "${ACCESSOR_PROBE_EXE:?}"
cp "$OSTREL_EXE" "$SONARET_DLL" "$DRIVE_DIR/"
OSTREL="$WIN_DIR\\OSTREL.EXE"

probe() { wine_quiet "$ACCESSOR_PROBE_EXE" "$@"; }

# A second start with the words of its command line; prints its exit code.
second_start() {
  local code=0
  # The words are the command line: unquoted on purpose, so that "" starts with none.
  # shellcheck disable=SC2086
  robot launch --timeout "$WAIT_MS" "$OSTREL" $1 >"$SUITE_RESULTS/second.out" || code=$?
  echo "$code"
}

# Starts the accessor under the launcher (in this shell, which waits for it); its window
# goes to hwnd.
hwnd=
start_accessor() {
  start_launch "$OSTREL"
  hwnd=$(probe wait-up --timeout "$WAIT_MS") || fail "the accessor's window did not come up: $hwnd"
}

expect_ended_with_zero() {
  local hwnd=$1 what=$2
  probe wait-gone --timeout "$WAIT_MS" "$hwnd" >/dev/null || fail "$what did not close the accessor"
  finish_launch
  expect_eq "$LAUNCH_CODE" 0 "the accessor's exit code after $what"
  probe absent || fail "an accessor window is left after $what"
}

probe absent || fail "an accessor is already running on this desktop"

note "a first start with Destroy"
code=0
robot launch --timeout "$WAIT_MS" "$OSTREL" Destroy >"$SUITE_RESULTS/first.out" || code=$?
expect_eq "$code" 0 "the exit code of a first start with Destroy"
probe absent || fail "a first start with Destroy left its window"

note "second starts that do not close the accessor"
start_accessor
for line in "" "Destroy now" "Destroyer" "xDestroy" "Des troy"; do
  expect_eq "$(second_start "$line")" 0 "the exit code of a second start with \"$line\""
  probe alive "$hwnd" || fail "a second start with \"$line\" closed the accessor"
  expect_eq "$(probe count)" 1 "accessor windows after a second start with \"$line\""
done
thread=$(probe thread-id) || fail "the accessor does not serve requests"

note "Alt+F4 and the system menu's Close"
probe alt-f4 "$hwnd"
probe alive "$hwnd" || fail "Alt+F4 closed the accessor"
expect_eq "$(probe thread-id)" "$thread" "the accessor's thread after Alt+F4"

note "destroy in lower case"
expect_eq "$(second_start destroy)" 0 "the exit code of a second start with destroy"
expect_ended_with_zero "$hwnd" "a second start with destroy"

note "DESTROY in upper case"
start_accessor
expect_eq "$(second_start DESTROY)" 0 "the exit code of a second start with DESTROY"
expect_ended_with_zero "$hwnd" "a second start with DESTROY"

note "WM_CLOSE from another program"
start_accessor
probe close "$hwnd" || fail "WM_CLOSE could not be posted"
expect_ended_with_zero "$hwnd" "WM_CLOSE"
note "passed"
