// The command line as the system hands it over, one string: where the program's own name
// ends, and the split into arguments that C programs receive.
#pragma once

#include <string>
#include <vector>

namespace fw {

// The arguments after the program's name, as WinMain receives them: the name (quoted or
// not) and the blanks after it skipped.
const char* SkipProgramName(const char* line) noexcept;

// The line split into arguments by the rules of 32-bit Windows' C run-time libraries: blanks
// separate arguments outside quotes; a quote opens or closes a quoted part; 2n backslashes
// before a quote give n backslashes, 2n+1 give n and a literal quote; two quotes inside a
// quoted part give one quote; backslashes before anything else are kept. The program's name
// (the first argument) ends at the first blank outside quotes and takes no backslash rules.
std::vector<std::string> SplitCommandLine(const char* line);

}  // namespace fw
