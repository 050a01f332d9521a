// The log of a run: the first writer of the journal. Plain text, one event per line with
// its time, each line written out as it happens, so that a run that is ended half way
// leaves a true log up to that point. It holds only what the user put on the command line
// or in the script, and what the run did with it.
#pragma once

#include "../engine/journal.h"

#include <cstdint>
#include <string>

namespace setup {

// Where the log's lines go.
class LogSink {
public:
    virtual ~LogSink() = default;
    // The local time, as "YYYY-MM-DD hh:mm:ss".
    virtual std::string Now() = 0;
    // Appends one line and hands it to the system at once.
    virtual void Write(const std::string& line) = 0;
};

class LogWriter : public JournalWriter {
public:
    explicit LogWriter(LogSink& sink) : m_sink(sink) {}

    // A line of its own: a wrong command line or answer file, the usage text.
    void Note(const std::string& text);

    void RunStarted(const std::string& program, const std::string& version, const std::string& script,
                    const std::string& switches) override;
    void Answered(const std::string& question, const std::string& answer, const Answer& how) override;
    void DirectoryMade(const std::string& path, bool created, bool failed) override;
    void FileInstalled(const InstalledFile& file) override;
    void FileSkipped(const std::string& destination, FileSkip why) override;
    void IniEntryWritten(const std::string& file, const std::string& section, const std::string& key,
                         const std::string& value, const std::optional<std::string>& replaced, IniNew created) override;
    void StartupLineWritten(const std::string& key, const std::string& before, const std::string& after) override;
    void RegistryKeyOpened(const std::string& key, bool created, bool failed, int newLevels) override;
    void RegistryValueWritten(const std::string& key, const char* name, const char* data, bool written,
                              const std::optional<std::string>& replaced) override;
    void ProgramManagerConnected(bool connected) override;
    void ProgramGroupFound(const std::string& name) override;
    void ProgramManagerCommand(const std::string& command, ProgramManager::Outcome outcome) override;
    void ProgramStarted(const std::string& commandLine, ProgramStart how) override;
    void RestartRequested(bool reboot, Restart how) override;
    void FileSavedAside(const std::string& path, const std::string& copy) override;
    void InstallationCompleted() override;
    void RollbackStarted(const std::string& why) override;
    void Undone(const std::string& what, const std::string& outcome) override;
    void RunEnded(RunEnd end, int exitCode) override;

private:
    void Line(const std::string& text);

    LogSink& m_sink;
    const char* m_undoing = "uninstall";  // the word before each step undone
};

// The version library's result bits in words ("cannot read the source, ..."); "installed"
// for 0.
std::string DescribeInstallResult(std::uint32_t bits);

// A text on one line: line breaks and tabs become blanks, runs of blanks one blank.
std::string OneLine(const std::string& text);

}  // namespace setup
