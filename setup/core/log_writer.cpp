#include "log_writer.h"

#include <cstdio>

namespace setup {

namespace {

// The version library's result bits (VIF_*), in the order of their values.
constexpr const char* kResultWords[] = {
    "a temporary copy is left",      "the versions differ",           "the source is older",
    "the languages differ",          "the code pages differ",         "the file types differ",
    "the destination is read-only",  "the destination is in use",     "the disk is full",
    "access was denied",             "a sharing violation",           "the destination cannot be created",
    "the old file cannot be deleted", "the copy cannot be renamed",   "the file in use cannot be deleted",
    "out of memory",                 "the source cannot be read",     "the destination cannot be read",
    "a buffer is too small",         "the expander cannot be loaded", "the cabinet library cannot be loaded",
};

const char* OriginText(Origin origin) {
    switch (origin) {
    case Origin::kUser: return "user";
    case Origin::kAnswerFile: return "answer file";
    case Origin::kCommandLine: return "command line";
    case Origin::kRule: return "rule";
    }
    return "";
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string DescribeInstallResult(std::uint32_t bits) {
    if (bits == 0) return "installed";
    if (bits == kPathTooLong) return "not installed: the path is longer than 255 characters";
    std::string words;
    for (std::size_t bit = 0; bit < sizeof kResultWords / sizeof kResultWords[0]; ++bit)
        if (bits & (1u << bit)) words += (words.empty() ? "" : ", ") + std::string(kResultWords[bit]);
    char code[16];
    std::snprintf(code, sizeof code, "0x%lX", static_cast<unsigned long>(bits));
    return "failed: " + (words.empty() ? std::string("unknown result") : words) + " (" + code + ")";
}

std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        const char shown = c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
        if (shown == ' ' && (line.empty() || line.back() == ' ')) continue;
        line += shown;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

void LogWriter::Line(const std::string& text) { m_sink.Write(m_sink.Now() + "  " + text); }

void LogWriter::Note(const std::string& text) { Line(OneLine(text)); }

void LogWriter::RunStarted(const std::string& program, const std::string& version, const std::string& script,
                           const std::string& switches) {
    Line("start: " + program + " " + version + ", script " + script + ", switches " + (switches.empty() ? "none" : switches));
}

void LogWriter::Answered(const std::string& question, const std::string& answer, const Answer& how) {
    Line("question: " + OneLine(question) + " -> " + answer + " (" + OriginText(how.origin) +
         (how.why.empty() ? "" : ": " + how.why) + ")");
}

void LogWriter::DirectoryMade(const std::string& path, bool created, bool failed) {
    Line("directory " + path + ": " + (failed ? "cannot be created" : created ? "created" : "already there"));
}

void LogWriter::FileInstalled(const InstalledFile& file) {
    std::string text = "file " + file.source + " -> " + file.destination + ": " + DescribeInstallResult(file.result);
    if (file.result == 0) {
        text += file.replaced ? ", replacing the file that was there" : ", new";
        if (file.facts) {
            char facts[64];
            std::snprintf(facts, sizeof facts, " (%llu bytes, CRC-32 %08lX)", static_cast<unsigned long long>(file.facts->size),
                          static_cast<unsigned long>(file.facts->crc32));
            text += facts;
        }
    }
    Line(text);
}

void LogWriter::FileSkipped(const std::string& destination, FileSkip why) {
    Line("file " + destination + ": " + (why == FileSkip::kKept ? "the file there is kept" : "passed over"));
}

void LogWriter::IniEntryWritten(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& value, const std::optional<std::string>& replaced) {
    Line("INI " + file + " [" + section + "] " + key + "=" + value +
         (replaced ? " (was " + Quoted(*replaced) + ")" : " (new)"));
}

void LogWriter::StartupLineWritten(const std::string& key, const std::string& before, const std::string& after) {
    Line("win.ini [windows] " + key + ": " + Quoted(before) + " -> " + Quoted(after));
}

void LogWriter::RegistryKeyOpened(const std::string& key, bool created, bool failed) {
    Line("registry key " + key + ": " + (failed ? "cannot be opened" : created ? "created" : "already there"));
}

void LogWriter::RegistryValueWritten(const std::string& key, const char* name, const char* data, bool written) {
    Line("registry value " + key + " " + (name ? Quoted(name) : std::string("(default)")) + " = " +
         (data ? Quoted(data) : std::string("(no data)")) + (written ? "" : ": refused"));
}

void LogWriter::ProgramManagerConnected(bool connected) {
    Line(std::string("program manager: ") + (connected ? "connected" : "cannot be reached"));
}

void LogWriter::ProgramManagerCommand(const std::string& command, ProgramManager::Outcome outcome) {
    const char* words = outcome == ProgramManager::Outcome::kAccepted  ? "accepted"
                        : outcome == ProgramManager::Outcome::kRefused ? "refused"
                                                                       : "not sent (no memory for it)";
    Line("program manager " + command + ": " + words);
}

void LogWriter::ProgramStarted(const std::string& commandLine, ProgramStart how) {
    const char* words = how == ProgramStart::kStarted ? "started"
                        : how == ProgramStart::kFailed ? "cannot be started"
                                                       : "not started";
    Line("program " + commandLine + ": " + words);
}

void LogWriter::RestartRequested(bool reboot, Restart how) {
    const char* words = how == Restart::kRequested ? "requested"
                        : how == Restart::kHeldBack ? "held back (/NORESTART)"
                                                    : "refused by the system";
    Line(std::string(reboot ? "reboot: " : "restart of Windows: ") + words);
}

void LogWriter::RunEnded(RunEnd end, int exitCode) {
    const char* words = end == RunEnd::kCompleted     ? "completed"
                        : end == RunEnd::kStopped     ? "stopped before the end"
                        : end == RunEnd::kNotStarted  ? "nothing installed"
                                                      : "nothing to install: the script names no product";
    Line(std::string("end: ") + words + ", exit code " + std::to_string(exitCode));
}

}  // namespace setup
