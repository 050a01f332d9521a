# What goes wrong during a copy, and that nothing is lost: a missing source (Retry after
# it is put in place, Ignore, Exit with the stop question answered No and Yes), a
# destination held open, existing files (No, Yes, Replace All), too little space, a
# directory that cannot be made, and Cancel during the copy.
. "$(dirname "$0")/lib.sh"
cp "$SETUP_EXE" "$DRIVE_DIR/SETUP.EXE"
target=$WINEPREFIX/drive_c/FAULTS

# A script with the given [Initiation] keys and [DefDir] entries, installing into C:\FAULTS.
script() {
  layout_setup "[Setup System]
AP Name=E2E Faults

[Initiation]
Install Name=Faults
DefDir=${DEFDIR:-C:\\FAULTS}
$1

[DefDir]
$2"
}

accept_destination() { click_away "$(wait_dialog "Installation")" 1; }

# Answers the next message of the given caption with a button; prints its text.
answer() {
  local hwnd text
  hwnd=$(wait_dialog "$1")
  text=$(control_text "$(robot texts "$hwnd")" 1012)
  click_away "$hwnd" "$2"
  echo "$text"
}

fresh() {
  rm -rf "$target"
  find "$DRIVE_DIR" -maxdepth 1 -type f ! -name SETUP.EXE -delete
}

note "missing source files"
fresh
script "" "File 1.1=LATE.TXT
File 1.2=SKIP.TXT
File 1.3=LOST.TXT
File 1.4=NEVER.TXT"
echo never >"$DRIVE_DIR/NEVER.TXT"
start_launch "$WIN_DIR\\SETUP.EXE"
accept_destination
hwnd=$(wait_dialog "Installation Error")
text=$(control_text "$(robot texts "$hwnd")" 1012)
expect_eq "$text" 'C:\\e2e\\copy_faults\\LATE.TX_ can not be found !\n\nDo you want to try again ?' "missing file text"
echo late >"$DRIVE_DIR/LATE.TXT"
click_away "$hwnd" 1022                                   # Retry: now it is there
answer "Installation Error" 1023 >/dev/null                 # Ignore SKIP.TXT
answer "Installation Error" 1024 >/dev/null                 # Exit on LOST.TXT
answer "Terminate Installation" 1023 >/dev/null             # No: back to the question
answer "Installation Error" 1024 >/dev/null                 # Exit again
answer "Terminate Installation" 1022 >/dev/null             # Yes: the installation ends
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"
[ "$(cat "$target/LATE.TXT")" = late ] || fail "LATE.TXT was not installed after Retry"
[ ! -e "$target/SKIP.TXT" ] && [ ! -e "$target/LOST.TXT" ] && [ ! -e "$target/NEVER.TXT" ] ||
  fail "files after the ignored one or the exit were installed"

note "a destination held open"
fresh
mkdir -p "$target"
echo old >"$target/HELD.DAT"
echo new >"$DRIVE_DIR/HELD.DAT"
script "Replace File=1" "File 1.1=HELD.DAT"
holder_stop="hold-$$"
wine "$ROBOT_EXE" hold-file --timeout 300000 --stop "$holder_stop" 'C:\FAULTS\HELD.DAT' </dev/null \
  >"$SUITE_RESULTS/holder.out" 2>&1 &
holder=$!
wait_for_line "$SUITE_RESULTS/holder.out" held "$holder" || fail "could not hold the file"
start_launch "$WIN_DIR\\SETUP.EXE"
accept_destination
hwnd=$(wait_dialog "Installation Error")
expect_eq "$(control_text "$(robot texts "$hwnd")" 1012)" 'To copy the file ( HELD.DAT ) is error !\n\nDo you want to try again ?' "copy error text"
[ "$(cat "$target/HELD.DAT")" = old ] || fail "the held file changed"
robot stop "$holder_stop"
wait "$holder"
click_away "$hwnd" 1022                                   # Retry after the file is released
answer "End of Installation" 1022 >/dev/null
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"
[ "$(cat "$target/HELD.DAT")" = new ] || fail "HELD.DAT was not replaced after Retry"

