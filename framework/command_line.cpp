#include "command_line.h"

namespace fw {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The program's name: quotes only group, the name ends at a blank outside them.
const char* ProgramNameEnd(const char* at, std::string* name) {
    bool quoted = false;
    for (; *at && (quoted || !IsBlank(*at)); ++at) {
        if (*at == '"') quoted = !quoted;
        else if (name) name->push_back(*at);
    }
    return at;
}

// One argument from `at` (not a blank); returns where it ends.
const char* NextArgument(const char* at, std::string& argument) {
    bool quoted = false;
    while (*at && (quoted || !IsBlank(*at))) {
        std::size_t backslashes = 0;
        while (*at == '\\') ++backslashes, ++at;
        if (*at != '"') {
            argument.append(backslashes, '\\');
            if (*at && (quoted || !IsBlank(*at))) argument.push_back(*at++);
            continue;
        }
        argument.append(backslashes / 2, '\\');
        if (backslashes % 2) {
            argument.push_back('"');
        } else if (quoted && at[1] == '"') {
            argument.push_back('"');
            ++at;
        } else {
            quoted = !quoted;
        }
        ++at;
    }
    return at;
}

}  // namespace

const char* SkipProgramName(const char* line) noexcept {
    const char* at = ProgramNameEnd(line, nullptr);
    while (IsBlank(*at)) ++at;
    return at;
}

std::vector<std::string> SplitCommandLine(const char* line) {
    std::vector<std::string> arguments(1);
    const char* at = ProgramNameEnd(line, &arguments[0]);
    for (;;) {
        while (IsBlank(*at)) ++at;
        if (!*at) return arguments;
        arguments.emplace_back();
        at = NextArgument(at, arguments.back());
    }
}

}  // namespace fw
