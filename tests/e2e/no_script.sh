# Without a usable script the installer ends at once and shows nothing.
. "$(dirname "$0")/lib.sh"
cp "$SETUP_EXE" "$DRIVE_DIR/SETUP.EXE"

start_launch "$WIN_DIR\\SETUP.EXE"
finish_launch
expect_eq "$LAUNCH_CODE" 0 "no script"

: >"$DRIVE_DIR/SETUP.INF"
start_launch "$WIN_DIR\\SETUP.EXE"
finish_launch
expect_eq "$LAUNCH_CODE" 0 "empty script"

note "passed"
