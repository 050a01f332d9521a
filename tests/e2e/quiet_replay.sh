# Record and replay. An interactive run of the sample with /RECORD and /LOG, answered
# unlike the defaults; its log holds every question, answer and change. Then, on a fresh
# Wine prefix of its own, /QUIET /ANSWERS= with that file leaves the same files (bytes), INI
# entries, registry values, win.ini lines and Start Menu shortcuts, and the installer never
# shows a window (the launcher polls for one throughout). Last, /QUIET alone installs the
# sample from its three disk folders with the defaults, and asks for the restart.
set -euo pipefail
own_env=${SUITE_RESULTS:?}.wine
wine_env=$(dirname "$0")/../wine-env
. "$(dirname "$0")/lib.sh"
# The shared prefix is left without the files that would make the sample's own scenario
# meet a replace question.
shared=$WINEPREFIX/drive_c
leave() {
  stop_launch
  "$wine_env" down "$own_env" >/dev/null 2>&1 || true
  rm -rf "$shared/LEAFNOTE" "$shared/windows/BRIGHTLF.INI" "$shared/windows/system32/LEAFSPL.DLL"
}
trap leave EXIT
root=$(cd "$(dirname "$0")/../.." && pwd)
disks=$SUITE_RESULTS/disks
"$root/tools/make_sample_disks.sh" "$SUITE_BUILD" "$disks" >/dev/null

