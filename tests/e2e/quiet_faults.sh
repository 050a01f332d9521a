# Unattended runs that go wrong, and the restarts they hold back: a missing file stops a
# quiet run with 1603 and its log names the file; /NORESTART holds back the restarts a
# script asks for (3010) and another program's window lives on; wrong command lines and
# answer files are refused with their reasons (the log and 1639 when quiet, a message with
# the usage otherwise) and change nothing; /? shows the usage. No quiet run shows a window.
. "$(dirname "$0")/lib.sh"
: "${SETUP_EXE:?}"

# Disk folders DISK1 (the program and the script) and DISK2 under a folder of the drive.
make_disks() {
  local folder=$DRIVE_DIR/$1 script=$2
  mkdir -p "$folder/DISK1" "$folder/DISK2"
  cp "$SETUP_EXE" "$folder/DISK1/SETUP.EXE"
  printf '%s\n' "$script" | sed 's/$/\r/' >"$folder/DISK1/SETUP.INF"
}

# Runs a SETUP.EXE with arguments, watching for windows; CODE gets its exit code.
CODE=
run_quiet() {
  LAUNCH_OUT=$SUITE_RESULTS/$1.out
  shift
  start_launch --watch-windows "$@"
  finish_launch
  CODE=$(sed -n 's/^exit //p' "$LAUNCH_OUT" | tr -d '\r')
  if grep -q '^visible window' "$LAUNCH_OUT"; then fail "a quiet run showed a window: $(grep '^visible window' "$LAUNCH_OUT")"; fi
}

log_of() { tr -d '\r' <"$DRIVE_DIR/$1" | cut -c 22-; }

# --- A file missing from disk 2. ---
make_disks missing '[Setup System]
AP Name=E2E Quiet Faults

[Initiation]
Install Name=Acme Tools
DefDir=C:\QFAULTS

[Dialog 1]
Title Name=Edition
Info Line 1=Which edition?
Select Item 1=Home
Select Item 2=Pro

[DefDir]
File 1.1=A.TXT
File 2.1=B.TXT
File 2.2=C.TXT
File 2.3=D.TXT'
for f in DISK1/A.TXT DISK2/B.TXT DISK2/D.TXT; do echo "$f" >"$DRIVE_DIR/missing/$f"; done
rm -rf "$WINEPREFIX/drive_c/QFAULTS"
run_quiet missing "$WIN_DIR\\missing\\DISK1\\SETUP.EXE" /QUIET "/LOG=$WIN_DIR\\MISSING.LOG"
expect_eq "$CODE" 1603 "exit code of a run that met a missing file"
log_of MISSING.LOG >"$SUITE_RESULTS/missing.log"
grep -qF "[File Lose Message] \"$WIN_DIR\\missing\\DISK2\\C.TX_ can not be found ! Do you want to try again ?\" -> Exit (rule: a quiet run stops at a file it cannot install)" \
  "$SUITE_RESULTS/missing.log" || fail "the log does not name the missing file"
expect_eq "$(tail -n 1 "$SUITE_RESULTS/missing.log")" "end: stopped before the end, exit code 1603" "the log's end"
[ -f "$WINEPREFIX/drive_c/QFAULTS/B.TXT" ] || fail "the file before the missing one was not installed"
[ ! -e "$WINEPREFIX/drive_c/QFAULTS/D.TXT" ] || fail "the run went on after the missing file"

# --- /NORESTART: an earlier version to remove with a restart, and a restart at the end. ---
make_disks restart '[Setup System]
AP Name=E2E Quiet Restart

[Initiation]
Install Name=Acme Monitor
DefDir=C:\QRESTART

[DefDir]
File 1.1=MONITOR.EXE

[WIN.INI]
RunFile 1=MONITOR.EXE'
echo new >"$DRIVE_DIR/restart/DISK1/MONITOR.EXE"
robot set-profile win.ini windows Run 'C:\OLD\MONITOR.EXE OTHER.EXE'
rm -rf "$WINEPREFIX/drive_c/QRESTART"
# Another program's window, which a restart would end.
wine "$ROBOT_EXE" hold-window --timeout 300000 'Bystander' </dev/null >"$SUITE_RESULTS/bystander.out" 2>&1 &
bystander=$!
wait_for_line "$SUITE_RESULTS/bystander.out" ready "$bystander" || fail "the other program's window did not come up"
run_quiet restart "$WIN_DIR\\restart\\DISK1\\SETUP.EXE" /QUIET /NORESTART "/LOG=$WIN_DIR\\RESTART.LOG"
kill -0 "$bystander" 2>/dev/null || fail "the other program was ended: a restart was requested"
kill "$bystander" 2>/dev/null || true
wait "$bystander" 2>/dev/null || true
expect_eq "$CODE" 3010 "exit code of a run whose restart was held back"
log_of RESTART.LOG >"$SUITE_RESULTS/restart.log"
for line in '[PrevVersion Message] ' 'restart of Windows: held back (/NORESTART)' \
            '-> No (command line: /NORESTART)' 'end: completed, exit code 3010'; do
  grep -qF -- "$line" "$SUITE_RESULTS/restart.log" || fail "the log lacks: $line"
