// A program that loads the version library and the common controls by name, as programs
// usually do: started beside planted copies, it takes those. The scenario runs it to see that
// a planted DLL leaves its mark where it is taken.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using Install = DWORD(WINAPI*)(DWORD, char*, char*, char*, char*, char*, char*, UINT*);
    using Init = void(WINAPI*)();
    UINT size = 0;
    if (HMODULE version = ::LoadLibraryA("VERSION.DLL"))
        if (auto install = reinterpret_cast<Install>(reinterpret_cast<void*>(::GetProcAddress(version, "VerInstallFileA"))))
            install(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &size);
    if (HMODULE controls = ::LoadLibraryA("COMCTL32.DLL"))
        if (auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(::GetProcAddress(controls, "InitCommonControls"))))
            init();
    return 0;
}
