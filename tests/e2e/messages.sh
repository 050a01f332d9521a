# How an installation ends: the end message with the install name, or the restart
# question when the script asks for one; the script's own texts and captions.
. "$(dirname "$0")/lib.sh"

# Nothing but a name: the end message, and 18 after OK.
layout_setup '[Setup System]
AP Name=E2E Messages

[Initiation]
Install Name=Acme Tools'
start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(wait_dialog "End of Installation")
dialog=$(robot texts "$hwnd")
echo "$dialog"
expect_eq "$(control_text "$dialog" 1012)" "Acme Tools installation is complete." "end text"
expect_eq "$(control_text "$dialog" 1022)" OK "end button"
screenshot end-message >/dev/null
robot click "$hwnd" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code after the end message"

# "Restart Windows": the restart question instead; No ends the run with nothing more.
layout_setup '[Setup System]
AP Name=E2E Messages

[Initiation]
Install Name=Acme Tools
Restart Windows=1'
start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(wait_dialog "End of Installation")
dialog=$(robot texts "$hwnd")
text=$(control_text "$dialog" 1012)
expect_eq "$text" 'Acme Tools installation complete.\n\nThe Setup program will restart Windows\nso that the Acme Tools can take effect.\n\nDo you wish to restart Windows now ?' "restart question"
screenshot restart-question >/dev/null
robot click "$hwnd" 1023
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code after No"

# The script's own end message and button caption.
layout_setup '[Setup System]
AP Name=E2E Messages

[Initiation]
Install Name=Acme Tools

[End Message]
Title=All done
Line 1=Acme Tools is ready.
Line 2=NULL
Line 3=Enjoy!

[Button Text]
OK=Close'
start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(wait_dialog "All done")
dialog=$(robot texts "$hwnd")
expect_eq "$(control_text "$dialog" 1012)" 'Acme Tools is ready.\n\nEnjoy!\n' "script text"
expect_eq "$(control_text "$dialog" 1022)" Close "script caption"
robot close "$hwnd"
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code after Close"
note "passed"
