# One CD image of every disk (SETUPDSK.EXE --iso), its files taken out by xorriso, not by us:
# the installer started from them installs to the end with only the script's disk messages
# (the disk asked for is where disk 1 was), and quietly with exit 0; the files installed are
# the product's, byte for byte.
. "$(dirname "$0")/lib.sh"
: "${SETUPDSK_EXE:?}"
source_dir=$SUITE_RESULTS/source
target=$WINEPREFIX/drive_c/CDPROD
mkdir -p "$source_dir"
printf 'disk one\r\n' >"$source_dir/ONE.TXT"
random_file "$source_dir/TWO.DAT" 70000
for _ in $(seq 300); do printf 'a line of the notes, much like the one before\r\n'; done >"$source_dir/NOTES.TXT"
printf '[Initiation]\r\nInstall Name=CD Product\r\nDefDir=C:\\CDPROD\r\nSubDir 1=NOTES\r\nCopy File From SubDir=1\r\n%s' \
  '[DefDir]'$'\r\n''File 1.1=ONE.TXT'$'\r\n''File 2.1=TWO.DAT'$'\r\n''[SubDir 1]'$'\r\n''File 2.1=NOTES.TXT'$'\r\n' \
  >"$SUITE_RESULTS/SETUP.INF"
wine_quiet "$SETUPDSK_EXE" "$(winepath -w "$SUITE_RESULTS/SETUP.INF")" --from "$(winepath -w "$source_dir")" \
  --to "$(winepath -w "$SUITE_RESULTS/disks")" --installer "$(winepath -w "$SETUP_EXE")" \
  --iso "$(winepath -w "$SUITE_RESULTS/PRODUCT.ISO")" >"$SUITE_RESULTS/setupdisks.out" ||
  fail "SETUPDSK.EXE: $(cat "$SUITE_RESULTS/setupdisks.out")"
cd_dir=$DRIVE_DIR/CD
xorriso -osirrox on -indev "$SUITE_RESULTS/PRODUCT.ISO" -extract / "$cd_dir" >"$SUITE_RESULTS/xorriso.out" 2>&1 ||
  fail "xorriso cannot read the image: $(cat "$SUITE_RESULTS/xorriso.out")"
chmod -R u+w "$cd_dir"
[ -f "$cd_dir/NOTES/NOTES.TX_" ] && [ -f "$cd_dir/TWO.DAT" ] || fail "the CD holds $(find "$cd_dir" -type f)"

expect_installed() {
  for f in ONE.TXT TWO.DAT; do expect_same_file "$source_dir/$f" "$target/$f"; done
  expect_same_file "$source_dir/NOTES.TXT" "$target/NOTES/NOTES.TXT"
}

rm -rf "$target"
start_launch --watch-windows "$WIN_DIR\\CD\\SETUP.EXE"
click_away "$(wait_dialog Installation)" 1
expect_message "Insert Disk" "Please change Disk-1 to Disk-2" "" 1022  # nothing to change: the CD holds disk 2
click_away "$(wait_dialog "End of Installation")" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "the exit code of the installation from the CD"
grep -q '"Installation Error"' "$LAUNCH_OUT" && fail "a file was not found or not installed"
expect_installed

rm -rf "$target"
LAUNCH_OUT=$SUITE_RESULTS/quiet.out
start_launch "$WIN_DIR\\CD\\SETUP.EXE" /QUIET
finish_launch
expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 0" "the quiet installation's exit code"
expect_installed
note "passed"
