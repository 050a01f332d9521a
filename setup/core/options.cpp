#include "options.h"

#include "text.h"

#include <algorithm>
#include <vector>

namespace setup {

// Short lines: a message box wraps long ones.
const char* const kUsageText =
    "Usage: SETUP [switches]\n"
    "\n"
    "/QUIET - show no window at all\n"
    "/ANSWERS=FILE - answers written by /RECORD\n"
    "/RECORD=FILE - write this run's answers to FILE\n"
    "/LOG=FILE - append a log of the run to FILE\n"
    "/DIR=PATH - install into PATH (C:\\APPS\\...)\n"
    "/NORESTART - never restart or reboot\n"
    "/? - this text\n"
    "\n"
    "Switches start with / or -, in any case;\n"
    "a value may be quoted: /LOG=\"C:\\My Logs\\S.LOG\"";

namespace {

// Paths are kept in 256-byte buffers.
constexpr std::size_t kLongestValue = 255;

struct Switch {
    const char* name;
    bool takesValue;
};

constexpr Switch kSwitches[] = {{"QUIET", false}, {"ANSWERS", true}, {"RECORD", true},   {"LOG", true},
                                {"DIR", true},    {"NORESTART", false}, {"?", false}};

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// The arguments, split at blanks outside double quotes, the quotes dropped.
std::vector<std::string> SplitArguments(std::string_view text) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsSpace(text[at])) ++at;
        if (at == text.size()) break;
        std::string word;
        bool quoted = false;
        for (; at < text.size() && (quoted || !IsSpace(text[at])); ++at) {
            if (text[at] == '"') quoted = !quoted;
            else word += text[at];
        }
        words.push_back(std::move(word));
    }
    return words;
}

// Edits (insert, delete, change one character) between two short names, without case.
std::size_t Distance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = EqualNoCase(a.substr(i - 1, 1), b.substr(j - 1, 1));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string Unknown(const std::string& word, std::string_view name) {
    std::string error = word + " is not a switch of this installer";
    for (const Switch& known : kSwitches) {
        if (name.size() > 1 && Distance(name, known.name) <= 2)
            return error + " (did you mean /" + known.name + "?)";
    }
    return error;
}

// Stores one switch; an error message when it is wrong.
std::string Apply(SetupOptions& options, const Switch& which, const std::string& value) {
    const std::string name = std::string("/") + which.name;
    if (which.takesValue && value.empty()) return name + " needs a value: " + name + "=" + (name == "/DIR" ? "PATH" : "FILE");
    if (value.size() > kLongestValue) return "the value of " + name + " is longer than 255 characters";
    bool* flag = nullptr;
    std::string* text = nullptr;
    switch (which.name[0]) {
    case 'Q': flag = &options.quiet; break;
    case 'N': flag = &options.noRestart; break;
    case '?': flag = &options.usage; break;
    case 'A': text = &options.answers; break;
    case 'R': text = &options.record; break;
    case 'L': text = &options.log; break;
    default: text = &options.directory; break;
    }
    if ((flag && *flag) || (text && !text->empty())) return name + " is given twice";
    if (flag) *flag = true;
    else *text = value;
    return std::string();
}

}  // namespace

bool SetupOptions::Any() const {
    return quiet || noRestart || usage || !answers.empty() || !record.empty() || !log.empty() || !directory.empty();
}

std::string SetupOptions::Describe() const {
    std::string text;
    auto add = [&text](const char* name, bool on, const std::string& value) {
        if (!on && value.empty()) return;
        text += (text.empty() ? "/" : " /") + std::string(name);
        if (!value.empty()) text += value.find_first_of(" \t") == std::string::npos ? "=" + value : "=\"" + value + "\"";
    };
    add("QUIET", quiet, "");
    add("ANSWERS", false, answers);
    add("RECORD", false, record);
    add("LOG", false, log);
    add("DIR", false, directory);
    add("NORESTART", noRestart, "");
    add("?", usage, "");
    return text;
}

ParsedOptions ParseCommandLine(std::string_view arguments) {
    ParsedOptions parsed;
    const std::vector<std::string> words = SplitArguments(arguments);
    // /QUIET is looked for first: it decides how every error is reported.
    bool quiet = false;
    for (const std::string& word : words)
        if (!word.empty() && (word[0] == '/' || word[0] == '-') &&
            EqualNoCase(word.substr(1, word.find('=') == std::string::npos ? std::string::npos : word.find('=') - 1), "QUIET"))
            quiet = true;

    for (const std::string& word : words) {
        if (word.empty() || (word[0] != '/' && word[0] != '-')) {
            parsed.error = "\"" + word + "\" is not a switch: switches start with / or -";
            break;
        }
        const std::size_t equals = word.find('=');
        const std::string_view name = std::string_view(word).substr(1, equals == std::string::npos ? std::string::npos : equals - 1);
        const Switch* which = nullptr;
        for (const Switch& known : kSwitches)
            if (EqualNoCase(name, known.name)) which = &known;
        if (!which) {
            parsed.error = Unknown(word.substr(0, equals), name);
            break;
        }
        if (!which->takesValue && equals != std::string::npos) {
            parsed.error = std::string("/") + which->name + " takes no value";
            break;
        }
        parsed.error = Apply(parsed.options, *which, equals == std::string::npos ? std::string() : word.substr(equals + 1));
        if (!parsed.error.empty()) break;
    }
    parsed.options.quiet = parsed.options.quiet || quiet;
    return parsed;
}

std::string_view ArgumentsOf(std::string_view commandLine) {
    std::size_t at = 0;
    while (at < commandLine.size() && IsSpace(commandLine[at])) ++at;
    bool quoted = false;
    for (; at < commandLine.size() && (quoted || !IsSpace(commandLine[at])); ++at)
        if (commandLine[at] == '"') quoted = !quoted;
    while (at < commandLine.size() && IsSpace(commandLine[at])) ++at;
    return commandLine.substr(at);
}

}  // namespace setup
