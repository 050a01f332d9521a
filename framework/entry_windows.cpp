// The entry point of a windowed program: WinMain with the arguments the system's own start-up
// code gives it.
#include "command_line.h"
#include "startup.h"

#include <windows.h>

extern "C" __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
    fw::startup::RunConstructors();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    char* arguments = const_cast<char*>(fw::SkipProgramName(::GetCommandLineA()));
    fw::startup::Exit(WinMain(::GetModuleHandleA(nullptr), nullptr, arguments, show));
}
