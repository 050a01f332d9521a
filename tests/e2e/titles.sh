# The product titles on the painted background: white letters with a black shadow in the
# top-left corner.
. "$(dirname "$0")/lib.sh"
layout_setup '[Setup System]
AP Name=E2E Titles

[Background]
Product Company=Varnel
Product Name=Demo'

start_launch "$WIN_DIR\\SETUP.EXE"
shot=$(frozen_screenshot titles fwFrame 'E2E Titles')
# [Background] "Product Name" is the install name when [Initiation] has none.
hwnd=$(wait_dialog "End of Installation")
expect_eq "$(control_text "$(robot texts "$hwnd")" 1012)" "Demo installation is complete." "end message"
robot click "$hwnd" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"

white=$(count_colour "$shot" 600x200+0+0 '#FFFFFF')
black=$(count_colour "$shot" 600x200+0+0 '#000000')
note "title area: $white white and $black black pixels"
[ "$white" -gt 1000 ] || fail "no white title letters"
[ "$black" -gt 200 ] || fail "no black shadow"
expect_eq "$(count_colour "$shot" 1024x500+0+260 '#FFFFFF')" 0 "white below the titles"
note "passed"
