#!/usr/bin/env bash
# Runs the accessor's benchmark under Wine, in a Wine environment of its own that is taken
# down again afterwards, and prints its figures.
#   tools/accessor_bench.sh BUILD_DIR [--requests N] [--rounds R]
# BUILD_DIR is a win32 build (build/win32).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:?usage: accessor_bench.sh BUILD_DIR [ARGS...]}")
shift
bench=$build/tools/accessor_bench.exe
[ -f "$bench" ] || { echo "accessor_bench.sh: no $bench (build the win32 preset first)" >&2; exit 1; }
env_dir=$build/bench-env
"$root/tests/wine-env" up "$env_dir" >/dev/null
trap '"$root/tests/wine-env" down "$env_dir"' EXIT
"$root/tests/wine-env" exec "$env_dir" wine "$bench" "$@" | tr -d '\r'
