# Without a usable script the installer ends at once and shows nothing; with a script
# that names no product it shows its background and closes again without a word.
. "$(dirname "$0")/lib.sh"
cp "$SETUP_EXE" "$DRIVE_DIR/SETUP.EXE"

start_launch "$WIN_DIR\\SETUP.EXE"
finish_launch
expect_eq "$LAUNCH_CODE" 0 "no script"

: >"$DRIVE_DIR/SETUP.INF"
start_launch "$WIN_DIR\\SETUP.EXE"
finish_launch
expect_eq "$LAUNCH_CODE" 0 "empty script"

layout_setup '[Setup System]
AP Name=E2E Nameless

[Background]
Use Red=1'
start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(robot wait-window fwFrame 'E2E Nameless') || fail "the background did not show: $hwnd"
robot wait-gone "$hwnd" >/dev/null || fail "the window stayed"
finish_launch
expect_eq "$LAUNCH_CODE" 18 "no product name"
robot wait-window --timeout 500 '#32770' '*' >/dev/null && fail "a dialog showed"
note "passed"
