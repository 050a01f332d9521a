# shellcheck shell=bash
# Installing the sample product under Wine, answering every question as a user who accepts
# the defaults (and declines the restart), for the demo and for its scenario test.
# Needs: the Wine environment sourced (WINEPREFIX, DISPLAY), ROBOT_EXE, SAMPLE_DISKS (the
# folders made by tools/make_sample_disks.sh).

SAMPLE_DIR=$WINEPREFIX/drive_c/SAMPLE
SAMPLE_TARGET=$WINEPREFIX/drive_c/BRIGHTLF
# The dialogs of the sample, in the order the installer shows them.
SAMPLE_DIALOGS='Brightleaf Remote|Brightleaf Edition|Sample Notes|Brightleaf 2.1 Installation|Brightleaf 2.1|Insert Disk|Insert Disk|End of Installation'

sample_robot() { wine "$ROBOT_EXE" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# Puts disk N "into the drive": the setup folder keeps the program and its script.
sample_insert_disk() {
  find "$SAMPLE_DIR" -mindepth 1 -maxdepth 1 ! -name SETUP.EXE ! -name SETUP.INF -exec rm -rf {} +
  cp -r "$SAMPLE_DISKS/DISK$1"/. "$SAMPLE_DIR/"
}

sample_caption() { sample_robot texts "$1" | sed -n 's/^window .* caption "\(.*\)"$/\1/p'; }

# Waits (within a minute) until the sample's group window is up and the screen shows the
# question's face where that window lies under it as where nothing else is.
sample_settled() {
  local rect left right bottom shot=$SAMPLE_DIR.settled.png deadline
  sample_robot wait-window --timeout 60000 ExplorerWClass Brightleaf >/dev/null || return 0
  rect=$(sample_robot texts "$1" | grep '^window ' | awk '{print $6, $8, $9}')
  read -r left right bottom <<<"$rect"
  deadline=$(( $(date +%s) + 60 ))  # a minute of the clock, however long each look takes
  while [ "$(date +%s)" -lt "$deadline" ]; do
    import -display "$DISPLAY" -window root "$shot"
    [ "$(convert "$shot" -crop "1x1+$((left + 10))+$((bottom - 12))" -depth 8 txt:- | tail -n 1 | cut -d' ' -f4)" != \
      "$(convert "$shot" -crop "1x1+$((right - 10))+$((bottom - 12))" -depth 8 txt:- | tail -n 1 | cut -d' ' -f4)" ] || break
    sleep 0.1
  done
  rm -f "$shot"
}

# Runs the installation; with a folder, saves a numbered screenshot of every dialog in it.
# SAMPLE_EXIT gets the installer's exit code, SAMPLE_SEEN the captions of its dialogs in
# order ("|" between them), SAMPLE_STUCK why the run could not be driven to its end (empty
# when it could).
sample_install() {
  local shots=${1:-} shot=1 launcher stop hwnd caption seen="" text disk copy
  SAMPLE_STUCK= SAMPLE_SEEN=
  rm -rf "$SAMPLE_DIR" "$SAMPLE_TARGET"
  mkdir -p "$SAMPLE_DIR"
  cp "$SAMPLE_DISKS/DISK1/SETUP.EXE" "$SAMPLE_DISKS/DISK1/SETUP.INF" "$SAMPLE_DIR/"
  sample_insert_disk 1
  stop="sample-$$-$RANDOM"
  wine "$ROBOT_EXE" launch --timeout 300000 --stop "$stop" 'C:\SAMPLE\SETUP.EXE' </dev/null >"${SAMPLE_LOG:-/dev/null}" 2>&1 &
  launcher=$!
  while kill -0 "$launcher" 2>/dev/null; do
    hwnd=$(sample_robot wait-window --timeout 1000 '#32770' '*') || continue
    caption=$(sample_caption "$hwnd")
    [ -n "$caption" ] || continue
    # The copy dialog stays open under the disk prompts: a quick copy shows the prompt before
    # a slow robot has seen the dialog below it.
    if [ "$caption" = "Insert Disk" ] && [[ "|$SAMPLE_SEEN|" != *"|Brightleaf 2.1|"* ]] &&
      copy=$(sample_robot wait-window --timeout 1 '#32770' 'Brightleaf 2.1'); then
      hwnd=$copy caption="Brightleaf 2.1"
    fi
    if [[ " $seen " != *" $hwnd:$caption "* ]]; then
      seen="$seen $hwnd:$caption"
      if [ -n "$shots" ]; then
        sleep 0.3  # what a user sees: the windows below have repainted
        # The last question comes with the program group's window, which the shell opens by
        # itself: shown once that window is up and the question is drawn over it again.
        [ "$caption" != "End of Installation" ] || sample_settled "$hwnd"
        import -display "$DISPLAY" -window root "$(printf '%s/%02d-%s.png' "$shots" "$shot" "$(tr 'A-Z .' 'a-z--' <<<"$caption")")"
        shot=$((shot + 1))
      fi
      echo "sample: \"$caption\""
      SAMPLE_SEEN=${SAMPLE_SEEN:+$SAMPLE_SEEN|}$caption
    fi
    # A caller's look at the last question before it is answered.
    [ "$caption" != "End of Installation" ] || [ -z "${SAMPLE_ON_LAST:-}" ] || "$SAMPLE_ON_LAST" "$hwnd"
    case $caption in
      "Brightleaf 2.1")  # the copy itself: nothing to answer; the next dialog comes in front
        sleep 0.2
        continue ;;
      "Insert Disk")
        text=$(sample_robot texts "$hwnd" | grep '^control 1012 ')
        disk=${text##*Disk-}
        disk=${disk%%\"*}
        sample_insert_disk "$disk"
        sample_robot click "$hwnd" 1022 >/dev/null ;;
      *)
        if sample_robot texts "$hwnd" | grep -q '^control 1023 Button visible 1 .*"No"$'; then
          sample_robot click "$hwnd" 1023 >/dev/null   # No: no restart now
        elif sample_robot texts "$hwnd" | grep -q '^control 1022 '; then
          sample_robot click "$hwnd" 1022 >/dev/null   # a message: its first button
        else
          sample_robot click "$hwnd" 1 >/dev/null      # a question: OK with its defaults
        fi ;;
    esac
    # Every answer ends its dialog. Until the installer has taken the click, the dialog is
    # still there and would be answered twice (a disk put in twice while it is read).
    if ! sample_robot wait-gone --timeout 60000 "$hwnd" >/dev/null; then
      SAMPLE_STUCK="the dialog \"$caption\" stayed after it was answered"
      sample_robot stop "$stop" >/dev/null || true
      break
    fi
  done
  SAMPLE_EXIT=0
  wait "$launcher" || SAMPLE_EXIT=$?
}

