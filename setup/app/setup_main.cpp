#include "../../framework/platform.h"
#include "setup_app.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before any window and any other DLL: the program runs with an administrator's rights.
    fw::RestrictDllSearch();
    CSetupApp app;
    return app.Main(instance);
}
