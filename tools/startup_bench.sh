#!/usr/bin/env bash
# The start-up benchmark under Wine, in a Wine environment of its own that is taken down
# again afterwards: SETUP.EXE against a program that only shows one full-screen window,
# from process start until the full-screen window is shown and painted, and how long after
# that the installer's first dialog is up.
#   tools/startup_bench.sh [WIN32_BUILD_DIR] [ROUNDS]      (./run build first)
# The installer runs on a script with a painted background, its titles and a port question
# as its first dialog.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/win32}")
rounds=${2:-21}
bench=$build/tools/STARTBENCH.EXE
[ -f "$bench" ] || { echo "startup_bench.sh: no $bench (build the win32 preset first)" >&2; exit 1; }
env_dir=$build/bench-startup-env
"$root/tests/wine-env" up "$env_dir" >/dev/null
trap '"$root/tests/wine-env" down "$env_dir"' EXIT
# shellcheck source=/dev/null
. "$env_dir/env.sh"

disk=$WINEPREFIX/drive_c/STARTUP
mkdir -p "$disk"
cp "$build/setup/SETUP.EXE" "$build/tools/FULLSCRN.EXE" "$disk/"
printf '%s\r\n' '[Setup System]' 'AP Name=Start-up Benchmark' \
  '[Initiation]' 'Install Name=Benchmark 1.0' 'DefDir=C:\BENCHMRK' \
  '[Background]' 'Product Company=Varnel' 'Product Name=Benchmark 1.0' \
  '[ComPort]' 'Title Name=Benchmark' 'File 1=BENCH.INI' 'Item 1.1=Remote,Port' >"$disk/SETUP.INF"

echo "start-up benchmark: SETUP.EXE against FULLSCRN.EXE under Wine"
"$root/tests/wine-env" exec "$env_dir" wine "$bench" "$rounds" 'C:\STARTUP\SETUP.EXE' 'C:\STARTUP\FULLSCRN.EXE' |
  tr -d '\r'
