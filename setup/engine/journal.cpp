#include "journal.h"

namespace setup {

namespace {

template <typename Call>
void Each(JournalWriter* const (&writers)[Journal::kMostWriters], const Call& call) {
    for (JournalWriter* writer : writers)
        if (writer) call(*writer);
}

}  // namespace

void Journal::RunStarted(const std::string& program, const std::string& version, const std::string& script,
                         const std::string& switches) {
    Each(m_writers, [&](JournalWriter& w) { w.RunStarted(program, version, script, switches); });
}

void Journal::Answered(const std::string& question, const std::string& answer, const Answer& how) {
    Each(m_writers, [&](JournalWriter& w) { w.Answered(question, answer, how); });
}

void Journal::DirectoryMade(const std::string& path, bool created, bool failed) {
    Each(m_writers, [&](JournalWriter& w) { w.DirectoryMade(path, created, failed); });
}

void Journal::FileInstalled(const InstalledFile& file) {
    Each(m_writers, [&](JournalWriter& w) { w.FileInstalled(file); });
}

void Journal::FileSkipped(const std::string& destination, FileSkip why) {
    Each(m_writers, [&](JournalWriter& w) { w.FileSkipped(destination, why); });
}

void Journal::IniEntryWritten(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& value, const std::optional<std::string>& replaced, IniNew created) {
    Each(m_writers, [&](JournalWriter& w) { w.IniEntryWritten(file, section, key, value, replaced, created); });
}

void Journal::StartupLineWritten(const std::string& key, const std::string& before, const std::string& after) {
    Each(m_writers, [&](JournalWriter& w) { w.StartupLineWritten(key, before, after); });
}

void Journal::RegistryKeyOpened(const std::string& key, bool created, bool failed, int newLevels) {
    Each(m_writers, [&](JournalWriter& w) { w.RegistryKeyOpened(key, created, failed, newLevels); });
}

void Journal::RegistryValueWritten(const std::string& key, const char* name, const char* data, bool written,
                                   const std::optional<std::string>& replaced) {
    Each(m_writers, [&](JournalWriter& w) { w.RegistryValueWritten(key, name, data, written, replaced); });
}

void Journal::ProgramGroupFound(const std::string& name) {
    Each(m_writers, [&](JournalWriter& w) { w.ProgramGroupFound(name); });
}

void Journal::Undone(const std::string& what, const std::string& outcome) {
    Each(m_writers, [&](JournalWriter& w) { w.Undone(what, outcome); });
}

void Journal::ProgramManagerConnected(bool connected) {
    Each(m_writers, [&](JournalWriter& w) { w.ProgramManagerConnected(connected); });
}

void Journal::ProgramManagerCommand(const std::string& command, ProgramManager::Outcome outcome) {
    Each(m_writers, [&](JournalWriter& w) { w.ProgramManagerCommand(command, outcome); });
}

void Journal::ProgramStarted(const std::string& commandLine, ProgramStart how) {
    Each(m_writers, [&](JournalWriter& w) { w.ProgramStarted(commandLine, how); });
}

void Journal::RestartRequested(bool reboot, Restart how) {
    Each(m_writers, [&](JournalWriter& w) { w.RestartRequested(reboot, how); });
}

void Journal::FileSavedAside(const std::string& path, const std::string& copy) {
    Each(m_writers, [&](JournalWriter& w) { w.FileSavedAside(path, copy); });
}

void Journal::InstallationCompleted() {
    Each(m_writers, [&](JournalWriter& w) { w.InstallationCompleted(); });
}

void Journal::RollbackStarted(const std::string& why) {
    Each(m_writers, [&](JournalWriter& w) { w.RollbackStarted(why); });
}

void Journal::RunEnded(RunEnd end, int exitCode) {
    Each(m_writers, [&](JournalWriter& w) { w.RunEnded(end, exitCode); });
}

}  // namespace setup
