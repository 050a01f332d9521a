// The entry point of a DLL: static constructors before DllMain sees the process attach,
// registered functions after it has seen the detach (or refused the attach).
#include "startup.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);

extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) fw::startup::RunConstructors();
    const BOOL result = DllMain(module, reason, reserved);
    if (reason == DLL_PROCESS_DETACH || (reason == DLL_PROCESS_ATTACH && !result)) fw::startup::RunExitFunctions();
    return result;
}
