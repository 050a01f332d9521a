#include "program_location.h"

namespace setup {

ProgramLocation LocateProgramFiles(std::string_view modulePath) {
    std::size_t slash = modulePath.rfind('\\');
    std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::string_view fileName = modulePath.substr(nameStart);
    std::size_t dot = fileName.rfind('.');
    std::string_view baseName = dot == std::string_view::npos ? fileName : fileName.substr(0, dot);

    ProgramLocation location;
    location.programDir = std::string(modulePath.substr(0, nameStart));
    location.iconDir = location.programDir;
    location.scriptPath = location.programDir + std::string(baseName) + ".INF";
    return location;
}

void AppendIconDirectory(ProgramLocation& location, std::string_view relativeDir) {
    if (relativeDir.empty()) return;
    location.iconDir += relativeDir;
    if (relativeDir.back() != '\\') location.iconDir += '\\';
}

std::string ResolveAppTitle(std::string_view apName) {
    std::string title(apName.substr(0, kAppTitleBufferSize - 1));
    return title.empty() ? std::string(kDefaultAppTitle) : title;
}

}  // namespace setup
