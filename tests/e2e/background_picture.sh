# A [Background] picture stretched over the whole screen in place of the gradient (and
# without the titles, which belong to the gradient).
. "$(dirname "$0")/lib.sh"
layout_setup '[Setup System]
AP Name=E2E Picture

[Initiation]
Install Name=Picture Product

[Background]
Background Bitmap=PICTURE.BMP
Product Company=Not Shown'
# A 64 x 48 picture, red at the top to yellow at the bottom, with a blue column on the left.
convert -size 64x48 gradient:red-yellow -fill blue -draw 'rectangle 0,0 3,47' -type truecolor \
  BMP3:"$DRIVE_DIR/PICTURE.BMP"

start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(wait_dialog "End of Installation")
shot=$(screenshot picture)
robot click "$hwnd" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"

expect_eq "$(pixel "$shot" 300 2)" '#FF0000' "top of the picture"
expect_eq "$(pixel "$shot" 300 765)" '#FFFF00' "bottom of the picture"
expect_eq "$(pixel "$shot" 10 400)" '#0000FF' "the blue column, 16 times wider"
expect_eq "$(pixel "$shot" 70 400)" "$(pixel "$shot" 900 400)" "one colour across a row"
expect_eq "$(count_colour "$shot" 600x200+0+0 '#FFFFFF')" 0 "no titles on a picture"
note "passed"
