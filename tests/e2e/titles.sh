# The product titles on the painted background: white letters with a black shadow in the
# top-left corner.
. "$(dirname "$0")/lib.sh"
layout_setup '[Setup System]
AP Name=E2E Titles

[Background]
Product Company=Varnel
Product Name=Demo'

start_launch "$WIN_DIR\\SETUP.EXE"
# [Background] "Product Name" is the install name when [Initiation] has none. The end message
# holds the program while the screen is read.
hwnd=$(wait_dialog "End of Installation")
dialog=$(robot texts "$hwnd")
expect_eq "$(control_text "$dialog" 1012)" "Demo installation is complete." "end message"
shot=$(screenshot titles)
read -r left top right bottom <<<"$(window_rect "$dialog")"
robot click "$hwnd" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"
[ "$top" -ge 260 ] || fail "the end message reaches into the title area (top $top)"
white=$(count_colour "$shot" 600x200+0+0 '#FFFFFF')
black=$(count_colour "$shot" 600x200+0+0 '#000000')
note "title area: $white white and $black black pixels"
[ "$white" -gt 1000 ] || fail "no white title letters"
[ "$black" -gt 200 ] || fail "no black shadow"
# Below the titles only the gradient, around the message (whose frame has white edges).
covered=$SUITE_RESULTS/titles-without-message.png
convert "$shot" -fill black -draw "rectangle $left,$top $right,$bottom" "$covered"
expect_eq "$(count_colour "$covered" 1024x500+0+260 '#FFFFFF')" 0 "white below the titles"
note "passed"
