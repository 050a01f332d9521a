#!/usr/bin/env bash
# Runs the installer on the sample product under Wine, on a virtual display of its own,
# and saves a numbered screenshot of what the user sees.
#   tools/demo.sh WIN32_BUILD_DIR DEMO_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
demo=$(realpath -m "$2")
env_dir=$demo/wine-env
shots=$demo/screenshots

"$root/tests/wine-env" up "$env_dir" >/dev/null
trap '"$root/tests/wine-env" down "$env_dir"' EXIT
# shellcheck source=/dev/null
. "$env_dir/env.sh"
rm -rf "$shots"
mkdir -p "$shots"

robot() { wine "$build/tests/e2e/robot.exe" "$@" </dev/null 2>&1 | tr -d '\r'; }

# The product's installation folder, as it would be on the first disk.
disk=$WINEPREFIX/drive_c/SAMPLE/DISK1
mkdir -p "$disk"
cp "$root/examples/sample/SETUP.INF" "$disk/"
cp "$build/setup/SETUP.EXE" "$disk/"
title=$(grep -i '^AP Name=' "$disk/SETUP.INF" | cut -d= -f2- | tr -d '\r')

echo "demo: running C:\\SAMPLE\\DISK1\\SETUP.EXE under Wine on display $DISPLAY"
wine "$build/tests/e2e/robot.exe" launch --timeout 60000 'C:\SAMPLE\DISK1\SETUP.EXE' \
  </dev/null >"$demo/launch.out" 2>&1 &
launcher=$!

# The background holds still for the screenshot (it stays up only half a second here).
wine "$build/tests/e2e/robot.exe" freeze --timeout 10000 fwFrame "$title" 1500 </dev/null >"$demo/freeze.out" 2>&1 &
freezer=$!
for _ in $(seq 300); do
  grep -q frozen "$demo/freeze.out" 2>/dev/null && break
  kill -0 "$freezer" 2>/dev/null || break
  sleep 0.02
done
if grep -q frozen "$demo/freeze.out"; then
  import -display "$DISPLAY" -window root "$shots/01-background.png"
  echo "demo: screenshot $shots/01-background.png"
else
  echo "demo: the installer's window did not show: $(tr -d '\r' <"$demo/freeze.out")" >&2
fi
wait "$freezer" || true

# The installation's messages, answered as a user accepting them would.
shot=2
while hwnd=$(robot wait-window --timeout 5000 '#32770' '*') && [ -n "$hwnd" ] && kill -0 "$launcher" 2>/dev/null; do
  caption=$(robot texts "$hwnd" | sed -n 's/^window .* caption "\(.*\)"$/\1/p')
  file=$(printf '%s/%02d-%s.png' "$shots" "$shot" "$(echo "$caption" | tr 'A-Z ' 'a-z-')")
  import -display "$DISPLAY" -window root "$file"
  echo "demo: \"$caption\": screenshot $file"
  robot click "$hwnd" 1022 >/dev/null
  robot wait-gone "$hwnd" >/dev/null || true
  shot=$((shot + 1))
done

code=0
wait "$launcher" || code=$?
echo "demo: the installation ended with exit code $code"
exit "$code"
