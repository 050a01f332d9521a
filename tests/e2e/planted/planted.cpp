// A DLL named like a system DLL, as someone could leave it beside a program: it appends to
// C:\PLANTED.LOG each time a program loads it with LoadLibrary or calls one of its functions,
// and does nothing else. A load at the program's start is not told: under Wine, the system's
// own user32 imports the version library by name, whatever the program does.
#include <windows.h>

#include <string>

namespace {

HMODULE g_self = nullptr;  // the DLL's own module, for its marks

void Mark(const char* what) {
    char self[MAX_PATH] = {}, program[MAX_PATH] = {};
    ::GetModuleFileNameA(g_self, self, sizeof self);
    ::GetModuleFileNameA(nullptr, program, sizeof program);
    const std::string line = std::string(self) + " " + what + " by " + program + "\r\n";
    HANDLE log = ::CreateFileA("C:\\PLANTED.LOG", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(log);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    g_self = module;
    // The system passes null for a load by LoadLibrary, not null for one at the start.
    if (reason == DLL_PROCESS_ATTACH && !reserved) Mark("loaded");
    return TRUE;
}

// What the loader looks for in the DLL it stands in for (each .def file exports its own).
extern "C" DWORD WINAPI PlantedVerInstallFileA(DWORD, char*, char*, char*, char*, char*, char*, UINT*) {
    Mark("VerInstallFileA called");
    return 0x10000;  // cannot read the source
}
extern "C" void WINAPI PlantedInitCommonControls() { Mark("InitCommonControls called"); }
extern "C" BOOL WINAPI PlantedInitCommonControlsEx(const void*) {
    Mark("InitCommonControlsEx called");
    return FALSE;
}
