// Resource numbers of the installer. The numbers are part of the program's interface:
// dialog templates and icons keep them.
#pragma once

#define IDC_STATIC (-1)

#define IDI_SETUP 128