# Checks what sample_install did against what the sample intends with its answers: the
# dialogs, the exit code, the files byte for byte, the INI entries, registry values and
# shortcuts. Prints the first thing that is not so and returns 1; returns 0 when all is.
#   sample_check SOURCE_ROOT WIN32_BUILD_DIR
sample_check() {
  local files=$1/examples/sample/files programs=$2/examples/sample/program f entry section key value report
  sample_same() { cmp -s "$1" "$2" || { echo "${2#"$WINEPREFIX/drive_c/"} is not the sample's $(basename "$1")"; return 1; }; }
  [ -z "$SAMPLE_STUCK" ] || { echo "$SAMPLE_STUCK"; return 1; }
  [ "$SAMPLE_EXIT" = 18 ] || { echo "the installer ended with exit code $SAMPLE_EXIT, not 18"; return 1; }
  [ "$SAMPLE_SEEN" = "$SAMPLE_DIALOGS" ] || { echo "the dialogs were $SAMPLE_SEEN"; return 1; }
  # Plain and compressed files; the per-choice files of the defaults only.
  sample_same "$programs/BRIGHT.EXE" "$SAMPLE_TARGET/BRIGHT.EXE" || return 1
  sample_same "$programs/LEAFSPL.DLL" "$WINEPREFIX/drive_c/windows/system32/LEAFSPL.DLL" || return 1
  sample_same "$files/BRIGHTLF.INI" "$WINEPREFIX/drive_c/windows/BRIGHTLF.INI" || return 1
  for f in README.TXT BRIGHT.HLP LICENSE.TXT HOME.DAT NOTES/WELCOME.TXT TEMPLATE/PLAIN.TPL; do
    sample_same "$files/$(basename "$f")" "$SAMPLE_TARGET/$f" || return 1
  done
  for f in STUDIO.DAT NOTES/RECIPES.TXT TEMPLATE/OUTLINE.TPL SLIDE1.BMP NOTES/SLIDE1.BMP TEMPLATE/SLIDE2.BMP; do
    [ ! -e "$SAMPLE_TARGET/$f" ] || { echo "C:/BRIGHTLF/$f is there, but the answers leave it out"; return 1; }
  done
  # The choices and the version in the product's INI file; win.ini.
  for entry in "Remote Port 2" "Edition Name Home" "Samples Set 1" "Version Number 2.1" "Version Build 2104" \
               "Options Autosave 5" "Options Font Times"; do
    read -r section key value <<<"$entry"
    [ "$(sample_robot profile 'C:\BRIGHTLF\BRIGHT.INI' "$section" "$key")" = "$value" ] ||
      { echo "BRIGHT.INI [$section] $key is not $value"; return 1; }
  done
  for entry in "Brightleaf|Version|2.1" "windows|Run|  C:\BRIGHTLF\BRIGHT.EXE /tray"; do
    IFS='|' read -r section key value <<<"$entry"
    [ "$(sample_robot profile win.ini "$section" "$key")" = "$value" ] ||
      { echo "win.ini [$section] $key is not '$value'"; return 1; }
  done
  # Registry values and the uninstall entry.
  for entry in "HKLM|Software\Kestrel Works\Brightleaf\2.1|Path|C:\BRIGHTLF\BRIGHT.EXE" \
               "HKLM|Software\Kestrel Works\Brightleaf\2.1|Notes|C:\BRIGHTLF\NOTES" \
               "HKLM|Software\Kestrel Works\Brightleaf\2.1|@|Brightleaf 2.1" \
               "HKCU|Software\Kestrel Works\Brightleaf|Font|Times" \
               "HKLM|SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Brightleaf|DisplayName|Brightleaf 2.1" \
               "HKLM|SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Brightleaf|UninstallString|C:\BRIGHTLF\SETUP.EXE /UNINSTALL=BRIGHTLF.UNR"; do
    IFS='|' read -r f section key value <<<"$entry"
    [ "$(sample_robot reg "$f" "$section" "$key")" = "$value" ] || { echo "$f\\$section $key is not '$value'"; return 1; }
  done
  # The program group's shortcuts.
  report=$(sample_report)
  for entry in 'Brightleaf.lnk -> C:\BRIGHTLF\BRIGHT.EXE' 'Read Me.lnk -> C:\BRIGHTLF\README.TXT' \
               'Brightleaf Help.lnk -> C:\BRIGHTLF\BRIGHT.HLP'; do
    grep -qF "Programs/Brightleaf/$entry" <<<"$report" || { echo "no shortcut $entry"; return 1; }
  done
}

