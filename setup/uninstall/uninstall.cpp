#include "uninstall.h"

#include "../engine/setup_engine.h"
#include "../script/text.h"
#include "undo_record.h"

namespace setup {

namespace {

using Kind = UndoEntry::Kind;

constexpr const char* kUninstallKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string WithSlash(std::string directory) {
    if (!directory.empty() && directory.back() != '\\') directory += '\\';
    return directory;
}

// A full path of the plain form "X:\name\name": no other separator, no "." or ".." part, no
// empty part inside, no second colon, no wildcard.
bool PlainPath(const std::string& path) {
    const char drive = static_cast<char>(path.empty() ? 0 : path[0] & ~0x20);
    if (path.size() < 3 || path.size() > 255 || drive < 'A' || drive > 'Z' || path[1] != ':' || path[2] != '\\')
        return false;
    for (std::size_t at = 3, end = 0; at < path.size(); at = end + 1) {
        end = path.find('\\', at);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(at, end - at);
        if (part.empty() || part == "." || part == ".." || part.find_first_of(":/*?\"<>|") != std::string::npos)
            return false;
    }
    return true;
}

// True when path lies below directory (which ends with a backslash).
bool Below(const std::string& path, const std::string& directory) {
    return path.size() > directory.size() && FoldName(path).compare(0, directory.size(), FoldName(directory)) == 0;
}

// True when directory is path or lies below it.
bool Holds(const std::string& path, const std::string& directory) {
    return EqualNoCase(WithSlash(path), WithSlash(directory)) || Below(WithSlash(directory), WithSlash(path));
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\') + 1); }

std::uint64_t Number(const std::string& digits, unsigned base) {
    std::uint64_t value = 0;
    for (char c : digits) value = value * base + static_cast<unsigned>(c <= '9' ? c - '0' : c - 'A' + 10);
    return value;
}

// The [Windows] or [System] copy list names the file, on any disk, for any choice.
bool Listed(const SetupEngine& script, const char* section, const std::string& name) {
    int header = 0;
    if (!script.FindSection(section, &header)) return false;
    for (int index = header + 1; index < script.LineCount(); ++index) {
        const std::string line = script.GetScriptLine(index);
        const std::size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && line[first] == '[') break;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string value = line.substr(equals + 1, line.find(',', equals) - equals - 1);
        value.erase(0, value.find_first_not_of(' '));
        value.erase(value.find_last_not_of(' ') + 1);
        if (EqualNoCase(value, name)) return true;
    }
    return false;
}

// The INI files the script writes: as it names them ("win.ini") and as full paths.
std::vector<std::string> ScriptIniFiles(SetupEngine& engine) {
    std::vector<std::string> files;
    std::vector<std::string> sections = {"ComPort", "Version"};
    for (int dialog = 1; engine.FindSection(NumberedKey("Dialog", dialog).c_str()); ++dialog)
        sections.push_back(NumberedKey("Dialog", dialog));
    auto add = [&](const char* section, const char* key) {
        for (int number = 1;; ++number) {
            char file[kPathBufferSize];
            if (!engine.GetScriptString(section, NumberedKey(key, number).c_str(), nullptr, file, sizeof file)) return;
            files.push_back(file);
            if (engine.ResolvePathRef(file, sizeof file, engine.InstallDir().c_str())) files.push_back(file);
        }
    };
    add("Initiation", "Write INI");
    for (const std::string& section : sections) add(section.c_str(), "File");
    return files;
}

// The registry keys the script writes: [Register] and the uninstall entry.
std::vector<std::string> ScriptRegistryKeys(const SetupEngine& script) {
    std::vector<std::string> keys;
    for (int key = 1;; ++key) {
        const std::string number = std::to_string(key);
        const std::string root = script.GetScriptValue("Register", ("Key " + number).c_str(), nullptr, kPathBufferSize);
        const std::string subKey = script.GetScriptValue("Register", ("SubKey " + number).c_str(), nullptr, kPathBufferSize);
        if (root.empty() || subKey.empty()) break;
        keys.push_back(root + "\\" + subKey);
    }
    keys.push_back(script.GetScriptValue("UnInstall", "Key", "HKEY_LOCAL_MACHINE", kPathBufferSize) + kUninstallKey +
                   script.GetScriptValue("UnInstall", "SubKey", nullptr, 50));
    return keys;
}

bool OneOf(const std::string& name, const std::vector<std::string>& names) {
    for (const std::string& known : names)
        if (EqualNoCase(name, known)) return true;
    return false;
}

bool ScriptGroup(const SetupEngine& script, const std::string& name) {
    for (int number = 1;; ++number) {
        const std::string group = script.GetScriptValue("Initiation", NumberedKey("Group", number).c_str(), nullptr,
                                                        kPathBufferSize);
        if (group.empty()) return false;
        if (EqualNoCase(group, name)) return true;
    }
}

}  // namespace

std::string CheckUndoRecord(SetupEngine& engine, const std::vector<UndoEntry>& entries, const std::string& recordPath) {
    const std::string windows = WithSlash(engine.WindowsDirectory()), system = WithSlash(engine.SystemDirectory());
    std::vector<std::string> destinations;
    for (const UndoEntry& entry : entries)
        if (entry.kind == Kind::kDestination) destinations.push_back(WithSlash(entry.fields[0]));
    auto inside = [&](const std::string& path) {
        bool below = false;
        for (const std::string& destination : destinations) below = below || Below(path, destination);
        return below && PlainPath(path);
    };
    const std::vector<std::string> iniFiles = ScriptIniFiles(engine);
    const std::vector<std::string> keys = ScriptRegistryKeys(engine);
    for (const UndoEntry& entry : entries) {
        const std::string& path = entry.fields[0];
        const bool plain = PlainPath(path);
        const std::string folder = FolderOf(path), name = path.substr(folder.size());
        bool allowed = true;
        switch (entry.kind) {
        case Kind::kDestination:
            // Never a whole drive, nor a directory that holds the system's own.
            allowed = plain && path.size() > 3 && !Holds(path, windows) && !Holds(path, system);
            break;
        case Kind::kDirectory:
            allowed = inside(path);
            for (const std::string& destination : destinations)
                allowed = allowed || (plain && path.size() > 3 && Holds(path, destination));
            break;
        case Kind::kFile:
            allowed = inside(path) || (plain && ((EqualNoCase(folder, windows) && Listed(engine, "Windows", name)) ||
                                                 (EqualNoCase(folder, system) && Listed(engine, "System", name))));
            break;
        case Kind::kIni:
            // A bare name is a file of the Windows directory that the script names so.
            allowed = folder.empty() ? OneOf(path, iniFiles) : inside(path) || (plain && OneOf(path, iniFiles));
            break;
        case Kind::kKey:
        case Kind::kValue: allowed = OneOf(path, keys); break;
        case Kind::kGroup:
        case Kind::kItem: allowed = ScriptGroup(engine, path); break;
        default: break;
        }
        if (!allowed)
            return "line " + std::to_string(entry.line) + " names " + path +
                   (entry.kind == Kind::kDestination ? " as the installation directory"
                                                     : ", which lies outside what the installation could have written");
    }
    return inside(recordPath) ? std::string() : "it does not lie in the installation directory it names";
}

// One uninstallation: the record's entries undone from the last to the first, the
// uninstall entry after them, then the record and the program's own copy.
class Uninstaller {
public:
    Uninstaller(SetupEngine& engine, UndoMachine& machine) : m_engine(engine), m_machine(machine) {}
    void Run(const std::string& record);

private:
    void Undo(const UndoEntry& entry);
    void UndoFile(const std::vector<std::string>& f);
    void UndoDirectory(const std::string& path);
    void UndoIni(const std::vector<std::string>& f);
    void UndoStartup(const std::vector<std::string>& f);
    void UndoKey(const std::vector<std::string>& f);
    void UndoValue(const std::vector<std::string>& f);
    void Send(const std::string& command);
    void Remove(const std::string& path);
    void RemoveDirectory(const std::string& path);
    void Tell(const std::string& what, const std::string& outcome) { m_engine.m_journal.Undone(what, outcome); }
    void Stay(const std::string& what, const char* why) {
        m_stayed.push_back(what);
        Tell(what, std::string("stays: ") + why);
    }

