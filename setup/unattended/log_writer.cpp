#include "log_writer.h"

#include "../script/text.h"

namespace setup {

namespace {

// The version library's result bits (VIF_*), in the order of their values.
constexpr const char* kResultWords[] = {
    "temporary copy left",       "versions differ",        "source older",           "languages differ",
    "code pages differ",         "file types differ",      "read-only destination",  "destination in use",
    "disk full",                 "access denied",          "sharing violation",      "cannot create the destination",
    "cannot delete the old file", "cannot rename the copy", "cannot delete the file in use", "out of memory",
    "cannot read the source",    "cannot read the destination", "buffer too small",  "cannot load the expander",
    "cannot load the cabinet library",
};

}  // namespace

std::string DescribeInstallResult(std::uint32_t bits) {
    if (bits == 0) return "installed";
    if (bits == kPathTooLong) return "not installed: the path is longer than 255 characters";
    if (bits == kCutShort) return "not installed: damaged: it expands to another length than its header states";
    if (bits == kDamaged) return "not installed: damaged: its size or CRC-32 is not the one [Checksums] lists";
    std::string words;
    for (std::size_t bit = 0; bit < sizeof kResultWords / sizeof kResultWords[0]; ++bit)
        if (bits & (1u << bit)) words += (words.empty() ? "" : ", ") + std::string(kResultWords[bit]);
    return Format("failed: %s (0x%lX)", words.empty() ? "unknown result" : words.c_str(), static_cast<unsigned long>(bits));
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
    Line(Format("start: %s %s, script %s, switches %s", program.c_str(), version.c_str(), script.c_str(),
                switches.empty() ? "none" : switches.c_str()));
}

void LogWriter::Answered(const std::string& question, const std::string& answer, const Answer& how) {
    static const char* const kOrigins[] = {"user", "answer file", "command line", "rule"};
    Line(Format("question: %s -> %s (%s%s%s)", OneLine(question).c_str(), answer.c_str(),
                kOrigins[static_cast<int>(how.origin)], *how.why ? ": " : "", how.why));
}

void LogWriter::DirectoryMade(const std::string& path, bool created, bool failed) {
    Line(Format("directory %s: %s", path.c_str(), failed ? "cannot be created" : created ? "created" : "already there"));
}

void LogWriter::FileInstalled(const InstalledFile& file) {
    std::string facts;
    if (file.result == 0 && file.facts)
        facts = Format(" (%lu bytes, CRC-32 %08lX)", static_cast<unsigned long>(file.facts->size),
                       static_cast<unsigned long>(file.facts->crc32));
    const char* kind = file.result != 0     ? ""
                       : file.savedAside ? ", replacing the file that was there (kept aside)"
                       : file.replaced   ? ", replacing the file that was there"
                                         : ", new";
    // A damaged file names its disk: the user fetches another copy of that one.
    const std::string disk = (file.result == kCutShort || file.result == kDamaged) && file.disk ? Format(" (on Disk %d)", file.disk) : "";
    Line(Format("file %s -> %s: %s%s%s%s", file.source.c_str(), file.destination.c_str(),
                DescribeInstallResult(file.result).c_str(), disk.c_str(), kind, facts.c_str()));
}

void LogWriter::FileSkipped(const std::string& destination, FileSkip why) {
    Line(Format("file %s: %s", destination.c_str(), why == FileSkip::kKept ? "the file there is kept" : "passed over"));
}

void LogWriter::IniEntryWritten(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& value, const std::optional<std::string>& replaced, IniNew) {
    Line(Format("INI %s [%s] %s=%s (%s%s%s)", file.c_str(), section.c_str(), key.c_str(), value.c_str(),
                replaced ? "was \"" : "new", replaced ? replaced->c_str() : "", replaced ? "\"" : ""));
}

void LogWriter::StartupLineWritten(const std::string& key, const std::string& before, const std::string& after) {
    Line(Format("win.ini [windows] %s: \"%s\" -> \"%s\"", key.c_str(), before.c_str(), after.c_str()));
}

void LogWriter::RegistryKeyOpened(const std::string& key, bool created, bool failed, int) {
    Line(Format("registry key %s: %s", key.c_str(), failed ? "cannot be opened" : created ? "created" : "already there"));
}

void LogWriter::RegistryValueWritten(const std::string& key, const char* name, const char* data, bool written,
                                     const std::optional<std::string>&) {
    const std::string shownName = name ? Format("\"%s\"", name) : "(default)";
    const std::string shownData = data ? Format("\"%s\"", data) : "(no data)";
    Line(Format("registry value %s %s = %s%s", key.c_str(), shownName.c_str(), shownData.c_str(), written ? "" : ": refused"));
}

void LogWriter::ProgramManagerConnected(bool connected) {
    Line(Format("program manager: %s", connected ? "connected" : "cannot be reached"));
}

void LogWriter::ProgramGroupFound(const std::string& name) {
    Line("program manager: group " + name + " there already");
}

void LogWriter::ProgramManagerCommand(const std::string& command, ProgramManager::Outcome outcome) {
    static const char* const kOutcomes[] = {"accepted", "refused", "not sent (no memory for it)"};
    Line(Format("program manager %s: %s", command.c_str(), kOutcomes[static_cast<int>(outcome)]));
}

void LogWriter::ProgramStarted(const std::string& commandLine, ProgramStart how) {
    static const char* const kHow[] = {"started", "cannot be started",
                                       "not started: the answer file does not say [Execute File] Start=Yes"};
    Line(Format("program %s: %s", commandLine.c_str(), kHow[static_cast<int>(how)]));
}

void LogWriter::RestartRequested(bool reboot, Restart how) {
    static const char* const kHow[] = {"requested", "held back (/NORESTART)", "refused by the system"};
    Line(Format("%s: %s", reboot ? "reboot" : "restart of Windows", kHow[static_cast<int>(how)]));
}

void LogWriter::FileSavedAside(const std::string& path, const std::string& copy) {
    Line("file " + path + ": kept aside as " + copy + " for a rollback");
}

void LogWriter::InstallationCompleted() { Line("installation complete: the copies kept aside go"); }

void LogWriter::RollbackStarted(const std::string& why) {
    m_undoing = "rollback";
    Line("rollback: " + why);
}

void LogWriter::Undone(const std::string& what, const std::string& outcome) {
    Line(std::string(m_undoing) + ": " + what + ": " + outcome);
}

void LogWriter::RunEnded(RunEnd end, int exitCode) {
    static const char* const kEnds[] = {"completed", "stopped before the end",
                                        "nothing to install: the script names no product", "nothing installed"};
    Line(Format("end: %s, exit code %d", kEnds[static_cast<int>(end)], exitCode));
}

}  // namespace setup
