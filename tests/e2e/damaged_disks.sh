# A damaged disk is named, never installed. Disks made by SETUPDSK.EXE go bad as disks do:
# on disk 2 a compressed file is cut in half and a plain file has one byte changed. An
# interactive run names each file with its disk, and Retry after the good copy is back
# installs it; a quiet run stops with 1603 and the log names the file and its disk; in both
# the file there before stays, byte for byte, until a good one replaces it. setupcheck on
# the damaged disks names both files and ends with status 1.
. "$(dirname "$0")/lib.sh"
: "${SETUPDSK_EXE:?}" "${SETUPCHK_EXE:?}"
root=$(cd "$(dirname "$0")/../.." && pwd)
source_dir=$SUITE_RESULTS/source
good=$SUITE_RESULTS/disks
bad=$SUITE_RESULTS/bad
target=$WINEPREFIX/drive_c/DAMAGED

mkdir -p "$source_dir"
printf 'the first disk\r\n' >"$source_dir/FIRST.TXT"
for _ in 1 2 3 4; do cat "$root"/docs/*.md; done >"$SUITE_RESULTS/text"
head -c 60000 "$SUITE_RESULTS/text" >"$source_dir/TEXT.TXT"
random_file "$source_dir/RANDOM.DAT" 3000
printf '[Initiation]\r\nInstall Name=Damaged Disks\r\nDefDir=C:\\DAMAGED\r\nReplace File=1\r\n[DefDir]\r\n%s' \
  'File 1.1=FIRST.TXT'$'\r\n''File 2.1=TEXT.TXT'$'\r\n''File 2.2=RANDOM.DAT'$'\r\n' >"$SUITE_RESULTS/SETUP.INF"
wine_quiet "$SETUPDSK_EXE" "$(winepath -w "$SUITE_RESULTS/SETUP.INF")" --from "$(winepath -w "$source_dir")" \
  --to "$(winepath -w "$good")" --installer "$(winepath -w "$SETUP_EXE")" >"$SUITE_RESULTS/setupdisks.out" ||
  fail "SETUPDSK.EXE: $(cat "$SUITE_RESULTS/setupdisks.out")"
[ -f "$good/DISK2/TEXT.TX_" ] && [ -f "$good/DISK2/RANDOM.DAT" ] || fail "disk 2 holds $(ls "$good/DISK2")"

# The damage: TEXT.TX_ cut in half, one byte of RANDOM.DAT changed.
cp -r "$good" "$bad"
size=$(stat -c %s "$good/DISK2/TEXT.TX_")
head -c $((size / 2)) "$good/DISK2/TEXT.TX_" >"$bad/DISK2/TEXT.TX_"
byte=$(( ($(od -An -tu1 -j 1000 -N 1 "$good/DISK2/RANDOM.DAT") + 1) % 256 ))
# shellcheck disable=SC2059
printf "\\$(printf '%03o' "$byte")" | dd of="$bad/DISK2/RANDOM.DAT" bs=1 seek=1000 conv=notrunc status=none
cmp -s "$good/DISK2/RANDOM.DAT" "$bad/DISK2/RANDOM.DAT" && fail "RANDOM.DAT was not changed"

# The author's check of the disks she has written.
code=0
wine_quiet "$SETUPCHK_EXE" "$(winepath -w "$bad/DISK1/SETUP.INF")" >"$SUITE_RESULTS/check.out" 2>&1 || code=$?
expect_eq "$code" 1 "setupcheck's exit status on the damaged disks"
grep -q 'error: TEXT.TX_ on disk 2 (.*DISK2) is damaged: it expands to [0-9]* bytes, its header states 60000$' \
  "$SUITE_RESULTS/check.out" || fail "setupcheck does not name TEXT.TX_: $(cat "$SUITE_RESULTS/check.out")"
grep -q 'error: RANDOM.DAT on disk 2 (.*DISK2) is damaged: it holds 3000 bytes, CRC-32 ' \
  "$SUITE_RESULTS/check.out" || fail "setupcheck does not name RANDOM.DAT: $(cat "$SUITE_RESULTS/check.out")"
wine_quiet "$SETUPCHK_EXE" "$(winepath -w "$good/DISK1/SETUP.INF")" >"$SUITE_RESULTS/check-good.out" 2>&1 ||
  fail "setupcheck finds the good disks damaged: $(cat "$SUITE_RESULTS/check-good.out")"

# The files that were there before, which no damaged file may take the place of.
files_before() {
  rm -rf "$target" && mkdir -p "$target"
  printf 'text of before\r\n' >"$target/TEXT.TXT"
  printf 'data of before\r\n' >"$target/RANDOM.DAT"
  cp "$target/TEXT.TXT" "$target/RANDOM.DAT" "$SUITE_RESULTS/"
}
expect_before() {
  expect_same_file "$SUITE_RESULTS/$1" "$target/$1"
  ls "$target" | grep -qi '^~SETUP' && fail "a file held back was left: $(ls "$target")"
  return 0
}

# Interactive: each damaged file named with its disk; the good copy put back, then Retry.
files_before
cp "$bad/DISK1/SETUP.EXE" "$bad/DISK1/SETUP.INF" "$DRIVE_DIR/"
insert_disk "$bad/DISK1"
start_launch "$WIN_DIR\\SETUP.EXE"
click_away "$(wait_dialog Installation)" 1
prompt=$(wait_dialog "Insert Disk")
insert_disk "$bad/DISK2"
robot click "$prompt" 1022 >/dev/null
for name in TEXT.TXT RANDOM.DAT; do
  hwnd=$(wait_dialog "Installation Error")
  expect_eq "$(control_text "$(robot texts "$hwnd")" 1012)" \
    "$name on Disk 2 is damaged !\n\nPlease insert another copy of Disk 2.\n\nDo you want to try again ?" "the question on $name"
  [ "$name" = RANDOM.DAT ] || screenshot damaged-file >/dev/null
  expect_before "$name"
  stored=$(basename "$(ls "$good/DISK2/${name%?}"?)")
  cp "$good/DISK2/$stored" "$DRIVE_DIR/$stored"
  click_away "$hwnd" 1022  # Retry
done
click_away "$(wait_dialog "End of Installation")" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "the exit code after both files were installed on Retry"
for name in FIRST.TXT TEXT.TXT RANDOM.DAT; do expect_same_file "$source_dir/$name" "$target/$name"; done

# Quiet, once for each damage: the run stops at the file, and the log names it and its disk.
quiet_run() {
  rm -rf "$DRIVE_DIR/q" && mkdir -p "$DRIVE_DIR/q"
  cp -r "$good/DISK1" "$good/DISK2" "$DRIVE_DIR/q/"
  cp "$bad/DISK2/$1" "$DRIVE_DIR/q/DISK2/$1"
  files_before
  LAUNCH_OUT=$SUITE_RESULTS/quiet-$1.out
  start_launch "$WIN_DIR\\q\\DISK1\\SETUP.EXE" /QUIET "/LOG=$WIN_DIR\\q\\SETUP.LOG"
  finish_launch
  expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 1603" "the quiet run's exit code with $1 damaged"
  tr -d '\r' <"$DRIVE_DIR/q/SETUP.LOG" >"$SUITE_RESULTS/quiet-$1.log"
  grep -qF "file $WIN_DIR\\q\\DISK2\\$1 -> C:\\DAMAGED\\$2: not installed: damaged: $3 (on Disk 2)" \
    "$SUITE_RESULTS/quiet-$1.log" || fail "the log does not name $1 and its disk: $(cat "$SUITE_RESULTS/quiet-$1.log")"
  expect_before "$2"
}
quiet_run TEXT.TX_ TEXT.TXT "it expands to another length than its header states"
quiet_run RANDOM.DAT RANDOM.DAT "its size or CRC-32 is not the one [Checksums] lists"
note "passed"
