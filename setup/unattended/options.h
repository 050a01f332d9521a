// The installer's command line: read once at start-up into the options of the run. Started
// without arguments, the installer runs as it always has; every switch is opt-in.
#pragma once

#include "../engine/exit_codes.h"

#include <string>
#include <string_view>

namespace setup {

struct SetupOptions {
    bool quiet = false;      // /QUIET: no window is shown, the rules answer what is not recorded
    bool noRestart = false;  // /NORESTART: never restart or reboot
    bool usage = false;      // /?: the usage text, nothing installed
    std::string answers;     // /ANSWERS=FILE
    std::string record;      // /RECORD=FILE
    std::string log;         // /LOG=FILE
    std::string directory;   // /DIR=PATH
    std::string uninstall;   // /UNINSTALL=RECORD: undo the installation the record tells of
    std::string finish;      // /FINISH=PID|FILE|DIR...: the uninstallation's helper (internal)

    // True when any switch was given: a run without any behaves exactly as before.
    bool Any() const;
};

struct ParsedOptions {
    SetupOptions options;  // what was read, also up to an error (so that /QUIET and /LOG count)
    std::string error;     // empty when the command line is right
};

// Reads the arguments (the command line without the program's name). Switches start with
// "/" or "-" and are compared without case; a value follows "=" and may be quoted (a double
// quote anywhere in an argument starts or ends a quoted part, and is dropped).
ParsedOptions ParseCommandLine(std::string_view arguments);

// The arguments of a full command line: what follows the program's name, quoted or not.
std::string_view ArgumentsOf(std::string_view commandLine);

// The usage text: every switch in one line each.
extern const char* const kUsageText;

}  // namespace setup
