// Waiting, from another process, until a window's thread has handled every message posted
// to it so far. Wine keeps one idle state per process: it is cleared whenever the thread
// wakes for a message and set again only when the thread finds its queue empty. A message
// sent to the window wakes the thread and is answered before anything posted is taken, so
// once the send has returned, the idle state comes back only after the posted messages.
#pragma once

#include "handles.h"

#include <windows.h>

namespace wine_test {

inline bool WaitUntilIdle(HWND window, DWORD timeoutMs) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    fw::KernelHandle handle(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process));
    DWORD_PTR result = 0;
    if (!handle || !::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result)) return false;
    return ::WaitForInputIdle(handle.Get(), timeoutMs) == 0;
}

}  // namespace wine_test
