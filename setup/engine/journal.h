// The journal of a run: every answer, and every change the installation makes to the
// machine, reported once, as it happens, with what it takes to undo it. Writers (the log)
// hear of each event; a run without writers does no extra work at all.
#pragma once

#include "answers.h"
#include "machine.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setup {

// An installed file as it was left: its size, last-write time (100-ns units since 1601,
// UTC) and the CRC-32 of its bytes.
struct FileFacts {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
    std::uint32_t crc32 = 0;
};

// An install result that means the path did not fit its buffer: the version library was
// not asked.
constexpr std::uint32_t kPathTooLong = 0xFFFFFFFFu;
// Not installed: a compressed source expanded to another length than its header states (a
// copy cut short, a damaged disk).
constexpr std::uint32_t kCutShort = 0xFFFFFFFEu;
// Not installed: its size or CRC-32 is not the one the script's [Checksums] lists.
constexpr std::uint32_t kDamaged = 0xFFFFFFFDu;

struct InstalledFile {
    std::string source;       // the file read: under its plain or its compressed name
    std::string destination;  // the file written
    std::uint32_t result = 0; // the version library's result bits; 0 installed
    bool replaced = false;    // a file was there before
    std::optional<FileFacts> facts;  // of the installed file
    bool savedAside = false;  // a copy of the file there before was kept aside, for a rollback
    int disk = 0;             // the installation disk it came from; 0 when none (the installer's own copy)
};

enum class FileSkip { kKept, kIgnored };

// What an INI write made: nothing new (the entry was there: its value was replaced), a key,
// a section, or the whole file.
enum class IniNew { kNothing, kKey, kSection, kFile };

// The value a registry value had before, when it was there but not text.
constexpr const char* kNotText = "\x01";  // No to the replace question; Ignore after a failure

enum class Restart { kRequested, kHeldBack, kRefused };

enum class ProgramStart { kStarted, kFailed, kSkipped };

// kNotStarted: the program ended before the installation began (a wrong command line or
// answer file, /?, a script that cannot be read, another installer running).
enum class RunEnd { kCompleted, kStopped, kNothingToDo, kNotStarted };

class JournalWriter {
public:
    virtual ~JournalWriter() = default;
    virtual void RunStarted(const std::string& program, const std::string& version, const std::string& script,
                            const std::string& switches) = 0;
    // question: what was asked as the user sees it; answer: the answer in the same words.
    virtual void Answered(const std::string& question, const std::string& answer, const Answer& how) = 0;
    virtual void DirectoryMade(const std::string& path, bool created, bool failed) = 0;
    virtual void FileInstalled(const InstalledFile& file) = 0;
    virtual void FileSkipped(const std::string& destination, FileSkip why) = 0;
    // replaced: the value the entry had before; none when it had none.
    virtual void IniEntryWritten(const std::string& file, const std::string& section, const std::string& key,
                                 const std::string& value, const std::optional<std::string>& replaced,
                                 IniNew created) = 0;
    // A win.ini [windows] "Load" or "Run" line, before and after.
    virtual void StartupLineWritten(const std::string& key, const std::string& before, const std::string& after) = 0;
    // newLevels: how many levels of the key's path, from its end, opening made.
    virtual void RegistryKeyOpened(const std::string& key, bool created, bool failed, int newLevels) = 0;
    // name: null for the key's default value; data: null for a value without data;
    // replaced: the value's text before (kNotText when it was no text), none when it had none.
    virtual void RegistryValueWritten(const std::string& key, const char* name, const char* data, bool written,
                                      const std::optional<std::string>& replaced) = 0;
    virtual void ProgramManagerConnected(bool connected) = 0;
    // A program group that was there before the installation asked for it.
    virtual void ProgramGroupFound(const std::string& name) = 0;
    virtual void ProgramManagerCommand(const std::string& command, ProgramManager::Outcome outcome) = 0;
    virtual void ProgramStarted(const std::string& commandLine, ProgramStart how) = 0;
    virtual void RestartRequested(bool reboot, Restart how) = 0;
    // Before a file is installed over: the file there was copied aside (kept for a rollback).
    virtual void FileSavedAside(const std::string& path, const std::string& copy) = 0;
    // Every change of an installation that can be rolled back is made: it is complete.
    virtual void InstallationCompleted() = 0;
    // An installation that did not complete is undone, and why; its steps follow as Undone.
    virtual void RollbackStarted(const std::string& why) = 0;
    // An uninstallation's (or a rollback's) step: what it was about, and what became of it.
    virtual void Undone(const std::string& what, const std::string& outcome) = 0;
    virtual void RunEnded(RunEnd end, int exitCode) = 0;
};

// The journal hands every event to each of its writers: the log, and the undo record.
class Journal : public JournalWriter {
public:
    static constexpr int kMostWriters = 2;
    // False when there are kMostWriters already.
    bool AddWriter(JournalWriter& writer) {
        if (m_count == kMostWriters) return false;
        m_writers[m_count++] = &writer;
        return true;
    }
    void RemoveWriter(JournalWriter& writer) {
        for (int i = 0; i < m_count; ++i)
            if (m_writers[i] == &writer) {
                m_writers[i] = m_writers[--m_count];
                m_writers[m_count] = nullptr;
            }
    }
    // False while no writer listens: facts that cost work (a file's checksum, the value an
    // INI entry had) are then not gathered.
    bool Active() const { return m_count != 0; }

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
    JournalWriter* m_writers[kMostWriters] = {};
    int m_count = 0;
};

// CRC-32 (the polynomial of zip files) of a block, continuing from crc (0 to start).
std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc = 0);

}  // namespace setup
