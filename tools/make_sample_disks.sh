#!/usr/bin/env bash
# Makes the sample product's installation disks, DISK1 to DISK3, with SETUPDSK.EXE from its
# script: the files come from examples/sample/files, the two programs and SETUP.EXE from
# the build, and the slides and the edition question's icons are drawn here first.
#   tools/make_sample_disks.sh WIN32_BUILD_DIR OUTPUT_DIR [--images]
# With --images, each disk also as a 1.44 MB floppy image beside its folder (DISK1.IMG ...),
# and all of them as one CD image, BRIGHTLF.ISO.
# Runs under Wine: the caller has sourced a Wine environment (tests/wine-env).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sample=$root/examples/sample
build=$(realpath "$1")
out=$(realpath -m "$2")
images=()
[ "${3:-}" != --images ] || images=(--images --iso "$(winepath -w "$out" 2>/dev/null)\BRIGHTLF.ISO")
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The product's files as its author keeps them, in one folder.
source_dir=$work/source
mkdir -p "$source_dir/ICONS"
cp "$sample/files/"* "$build/examples/sample/program/BRIGHT.EXE" "$build/examples/sample/program/LEAFSPL.DLL" \
  "$source_dir/"
slide() {
  convert -size 300x180 "gradient:$2" -gravity center -fill white -stroke '#00000060' -strokewidth 1 \
    -pointsize 26 -annotate 0 "$3" -type truecolor "BMP3:$source_dir/$1"
}
slide SLIDE1.BMP '#2a7a3a-#0c3818' 'One leaf per thought'
slide SLIDE2.BMP '#3a4aa0-#101848' 'Found again in a moment'
convert "$sample/icons/LEAF1.xpm" "$source_dir/ICONS/LEAF1.ICO"
convert "$sample/icons/LEAF2.xpm" "$source_dir/ICONS/LEAF2.ICO"

# Through a file: Wine's helper processes may inherit the output and hold a pipe open.
code=0
wine "$build/disks/SETUPDSK.EXE" "$(winepath -w "$sample/SETUP.INF" 2>/dev/null)" \
  --from "$(winepath -w "$source_dir" 2>/dev/null)" --to "$(winepath -w "$out" 2>/dev/null)" \
  --installer "$(winepath -w "$build/setup/SETUP.EXE" 2>/dev/null)" "${images[@]}" </dev/null >"$work/disks.out" 2>&1 ||
  code=$?
tr -d '\r' <"$work/disks.out"
[ "$code" = 0 ] || { echo "make_sample_disks: SETUPDSK.EXE ended with $code" >&2; exit 1; }
echo "sample disks in $out: $(ls "$out" | tr '\n' ' ')"