    SetupEngine& m_engine;
    UndoMachine& m_machine;
    std::string m_program, m_record;
    bool m_programLeft = false;  // the running program is one of the files to remove
    bool m_scheduled = false;    // something is removed only at the next restart
    std::vector<std::string> m_stayed;
    std::vector<std::string> m_leftDirectories;  // not empty while the record or the program is there
    std::vector<std::string> m_newGroups;        // groups the installation made: removed whole
    std::unique_ptr<ProgramManager> m_manager;
    bool m_managerAsked = false;
    std::string m_shownGroup;
};

void Uninstaller::Run(const std::string& record) {
    m_record = record;
    m_program = m_machine.ProgramPath();
    const std::optional<std::string> text = m_machine.ReadRecord(record);
    UndoRecord parsed = text ? ReadUndoRecord(*text) : UndoRecord{{}, "it cannot be read"};
    std::string problem = parsed.error;
    if (problem.empty() && (parsed.entries.empty() || parsed.entries[0].kind != Kind::kDestination))
        problem = "it names no installation directory";
    if (problem.empty()) {
        m_engine.SetInstallDir(WithSlash(parsed.entries[0].fields[0]).c_str());
        problem = CheckUndoRecord(m_engine, parsed.entries, record);
    }
    if (!problem.empty()) {
        Tell("record " + record, "refused: " + problem);
        m_engine.ReportUninstallRefused(record, problem);
        return;
    }
    if (!m_engine.ConfirmUninstall()) return;
    for (const UndoEntry& entry : parsed.entries)
        if (entry.kind == Kind::kGroup && entry.fields[1] == "new") m_newGroups.push_back(entry.fields[0]);
    // The uninstall entry goes last: until then the product can be uninstalled again.
    auto isEntry = [](const UndoEntry& entry) {
        return (entry.kind == Kind::kKey || entry.kind == Kind::kValue) &&
               FoldName(entry.fields[0]).find(FoldName(kUninstallKey)) != std::string::npos;
    };
    for (int pass = 0; pass < 2; ++pass)
        for (auto entry = parsed.entries.rbegin(); entry != parsed.entries.rend(); ++entry)
            if (isEntry(*entry) == (pass == 1)) Undo(*entry);
    m_manager.reset();
    Remove(record);
    std::vector<std::string> helperDirectories;
    for (const std::string& directory : m_leftDirectories) {
        if (m_programLeft && Holds(directory, FolderOf(m_program))) helperDirectories.push_back(directory);
        else RemoveDirectory(directory);
    }
    if (m_programLeft) {
        m_machine.RemoveAfterExit(m_program, helperDirectories);
        Tell(m_program, "removed once the uninstallation has ended");
    }
    m_engine.m_runEnd = RunEnd::kCompleted;
    m_engine.ReportUninstalled(m_stayed);
    if (!m_scheduled) return;
    m_engine.m_restartNeeded = true;
    if (m_engine.AskUninstallRestart() && !m_engine.RestartSystem(0)) m_engine.ReportRestartFailure();
}

void Uninstaller::Undo(const UndoEntry& entry) {
    const std::vector<std::string>& f = entry.fields;
    switch (entry.kind) {
    case Kind::kDirectory: UndoDirectory(f[0]); break;
    case Kind::kFile: UndoFile(f); break;
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
    bool same = stamp->size == Number(f[1], 16) && stamp->writeTime == Number(f[2], 16);
    // A file in use cannot be read: its size and time decide.
    if (same)
        if (const std::optional<FileFacts> facts = m_engine.GetFileFacts(path)) same = facts->crc32 == Number(f[3], 16);
    if (!same) return Stay(path, "changed since the installation");
    Remove(path);
}

void Uninstaller::Remove(const std::string& path) {
    const UndoMachine::Removal removal = m_machine.RemoveFile(path);
    if (removal == UndoMachine::Removal::kRemoved) return Tell(path, "removed");
    if (removal == UndoMachine::Removal::kInUse && m_machine.RemoveAtRestart(path)) {
        m_scheduled = true;
        return Tell(path, "in use: removed at the next restart");
    }
    Stay(path, "cannot be removed");
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
    Uninstaller(*this, machine).Run(recordPath);
}

}  // namespace setup