note "existing files"
fresh
mkdir -p "$target"
for f in A B C D; do echo "old $f" >"$target/$f.DAT"; echo "new $f" >"$DRIVE_DIR/$f.DAT"; done
touch -d '2024-03-09 12:05' "$DRIVE_DIR"/?.DAT
touch -d '2024-06-01 00:30' "$target"/?.DAT
script "" "File 1.1=A.DAT
File 1.2=B.DAT
File 1.3=C.DAT
File 1.4=D.DAT"
start_launch "$WIN_DIR\\SETUP.EXE"
accept_destination
text=$(answer "Confirm File Replace" 1023)                  # No: A stays
expect_eq "$text" 'Would you like to replace the existing file\n\n \tC:\\FAULTS\\A.DAT\n\t06/01/2024\t00:30AM\n\nwith this one ?\n\n \tC:\\e2e\\copy_faults\\A.DAT\n\t03/09/2024\t12:05PM' "replace question"
answer "Confirm File Replace" 1022 >/dev/null               # Yes: B is replaced
answer "Confirm File Replace" 1024 >/dev/null               # Replace All: C and D
answer "End of Installation" 1022 >/dev/null
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"
expect_eq "$(cat "$target/A.DAT") $(cat "$target/B.DAT") $(cat "$target/C.DAT") $(cat "$target/D.DAT")" \
  "old A new B new C new D" "contents after No, Yes, Replace All"

note "too little space"
fresh
small=$SUITE_RESULTS/small-drive
mkdir -p "$small"
mount -t tmpfs -o size=1m tmpfs "$small" || fail "cannot mount a small drive here"
trap 'umount "$small" 2>/dev/null || true; stop_launch' EXIT
ln -sfn "$small" "$WINEPREFIX/dosdevices/e:"
free=$(df -B1 --output=avail "$small" | tail -1 | tr -d ' ')
echo data >"$DRIVE_DIR/DATA.TXT"
DEFDIR='E:\SMALL' script "Disk Space=2000000" "File 1.1=DATA.TXT"
start_launch "$WIN_DIR\\SETUP.EXE"
accept_destination
text=$(answer "Installation Error" 1022)
expect_eq "$text" "Faults installation need 2000000 bytes.\n\nThe E drive only have $free bytes of free space.\n\nInsufficient disk space !\n\nExit installation and increase available disk space." "space message"
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"
[ ! -e "$small/SMALL" ] || fail "the installation went on after the space message"
rm -f "$WINEPREFIX/dosdevices/e:"
umount "$small"
trap stop_launch EXIT

note "a directory that cannot be made"
fresh
echo in-the-way >"$WINEPREFIX/drive_c/BLOCKED"
echo data >"$DRIVE_DIR/DATA.TXT"
DEFDIR='C:\BLOCKED\SUB' script "" "File 1.1=DATA.TXT"
start_launch "$WIN_DIR\\SETUP.EXE"
accept_destination
text=$(answer "Installation Error" 1022)                     # Yes: type it again
expect_eq "$text" 'The directory of C:\\BLOCKED\\SUB can not be created.\n\nDo you want to type the name of the directory again ?' "directory question"
accept_destination
answer "Installation Error" 1023 >/dev/null                  # No: the installation ends
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"
[ "$(cat "$WINEPREFIX/drive_c/BLOCKED")" = in-the-way ] || fail "the file in the way changed"
rm -f "$WINEPREFIX/drive_c/BLOCKED"

note "Cancel during the copy"
# Every file but the first is there already, so the copy stops at a replace question before
# each of them. Cancel is clicked together with the answer: the question ends with the
# answer, and the click waits in the queue until the copy next takes messages, so the stop
# question comes at a known place and the copy cannot run ahead of the test.
fresh
mkdir -p "$target"
entries=""
for i in 1 2 3 4 5 6; do
  echo "file $i" >"$DRIVE_DIR/F$i.TXT"
  [ "$i" = 1 ] || echo "old $i" >"$target/F$i.TXT"
  entries="${entries}File 1.$i=F$i.TXT
"
done
touch -d '2024-03-09 12:05' "$DRIVE_DIR"/F?.TXT
touch -d '2024-06-01 00:30' "$target"/F?.TXT
script "" "$entries"
LAUNCH_OUT=$SUITE_RESULTS/cancel.out
start_launch --watch-windows "$WIN_DIR\\SETUP.EXE"
accept_destination
copy=$(wait_dialog "Faults")
robot click "$(wait_dialog "Confirm File Replace")" 1022 "$copy" 2     # Yes for F2, then Cancel
answer "Terminate Installation" 1023 >/dev/null                         # No: the copy goes on
robot click "$(wait_dialog "Confirm File Replace")" 1022 "$copy" 2     # Yes for F3, then Cancel
answer "Terminate Installation" 1022 >/dev/null                         # Yes: it ends
finish_launch_without_dialogs  # no end message after Cancel
expect_eq "$LAUNCH_CODE" 18 "exit code"
# The file in hand when Cancel was confirmed is installed; nothing after it.
expect_eq "$(cat "$target"/F?.TXT | tr '\n' ' ')" "file 1 file 2 file 3 old 4 old 5 old 6 " \
  "the files after a Cancel answered No, then Yes"
note "passed"
