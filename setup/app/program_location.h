// Where the installer's files are: the program directory, the setup script beside the
// program, and the directory of the animation icons.
#pragma once

#include <string>
#include <string_view>

namespace setup {

// Title of the installer when the script names none.
constexpr const char* kDefaultAppTitle = "Varnel SETUP Program";
// The title is read into a buffer of this size.
constexpr std::size_t kAppTitleBufferSize = 100;

struct ProgramLocation {
    std::string programDir;  // ends with a backslash (empty when the path has none)
    std::string scriptPath;  // programDir + base name of the program file + ".INF"
    std::string iconDir;     // programDir, extended by the script's icon directory
};

// Works out the three paths from the program file's full path.
ProgramLocation LocateProgramFiles(std::string_view modulePath);

// Appends a directory relative to the program directory (the "ICON Directory" value) to
// the icon directory, with a backslash after it unless it ends with one.
void AppendIconDirectory(ProgramLocation& location, std::string_view relativeDir);

// The application title: the "AP Name" value, or the default title when it is empty.
std::string ResolveAppTitle(std::string_view apName);

}  // namespace setup
