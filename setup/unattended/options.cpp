#include "options.h"

#include "../script/text.h"

#include <cstring>

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
    "/UNINSTALL=RECORD - remove what an installation\n"
    "   wrote into its undo record (with /QUIET, /LOG\n"
    "   and /NORESTART only)\n"
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

// The order of SetupOptions' members that they set.
constexpr Switch kSwitches[] = {{"QUIET", false}, {"NORESTART", false}, {"?", false},     {"ANSWERS", true},
                                {"RECORD", true}, {"LOG", true},        {"DIR", true},    {"UNINSTALL", true},
                                {"FINISH", true}};
constexpr std::size_t kUninstallSwitch = 7;
constexpr std::size_t kFinishSwitch = 8;

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// The next argument from at: up to a blank outside double quotes, the quotes dropped.
bool NextWord(std::string_view text, std::size_t& at, std::string& word) {
    while (at < text.size() && IsSpace(text[at])) ++at;
    if (at == text.size()) return false;
    word.clear();
    for (bool quoted = false; at < text.size() && (quoted || !IsSpace(text[at])); ++at) {
        if (text[at] == '"') quoted = !quoted;
        else word += text[at];
    }
    return true;
}

// The switch a word names ("/LOG=X": LOG), or null; name gets the name as written.
const Switch* Named(const std::string& word, std::string& name) {
    name = word.substr(1, word.find('=') - 1);
    for (const Switch& known : kSwitches)
        if (EqualNoCase(name, known.name)) return &known;
    return nullptr;
}

// True when two names are at most two edits apart (insert, delete, change a character).
bool Close(const std::string& a, const char* b) {
    if (a.size() < 2 || a.size() > 15 || std::strlen(b) > 15) return false;
    return EditDistance(a, b) <= 2;
}

}  // namespace

bool SetupOptions::Any() const {
    return quiet || noRestart || usage || !answers.empty() || !record.empty() || !log.empty() || !directory.empty() ||
           !uninstall.empty() || !finish.empty();
}

ParsedOptions ParseCommandLine(std::string_view arguments) {
    ParsedOptions parsed;
    SetupOptions& options = parsed.options;
    std::string word, name;
    // /QUIET is looked for first: it decides how every error is reported.
    bool quiet = false;
    for (std::size_t at = 0; NextWord(arguments, at, word);)
        quiet = quiet || ((word[0] == '/' || word[0] == '-') && Named(word, name) == &kSwitches[0]);

    bool* flags[] = {&options.quiet, &options.noRestart, &options.usage};
    std::string* values[] = {&options.answers, &options.record,    &options.log,
                             &options.directory, &options.uninstall, &options.finish};
    for (std::size_t at = 0; parsed.error.empty() && NextWord(arguments, at, word);) {
        if (word.empty() || (word[0] != '/' && word[0] != '-')) {
            parsed.error = "\"" + word + "\" is not a switch: switches start with / or -";
            break;
        }
        const Switch* which = Named(word, name);
        if (!which) {
            parsed.error = "/" + name + " is not a switch of this installer";
            for (const Switch& known : kSwitches)
                if (&known != &kSwitches[kFinishSwitch] && Close(name, known.name)) parsed.error += Format(" (did you mean /%s?)", known.name);
            break;
        }
        const std::size_t index = static_cast<std::size_t>(which - kSwitches);
        const std::size_t equals = word.find('=');
        const std::string value = equals == std::string::npos ? std::string() : word.substr(equals + 1);
        const char* shown = which->name;
        if (!which->takesValue && equals != std::string::npos) parsed.error = Format("/%s takes no value", shown);
        else if (which->takesValue && value.empty())
            parsed.error = Format("/%s needs a value: /%s=%s", shown, shown, index == 6 ? "PATH" : index == kUninstallSwitch ? "RECORD" : "FILE");
        // The helper's list of paths is made by the installer itself.
        else if (value.size() > kLongestValue && index != kFinishSwitch) parsed.error = Format("the value of /%s is longer than 255 characters", shown);
        else if (index < 3 ? *flags[index] : !values[index - 3]->empty()) parsed.error = Format("/%s is given twice", shown);
        else if (index < 3) *flags[index] = true;
        else *values[index - 3] = value;
    }
    options.quiet = options.quiet || quiet;
    // An uninstallation asks nothing that an answer file, a recording or a destination
    // could answer; it takes /QUIET, /LOG and /NORESTART only, not /? nor the helper's work.
    const char* unused = !options.answers.empty() ? "ANSWERS" : !options.record.empty() ? "RECORD"
                         : !options.directory.empty() ? "DIR" : options.usage ? "?"
                         : !options.finish.empty() ? "FINISH" : nullptr;
    if (parsed.error.empty() && !options.uninstall.empty() && unused)
        parsed.error = Format("/%s is not used with /UNINSTALL", unused);
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
