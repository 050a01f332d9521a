# Files compressed by setupdisks's own SZDD writer are installed by SETUP.EXE (through the
# version library) byte for byte: an empty file, one byte, one value repeated, random
# bytes, 1 MB of text, and files just under and just over the window's 4096 bytes.
. "$(dirname "$0")/lib.sh"
: "${SETUPDSK_EXE:?}"
root=$(cd "$(dirname "$0")/../.." && pwd)

source_dir=$SUITE_RESULTS/source
out=$SUITE_RESULTS/disks
mkdir -p "$source_dir"
: >"$source_dir/EMPTY.DAT"
printf 'A' >"$source_dir/ONE.DAT"
head -c 50000 /dev/zero | tr '\0' 'Q' >"$source_dir/SAME.DAT"
random_file "$source_dir/RANDOM.DAT" 30000
for _ in $(seq 40); do cat "$root"/docs/*.md "$root"/README.md; done >"$SUITE_RESULTS/text"
head -c 1048576 "$SUITE_RESULTS/text" >"$source_dir/TEXT.TXT"
head -c 4095 "$source_dir/TEXT.TXT" >"$source_dir/UNDER.TXT"
random_file "$source_dir/OVER.DAT" 4097
files="EMPTY.DAT ONE.DAT SAME.DAT RANDOM.DAT TEXT.TXT UNDER.TXT OVER.DAT"
printf '[Initiation]\r\nInstall Name=Packed Files\r\nDefDir=C:\\PACKED\r\n[DefDir]\r\n' >"$SUITE_RESULTS/SETUP.INF"
number=1
for f in $files; do
  printf 'File 1.%d=%s\r\n' "$number" "$f" >>"$SUITE_RESULTS/SETUP.INF"
  number=$((number + 1))
done

wine_quiet "$SETUPDSK_EXE" "$(winepath -w "$SUITE_RESULTS/SETUP.INF")" --from "$(winepath -w "$source_dir")" \
  --to "$(winepath -w "$out")" --installer "$(winepath -w "$SETUP_EXE")" --compress all >"$SUITE_RESULTS/setupdisks.out" ||
  fail "SETUPDSK.EXE: $(cat "$SUITE_RESULTS/setupdisks.out")"
for f in $files; do
  [ -f "$out/DISK1/${f%?}_" ] || fail "$f was not compressed: $(ls "$out/DISK1")"
  [ ! -e "$out/DISK1/$f" ] || fail "$f is on the disk plain as well"
  # Debian's msexpand, an expander we did not write, agrees.
  if command -v msexpand >/dev/null; then
    msexpand <"$out/DISK1/${f%?}_" 2>/dev/null | cmp -s - "$source_dir/$f" || fail "msexpand does not give $f back"
  fi
done

cp -r "$out/DISK1"/. "$DRIVE_DIR/"
rm -rf "$WINEPREFIX/drive_c/PACKED"
start_launch "$WIN_DIR\\SETUP.EXE"
robot click "$(wait_dialog "Installation")" 1
end=$(wait_dialog "End of Installation")
robot click "$end" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"
for f in $files; do
  expect_same_file "$source_dir/$f" "$WINEPREFIX/drive_c/PACKED/$f"
done
note "passed"
