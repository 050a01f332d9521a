#!/usr/bin/env bash
# The copy benchmark: the installer against a plain CopyFileA loop over the same files, in
# the same Wine prefix, side by side in one run: 50 MB as 200 files and 8 MB as 2,000. Then
# the installer's copy of the 50 MB from a disk made by SETUPDSK.EXE, whose script lists
# every file's checksum, against the same copy from the script without them.
#   tools/copy_benchmark.sh [WIN32_BUILD_DIR]       (./run build first)
# The installer's copy time runs from its copy dialog's appearance to its end message, less
# the dialog's fixed quarter-second start delay. Each side is timed twice; the best counts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/win32}")
work=$build/bench
env_dir=$work/wine-env
"$root/tests/wine-env" up "$env_dir" >/dev/null
trap '"$root/tests/wine-env" down "$env_dir"' EXIT
# shellcheck source=/dev/null
. "$env_dir/env.sh"

robot() { wine "$build/tests/e2e/robot.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
drive=$WINEPREFIX/drive_c

# make_set NAME COUNT BYTES: a disk folder with the files, their list and the script.
make_set() {
  local name=$1 count=$2 bytes=$3 dir=$drive/BENCH/$1 i
  mkdir -p "$dir"
  : >"$dir/LIST.TXT"
  {
    printf '[Setup System]\r\nAP Name=Copy Benchmark\r\n[Initiation]\r\nInstall Name=Benchmark\r\n'
    printf 'DefDir=C:\\OUT\\%s\r\nReplace File=1\r\n[DefDir]\r\n' "$name"
    for i in $(seq "$count"); do printf 'File 1.%d=F%05d.DAT\r\n' "$i" "$i"; done
  } >"$dir/SETUP.INF"
  for i in $(seq "$count"); do
    head -c "$bytes" /dev/urandom >"$dir/$(printf 'F%05d.DAT' "$i")"
    printf 'F%05d.DAT\n' "$i" >>"$dir/LIST.TXT"
  done
  cp "$build/setup/SETUP.EXE" "$dir/"
}

plain_copy() {
  rm -rf "$drive/OUT/PLAIN"
  mkdir -p "$drive/OUT"
  wine "$build/tools/COPYBENCH.EXE" "C:\\BENCH\\$1" 'C:\OUT\PLAIN' "C:\\BENCH\\$1\\LIST.TXT" </dev/null 2>&1 | tr -d '\r'
}

installer_copy() {
  local name=$1 hwnd start end
  rm -rf "$drive/OUT/$name"
  sync  # the last run's writes on the disk, not competing with this one's
  wine "$build/tests/e2e/robot.exe" launch --timeout 600000 "C:\\BENCH\\$name\\SETUP.EXE" </dev/null >/dev/null 2>&1 &
  local launcher=$!
  hwnd=$(robot wait-window --timeout 30000 '#32770' Installation)
  robot click "$hwnd" 1 >/dev/null
  robot wait-window --timeout 30000 '#32770' Benchmark >/dev/null
  start=$(now_ms)
  hwnd=$(robot wait-window --timeout 600000 '#32770' 'End of Installation')
  end=$(now_ms)
  robot click "$hwnd" 1022 >/dev/null
  wait "$launcher" || true
  echo $((end - start - 250))
}

best() { printf '%s\n' "$@" | sort -n | head -n 1; }

# make_checked_set NAME FROM: set FROM's files as SETUPDSK.EXE lays them out, plain, on one
# disk whose script lists their checksums; installed into C:\OUT\NAME.
make_checked_set() {
  local dir=$drive/BENCH/$1
  wine "$build/disks/SETUPDSK.EXE" "C:\\BENCH\\$2\\SETUP.INF" --from "C:\\BENCH\\$2" --to "C:\\BENCH\\$1.OUT" \
    --compress none --capacity 1000000000 </dev/null >"$work/$1.txt" 2>&1 ||
    { tr -d '\r' <"$work/$1.txt"; exit 1; }
  rm -rf "$dir" && mv "$drive/BENCH/$1.OUT/DISK1" "$dir" && rm -rf "$drive/BENCH/$1.OUT"
  sed -i "s/^DefDir=.*/DefDir=C:\\\\OUT\\\\$1\r/" "$dir/SETUP.INF"
  grep -q '^\[Checksums\]' "$dir/SETUP.INF" || { echo "no checksums in $1's script"; exit 1; }
}

echo "copy benchmark: preparing the files"
make_set LARGE 200 262144
make_set SMALL 2000 4096
plain_copy SMALL >/dev/null  # warm the file cache once

printf '%-22s %12s %12s %8s %6s\n' "set" "CopyFileA ms" "installer ms" "ratio" "goal"
for set in "LARGE 1.3 50 MB as 200 files" "SMALL 2.0 8 MB as 2,000 files"; do
  read -r name goal label <<<"$set"
  p1=$(plain_copy "$name"); i1=$(installer_copy "$name")
  p2=$(plain_copy "$name"); i2=$(installer_copy "$name")
  plain=$(best "$p1" "$p2")
  installer=$(best "$i1" "$i2")
  ratio=$(awk -v a="$installer" -v b="$plain" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
  printf '%-22s %12s %12s %8s %6s\n' "$label" "$plain" "$installer" "$ratio" "$goal"
  cmp -s "$drive/BENCH/$name/F00001.DAT" "$drive/OUT/$name/F00001.DAT" || echo "warning: $name was not copied intact"
done

make_checked_set CHECKED LARGE
printf '\n%-22s %12s %12s %8s %6s\n' "set" "plain ms" "checked ms" "ratio" "goal"
# Taken in turns, five times each; the best of each side counts.
unchecked_times=() checked_times=()
for _ in 1 2 3 4 5; do
  unchecked_times+=("$(installer_copy LARGE)")
  checked_times+=("$(installer_copy CHECKED)")
done
unchecked=$(best "${unchecked_times[@]}")
checked=$(best "${checked_times[@]}")
ratio=$(awk -v a="$checked" -v b="$unchecked" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
printf '%-22s %12s %12s %8s %6s\n' "50 MB with [Checksums]" "$unchecked" "$checked" "$ratio" "1.10"
cmp -s "$drive/BENCH/LARGE/F00200.DAT" "$drive/OUT/CHECKED/F00200.DAT" || echo "warning: CHECKED was not copied intact"