done
expect_eq "$(robot profile win.ini windows Run)" 'OTHER.EXE C:\QRESTART\MONITOR.EXE' "Run line"
robot set-profile win.ini windows Run ""  # no earlier version for the scenarios after this one
[ -f "$WINEPREFIX/drive_c/QRESTART/MONITOR.EXE" ] || fail "the installation did not go on after the held-back restart"

# --- Wrong command lines and answer files: refused, nothing changed. ---
rm -rf "$WINEPREFIX/drive_c/QFAULTS"
setup="$WIN_DIR\\missing\\DISK1\\SETUP.EXE"
run_quiet bad-switch "$setup" /QUIET /LGO=X.LOG
expect_eq "$CODE" 1639 "exit code of a quiet run with a misspelt switch"
run_quiet bad-switch-logged "$setup" -quiet "/LOG=$WIN_DIR\\BAD.LOG" /NORESTRAT
expect_eq "$CODE" 1639 "exit code of a quiet run with a misspelt switch"
expect_eq "$(log_of BAD.LOG | tail -n 2 | tr '\n' '|')" \
  'error: /NORESTRAT is not a switch of this installer (did you mean /NORESTART?)|end: nothing installed, exit code 1639|' \
  "the log of a wrong command line"
printf '[Dialog 1]\r\nChoice=Studio\r\n[Dialog 2]\r\nItem=1\r\n' >"$DRIVE_DIR/BAD.INI"
run_quiet bad-answers "$setup" /QUIET "/ANSWERS=$WIN_DIR\\BAD.INI" "/LOG=$WIN_DIR\\ANSWERS.LOG"
expect_eq "$CODE" 1639 "exit code of a quiet run with a wrong answer file"
expect_eq "$(log_of ANSWERS.LOG | grep '^error' | tr '\n' '|')" \
  "error: $WIN_DIR\\BAD.INI:2: Choice=Studio: [Dialog 1] \"Edition\" has no such item (Home, Pro)|error: $WIN_DIR\\BAD.INI:3: [Dialog 2]: the script has no selection question 2|" \
  "the log of a wrong answer file"
run_quiet no-answers "$setup" /QUIET "/ANSWERS=$WIN_DIR\\NONE.INI"
expect_eq "$CODE" 1639 "exit code of a quiet run without its answer file"
[ ! -e "$WINEPREFIX/drive_c/QFAULTS" ] || fail "a refused run installed something"

# Not quiet: the reason and the usage in a message box.
message_box() {  # NAME ARGS...: the box's text in SUITE_RESULTS/NAME.txt; pressed Enter
  local name=$1 hwnd
  shift
  LAUNCH_OUT=$SUITE_RESULTS/$name.out
  start_launch "$setup" "$@"
  hwnd=$(wait_dialog "E2E Quiet Faults")
  robot texts "$hwnd" >"$SUITE_RESULTS/$name.txt"
  screenshot "$name" >/dev/null  # the box holds the program: nothing changes meanwhile
  robot key "$hwnd" enter >/dev/null
  finish_launch
  CODE=$(sed -n 's/^exit //p' "$LAUNCH_OUT" | tr -d '\r')
}
message_box usage-box '/DIR'
expect_eq "$CODE" 1639 "exit code of a wrong command line"
grep -qF '"/DIR needs a value: /DIR=PATH\n\nUsage: SETUP [switches]\n' "$SUITE_RESULTS/usage-box.txt" ||
  fail "no reason and usage in the message: $(cat "$SUITE_RESULTS/usage-box.txt")"
message_box answers-box "/ANSWERS=$WIN_DIR\\BAD.INI"
expect_eq "$CODE" 1639 "exit code of a wrong answer file"
grep -qF "BAD.INI:2: Choice=Studio: [Dialog 1] \\\"Edition\\\" has no such item (Home, Pro)" "$SUITE_RESULTS/answers-box.txt" ||
  fail "the message does not name the mistake: $(cat "$SUITE_RESULTS/answers-box.txt")"
message_box help-box '/?'
expect_eq "$CODE" 0 "exit code of /?"
grep -qF '/NORESTART - never restart or reboot' "$SUITE_RESULTS/help-box.txt" || fail "no usage: $(cat "$SUITE_RESULTS/help-box.txt")"
[ ! -e "$WINEPREFIX/drive_c/QFAULTS" ] || fail "a refused run installed something"
note "passed"
