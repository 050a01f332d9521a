#include "uninstall.h"

#include "../engine/setup_engine.h"
#include "../script/text.h"
#include "record_paths.h"
#include "record_seal.h"
#include "undo_record.h"

#include <map>
#include <memory>

namespace setup {

namespace {

using Kind = UndoEntry::Kind;

}  // namespace

// What is undone: the whole record (an uninstallation), or its last installation, which did
// not complete: at once after it stopped, or at a later start.
enum class Scope { kUninstall, kStopped, kPending };

// One uninstallation or rollback: the entries undone from the last to the first, the
// uninstall entry after them, then the record (or the installation's part of it) and the
// program's own copy.
class Uninstaller {
public:
    Uninstaller(SetupEngine& engine, UndoMachine& machine, Scope scope)
        : m_engine(engine), m_machine(machine), m_scope(scope) {}
    void Run(const std::string& record);

private:
    // The entries to undo, checked; empty when there is nothing to undo or they are refused.
    std::vector<UndoEntry> Read(UndoRecord& parsed);
    std::string CheckSeal(std::optional<std::string>& text);
    std::string CheckCopies(const std::vector<UndoEntry>& entries);
    void Refuse(const std::string& problem);
    bool Confirm();
    void UndoAll(const std::vector<UndoEntry>& entries);
    void LeaveRecord(const UndoRecord& parsed);
    void Report();
    void Undo(const UndoEntry& entry);
    void UndoFile(const std::vector<std::string>& f);
    void UndoSaved(const std::vector<std::string>& f);
    void UndoDirectory(const std::string& path);
    void UndoIni(const std::vector<std::string>& f);
    void UndoStartup(const std::vector<std::string>& f);
    void UndoKey(const std::vector<std::string>& f);
    void UndoValue(const std::vector<std::string>& f);
    void Send(const std::string& command);
    void Remove(const std::string& path);
    void RemoveDirectory(const std::string& path);
    void Tell(const std::string& what, const std::string& outcome) { m_engine.m_journal.Undone(what, outcome); }
    void Stay(const std::string& what, const std::string& why) {
        m_outcome.stayed.push_back(what);
        Tell(what, "stays: " + why);
    }
    void Fail(const std::string& what, const std::string& why) {
        m_outcome.failed.push_back(what + " (" + why + ")");
        Tell(what, "stays: " + why);
    }

