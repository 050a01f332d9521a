#include "wininit.h"

#include "../script/text.h"

namespace setup {

namespace {

std::string_view Trimmed(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t\r\n") - first + 1);
}

// Where a line goes at the end of the first [rename] section: after its last line that is not
// blank. npos when the text has no such section.
std::size_t EndOfRenameSection(const std::string& text) {
    std::size_t at = std::string::npos;
    bool inRename = false;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t newline = text.find('\n', start);
        const std::size_t end = newline == std::string::npos ? text.size() : newline + 1;
        const std::string_view line = Trimmed(std::string_view(text).substr(start, end - start));
        if (!line.empty() && line.front() == '[') {
            if (inRename) break;
            inRename = EqualNoCase(line, "[rename]");
            if (inRename) at = end;
        } else if (inRename && !line.empty()) {
            at = end;
        }
        start = end;
    }
    return at;
}

// The text up to `at`, ending with a line end.
std::string LinesUpTo(const std::string& text, std::size_t at) {
    std::string head = text.substr(0, at);
    if (!head.empty() && head.back() != '\n') head += "\r\n";
    return head;
}

}  // namespace

std::string AddRenameLine(const std::string& text, const std::string& line) {
    const std::size_t at = EndOfRenameSection(text);
    if (at == std::string::npos) return LinesUpTo(text, text.size()) + "[rename]\r\n" + line + "\r\n";
    return LinesUpTo(text, at) + line + "\r\n" + text.substr(at);
}

}  // namespace setup
