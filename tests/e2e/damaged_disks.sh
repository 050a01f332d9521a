# A damaged disk is never installed: the sample installed once, then installed again quietly
# from disks whose compressed BRIGHT.EX_ is cut in half (a copy cut short), without a
# rollback: the run stops with 1603, the log names the file and its disk, and the BRIGHT.EXE
# that was there is still there, byte for byte. Needs a machine of its own.
set -euo pipefail
. "$(dirname "$0")/own_env.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
disks=$SUITE_RESULTS/disks
"$root/tools/make_sample_disks.sh" "$SUITE_BUILD" "$disks" >/dev/null
source=$WINEPREFIX/drive_c/SRC
target=$WINEPREFIX/drive_c/BRIGHTLF

install_from() {
  LAUNCH_OUT=$SUITE_RESULTS/$1.out
  start_launch 'C:\SRC\DISK1\SETUP.EXE' /QUIET /NORESTART "/LOG=C:\\SRC\\$1.log"
  finish_launch
}

rm -rf "$source" && mkdir -p "$source" && cp -r "$disks"/DISK* "$source/"
# Without its rollback: the file there must stay by itself.
sed -i '/^Rollback=/d' "$source/DISK1/SETUP.INF"
install_from first
expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 3010" "the first installation's exit code"
cp "$target/BRIGHT.EXE" "$SUITE_RESULTS/BRIGHT.EXE"

size=$(stat -c %s "$source/DISK1/BRIGHT.EX_")
head -c $((size / 2)) "$disks/DISK1/BRIGHT.EX_" >"$source/DISK1/BRIGHT.EX_"
install_from cut
expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 1603" "the exit code with BRIGHT.EX_ cut in half"
log=$(tr -d '\r' <"$source/cut.log")
grep -qF 'file C:\SRC\DISK1\BRIGHT.EX_ -> C:\BRIGHTLF\BRIGHT.EXE: not installed: damaged: it expands to another length than its header states (on Disk 1)' <<<"$log" ||
  fail "the log does not name the damaged file and its disk: $log"
cmp -s "$target/BRIGHT.EXE" "$SUITE_RESULTS/BRIGHT.EXE" || fail "BRIGHT.EXE is not the one that was there"
ls "$target" | grep -qi '^~SETUP' && fail "the file held back was left: $(ls "$target")"
note "passed"
