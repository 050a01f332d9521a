#!/usr/bin/env bash
# Runs the win32 test layer (Wine tests and scenarios) RUNS times in a row while stress-ng
# keeps every core busy, and prints each run's result: the suite must not depend on how
# fast the machine is. Build first (./run build).
#   tools/busy_test.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
if ! command -v stress-ng >/dev/null; then
  sudo=
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  { $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq stress-ng; } >/dev/null 2>&1
fi
stress-ng --cpu "$(nproc)" --timeout 0 --quiet &
load=$!
trap 'kill "$load" 2>/dev/null || true' EXIT
failed=0
for run in $(seq "$runs"); do
  log=build/busy-run-$run.log
  result=passed
  ctest --preset win32 -j2 >"$log" 2>&1 || { result=FAILED; failed=1; }
  echo "run $run of $runs under load: $result ($(grep -E 'tests passed' "$log" | tail -n 1)), log in $log"
done
exit "$failed"