    SetupEngine& m_engine;
    UndoMachine& m_machine;
    const Scope m_scope;
    std::string m_program, m_record;
    std::string m_text;     // the record as its seal vouches for it
    bool m_sealed = false;
    std::size_t m_start = 0;  // where the sealed installations begin
    bool m_programLeft = false;  // the running program is one of the files to remove
    bool m_scheduled = false;    // something is removed only at the next restart
    UndoOutcome m_outcome;
    std::vector<std::string> m_leftDirectories;  // not empty while the record or the program is there
    std::vector<std::string> m_newGroups;        // groups the installation made: removed whole
    std::vector<std::string> m_savedFiles;       // installed over, with their copies aside
    std::vector<std::string> m_changedFiles;     // changed since: their copies aside are not put back
    std::map<std::string, std::vector<std::string>> m_latestFacts;  // by folded path: size, time, checksum
    std::unique_ptr<ProgramManager> m_manager;
    bool m_managerAsked = false;
    std::string m_shownGroup;
};

void Uninstaller::Run(const std::string& record) {
    m_record = record;
    m_program = m_machine.ProgramPath();
    UndoRecord parsed;
    const std::vector<UndoEntry> entries = Read(parsed);
    if (entries.empty() || !Confirm()) return;
    if (m_scope == Scope::kStopped) m_engine.m_journal.RollbackStarted("the installation stopped before it completed");
    if (m_scope == Scope::kPending)
        m_engine.m_journal.RollbackStarted("the installation into " + m_engine.InstallDir() + " before this one did not complete");
    UndoAll(entries);
    LeaveRecord(parsed);
    Report();
}

std::vector<UndoEntry> Uninstaller::Read(UndoRecord& parsed) {
    std::optional<std::string> text = m_machine.ReadRecord(m_record);
    // A record changed since its installations wrote it is refused whatever it is for.
    const std::string changed = CheckSeal(text);
    if (!changed.empty()) {
        Refuse(changed);
        return {};
    }
    // A rollback looks for a record that may not be there; one that is there and damaged
    // is refused aloud, as an uninstallation refuses it.
    if (!text && m_scope != Scope::kUninstall) return {};
    parsed = text ? ReadUndoRecord(*text) : UndoRecord{{}, "it cannot be read"};
    std::vector<UndoEntry> entries;
    if (m_scope == Scope::kUninstall) {
        entries = EntriesToUndo(parsed.entries);
    } else {
        // A rollback undoes an installation that keeps one and did not complete, or nothing.
        if (parsed.error.empty() && !LastPartPending(parsed)) return {};
        for (const UndoEntry& entry : parsed.entries)
            if (entry.part == parsed.parts) entries.push_back(entry);
    }
    std::string problem = parsed.error;
    if (problem.empty() && (entries.empty() || entries[0].kind != Kind::kDestination))
        problem = "it names no installation directory";
    if (problem.empty()) {
        m_engine.SetInstallDir(WithBackslash(entries[0].fields[0]).c_str());
        // A sealed record is the installations' own; without a seal, the script that is there
        // now vouches for its own installation, the last.
        problem = CheckUndoRecord(m_engine, entries, m_record, m_sealed ? 0 : parsed.parts);
    }
    if (problem.empty()) problem = CheckCopies(entries);
    if (!problem.empty()) {
        Refuse(problem);
        return {};
    }
    if (parsed.cut) {
        m_outcome.cut = true;
        Tell("record " + m_record, "its last line was cut short as it was written and is left out");
    }
    // A file that a later installation into the record installed again is the later one's.
    for (const UndoEntry& entry : parsed.entries)
        if ((entry.kind == Kind::kFile || entry.kind == Kind::kReplaced) && entry.fields.size() == 4)
            m_latestFacts[FoldName(entry.fields[0])].assign(entry.fields.begin() + 1, entry.fields.end());
    return entries;
    Refuse(problem);
    return {};
}

void Uninstaller::Refuse(const std::string& problem) {
    Tell("record " + m_record, "refused: " + problem);
    m_engine.ReportUninstallRefused(m_record, problem);
}

// Where the record has a seal, the record must be the one sealed: all of it, or all but an
// append that a crash cut short, which is left out.
std::string Uninstaller::CheckSeal(std::optional<std::string>& text) {
    const std::optional<std::string> kept = text ? m_machine.ReadSeal(m_record) : std::nullopt;
    if (!kept) return std::string();
    const std::optional<RecordSeal> seal = ParseSeal(*kept);
    const std::optional<std::size_t> length = seal ? SealedLength(*text, *seal) : std::nullopt;
    if (!length) return "it was changed after the installation wrote it";
    m_sealed = true;
    m_start = static_cast<std::size_t>(seal->start);
    m_text = text->substr(0, *length);
    if (m_start) Tell("record " + m_record, "its first " + std::to_string(m_start) + " bytes were there before its seal and are left out");
    *text = m_text.substr(m_start);
    return std::string();
}

// A copy kept aside goes back only as it was made.
std::string Uninstaller::CheckCopies(const std::vector<UndoEntry>& entries) {
    for (const UndoEntry& entry : entries) {
        if (entry.kind != Kind::kSaved || entry.fields.size() < 3 || !m_machine.FileStamp(entry.fields[1])) continue;
        if (m_machine.FileDigest(entry.fields[1]) != entry.fields[2])
            return "line " + std::to_string(entry.line) + " names " + entry.fields[1] +
                   " as a copy kept aside, which was changed after it was made";
    }
    return std::string();
}

bool Uninstaller::Confirm() {
    switch (m_scope) {
    case Scope::kUninstall: return m_engine.ConfirmUninstall();
    case Scope::kPending: return m_engine.AskRollbackPending(m_engine.InstallDir());
    case Scope::kStopped: break;
    }
    return true;
}

void Uninstaller::UndoAll(const std::vector<UndoEntry>& entries) {
    for (const UndoEntry& entry : entries) {
        if (entry.kind == Kind::kGroup && entry.fields[1] == "new") m_newGroups.push_back(entry.fields[0]);
        if (entry.kind == Kind::kSaved) m_savedFiles.push_back(entry.fields[0]);
    }
    // The uninstall entry goes last: until then the product can be uninstalled again.
    auto isEntry = [](const UndoEntry& entry) {
        return (entry.kind == Kind::kKey || entry.kind == Kind::kValue) &&
               FoldName(entry.fields[0]).find(FoldName(kUninstallKey)) != std::string::npos;
    };
    for (int pass = 0; pass < 2; ++pass)
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
            if (isEntry(*entry) == (pass == 1)) Undo(*entry);
    m_manager.reset();
}

// The record goes whole after an uninstallation; a rollback keeps what earlier installations
// wrote into it. Then the folder of the copies aside, and the directories that held them.
void Uninstaller::LeaveRecord(const UndoRecord& parsed) {
    if (m_scope == Scope::kUninstall || parsed.lastPartOffset == 0) {
        Remove(m_record);
        if (m_sealed && !m_machine.FileStamp(m_record)) m_machine.WriteSeal(m_record, std::string());
    } else if (m_machine.CutRecord(m_record, m_start + parsed.lastPartOffset)) {
        Tell(m_record, "the installation's part removed");
        if (m_sealed)
            m_machine.WriteSeal(m_record,
                                SealText(SealOf(std::string_view(m_text).substr(0, m_start + parsed.lastPartOffset), m_start)));
    }
    // A copy made before the run was ended, with no line of its own yet, or left behind by a
    // completion cut short, goes with the installation: the folder is the installer's own.
    if (m_scope == Scope::kUninstall)
        for (const std::string& copy : m_machine.FilesIn(AsideFolderOf(m_record))) Remove(copy);
    m_machine.RemoveEmptyDirectory(AsideFolderOf(m_record));
    std::vector<std::string> helperDirectories;
    for (const std::string& directory : m_leftDirectories) {
        if (m_programLeft && Holds(directory, FolderOf(m_program))) helperDirectories.push_back(directory);
        else RemoveDirectory(directory);
    }
    if (m_programLeft) {
        m_machine.RemoveAfterExit(m_program, helperDirectories);
        Tell(m_program, "removed once the uninstallation has ended");
    }
}

void Uninstaller::Report() {
    if (m_scope == Scope::kUninstall) {
        m_engine.m_runEnd = RunEnd::kCompleted;
        m_engine.ReportUninstalled(m_outcome);
    } else {
        m_engine.ReportRolledBack(m_outcome);
    }
    if (!m_scheduled) return;
    m_engine.m_restartNeeded = true;
    // An installation that goes on after the rollback asks for its own restart at its end.
    if (m_scope == Scope::kPending) return;
    if (m_engine.AskUninstallRestart() && !m_engine.RestartSystem(0)) m_engine.ReportRestartFailure();
}

void Uninstaller::Undo(const UndoEntry& entry) {
    const std::vector<std::string>& f = entry.fields;
    switch (entry.kind) {
    case Kind::kDirectory: UndoDirectory(f[0]); break;
    case Kind::kFile: UndoFile(f); break;
    case Kind::kSaved: UndoSaved(f); break;
    case Kind::kIni: UndoIni(f); break;
    case Kind::kStartup: UndoStartup(f); break;
    case Kind::kKey: UndoKey(f); break;
    case Kind::kValue: UndoValue(f); break;
    case Kind::kGroup:
        if (f[1] == "new") Send("[DeleteGroup(" + f[0] + ")]");
        break;
    case Kind::kItem:
        // A group the installation made goes whole; from one that was there, only its items.
        if (OneOf(f[0], m_newGroups)) break;
        if (!EqualNoCase(m_shownGroup, f[0])) Send("[ShowGroup(" + f[0] + ",1)]");
        m_shownGroup = f[0];
        Send("[DeleteItem(\"" + f[1] + "\")]");
        break;
    default: break;  // destinations, and files that replaced others: nothing to undo
    }
}

void Uninstaller::UndoFile(const std::vector<std::string>& f) {
    const std::string& path = f[0];
    if (EqualNoCase(path, m_program)) {
        m_programLeft = true;
        return;
    }
    const std::optional<FileFacts> stamp = m_machine.FileStamp(path);
    if (!stamp) return;  // gone already (a slide, or removed by the user)
    const auto latest = m_latestFacts.find(FoldName(path));
    const std::vector<std::string> expected = latest == m_latestFacts.end() ? std::vector<std::string>(f.begin() + 1, f.end())
                                                                             : latest->second;
    // The content decides: times move with daylight saving on FAT drives, with copies and
    // with virus scanners. A file in use cannot be read: then its time decides too.
    bool same = stamp->size == Number(expected[0], 16);
    if (same) {
        const std::optional<FileFacts> facts = m_engine.GetFileFacts(path);
        same = facts ? facts->crc32 == Number(expected[2], 16) : stamp->writeTime == Number(expected[1], 16);
    }
    if (!same) {
        m_changedFiles.push_back(path);
        return Stay(path, "changed since the installation");
    }
    // A file installed over another is not removed: its copy aside takes its place.
    if (!OneOf(path, m_savedFiles)) Remove(path);
}

void Uninstaller::UndoSaved(const std::vector<std::string>& f) {
    const std::string &path = f[0], &copy = f[1];
    if (!m_machine.FileStamp(copy)) return Fail(path, "its copy kept aside, " + copy + ", is missing");
    // The file changed since stays, and so does the copy: it is the only one left of the
    // file as it was before the installation.
    if (OneOf(path, m_changedFiles)) return Tell(copy, "kept: " + path + " changed since stays");
    switch (m_machine.RestoreFile(copy, path)) {
    case UndoMachine::Removal::kRemoved: return Tell(path, "put back as it was before the installation");
    case UndoMachine::Removal::kInUse:
        m_scheduled = true;
        return Tell(path, "in use: put back at the next restart");
    case UndoMachine::Removal::kFailed: return Stay(path, "cannot be put back; it is kept as " + copy);
    }
}

void Uninstaller::Remove(const std::string& path) {
    const UndoMachine::Removal removal = m_machine.RemoveFile(path);
    if (removal == UndoMachine::Removal::kRemoved) return Tell(path, "removed");
    if (removal == UndoMachine::Removal::kInUse && m_machine.RemoveAtRestart(path)) {
        m_scheduled = true;
        return Tell(path, "in use: removed at the next restart");
    }
    // Not for being in use: a restart would not remove it either.
    Fail(path, removal == UndoMachine::Removal::kInUse ? "in use" : m_machine.LastFailure());
}

void Uninstaller::UndoDirectory(const std::string& path) {
    if (m_machine.RemoveEmptyDirectory(path)) return Tell(path, "removed");
    if (Holds(path, FolderOf(m_program)) || Holds(path, FolderOf(m_record))) return m_leftDirectories.push_back(path);
    RemoveDirectory(path);
}

void Uninstaller::RemoveDirectory(const std::string& path) {
    if (m_machine.RemoveEmptyDirectory(path)) return Tell(path, "removed");
    // Emptied at the restart, it goes then.
    if (m_scheduled && m_machine.RemoveAtRestart(path)) return Tell(path, "removed at the next restart if empty");
    Tell(path, "stays: not empty");
}

void Uninstaller::UndoIni(const std::vector<std::string>& f) {
    const char *file = f[0].c_str(), *section = f[1].c_str(), *key = f[2].c_str();
    const std::string what = f[0] + " [" + f[1] + "] " + f[2];
    const std::optional<std::string> now = m_engine.ReadProfileValue(section, key, file);
    if (!now) return;
    if (*now != f[3]) return Stay(what, "changed since the installation");
    if (f[4] == "value") m_engine.WriteProfileValue(section, key, f[5].c_str(), file);
    else m_machine.DeleteProfileEntry(section, key, file);
    Tell(what, f[4] == "value" ? "set back" : "removed");
    if ((f[4] == "section" || f[4] == "file") && m_machine.ProfileSectionEmpty(section, file))
        m_machine.DeleteProfileEntry(section, nullptr, file);
    if (f[4] == "file" && m_machine.ProfileFileEmpty(file)) Remove(f[0]);
}

void Uninstaller::UndoStartup(const std::vector<std::string>& f) {
    const std::string& before = f[1];
    const std::string& after = f[2];
    std::string kept = before;
    kept.erase(kept.find_last_not_of(' ') + 1);
    // Only what the installation appended is taken off; an earlier version's program that
    // it removed is not put back.
    if (after.size() <= kept.size() || after.compare(0, kept.size(), kept) != 0) return;
    std::string line = m_engine.GetProfileLine(f[0].c_str());
    if (line == after) {
        line = before;
    } else {
        const std::string appended = after.substr(kept.size());
        const std::size_t at = line.rfind(appended);
        if (at == std::string::npos) return;
        line.erase(at, appended.size());
    }
    if (line.find_first_not_of(' ') == std::string::npos) m_machine.DeleteProfileEntry("windows", f[0].c_str(), "win.ini");
    else m_engine.WriteProfileLine(f[0].c_str(), line);
    Tell("win.ini [windows] " + f[0], "\"" + line + "\"");
}

void Uninstaller::UndoKey(const std::vector<std::string>& f) {
    const std::size_t slash = f[0].find('\\');
    const std::optional<RegistryRoot> root = RegistryRootByName(f[0].substr(0, slash));
    std::string subKey = f[0].substr(slash + 1);
    for (std::uint64_t level = Number(f[1], 10); root && level > 0; --level) {
        if (!m_machine.DeleteEmptyRegistryKey(*root, subKey)) return;
        Tell("registry key " + f[0].substr(0, slash + 1) + subKey, "removed");
        subKey.resize(subKey.rfind('\\') == std::string::npos ? 0 : subKey.rfind('\\'));
    }
}

void Uninstaller::UndoValue(const std::vector<std::string>& f) {
    const std::size_t slash = f[0].find('\\');
    const std::optional<RegistryRoot> root = RegistryRootByName(f[0].substr(0, slash));
    const std::string subKey = f[0].substr(slash + 1);
    if (!root || !m_engine.RegistryKeyExists(*root, subKey)) return;
    const std::unique_ptr<RegistryKey> key = m_engine.OpenRegistryKey(*root, subKey, nullptr);
    const char* name = f[1].empty() ? nullptr : f[1].c_str();
    const std::optional<std::string> now = key ? key->GetString(name) : std::nullopt;
    if (!now) return;
    const std::string what = "registry value " + f[0] + " " + (name ? f[1] : "(default)");
    if (*now != f[2]) return Stay(what, "changed since the installation");
    if (f[3] == "other") return Stay(what, "the value it replaced was no text");
    const bool done = f[3] == "was" ? key->SetString(name, f[4].c_str()) : key->DeleteValue(name);
    Tell(what, done ? "undone" : "cannot be changed");
}

void Uninstaller::Send(const std::string& command) {
    if (!m_managerAsked) m_manager = m_engine.ConnectProgramManager();
    m_managerAsked = true;
    if (!m_manager) return Stay("program manager " + command, "the program manager cannot be reached");
    const ProgramManager::Outcome outcome = m_manager->Execute(command);
    Tell("program manager " + command, outcome == ProgramManager::Outcome::kAccepted ? "accepted" : "refused");
}

void SetupEngine::RunUninstall(UndoMachine& machine, const std::string& recordPath) {
    m_restartNeeded = false;
    m_restartStarted = false;
    m_runEnd = RunEnd::kStopped;
    ReadInitiation();
    Uninstaller(*this, machine, Scope::kUninstall).Run(recordPath);
}

void SetupEngine::RollBack(UndoMachine& machine, const std::string& recordPath, bool pending) {
    const std::string installDir = m_installDir;
    Uninstaller(*this, machine, pending ? Scope::kPending : Scope::kStopped).Run(recordPath);
    // The installation that goes on keeps the directory it was given.
    m_installDir = installDir;
}

}  // namespace setup
