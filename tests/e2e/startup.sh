# The installer's window: full screen, the painted gradient, and, for a script that names
# no product, the end at its first tick, without a word.
. "$(dirname "$0")/lib.sh"
layout_setup '[Setup System]
AP Name=E2E Startup

[Initiation]
Set DefDir=1'

# The installation ends by itself at the window's first tick: 18, the code of a run whose
# window was made (a start-up failure ends with 0), and no dialog while it runs. (When the
# tick comes is measured inside the program by the Wine tests.)
start_launch --watch-windows "$WIN_DIR\\SETUP.EXE"
finish_launch_without_dialogs
expect_eq "$LAUNCH_CODE" 18 "exit code"

# Where it is and what it shows, held at the end message of a script that names a product:
# a popup without caption or border over the whole screen, with the gradient around the
# message.
layout_setup '[Setup System]
AP Name=E2E Startup

[Initiation]
Install Name=Startup'
start_launch "$WIN_DIR\\SETUP.EXE"
message=$(wait_dialog "End of Installation")
hwnd=$(robot wait-window fwFrame 'E2E Startup') || fail "the window did not show: $hwnd"
window=$(robot texts "$hwnd")
echo "$window"
grep -q '^window fwFrame visible 1 rect 0 0 1024 768 client 1024 768 style 0x9[0-9A-F]\{7\} exstyle 0x00000000 ' \
  <<<"$window" || fail "not a full-screen popup"
shot=$(screenshot background)
read -r left _ right _ <<<"$(window_rect "$(robot texts "$message")")"
robot click "$message" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"
note "the end message spans x $left..$right"
[ "$right" -lt 1000 ] || fail "the end message covers the right edge, where the bands are read"
# Blue 255 in the first band, falling to 0: band k has trunc(255 - k * 2.65625).
expect_eq "$(pixel "$shot" 0 0)" '#0000FF' "top-left pixel"
expect_eq "$(pixel "$shot" 1023 7)" '#0000FF' "end of the first band"
expect_eq "$(pixel "$shot" 500 8)" '#0000FC' "second band"
expect_eq "$(pixel "$shot" 1010 384)" '#00007F' "middle band"
expect_eq "$(pixel "$shot" 1023 767)" '#000002' "last row"
# The message is grey and black; outside it, only blue.
expect_eq "$(convert "$shot" -fill black -draw "rectangle $left,0 $right,767" -separate -format '%[max] ' info:)" \
  '0 0 65535 ' "red, green, blue maxima beside the message"
note "passed"
