// Resource numbers of the installer. The numbers are part of the program's interface:
// dialog templates and icons keep them.
#pragma once

#define IDC_STATIC (-1)

#define IDI_SETUP 128

// The message dialog.
#define IDD_MESSAGE 141
#define IDC_MESSAGE_ICON 1008
#define IDC_MESSAGE_TEXT 1012
#define IDC_MESSAGE_BUTTON1 1022
#define IDC_MESSAGE_BUTTON2 1023
#define IDC_MESSAGE_BUTTON3 1024
