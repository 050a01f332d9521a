# The installer's window: full screen, the painted gradient, and, for a script that names
# no product, the end about half a second after it shows, without a word.
. "$(dirname "$0")/lib.sh"
layout_setup '[Setup System]
AP Name=E2E Startup

[Initiation]
Set DefDir=1'

# How long the window stays, watched without disturbing it.
start_launch "$WIN_DIR\\SETUP.EXE"
lifetime=$(robot lifetime fwFrame 'E2E Startup') || fail "the window did not come and go: $lifetime"
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"
note "the window was up for $lifetime ms"
[ "$lifetime" -ge 300 ] || fail "the window closed after $lifetime ms, before its 500 ms tick"
robot wait-window --timeout 500 '#32770' '*' >/dev/null && fail "a dialog showed"

# Where it is: a popup without caption or border over the whole screen.
start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(robot wait-window fwFrame 'E2E Startup') || fail "the window did not show: $hwnd"
window=$(robot texts "$hwnd") || fail "the window was gone before it could be read"
echo "$window"
grep -q '^window fwFrame visible 1 rect 0 0 1024 768 client 1024 768 style 0x9[0-9A-F]\{7\} exstyle 0x00000000 ' \
  <<<"$window" || fail "not a full-screen popup"
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"

# What it shows.
start_launch "$WIN_DIR\\SETUP.EXE"
shot=$(frozen_screenshot background fwFrame 'E2E Startup')
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"

# Blue 255 in the first band, falling to 0: band k has trunc(255 - k * 2.65625).
expect_eq "$(pixel "$shot" 0 0)" '#0000FF' "top-left pixel"
expect_eq "$(pixel "$shot" 1023 7)" '#0000FF' "end of the first band"
expect_eq "$(pixel "$shot" 500 8)" '#0000FC' "second band"
expect_eq "$(pixel "$shot" 700 384)" '#00007F' "middle band"
expect_eq "$(pixel "$shot" 1023 767)" '#000002' "last row"
expect_eq "$(convert "$shot" -separate -format '%[max] ' info:)" '0 0 65535 ' "red, green, blue maxima"
note "passed"
