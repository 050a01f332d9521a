#include "setup_app.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CSetupApp app;
    return app.Main(instance);
}
