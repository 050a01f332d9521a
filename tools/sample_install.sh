# shellcheck shell=bash
# Installing the sample product under Wine, answering every question as a user who accepts
# the defaults (and declines the restart), for the demo and for its scenario test.
# Needs: the Wine environment sourced (WINEPREFIX, DISPLAY), ROBOT_EXE, SAMPLE_DISKS (the
# folders made by tools/make_sample_disks.sh).

SAMPLE_DIR=$WINEPREFIX/drive_c/SAMPLE
SAMPLE_TARGET=$WINEPREFIX/drive_c/BRIGHTLF

sample_robot() { wine "$ROBOT_EXE" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# Puts disk N "into the drive": the setup folder keeps the program and its script.
sample_insert_disk() {
  find "$SAMPLE_DIR" -mindepth 1 -maxdepth 1 ! -name SETUP.EXE ! -name SETUP.INF -exec rm -rf {} +
  cp -r "$SAMPLE_DISKS/DISK$1"/. "$SAMPLE_DIR/"
}

sample_caption() { sample_robot texts "$1" | sed -n 's/^window .* caption "\(.*\)"$/\1/p'; }

# Runs the installation; with a folder, saves a numbered screenshot of every dialog in it.
# SAMPLE_EXIT gets the installer's exit code.
sample_install() {
  local shots=${1:-} shot=1 launcher hwnd caption seen="" text disk
  rm -rf "$SAMPLE_DIR" "$SAMPLE_TARGET"
  mkdir -p "$SAMPLE_DIR"
  cp "$SAMPLE_DISKS/DISK1/SETUP.EXE" "$SAMPLE_DISKS/DISK1/SETUP.INF" "$SAMPLE_DIR/"
  sample_insert_disk 1
  wine "$ROBOT_EXE" launch --timeout 180000 'C:\SAMPLE\SETUP.EXE' </dev/null >"${SAMPLE_LOG:-/dev/null}" 2>&1 &
  launcher=$!
  while kill -0 "$launcher" 2>/dev/null; do
    hwnd=$(sample_robot wait-window --timeout 1000 '#32770' '*') || continue
    caption=$(sample_caption "$hwnd")
    [ -n "$caption" ] || continue
    if [[ " $seen " != *" $hwnd:$caption "* ]]; then
      seen="$seen $hwnd:$caption"
      if [ -n "$shots" ]; then
        sleep 0.3  # what a user sees: the windows below have repainted
        import -display "$DISPLAY" -window root "$(printf '%s/%02d-%s.png' "$shots" "$shot" "$(tr 'A-Z .' 'a-z--' <<<"$caption")")"
        shot=$((shot + 1))
      fi
      echo "sample: \"$caption\""
    fi
    case $caption in
      "Brightleaf 2.1")  # the copy itself: nothing to answer
        sleep 0.2 ;;
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
        fi
        sample_robot wait-gone --timeout 5000 "$hwnd" >/dev/null || true ;;
    esac
  done
  SAMPLE_EXIT=0
  wait "$launcher" || SAMPLE_EXIT=$?
}

# What the installation left on the machine.
sample_report() {
  local programs
  echo "== files =="
  (cd "$WINEPREFIX/drive_c" && find BRIGHTLF windows/BRIGHTLF.INI windows/system32/LEAFSPL.DLL -type f -printf '  C:/%p  %s bytes\n' 2>/dev/null | sort)
  echo "== INI entries =="
  sed 's/^/  BRIGHT.INI  /' "$SAMPLE_TARGET/BRIGHT.INI" | tr -d '\r'
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
