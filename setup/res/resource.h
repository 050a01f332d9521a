// Resource numbers of the installer. The numbers are part of the program's interface:
// dialog templates and icons keep them.
#pragma once

#define IDC_STATIC (-1)

// The program's version, as its version resource and its log name it.
#define SETUP_VERSION_TEXT "1.0.0.0"

#define IDI_SETUP 128

// The message dialog.
#define IDD_MESSAGE 141
#define IDC_MESSAGE_ICON 1008
#define IDC_MESSAGE_TEXT 1012
#define IDC_MESSAGE_BUTTON1 1022
#define IDC_MESSAGE_BUTTON2 1023
#define IDC_MESSAGE_BUTTON3 1024

// The destination dialog and its blinking icon.
#define IDD_SETDIR 138
#define IDI_SETDIR 139
#define IDI_SETDIR_BLINK 140
#define IDC_SETDIR_LABEL 1010
#define IDC_SETDIR_DIRECTORY 1011
#define IDC_SETDIR_TEXT 1012
#define IDC_SETDIR_ICON 1008

// The copy dialog and the frames of the icon that slides along its progress bar.
#define IDD_COPY 142
#define IDI_COPY 143
#define IDI_COPY_FRAME1 144
#define IDI_COPY_FRAME2 145
#define IDI_COPY_FRAME3 146
#define IDI_COPY_FRAME4 147
#define IDC_COPY_ICON 1008
#define IDC_COPY_PROGRESS 1016
#define IDC_COPY_FROM_LABEL 1018
#define IDC_COPY_TO_LABEL 1019
#define IDC_COPY_SOURCE 1020
#define IDC_COPY_DESTINATION 1021

// The communication-port dialog and its blinking icon.
#define IDD_COMPORT 135
#define IDI_COMPORT 136
#define IDI_COMPORT_BLINK 137

// The selection dialog.
#define IDD_SELECT 148

// Controls the choice dialogs share.
#define IDC_CHOICE_TEXT 1012
#define IDC_CHOICE_LIST 1005
#define IDC_CHOICE_ICON 1008
