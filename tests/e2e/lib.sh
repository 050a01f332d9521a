# shellcheck shell=bash
# Helpers of the end-to-end scenarios. A scenario sources this file, lays out its files in
# the Wine drive, runs the programs through the robot and checks the results.
#
# Environment (set by CTest): SUITE_WINE_ENV, ROBOT_EXE, ROBOT_TARGET_EXE, SETUP_EXE,
# SUITE_RESULTS (a folder for screenshots and logs of this scenario).
set -euo pipefail

: "${SUITE_WINE_ENV:?}" "${ROBOT_EXE:?}" "${SUITE_RESULTS:?}"
# shellcheck source=/dev/null
. "$SUITE_WINE_ENV/env.sh"

SCENARIO=$(basename "$0" .sh)
rm -rf "$SUITE_RESULTS"
mkdir -p "$SUITE_RESULTS"
# The scenario's folder on drive C, seen from Windows as C:\e2e\<scenario>.
DRIVE_DIR=$WINEPREFIX/drive_c/e2e/$SCENARIO
WIN_DIR="C:\\e2e\\$SCENARIO"
rm -rf "$DRIVE_DIR"
mkdir -p "$DRIVE_DIR"

fail() {
  echo "FAIL [$SCENARIO]: $*" >&2
  exit 1
}

note() { echo "[$SCENARIO] $*"; }

# The bound of every wait for something the program under test does by itself (a window that
# comes or goes, a line a helper prints). It only limits how long a failure takes to show:
# nothing is expected to happen within it, so a busy machine never makes a scenario fail.
WAIT_MS=60000

# Runs a Wine program with its output through a file: Wine's helper processes inherit
# the output and would keep a pipe (and so a command substitution) open.
wine_quiet() {
  local out code=0
  out=$(mktemp "$SUITE_RESULTS/out.XXXXXX")
  wine "$@" </dev/null >"$out" 2>&1 || code=$?
  # Windows programs end their lines with CR LF.
  tr -d '\r' <"$out"
  rm -f "$out"
  return $code
}

robot() { wine_quiet "$ROBOT_EXE" "$@"; }

# Lays out an installation folder: SETUP.EXE and the given script as SETUP.INF.
layout_setup() {
  local script=$1
  cp "$SETUP_EXE" "$DRIVE_DIR/SETUP.EXE"
  printf '%s\n' "$script" | sed 's/$/\r/' >"$DRIVE_DIR/SETUP.INF"
}

# Starts a program through the robot's launcher in the background. LAUNCH_OUT gets the
# launcher's report; finish_launch waits for it. If the scenario fails first, the exit
# trap stops the launcher, which ends the program by its process handle.
LAUNCHER_PID=
LAUNCH_STOP=
LAUNCH_OUT=$SUITE_RESULTS/launch.out
start_launch() {
  LAUNCH_STOP="e2e-$SCENARIO-$$-$RANDOM"
  # The report is there, empty, before this returns: the background job opens its redirection
  # only once it runs, and a caller may read the report at once.
  : >"$LAUNCH_OUT"
  wine "$ROBOT_EXE" launch --timeout 300000 --stop "$LAUNCH_STOP" "$@" </dev/null >>"$LAUNCH_OUT" 2>&1 &
  LAUNCHER_PID=$!
}

# Waits for the launched program; its exit code goes to LAUNCH_CODE. (Not for a command
# substitution: only this shell can wait for its own background job.)
LAUNCH_CODE=
finish_launch() {
  LAUNCH_CODE=0
  wait "$LAUNCHER_PID" || LAUNCH_CODE=$?
  LAUNCHER_PID=
}

stop_launch() {
  if [ -n "$LAUNCHER_PID" ]; then
    robot stop "$LAUNCH_STOP" >/dev/null 2>&1 || true
    wait "$LAUNCHER_PID" 2>/dev/null || true
    LAUNCHER_PID=
  fi
}
trap stop_launch EXIT

screenshot() {
  local file=$SUITE_RESULTS/$1.png
  import -display "$DISPLAY" -window root "$file"
  echo "$file"
}

# The colour of one pixel of a picture as #RRGGBB.
pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -n 1 | grep -o '#[0-9A-F]\{6\}'
}

# How many pixels of a region (WxH+X+Y) of a picture have the colour #RRGGBB.
count_colour() {
  convert "$1" -crop "$2" -depth 8 txt:- | grep -c " $3 " || true
}

expect_eq() {
  [ "$1" = "$2" ] || fail "$3: expected '$2', got '$1'"
}