# Runs the command of the sample's uninstall entry as the list of programs would, in the
# program's own folder (as a double click would), answering the confirmation Yes and the end
# message OK; with a folder, saves a screenshot of each. Then waits until the uninstallation's
# helper has removed the installer's copy and C:\BRIGHTLF.
# SAMPLE_EXIT gets the exit code; prints why and returns 1 when the uninstallation did not end.
sample_uninstall() {
  local shots=${1:-} command hwnd caption launcher
  read -r -a command <<<"$(sample_robot reg HKLM 'SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Brightleaf' UninstallString)"
  [ ${#command[@]} -gt 0 ] || { echo "the sample has no uninstall entry"; return 1; }
  wine "$ROBOT_EXE" launch --timeout 300000 --dir "${command[0]%\\*}" "${command[@]}" </dev/null >/dev/null 2>&1 &
  launcher=$!
  for caption in "Uninstall" "End of Uninstall"; do
    hwnd=$(sample_robot wait-window --timeout 60000 '#32770' "$caption") || { echo "no \"$caption\" message"; return 1; }
    [ -z "$shots" ] || import -display "$DISPLAY" -window root "$shots/$(tr 'A-Z ' 'a-z-' <<<"$caption").png"
    sample_robot click "$hwnd" 1022 >/dev/null
    sample_robot wait-gone --timeout 60000 "$hwnd" >/dev/null || { echo "the \"$caption\" message stayed"; return 1; }
  done
  SAMPLE_EXIT=0
  wait "$launcher" || SAMPLE_EXIT=$?
  local deadline=$(( $(date +%s) + 60 ))  # a minute of the clock
  while [ -e "$SAMPLE_TARGET" ]; do
    [ "$(date +%s)" -lt "$deadline" ] || { echo "C:/BRIGHTLF is still there"; return 1; }
    sleep 0.05
  done
}

# Runs the installation up to the second disk's prompt and stops it there, as a user who
# changes their mind would (Cancel, and Yes to the stop question), then answers OK to the
# message that its changes were undone; with a folder, saves a screenshot of that message.
# SAMPLE_EXIT gets the exit code; prints why and returns 1 when the run did not go so.
sample_stop() {
  local shots=${1:-} launcher hwnd caption copy prompt
  rm -rf "$SAMPLE_DIR" "$SAMPLE_TARGET"
  mkdir -p "$SAMPLE_DIR"
  cp "$SAMPLE_DISKS/DISK1/SETUP.EXE" "$SAMPLE_DISKS/DISK1/SETUP.INF" "$SAMPLE_DIR/"
  sample_insert_disk 1
  wine "$ROBOT_EXE" launch --timeout 300000 'C:\SAMPLE\SETUP.EXE' </dev/null >"${SAMPLE_LOG:-/dev/null}" 2>&1 &
  launcher=$!
  sample_wait() { sample_robot wait-window --timeout 60000 '#32770' "$1" || { echo "no \"$1\" dialog" >&2; return 1; }; }
  for caption in "Brightleaf Remote" "Brightleaf Edition" "Sample Notes" "Brightleaf 2.1 Installation"; do
    hwnd=$(sample_wait "$caption") || return 1
    sample_robot click "$hwnd" 1 >/dev/null
    sample_robot wait-gone --timeout 60000 "$hwnd" >/dev/null
  done
  copy=$(sample_wait "Brightleaf 2.1") || return 1
  prompt=$(sample_wait "Insert Disk") || return 1
  sample_insert_disk 2
  # OK and the copy's Cancel together: the stop question comes after disk 2's first file.
  sample_robot click "$prompt" 1022 "$copy" 2 >/dev/null
  for caption in "Terminate Installation" "Installation Undone"; do
    hwnd=$(sample_wait "$caption") || return 1
    [ -z "$shots" ] || [ "$caption" != "Installation Undone" ] ||
      import -display "$DISPLAY" -window root "$shots/$(tr 'A-Z ' 'a-z-' <<<"$caption").png"
    sample_robot click "$hwnd" 1022 >/dev/null
    sample_robot wait-gone --timeout 60000 "$hwnd" >/dev/null
  done
  SAMPLE_EXIT=0
  wait "$launcher" || SAMPLE_EXIT=$?
}

# What the installation left on the machine.
sample_report() {
  local programs
  echo "== files =="
  # What is not there is left out: the report also tells of an installation that stopped.
  (cd "$WINEPREFIX/drive_c" && { find BRIGHTLF windows/BRIGHTLF.INI windows/system32/LEAFSPL.DLL -type f \
    -printf '  C:/%p  %s bytes\n' 2>/dev/null || true; } | sort)
  echo "== INI entries =="
  if [ -f "$SAMPLE_TARGET/BRIGHT.INI" ]; then sed 's/^/  BRIGHT.INI  /' "$SAMPLE_TARGET/BRIGHT.INI" | tr -d '\r'; fi
  echo "  win.ini [Brightleaf] Version=$(sample_robot profile win.ini Brightleaf Version)"
  echo "  win.ini [windows] Run=$(sample_robot profile win.ini windows Run)"
  echo "== registry =="
  for value in Path Notes @; do
    echo "  HKLM\\Software\\Kestrel Works\\Brightleaf\\2.1  $value = $(sample_robot reg HKLM 'Software\Kestrel Works\Brightleaf\2.1' "$value")"
  done
  echo "  HKCU\\Software\\Kestrel Works\\Brightleaf  Font = $(sample_robot reg HKCU 'Software\Kestrel Works\Brightleaf' Font)"
  for value in DisplayName UninstallString; do
    echo "  HKLM\\...\\Uninstall\\Brightleaf  $value = $(sample_robot reg HKLM 'SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Brightleaf' "$value")"
  done
  echo "== Start Menu =="
  programs=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs)
  for link in "$programs"/Brightleaf/*.lnk; do
    [ -e "$link" ] || continue
    echo "  Programs/Brightleaf/$(basename "$link") -> $(strings -a "$link" | grep -m1 '^C:\\.' || true)"
  done
}

# What the machine holds, in a form two moments can be compared by: every directory and file
# of drive C (with its size and checksum: the installed files, INI files and the groups'
# shortcuts), the whole registry (HKEY_LOCAL_MACHINE and HKEY_USERS, which hold the other
# roots: the current user, the classes, win.ini's start-up lines), win.ini and system.ini.
# Left out, each for its reason:
# - the folders the installation is run from (C:\SAMPLE, C:\SRC, C:\QUIET, C:\e2e): its
#   source, not what it installs;
# - volatile registry keys: the system's picture of this session's hardware (display
#   adapters, devices), made anew whenever it starts them and never saved. The installer
#   creates every key it writes non-volatile, so none of them is left out; the registry is
#   read as RegSaveKey saves it, which is without the volatile keys;
# - binary "DriverDateData" values: Wine writes the display driver's date anew whenever it
#   starts; an installation writes strings only;
# - the empty key Explorer\Advanced of HKEY_CURRENT_USER: Wine's explorer makes it when it
#   first opens a folder window, as it does for a program group the installation shows;
# - empty keys under HKEY_CURRENT_USER\Software\Wine\Temporary System Parameters: Wine makes
#   one the first time a program asks for a setting of that kind (the mouse's, the colours);
# - the key of win.ini's [windows] section, HKEY_CURRENT_USER\Software\Microsoft\Windows NT\
#   CurrentVersion\Windows, when it is empty: the system makes it for the first start-up
#   line written and keeps it (on Windows it is always there); the lines themselves count.
#   machine_snapshot FILE
machine_snapshot() {
  local out=$1 drive=$WINEPREFIX/drive_c root
  for root in HKLM HKU; do
    wine "$ROBOT_EXE" reg-save "$root" "$(winepath -w "$out.$root.reg" 2>/dev/null)" </dev/null >/dev/null 2>&1 ||
      { echo "machine_snapshot: the registry's $root could not be saved" >&2; return 1; }
  done
  {
    echo "== drive C"
    local skip=(\( -path ./SAMPLE -o -path ./SRC -o -path ./QUIET -o -path ./e2e \) -prune -o)
    (cd "$drive" && find . "${skip[@]}" ! -type f -printf '%y %p\n' | sort)
    (cd "$drive" && find . "${skip[@]}" -type f -print0 | sort -z | xargs -0 cksum)
    for root in HKLM HKU; do
      echo "== registry $root"
      # One key a paragraph, without the times of its last change; an empty key is its name
      # alone. The file's header is not a key.
      tr -d '\r' <"$out.$root.reg" | sed -e '/^#time=/d' -e 's/^\(\[.*\]\) [0-9]*$/\1/' |
        awk 'BEGIN { RS = ""; ORS = "\n\n" }
          !/^\[/ { next }
          { sub(/\n"DriverDateData"=hex:[^\n]*/, "") }
          !/\n/ && (/\\\\Explorer\\\\Advanced\]$/ || /\\\\Windows NT\\\\CurrentVersion\\\\Windows\]$/ ||
                     /\\\\Software\\\\Wine\\\\Temporary System Parameters\\\\/) { next }
          { print }'
      rm -f "$out.$root.reg"
    done
    echo "== win.ini"
    tr -d '\r' <"$drive/windows/win.ini"
    echo "== system.ini"
    tr -d '\r' <"$drive/windows/system.ini"
  } >"$out"
}
