#!/usr/bin/env bash
# The SZDD benchmark: setupdisks's writer against Debian's mscompress, sizes and times side
# by side, on a text corpus (Windows API headers of mingw-w64, about 2.5 MB) and a binary
# corpus (Windows DLLs of Wine, about 4 MB), both installed by ./run.
#   tools/szdd_benchmark.sh
# Built natively with optimisation in build/bench (the host preset carries sanitizers).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >"$root/build-bench.log" 2>&1 ||
  { cat "$root/build-bench.log"; rm -f "$root/build-bench.log"; exit 1; }
rm -f "$root/build-bench.log"
cmake --build "$build" --target szdd_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
corpus() {
  local name=$1 dir=$2 file
  mkdir -p "$work/$name"
  shift 2
  for file in "$@"; do
    [ -f "$dir/$file" ] || { echo "szdd benchmark: $dir/$file is missing (./run build installs it)" >&2; exit 1; }
    cp "$dir/$file" "$work/$name/"
  done
}
corpus text /usr/share/mingw-w64/include winnt.h winuser.h wingdi.h winbase.h commctrl.h winioctl.h d3d11.h \
  d3d12.h shlobj.h winerror.h mmsystem.h ocidl.h
corpus binary /usr/lib/i386-linux-gnu/wine/i386-windows gdi32.dll kernel32.dll

echo "szdd benchmark: our SZDD writer against mscompress"
"$build/tools/szdd_bench" text "$work/text" binary "$work/binary"
