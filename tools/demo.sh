#!/usr/bin/env bash
# The demo: makes the sample product's disks (SETUPDSK.EXE), checks its script and prints the plan of
# the installation (SETUPCHK.EXE), installs it under Wine on a virtual display
# of its own as a user accepting the defaults would (No to the restart), saves a numbered
# screenshot of every dialog, and prints what was installed. It ends with 0 when the
# installation did what the sample intends, else with 1 and the reason on one line.
#   tools/demo.sh WIN32_BUILD_DIR DEMO_DIR [--interactive|--quiet|--uninstall|--rollback]
# With --interactive the installer runs on your own display (DISPLAY) and you answer it;
# when it asks for another disk, press Enter here and the disk is put in. With --quiet it
# replays the sample's answer file (examples/sample/ANSWERS.INI) without any window,
# finding the disks side by side, and prints its log. With --uninstall it installs as without
# it, then runs the command of the sample's uninstall entry (the installer's copy on the undo
# record), and shows that the machine is as before: every file, the registry, win.ini and
# system.ini, compared with a snapshot taken before the installation. With --rollback it stops
# the installation at the second disk, and shows that the installer undid what it had done:
# the machine is as before.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "$1")
demo=$(realpath -m "$2")
interactive=${3:-}
env_dir=$demo/wine-env
shots=$demo/screenshots

if [ "$interactive" = --interactive ]; then
  [ -n "${DISPLAY:-}" ] || { echo "demo: --interactive needs a display (DISPLAY)" >&2; exit 2; }
  export WINE_ENV_DISPLAY=$DISPLAY
fi
"$root/tests/wine-env" up "$env_dir" >/dev/null
trap '"$root/tests/wine-env" down "$env_dir"' EXIT
# shellcheck source=/dev/null
. "$env_dir/env.sh"
export ROBOT_EXE=$build/tests/e2e/robot.exe SAMPLE_DISKS=$demo/disks
echo "demo: making the sample's disks from its script with SETUPDSK.EXE"
"$root/tools/make_sample_disks.sh" "$build" "$SAMPLE_DISKS" --images | sed 's/^/  /'
# shellcheck source=tools/sample_install.sh
. "$root/tools/sample_install.sh"

# First the author's check: the script and its disks, and the plan of the installation.
echo "demo: checking the sample's script and disks with SETUPCHK.EXE"
# Through a file: Wine's helper processes may inherit the output and hold a pipe open.
check=0
answers=()  # replayed quietly: the answer file is checked too, and the plan follows it
[ "$interactive" != --quiet ] || answers=(--answers "$(winepath -w "$root/examples/sample/ANSWERS.INI" 2>/dev/null)")
wine "$build/checker/SETUPCHK.EXE" --plan "${answers[@]}" "$(winepath -w "$SAMPLE_DISKS/DISK1/SETUP.INF" 2>/dev/null)" \
  </dev/null >"$demo/check.out" 2>&1 || check=$?
tr -d '\r' <"$demo/check.out" | sed 's/^/  /'
[ "$check" = 0 ] || { echo "demo: the sample's script has errors" >&2; exit 1; }

if [ "$interactive" = --interactive ]; then
  rm -rf "$SAMPLE_DIR" "$SAMPLE_TARGET"
  mkdir -p "$SAMPLE_DIR"
  sample_insert_disk 1
  echo "demo: the installer runs on $DISPLAY; press Enter here when it asks for disk 2, then for disk 3"
  wine 'C:\SAMPLE\SETUP.EXE' </dev/null >/dev/null 2>&1 &
  installer=$!
  for disk in 2 3; do
    read -r _ && sample_insert_disk "$disk" && echo "demo: disk $disk is in"
  done
  code=0
  wait "$installer" || code=$?
