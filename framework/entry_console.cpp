// The entry point of a console program: main with the command line split into arguments.
#include "command_line.h"
#include "startup.h"

#include <windows.h>

int main(int argc, char** argv);

extern "C" __attribute__((force_align_arg_pointer)) void mainCRTStartup() {
    fw::startup::RunConstructors();
    // Live until the process ends: Exit never returns here.
    std::vector<std::string> arguments = fw::SplitCommandLine(::GetCommandLineA());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    fw::startup::Exit(main(static_cast<int>(arguments.size()), argv.data()));
}