# What the sample leaves on the machine, in a form two prefixes can be compared by.
snapshot() {
  local target=$1 drive=$WINEPREFIX/drive_c programs
  echo "== files"
  # The undo record holds the times of the files installed: it differs from run to run.
  (cd "$drive" && find "$target" windows/BRIGHTLF.INI windows/system32/LEAFSPL.DLL -type f ! -name BRIGHTLF.UNR -print0 |
    sort -z | xargs -0 sha256sum)
  echo "== win.ini"
  for entry in "Brightleaf Version" "windows Run" "windows Load"; do
    read -r section key <<<"$entry"
    echo "[$section] $key=$(robot profile win.ini "$section" "$key")"
  done
  echo "== registry"
  for value in Path Notes @; do
    echo "HKLM 2.1 $value=$(robot reg HKLM 'Software\Kestrel Works\Brightleaf\2.1' "$value")"
  done
  echo "HKCU Font=$(robot reg HKCU 'Software\Kestrel Works\Brightleaf' Font)"
  for value in DisplayName UninstallString; do
    echo "Uninstall $value=$(robot reg HKLM 'SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Brightleaf' "$value")"
  done
  echo "== Start Menu"
  programs=$(echo "$drive"/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs)
  for link in "$programs"/Brightleaf/*.lnk; do
    [ -e "$link" ] || fail "no shortcuts in the Start Menu"
    echo "$(basename "$link") -> $(strings -a "$link" | grep -m1 '^C:\\.' || true)"
  done
}

# Answers one dialog: waits for it, does each robot action ("select 1005 2") on it, and
# waits until it is gone.
answer() {
  local caption=$1 hwnd action words
  shift
  hwnd=$(wait_dialog "$caption")
  for action in "$@"; do
    read -r -a words <<<"$action"
    robot "${words[0]}" "$hwnd" "${words[@]:1}" >/dev/null || fail "$caption: robot $action"
  done
  robot wait-gone --timeout "$WAIT_MS" "$hwnd" >/dev/null || fail "$caption stayed"
}

# --- The interactive run, recorded. ---
target=LEAFNOTE
rm -rf "$WINEPREFIX/drive_c/$target" "$WINDOWS_DIR/BRIGHTLF.INI" "$SYSTEM_DIR/LEAFSPL.DLL"
robot set-profile win.ini windows Run ""
robot set-profile win.ini windows Load ""
cp "$disks/DISK1/SETUP.EXE" "$disks/DISK1/SETUP.INF" "$DRIVE_DIR/"
insert_disk "$disks/DISK1"
# The answer file and the log in a folder of their own: a disk change empties the drive.
mkdir -p "$DRIVE_DIR/OUT"
start_launch "$WIN_DIR\\SETUP.EXE" "/RECORD=$WIN_DIR\\OUT\\ANSWERS.INI" "/LOG=$WIN_DIR\\OUT\\RECORD.LOG"
answer "Brightleaf Remote" "select 1005 2" "click 1"
answer "Brightleaf Edition" "select 1005 1" "click 1"
answer "Sample Notes" "select 1005 2" "click 1"
answer "Brightleaf 2.1 Installation" "set-text 1011 C:\\$target" "click 1"
for disk in 2 3; do
  hwnd=$(wait_dialog "Insert Disk")
  expect_eq "$(control_text "$(robot texts "$hwnd")" 1012)" "Please change Disk-$((disk - 1)) to Disk-$disk" "disk prompt"
  insert_disk "$disks/DISK$disk"
  robot click "$hwnd" 1022 >/dev/null
  robot wait-gone --timeout "$WAIT_MS" "$hwnd" >/dev/null || fail "the disk prompt stayed"
done
answer "End of Installation" "click 1023"  # No: no restart now
finish_launch
expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 18" "the interactive run's exit code"
tr -d '\r' <"$DRIVE_DIR/OUT/ANSWERS.INI" >"$SUITE_RESULTS/answers.ini"
tr -d '\r' <"$DRIVE_DIR/OUT/RECORD.LOG" | cut -c 22- >"$SUITE_RESULTS/record.log"
snapshot "$target" >"$SUITE_RESULTS/interactive.txt"

# The answers, as the user saw them.
for line in "Port=COM3" "Choice=Studio" "Choice=All samples" "Directory=C:\\$target\\" "Restart=No"; do
  grep -qxF "$line" "$SUITE_RESULTS/answers.ini" || fail "the answer file lacks $line"
done
# The log: every question with the user's answer, and every change of the sample.
log=$SUITE_RESULTS/record.log
expect_eq "$(head -n 1 "$log")" \
  "start: SETUP.EXE 1.0.0.0, script $WIN_DIR\\SETUP.INF, switches /RECORD=$WIN_DIR\\OUT\\ANSWERS.INI /LOG=$WIN_DIR\\OUT\\RECORD.LOG" \
  "the log's first line"
for question in 'port "Brightleaf Remote" -> COM3 (user)' \
                'selection 1 "Brightleaf Edition" -> item 2 "Studio" (user)' \
                'selection 2 "Sample Notes" -> item 3 "All samples" (user)' \
                "destination directory -> C:\\$target\\ (user)" \
                '"Please change Disk-1 to Disk-2" -> OK (user)' '"Please change Disk-2 to Disk-3" -> OK (user)' \
                '[Restart Message]'; do
  grep -F "$question" "$log" | grep -q '^question: ' || fail "the log lacks the question $question"
done
grep -q '\[Restart Message\].* -> No (user)$' "$log" || fail "the log lacks the restart answer"
expect_eq "$(grep -c '^file .*: installed, new' "$log")" 15 \
  "files logged as installed (11 kept, 2 slides, the installer and its script for the uninstallation)"
for change in "directory C:\\$target: created" "directory C:\\$target\\NOTES: created" \
              "INI C:\\$target\\BRIGHT.INI [Edition] Name=Studio (new)" "INI WIN.INI [Brightleaf] Version=2.1" \
              "win.ini [windows] Run: \"\" -> \"  C:\\$target\\BRIGHT.EXE /tray\"" \
              "registry key HKEY_LOCAL_MACHINE\\Software\\Kestrel Works\\Brightleaf\\2.1: " \
              "registry value HKEY_CURRENT_USER\\Software\\Kestrel Works\\Brightleaf \"Font\" = \"Times\"" \
              "program manager [CreateGroup(Brightleaf)]: accepted" \
              "program manager [AddItem(C:\\$target\\BRIGHT.HLP,\"Brightleaf Help\",C:\\$target\\BRIGHT.EXE,0)]: accepted" \
              "end: completed, exit code 18"; do
  grep -qF "$change" "$log" || fail "the log lacks: $change"
done

# --- The replay, on a fresh prefix. ---
"$wine_env" up "$own_env" >/dev/null
# shellcheck source=/dev/null
. "$own_env/env.sh"
WINDOWS_DIR=$WINEPREFIX/drive_c/windows
mkdir -p "$WINEPREFIX/drive_c/SRC"
cp -r "$disks"/DISK* "$WINEPREFIX/drive_c/SRC/"
cp "$DRIVE_DIR/OUT/ANSWERS.INI" "$WINEPREFIX/drive_c/ANSWERS.INI"
LAUNCH_OUT=$SUITE_RESULTS/replay.out
start_launch --watch-windows 'C:\SRC\DISK1\SETUP.EXE' /QUIET '/ANSWERS=C:\ANSWERS.INI' '/LOG=C:\REPLAY.LOG'
finish_launch
tr -d '\r' <"$WINEPREFIX/drive_c/REPLAY.LOG" | cut -c 22- >"$SUITE_RESULTS/replay.log"
if grep -q '^visible window' "$LAUNCH_OUT"; then fail "the quiet run showed a window: $(grep '^visible window' "$LAUNCH_OUT")"; fi
expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 3010" "the replay's exit code (the restart was declined)"
snapshot "$target" >"$SUITE_RESULTS/replay.txt"
diff -u "$SUITE_RESULTS/interactive.txt" "$SUITE_RESULTS/replay.txt" || fail "the replay left another installation"
grep -qF 'selection 1 "Brightleaf Edition" -> item 2 "Studio" (answer file)' "$SUITE_RESULTS/replay.log" ||
  fail "the replay did not take the answer file's choice"
grep -qF -- '-> C:\SRC\DISK3\ (rule: beside the disk before)' "$SUITE_RESULTS/replay.log" || fail "disk 3 was not found beside disk 2"

# --- /QUIET alone: the defaults, the disks found beside each other, the restart asked for. ---
LAUNCH_OUT=$SUITE_RESULTS/defaults.out
start_launch --watch-windows 'C:\SRC\DISK1\SETUP.EXE' /QUIET
finish_launch
if grep -q '^visible window' "$LAUNCH_OUT"; then fail "the quiet run showed a window: $(grep '^visible window' "$LAUNCH_OUT")"; fi
note "/QUIET alone: $(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')"
files=$root/examples/sample/files
for f in README.TXT BRIGHT.HLP LICENSE.TXT HOME.DAT NOTES/WELCOME.TXT TEMPLATE/PLAIN.TPL; do
  expect_same_file "$files/$(basename "$f")" "$WINEPREFIX/drive_c/BRIGHTLF/$f"
done
for f in STUDIO.DAT NOTES/RECIPES.TXT TEMPLATE/OUTLINE.TPL; do
  [ ! -e "$WINEPREFIX/drive_c/BRIGHTLF/$f" ] || fail "$f is not a default choice"
done
expect_eq "$(robot profile 'C:\BRIGHTLF\BRIGHT.INI' Remote Port)" 2 "the preselected port"
expect_eq "$(tail -n 1 "$LAUNCH_OUT" | tr -d '\r')" "exit 1641" "the exit code after the restart was requested"
note "passed"