elif [ "$interactive" = --rollback ]; then
  rm -rf "$shots"
  mkdir -p "$shots"
  wine "$ROBOT_EXE" hold-window --timeout 1 Warming </dev/null >/dev/null 2>&1 || true
  machine_snapshot "$demo/before.txt"
  echo "demo: installing the sample product on display $DISPLAY, and stopping it at the second disk"
  SAMPLE_LOG=$demo/launch.out sample_stop "$shots" || { echo "demo: failed: the installation could not be stopped" >&2; exit 1; }
  echo "demo: its rollback message in $shots"
  machine_snapshot "$demo/after.txt"
  [ "$SAMPLE_EXIT" = 18 ] || { echo "demo: failed: the stopped installation ended with exit code $SAMPLE_EXIT, not 18" >&2; exit 1; }
  if ! diff -u "$demo/before.txt" "$demo/after.txt" >"$demo/machine.diff"; then
    echo "demo: failed: the machine is not as before the installation (see $demo/machine.diff):" >&2
    head -n 40 "$demo/machine.diff" >&2
    exit 1
  fi
  echo "demo: the stopped installation was undone; the machine is as before: $(grep -c . "$demo/before.txt") lines of files, registry, win.ini and system.ini compared"
  exit 0
elif [ "$interactive" = --quiet ]; then
  quiet=$WINEPREFIX/drive_c/QUIET
  rm -rf "$quiet" "$SAMPLE_TARGET"
  mkdir -p "$quiet"
  cp -r "$SAMPLE_DISKS"/DISK[0-9] "$quiet/"
  sed 's/$/\r/' "$root/examples/sample/ANSWERS.INI" >"$quiet/ANSWERS.INI"
  echo "demo: installing the sample without a window: SETUP.EXE /QUIET /ANSWERS=C:\QUIET\ANSWERS.INI /LOG=C:\QUIET\SETUP.LOG"
  wine "$ROBOT_EXE" launch --watch-windows --timeout 300000 'C:\QUIET\DISK1\SETUP.EXE' /QUIET \
    '/ANSWERS=C:\QUIET\ANSWERS.INI' '/LOG=C:\QUIET\SETUP.LOG' </dev/null >"$demo/launch.out" 2>&1 || true
  code=$(sed -n 's/^exit //p' "$demo/launch.out" | tr -d '\r')
  echo "demo: its log"
  tr -d '\r' <"$quiet/SETUP.LOG" | sed 's/^/  /'
else
  rm -rf "$shots"
  mkdir -p "$shots"
  if [ "$interactive" = --uninstall ]; then
    # The first window of a prefix makes Wine write its display settings: before the snapshot.
    wine "$ROBOT_EXE" hold-window --timeout 1 Warming </dev/null >/dev/null 2>&1 || true
    machine_snapshot "$demo/before.txt"
  fi
  echo "demo: installing the sample product on display $DISPLAY"
  SAMPLE_LOG=$demo/launch.out sample_install "$shots"
  code=$SAMPLE_EXIT
  echo "demo: screenshots in $shots"
fi
sample_report
echo "demo: the installation ended with exit code $code"
# The demo succeeds when the installation did what the sample intends: the installer's own
# code (18) and everything the answers given install. Answered by hand, only the code counts.
if [ "$interactive" = --interactive ]; then
  [ "$code" = 18 ] || { echo "demo: failed: the installer ended with exit code $code, not 18" >&2; exit 1; }
elif [ "$interactive" = --quiet ]; then
  # The answers decline the restart that the start-up program asks for: 3010, no window.
  if grep -q '^visible window' "$demo/launch.out"; then echo "demo: failed: the quiet run showed a window" >&2; exit 1; fi
  [ "$code" = 3010 ] || { echo "demo: failed: the quiet run ended with exit code $code, not 3010" >&2; exit 1; }
elif ! problem=$(sample_check "$root" "$build"); then
  echo "demo: failed: $problem" >&2
  exit 1
fi
echo "demo: the sample was installed as intended"
[ "$interactive" = --uninstall ] || exit 0
echo "demo: uninstalling it with its uninstall entry's command: $(sample_robot reg HKLM \
  'SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Brightleaf' UninstallString)"
problem=$(sample_uninstall "$shots") || { echo "demo: failed: $problem" >&2; exit 1; }
[ "$SAMPLE_EXIT" = 18 ] || { echo "demo: failed: the uninstallation ended with exit code $SAMPLE_EXIT, not 18" >&2; exit 1; }
sample_report
machine_snapshot "$demo/after.txt"
if ! diff -u "$demo/before.txt" "$demo/after.txt" >"$demo/machine.diff"; then
  echo "demo: failed: the machine is not as before the installation (see $demo/machine.diff):" >&2
  head -n 40 "$demo/machine.diff" >&2
  exit 1
fi
echo "demo: the machine is as before the installation: $(grep -c . "$demo/before.txt") lines of files, registry, win.ini and system.ini compared"
