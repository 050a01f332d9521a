// Windows 95, 98 and ME replace and delete files at their next start from the [rename]
// section of WININIT.INI in the Windows directory: lines "DESTINATION=SOURCE", processed in
// order, with NUL as the destination of a file to delete, and short (8.3) names only. A
// section that names NUL many times is beyond the profile functions, which keep one value
// a key: the file is edited as text.
#pragma once

#include <string>

namespace setup {

// `text` (the file as it is, perhaps empty) with `line` added after the last line of its
// [rename] section, which is added at the end when there is none. What is there stays as it
// is; new line ends are CR LF.
std::string AddRenameLine(const std::string& text, const std::string& line);

}  // namespace setup
