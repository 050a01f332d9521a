// A program for the scenarios that start one: writes its command line into ARGS.TXT
// beside itself, then waits a second (a started program usually outlives the start).
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path);
    file = file.substr(0, file.rfind('\\') + 1) + "ARGS.TXT";
    if (FILE* out = std::fopen(file.c_str(), "w")) {
        std::fputs(::GetCommandLineA(), out);
        std::fclose(out);
    }
    ::Sleep(1000);
    return 0;
}
