# The installer's message dialog, shown by a probe program with the installer's own code
# and templates: captions and places of each button set, the result of each button, the
# system menu's Close, Escape, [Button Text], and the growth for a long text.
. "$(dirname "$0")/lib.sh"
: "${MESSAGE_PROBE_EXE:?}"
cp "$MESSAGE_PROBE_EXE" "$DRIVE_DIR/MSGPROBE.EXE"
PROBE="$WIN_DIR\\MSGPROBE.EXE"

# show STYLE TEXT [CAPTIONS...]: starts the probe and reads its dialog into $dialog.
show() {
  local style=$1 text=$2
  shift 2
  start_launch "$PROBE" "$style" "Probe Title" "$text" "$@"
  hwnd=$(wait_dialog "Probe Title")
  dialog=$(robot texts "$hwnd")
}

centre_x() { set -- $1; echo $((($1 + $3) / 2)); }

# Yes/No: a centred pair, the third button hidden; each button's answer.
for case in "1022 6" "1023 7"; do
  set -- $case
  show 0x24 "Do you wish to go on ?"
  [ "$(control_text "$dialog" 1022)" = Yes ] && [ "$(control_text "$dialog" 1023)" = No ] || fail "Yes/No captions"
  expect_eq "$(control_visible "$dialog" 1024)" 0 "third button of Yes/No"
  read -r l1 _ _ _ <<<"$(control_rect "$dialog" 1022)"
  read -r _ _ r2 _ <<<"$(control_rect "$dialog" 1023)"
  width=$(window_client_width "$dialog")
  [ $(((l1 + r2) / 2 - width / 2)) -ge -1 ] && [ $(((l1 + r2) / 2 - width / 2)) -le 1 ] || fail "pair not centred"
  [ "$1" = 1022 ] && screenshot yes-no >/dev/null
  robot click "$hwnd" "$1"
  finish_launch
  expect_eq "$LAUNCH_CODE" "$2" "Yes/No button $1"
done

# The system menu's Close counts as the first button; Escape is 2.
show 0x24 "Close me"
robot close "$hwnd"
finish_launch
expect_eq "$LAUNCH_CODE" 6 "Close on Yes/No"
show 0x24 "Escape me"
robot key "$hwnd" escape
finish_launch
expect_eq "$LAUNCH_CODE" 2 "Escape on Yes/No"

# One OK button with the stop icon, centred.
show 0x10 "Insufficient disk space !"
expect_eq "$(control_text "$dialog" 1022)" OK "single caption"
expect_eq "$(control_visible "$dialog" 1023)" 0 "second button of OK"
width=$(window_client_width "$dialog")
centre=$(centre_x "$(control_rect "$dialog" 1022)")
[ $((centre - width / 2)) -ge -1 ] && [ $((centre - width / 2)) -le 1 ] || fail "OK not centred"
robot click "$hwnd" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 1 "OK"

# Three buttons stay at their template places (evenly spaced) and answer 3, 4, 5.
for case in "1022 3" "1023 4" "1024 5"; do
  set -- $case
  show 0x32 "C:\\DISK1\\README.TXT can not be found !\n\nDo you want to try again ?" Retry Ignore Exit
  for id in 1022 1023 1024; do expect_eq "$(control_visible "$dialog" $id)" 1 "button $id shown"; done
  captions="$(control_text "$dialog" 1022)|$(control_text "$dialog" 1023)|$(control_text "$dialog" 1024)"
  expect_eq "$captions" "Retry|Ignore|Exit" "three captions"
  read -r a _ _ _ <<<"$(control_rect "$dialog" 1022)"
  read -r b _ _ _ <<<"$(control_rect "$dialog" 1023)"
  read -r c _ _ _ <<<"$(control_rect "$dialog" 1024)"
  # 59 dialog units apart each; converted to pixels they may differ by one.
  spacing=$(((b - a) - (c - b)))
  [ "$spacing" -ge -1 ] && [ "$spacing" -le 1 ] || fail "three buttons not evenly spaced: $a $b $c"
  [ "$1" = 1022 ] && screenshot three-buttons >/dev/null
  robot click "$hwnd" "$1"
  finish_launch
  expect_eq "$LAUNCH_CODE" "$2" "three-button answer of $1"
done

# A long text grows the dialog, which stays centred on the work area.
show 0x00 "short"
read -r _ short_top _ short_bottom <<<"$(window_rect "$dialog")"
robot click "$hwnd" 1022
finish_launch
long=""
for i in $(seq 20); do long="${long}Line $i of a long message\n"; done
show 0x00 "$long"
read -r left top right bottom <<<"$(window_rect "$dialog")"
robot click "$hwnd" 1022
finish_launch
note "short dialog $short_top..$short_bottom, long dialog $top..$bottom"
[ $((bottom - top)) -gt $((short_bottom - short_top + 200)) ] || fail "the dialog did not grow for 21 rows"
expect_eq $(((left + right) / 2)) 512 "horizontal centre"
middle=$(((top + bottom) / 2))
[ "$middle" -ge 360 ] && [ "$middle" -le 400 ] || fail "not centred vertically: $middle"

# [Button Text] "OK" changes every OK button.
printf '[Button Text]\r\nOK=Fine\r\n' >"$DRIVE_DIR/MSGPROBE.INF"
show 0x00 "Renamed"
expect_eq "$(control_text "$dialog" 1022)" Fine "[Button Text] OK"
robot click "$hwnd" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 1 "renamed OK"
note "passed"