# Waits until FILE holds a line with PATTERN, for as long as the process PID (the helper
# that prints it) runs, within WAIT_MS. False when the line never came.
wait_for_line() {
  local file=$1 pattern=$2 pid=$3
  wait_until line_or_end "$file" "$pattern" "$pid" && grep -q "$pattern" "$file"
}
line_or_end() { grep -q "$2" "$1" 2>/dev/null || ! kill -0 "$3" 2>/dev/null; }

# Waits until the command succeeds, trying it again and again for WAIT_MS of the clock (each
# try's own time counts: a try may take a screenshot); false when it never did.
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
wait_until() {
  local deadline=$(( $(now_ms) + WAIT_MS ))
  until "$@"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# Waits for the launched program, started with --watch-windows, and fails at once, naming it,
# when a dialog comes from here on: the run is to end without another question. (Looked for
# after the program has ended, a dialog could not be found; one that waits for an answer
# would show as a launch timeout much later.)
finish_launch_without_dialogs() {
  local line
  DIALOGS_FROM=$(wc -l <"$LAUNCH_OUT")
  wait_until ended_or_dialog || true
  line=$(new_dialog)
  [ -z "$line" ] || { stop_launch; fail "a dialog came: ${line#visible window #32770 }"; }
  finish_launch
  line=$(new_dialog)
  [ -z "$line" ] || fail "a dialog came: ${line#visible window #32770 }"
}
new_dialog() { tail -n +"$((DIALOGS_FROM + 1))" "$LAUNCH_OUT" | grep -m1 '^visible window #32770 ' || true; }
ended_or_dialog() { ! kill -0 "$LAUNCHER_PID" 2>/dev/null || [ -n "$(new_dialog)" ]; }

# One control's line of `robot texts` output.
control_line() { grep "^control $2 " <<<"$1" || fail "no control $2"; }
# Fields of a control line: visible flag, rect left/top/right/bottom, text.
control_visible() { control_line "$1" "$2" | awk '{print $5}'; }
control_rect() { control_line "$1" "$2" | awk '{print $9, $10, $11, $12}'; }
control_text() { control_line "$1" "$2" | sed 's/^[^"]*"\(.*\)"$/\1/'; }
window_rect() { grep '^window ' <<<"$1" | awk '{print $6, $7, $8, $9}'; }
window_client_width() { grep '^window ' <<<"$1" | awk '{print $11}'; }

# Waits for a dialog of the given caption; prints its handle.
wait_dialog() {
  local hwnd
  hwnd=$(robot wait-window --timeout "$WAIT_MS" '#32770' "$1") || fail "no dialog \"$1\": $hwnd"
  echo "$hwnd"
}

# Clicks a button that ends its dialog and waits until the dialog is gone. A click is posted:
# until the program has taken it, the dialog is still there, and a wait for the next dialog
# of the same caption would find this one again.
click_away() {
  robot click "$1" "$2" >/dev/null || fail "cannot click $2 in $1"
  robot wait-gone --timeout "$WAIT_MS" "$1" >/dev/null || fail "the dialog $1 stayed after a click on $2"
}

# Unix paths of the Windows and system directories of the prefix.
WINDOWS_DIR=$WINEPREFIX/drive_c/windows
SYSTEM_DIR=$WINEPREFIX/drive_c/windows/system32

# Makes a file of random bytes.
random_file() { head -c "$2" /dev/urandom >"$1"; }

# Compresses a file the way installation disks carry it: FILE.EXT becomes FILE.EX_ (and a
# name without a dot NAME._), the plain file is removed.
compress_file() {
  local file=$1 dir name
  dir=$(dirname "$file")
  name=$(basename "$file")
  mscompress "$file"
  rm -f "$file"
  if [[ $name == *.* ]]; then mv "${file}_" "$dir/${name%?}_"; else mv "${file}_" "$dir/${name}._"; fi
}

# Puts a disk "into the drive": the installation folder keeps the program and its script and gets the files
# of the given folder in place of the previous disk's.
insert_disk() {
  find "$DRIVE_DIR" -maxdepth 1 -type f ! -name SETUP.EXE ! -name SETUP.INF -delete
  cp -r "$1"/. "$DRIVE_DIR/"
}

expect_same_file() {
  cmp -s "$1" "$2" || fail "$2 differs from $1"
}

# Waits for a message of the given caption, checks its text, saves a screenshot of it when a
# name is given, and answers it with a button.
#   expect_message CAPTION TEXT SCREENSHOT|"" BUTTON
expect_message() {
  local hwnd
  hwnd=$(wait_dialog "$1")
  expect_eq "$(control_text "$(robot texts "$hwnd")" 1012)" "$2" "the message \"$1\""
  [ -z "$3" ] || screenshot "$3" >/dev/null
  click_away "$hwnd" "$4"
}
