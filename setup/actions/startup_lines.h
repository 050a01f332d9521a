// The "Load" and "Run" lines of win.ini: programs separated by blanks.
#pragma once

#include <string>
#include <string_view>

namespace setup {

// A line holds at most 511 characters (a 512-byte buffer).
constexpr std::size_t kStartupLineSize = 512;

// The program name of a path or of a word on a line: the part after the last backslash,
// less a final ".EXE" when that part is longer than four characters.
std::string ProgramName(std::string_view path);

// True when a word of the line names the program (names compare without case). In remove
// mode the first such word is cut out, with the one blank after it unless it ends the line.
bool FindProgramInLine(bool remove, std::string& line, const std::string& name);

// Adds a blank and the program to the line unless the line would then not fit its
// buffer; false (and the line untouched) when it would not.
bool AppendProgram(std::string& line, const std::string& program);

}  // namespace setup
