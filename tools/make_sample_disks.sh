#!/usr/bin/env bash
# Lays out the sample product's installation disks as folders DISK1, DISK2, DISK3.
#   tools/make_sample_disks.sh WIN32_BUILD_DIR OUTPUT_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sample=$root/examples/sample
build=$(realpath "$1")
out=$(realpath -m "$2")
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The pictures: two slides and the two frames of the edition question's animation.
slide() {
  convert -size 300x180 "gradient:$2" -gravity center -fill white -stroke '#00000060' -strokewidth 1 \
    -pointsize 26 -annotate 0 "$3" -type truecolor "BMP3:$work/$1"
}
slide SLIDE1.BMP '#2a7a3a-#0c3818' 'One leaf per thought'
slide SLIDE2.BMP '#3a4aa0-#101848' 'Found again in a moment'
mkdir -p "$work/ICONS"
convert "$sample/icons/LEAF1.xpm" "$work/ICONS/LEAF1.ICO"
convert "$sample/icons/LEAF2.xpm" "$work/ICONS/LEAF2.ICO"

source_of() {
  case $1 in
    SETUP.EXE) echo "$build/setup/SETUP.EXE" ;;
    BRIGHT.EXE) echo "$build/examples/sample/program/BRIGHT.EXE" ;;
    LEAFSPL.DLL) echo "$build/examples/sample/program/LEAFSPL.DLL" ;;
    SETUP.INF) echo "$sample/SETUP.INF" ;;
    ICONS\\*|SLIDE*) echo "$work/${1//\\//}" ;;
    *) echo "$sample/files/$1" ;;
  esac
}

while read -r disk file compressed; do
  [[ -z $disk || $disk == \#* ]] && continue
  from=$(source_of "$file")
  to=$out/DISK$disk/${file//\\//}
  mkdir -p "$(dirname "$to")"
  cp "$from" "$to"
  if [ "$compressed" = yes ]; then
    mscompress "$to"
    rm "$to"
    mv "${to}_" "${to%?}_"
  fi
done <"$sample/disks.txt"
echo "sample disks in $out: $(ls "$out" | tr '\n' ' ')"
