# The sample's disks as floppy images: read with mtools, not by us, the files taken out of
# each image are the disk folder's byte for byte, and installed from them quietly the
# product is the same as installed from the folders.
. "$(dirname "$0")/lib.sh"
: "${SUITE_BUILD:?}"
root=$(cd "$(dirname "$0")/../.." && pwd)
disks=$SUITE_RESULTS/disks
"$root/tools/make_sample_disks.sh" "$SUITE_BUILD" "$disks" --images >"$SUITE_RESULTS/disks.txt"
grep -q '^image .*DISK3.IMG' "$SUITE_RESULTS/disks.txt" || fail "no images listed: $(cat "$SUITE_RESULTS/disks.txt")"
target=$WINEPREFIX/drive_c/BRIGHTLF

install_from() {  # FOLDER holding DISK1..DISK3; the installed product is kept in $SUITE_RESULTS/NAME
  rm -rf "$target" "$WINEPREFIX/drive_c/SRC"
  mkdir -p "$WINEPREFIX/drive_c/SRC"
  cp -r "$1"/DISK1 "$1"/DISK2 "$1"/DISK3 "$WINEPREFIX/drive_c/SRC/"
  LAUNCH_OUT=$SUITE_RESULTS/$2.out
  start_launch 'C:\SRC\DISK1\SETUP.EXE' /QUIET /NORESTART
  finish_launch
  expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 3010" "the exit code installing from the $2"
  rm -f "$target/BRIGHTLF.UNR"  # the undo record names the folder it was installed from
  cp -r "$target" "$SUITE_RESULTS/$2"
}

extracted=$SUITE_RESULTS/extracted
for n in 1 2 3; do
  mkdir -p "$extracted/DISK$n"
  mcopy -s -n -m -i "$disks/DISK$n.IMG" '::*' "$extracted/DISK$n/" 2>"$SUITE_RESULTS/mcopy.err" ||
    fail "mcopy cannot read DISK$n.IMG: $(cat "$SUITE_RESULTS/mcopy.err")"
  diff -r "$disks/DISK$n" "$extracted/DISK$n" >/dev/null || fail "DISK$n.IMG does not hold the folder's files"
done
install_from "$disks" folders
install_from "$extracted" images
diff -r "$SUITE_RESULTS/folders" "$SUITE_RESULTS/images" || fail "installed from the images, the product differs"
note "passed"
