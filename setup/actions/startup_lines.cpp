#include "startup_lines.h"

#include "../script/text.h"

namespace setup {

std::string ProgramName(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.size() > 4 && EqualNoCase(name.substr(name.size() - 4), ".EXE")) name.remove_suffix(4);
    return std::string(name);
}

bool FindProgramInLine(bool remove, std::string& line, const std::string& name) {
    std::size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    if (first == line.size() || name.empty()) return false;

    std::size_t wordStart = first;
    std::string word;
    for (std::size_t at = first; at <= line.size(); ++at) {
        const char c = at < line.size() ? line[at] : '\0';
        if (c != '\0' && !IsBlank(c)) {
            word += c;
            continue;
        }
        if (word.empty()) continue;
        if (EqualNoCase(ProgramName(word), name)) {
            if (remove) line.erase(wordStart, (c == '\0' ? at : at + 1) - wordStart);
            return true;
        }
        word.clear();
        wordStart = at + 1;
    }
    return false;
}

bool AppendProgram(std::string& line, const std::string& program) {
    if (line.size() + 1 + program.size() > kStartupLineSize - 1) return false;
    line += ' ';
    line += program;
    return true;
}

}  // namespace setup
