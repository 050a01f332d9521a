// The undo record: the journal's second writer. One line for every change an installation
// makes, appended and handed to the system as the change happens, so that a run that
// ends half way leaves a true record of what it did; and its reader, which takes a record
// whole or refuses it.
//
// A line is a kind and its fields, separated by tabs, ended by CR LF; a field's "%", tabs
// and other control characters are written as "%" and two hexadecimal digits.
#pragma once

#include "../engine/journal.h"
#include "sha256.h"

#include <string>
#include <string_view>
#include <vector>

namespace setup {

class SetupEngine;

// The first line of every record.
extern const char* const kUndoRecordHeader;
// The longest field the reader takes, and so the writer writes.
constexpr std::size_t kMostFieldLength = 1023;

struct UndoEntry {
    // kSaved: a file copied aside before it was installed over; kRollback: the installation
    // keeps copies aside and marks its completion with kDone.
    enum class Kind {
        kDestination, kDirectory, kFile, kReplaced, kIni, kStartup, kKey, kValue, kGroup, kItem,
        kSaved, kRollback, kDone
    };
    Kind kind = Kind::kFile;
    std::vector<std::string> fields;  // after the kind, as they were before escaping
    int line = 0;                     // from 1
    int part = 0;                     // the installation, from 1, that wrote it
};

struct UndoRecord {
    std::vector<UndoEntry> entries;
    std::string error;  // why the text is no record, or a damaged one; empty when it is whole
    int parts = 0;      // installations into the record
    std::size_t lastPartOffset = 0;  // where the last one begins
    // The last line, without its end: cut short as it was written (the power went). It is
    // left out; everything before it was written first and holds.
    bool cut = false;
    std::size_t wholeLength = 0;  // of the lines before a cut one
};

UndoRecord ReadUndoRecord(std::string_view text);

// True when the record's last installation can be rolled back and never completed.
bool LastPartPending(const UndoRecord& record);
// The entries as an uninstallation undoes them: an installation that completed deleted its
// copies aside, so what it installed over another file stays, as any replaced file does.
std::vector<UndoEntry> EntriesToUndo(const std::vector<UndoEntry>& entries);

// Where the record's lines go.
class RecordSink {
public:
    virtual ~RecordSink() = default;
    // Opens (or creates) the file to append to; false when it cannot be.
    virtual bool Open(const std::string& path) = 0;
    // Appends whole lines and hands them to the disk at once; false, with nothing appended,
    // when they cannot be written (the disk is full).
    virtual bool Append(const std::string& lines) = 0;
    // Lets go of the file (before a rollback cuts it).
    virtual void Close() {}
    // The record's text so far, read before it is opened; empty when it is new.
    virtual std::string Existing(const std::string&) { return std::string(); }
    // Before it is opened: keeps its first size bytes; moves it aside whole (NAME.BAD, or
    // NAME.BA1 and on when that is taken), for a new record to begin.
    virtual bool Cut(const std::string&, std::size_t) { return false; }
    virtual bool SetAside(const std::string&) { return false; }
    // Seals (record_seal.h) are kept only where the system keeps access rights.
    virtual bool KeepsSeals() const { return false; }
    // The record's seal; none when it has none.
    virtual std::optional<std::string> ReadSeal(const std::string&) { return std::nullopt; }
    virtual bool WriteSeal(const std::string&, const std::string&) { return false; }
};

// Turns the journal's changes into record lines. Until the installation directory is
// settled and the record can be made in it, the lines wait in memory.
class UndoWriter : public JournalWriter {
public:
    UndoWriter(SetupEngine& engine, RecordSink& sink) : m_engine(engine), m_sink(sink) {}

    void RunStarted(const std::string&, const std::string&, const std::string&, const std::string&) override {}
    void Answered(const std::string& question, const std::string& answer, const Answer& how) override;
    void DirectoryMade(const std::string& path, bool created, bool failed) override;
    void FileInstalled(const InstalledFile& file) override;
    void FileSkipped(const std::string&, FileSkip) override {}
    void IniEntryWritten(const std::string& file, const std::string& section, const std::string& key,
                         const std::string& value, const std::optional<std::string>& replaced,
                         IniNew created) override;
    void StartupLineWritten(const std::string& key, const std::string& before, const std::string& after) override;
    void RegistryKeyOpened(const std::string& key, bool created, bool failed, int newLevels) override;
    void RegistryValueWritten(const std::string& key, const char* name, const char* data, bool written,
                              const std::optional<std::string>& replaced) override;
    void ProgramManagerConnected(bool) override {}
    void ProgramGroupFound(const std::string& name) override;
    void ProgramManagerCommand(const std::string& command, ProgramManager::Outcome outcome) override;
    void ProgramStarted(const std::string&, ProgramStart) override {}
    void RestartRequested(bool, Restart) override {}
    void FileSavedAside(const std::string& path, const std::string& copy) override;
    void InstallationCompleted() override;
    void RollbackStarted(const std::string&) override {}
    void Undone(const std::string&, const std::string&) override {}
    void RunEnded(RunEnd, int) override { Flush(); }

    // True once this run's lines are in the record file.
    bool Opened() const { return m_open; }
    // True while lines wait that could not be written: the installation cannot go on
    // without them. Retry writes them again.
    bool Failed() const { return m_failed; }
    bool Retry() { return Flush(); }
    // Writes nothing more and lets go of the file.
    void Close();

private:
    void Add(const char* kind, std::initializer_list<std::string> fields);
    bool Flush();
    bool OpenRecord();
    std::string Continue(const std::string& existing);
    void StartSeal(const std::string& existing);

    SetupEngine& m_engine;
    RecordSink& m_sink;
    std::string m_waiting;  // lines not yet in the file
    bool m_open = false;
    bool m_closed = false;
    bool m_failed = false;
    std::string m_path;
    bool m_sealing = false;   // each append is sealed before it is written
    Sha256 m_sum;             // of the record so far
    std::uint64_t m_length = 0;
    std::uint64_t m_start = 0;  // where the sealed installations begin
    std::string m_group;    // the group the items go to
    std::vector<std::string> m_groupsThere;  // groups there before the installation made them
};

}  // namespace setup
