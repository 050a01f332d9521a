// Resource numbers of OSTREL.EXE.
#pragma once

#define IDI_OSTREL 102
// The accelerator table the message loop loads; the resources hold none under it.
#define IDR_ACCELERATORS 101
