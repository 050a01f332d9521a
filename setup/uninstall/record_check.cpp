// The check of an undo record before anything is undone: every entry names what an
// installation by the script could have written, and nothing else.
#include "uninstall.h"

#include "../engine/setup_engine.h"
#include "../script/text.h"
#include "record_paths.h"
#include "undo_record.h"

namespace setup {

namespace {

using Kind = UndoEntry::Kind;

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

bool ScriptGroup(const SetupEngine& script, const std::string& name) {
    for (int number = 1;; ++number) {
        const std::string group = script.GetScriptValue("Initiation", NumberedKey("Group", number).c_str(), nullptr,
                                                        kPathBufferSize);
        if (group.empty()) return false;
        if (EqualNoCase(group, name)) return true;
    }
}

// A name that goes into a command of the program manager, as the installation wrote it: a
// group's name stands bare between the brackets, an item's title in quotes. Neither can end a
// command and begin another, nor close the quotes, nor hold a line break.
bool CommandSafe(const std::string& name, bool quoted) {
    for (const char c : name)
        if (static_cast<unsigned char>(c) < ' ' || c == '"' || (!quoted && (c == '[' || c == ']'))) return false;
    return true;
}

}  // namespace

std::string CheckUndoRecord(SetupEngine& engine, const std::vector<UndoEntry>& entries, const std::string& recordPath,
                            int scriptPart) {
    const std::string windows = WithBackslash(engine.WindowsDirectory()), system = WithBackslash(engine.SystemDirectory());
    std::vector<std::string> destinations;
    for (const UndoEntry& entry : entries)
        if (entry.kind == Kind::kDestination) destinations.push_back(WithBackslash(entry.fields[0]));
    auto inside = [&](const std::string& path) {
        bool below = false;
        for (const std::string& destination : destinations) below = below || Below(path, destination);
        return below && PlainPath(path);
    };
    const std::vector<std::string> iniFiles = ScriptIniFiles(engine);
    const std::vector<std::string> keys = ScriptRegistryKeys(engine);
    const std::string aside = AsideFolderOf(recordPath) + "\\";
    for (const UndoEntry& entry : entries) {
        if (entry.fields.empty()) continue;  // the marks of a rollback
        const std::string& path = entry.fields[0];
        const bool plain = PlainPath(path), script = entry.part == scriptPart;
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
        case Kind::kSaved:
            // The copy lies in the folder beside the record, the file where a file could be.
            if (!PlainPath(entry.fields[1]) || !Below(entry.fields[1], aside))
                return "line " + std::to_string(entry.line) + " names " + entry.fields[1] +
                       " as a copy kept aside, which does not lie beside the record";
            [[fallthrough]];
        case Kind::kFile:
            allowed = inside(path) ||
                      (plain && ((EqualNoCase(folder, windows) && (!script || Listed(engine, "Windows", name))) ||
                                 (EqualNoCase(folder, system) && (!script || Listed(engine, "System", name)))));
            break;
        case Kind::kIni:
            // A bare name is a file of the Windows directory that the script names so.
            if (folder.empty()) allowed = script ? OneOf(path, iniFiles) : path.find_first_of(":/") == std::string::npos;
            else allowed = inside(path) || (plain && (!script || OneOf(path, iniFiles)));
            break;
        case Kind::kKey:
        case Kind::kValue:
            allowed = script ? OneOf(path, keys)
                             : RegistryRootByName(path.substr(0, path.find('\\'))).has_value() &&
                                   path.find('\\') != std::string::npos;
            break;
        case Kind::kGroup:
        case Kind::kItem:
            allowed = (!script || ScriptGroup(engine, path)) && CommandSafe(path, false);
            if (allowed && entry.kind == Kind::kItem && entry.fields.size() > 1 && !CommandSafe(entry.fields[1], true))
                return "line " + std::to_string(entry.line) + " names the item " + entry.fields[1] +
                       ", which the installation could not have written";
            break;
        default: break;
        }
        if (!allowed)
            return "line " + std::to_string(entry.line) + " names " + path +
                   (entry.kind == Kind::kDestination ? " as the installation directory"
                                                     : ", which lies outside what the installation could have written");
    }
    return inside(recordPath) ? std::string() : "it does not lie in the installation directory it names";
}

}  // namespace setup
