# Years of installations into one undo record. Version 1.0 and then 2.0 of a product, each
# from its own disk with its own registry key (2.0 installs one file again unchanged, one
# changed, one more, and no more one of 1.0's), then one quiet uninstallation: the machine is
# as before 1.0 (a snapshot of the whole prefix). Then an installation with rollback over a
# read-only file of its own: the completed installation leaves no folder of copies aside, and
# its uninstallation leaves no folder. Needs a clean machine: a Wine environment of its own.
set -euo pipefail
. "$(dirname "$0")/own_env.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tools/sample_install.sh
. "$root/tools/sample_install.sh"
target=$WINEPREFIX/drive_c/UPGRADE

# Lays out version $1 with its files ($2: NAME=CONTENT ...) and its script's extra lines ($3).
version() {
  local number=$1 files=$2 extra=${3:-} list= n=0 pair
  rm -f "$DRIVE_DIR"/*.TXT
  for pair in $files; do
    n=$((n + 1))
    printf '%s\r\n' "${pair#*=}" >"$DRIVE_DIR/${pair%%=*}"
    list+="File 1.$n=${pair%%=*}"$'\n'
  done
  layout_setup "[Setup System]
AP Name=E2E Upgrade

[Initiation]
Install Name=Upgrade Test $number
DefDir=C:\\UPGRADE

[DefDir]
$list
[Register]
Key 1=HKEY_LOCAL_MACHINE
SubKey 1=Software\\E2E Upgrade\\$number
Key Class 1=NULL
Name 1.1=Version
Data 1.1=$number

[UnInstall]
SubKey=E2E Upgrade
DisplayName=E2E Upgrade
UnInstallString=SETUP.EXE /UNINSTALL=UPGRADE.UNR
Record=UPGRADE.UNR
$extra"
}

install_quietly() {
  LAUNCH_OUT=$SUITE_RESULTS/install-$1.out
  start_launch "$WIN_DIR\\SETUP.EXE" /QUIET "/LOG=$WIN_DIR\\install-$1.log"
  finish_launch
  expect_eq "$LAUNCH_CODE" 0 "$1: the quiet installation's exit code"
}

# The uninstallation, and its helper's removal of the directory once it has ended.
uninstall_quietly() {
  LAUNCH_OUT=$SUITE_RESULTS/uninstall-$1.out
  start_launch 'C:\UPGRADE\SETUP.EXE' /QUIET '/UNINSTALL=UPGRADE.UNR' "/LOG=$WIN_DIR\\uninstall-$1.log"
  finish_launch
  expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 0" "$1: the quiet uninstallation's exit code"
  wait_until test ! -e "$target" || fail "$1: C:\\UPGRADE is still there: $(cd "$target" && find .)"
}

robot hold-window --timeout 1 Warming >/dev/null || true
machine_snapshot "$SUITE_RESULTS/before.txt"

note "1.0, then 2.0, then one uninstallation"
version 1.0 "SAME.TXT=same CHANGED.TXT=one GONE.TXT=gone"
install_quietly 1.0
version 2.0 "SAME.TXT=same CHANGED.TXT=two NEW.TXT=new"
install_quietly 2.0
expect_eq "$(tr -d '\r' <"$target/CHANGED.TXT")" two "2.0's CHANGED.TXT"
[ "$(grep -c '^SETUP UNDO RECORD 1' "$target/UPGRADE.UNR")" = 2 ] || fail "the record does not hold both installations"
uninstall_quietly upgrade
machine_snapshot "$SUITE_RESULTS/after.txt"
diff -u "$SUITE_RESULTS/before.txt" "$SUITE_RESULTS/after.txt" >"$SUITE_RESULTS/diff.txt" ||
  fail "the machine is not as before 1.0: $(head -c 3000 "$SUITE_RESULTS/diff.txt")"

note "over a read-only file of its own, with rollback"
# The read-only file is copied aside read-only, and cannot be installed over: Ignore, and the
# installation completes without it.
version 1.0 "PLAIN.TXT=plain"
install_quietly first
chmod a-w "$target/PLAIN.TXT"  # Wine's read-only attribute
version 1.1 "PLAIN.TXT=newer" "Rollback=1"
printf '[Destination]\r\nDirectory=C:\\UPGRADE\r\n[Replace]\r\nSETUP.EXE=Yes\r\nSETUP.INF=Yes\r\nPLAIN.TXT=Yes\r\n' \
  >"$DRIVE_DIR/ANSWERS.INI"
LAUNCH_OUT=$SUITE_RESULTS/install-read-only.out
start_launch --watch-windows "$WIN_DIR\\SETUP.EXE" "/ANSWERS=$WIN_DIR\\ANSWERS.INI" "/LOG=$WIN_DIR\\read-only.log"
click_away "$(wait_dialog "Installation Error")" 1023  # Ignore
click_away "$(wait_dialog "End of Installation")" 1022
finish_launch
grep -q 'PLAIN.TXT: kept aside' "$DRIVE_DIR/read-only.log" || fail "PLAIN.TXT was not kept aside: $(cat "$DRIVE_DIR/read-only.log")"
[ ! -e "$target/UPGRADE.UNR.OLD" ] || fail "the completed installation left its copies aside: $(ls -l "$target/UPGRADE.UNR.OLD")"
uninstall_quietly read-only
note "passed"
