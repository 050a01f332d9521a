// Programs that Windows starts by itself (win.ini's "Load" and "Run" lines), and the
// script's own INI entries.
#include "../engine/setup_engine.h"
#include "../script/fields.h"
#include "../script/text.h"
#include "startup_lines.h"

#include <cstring>

namespace setup {

namespace {

std::string WithoutTrailingBlanks(std::string line) {
    while (!line.empty() && IsBlank(line.back())) line.pop_back();
    return line;
}

}  // namespace

bool SetupEngine::HasStartupEntries() const {
    return !GetScriptValue("Win.ini", "RunFile 1", nullptr, 100).empty() ||
           !GetScriptValue("Win.ini", "LoadFile 1", nullptr, 100).empty();
}

bool SetupEngine::ProcessStartupList(StartupMode mode, const char* list, std::string& first,
                                     std::string& second) const {
    if (mode == StartupMode::kAppend && first.empty()) first = " ";
    for (int number = 1;; ++number) {
        char path[kPathBufferSize];
        if (!GetScriptString("WIN.INI", NumberedKey(list, number).c_str(), nullptr, path, sizeof path) ||
            !ResolvePathRef(path, sizeof path, m_installDir.c_str()) || !*path)
            break;
        if (mode == StartupMode::kAppend) {
            AppendProgram(first, path);  // a program that does not fit is left out, the line kept whole
            continue;
        }
        const std::string name = ProgramName(path);
        if (name.empty()) continue;
        const bool remove = mode == StartupMode::kRemove;
        if ((FindProgramInLine(remove, second, name) || FindProgramInLine(remove, first, name)) &&
            mode == StartupMode::kTest)
            return true;
    }
    return mode != StartupMode::kTest;
}

bool SetupEngine::FindPreviousVersion() {
    if (!HasStartupEntries()) return false;
    std::string load = GetProfileLine("Load");
    std::string run = GetProfileLine("Run");
    if (load.empty() && run.empty()) return false;
    return ProcessStartupList(StartupMode::kTest, "RunFile", load, run) ||
           ProcessStartupList(StartupMode::kTest, "LoadFile", load, run);
}

void SetupEngine::RemoveStartupEntries() {
    if (!HasStartupEntries()) return;
    std::string load = GetProfileLine("Load");
    std::string run = GetProfileLine("Run");
    if (load.empty() && run.empty()) return;
    const std::pair<std::string, std::string> before(load, run);
    ProcessStartupList(StartupMode::kRemove, "RunFile", load, run);
    ProcessStartupList(StartupMode::kRemove, "LoadFile", load, run);
    WriteStartupLine("Load", before.first, load);
    WriteStartupLine("Run", before.second, run);
}

bool SetupEngine::AddStartupEntries() {
    if (!HasStartupEntries()) return false;
    const std::string loadBefore = GetProfileLine("Load");
    const std::string runBefore = GetProfileLine("Run");
    std::string load = WithoutTrailingBlanks(loadBefore);
    std::string run = WithoutTrailingBlanks(runBefore);
    std::string unused;
    ProcessStartupList(StartupMode::kAppend, "RunFile", run, unused);
    ProcessStartupList(StartupMode::kAppend, "LoadFile", load, unused);
    WriteStartupLine("Load", loadBefore, load);
    WriteStartupLine("Run", runBefore, run);
    return true;
}

void SetupEngine::WriteStartupLine(const char* key, const std::string& before, const std::string& after) {
    WriteProfileLine(key, after);
    m_journal.StartupLineWritten(key, before, after);
}

void SetupEngine::WriteIniSections() {
    for (int number = 1;; ++number) {
        const std::string section = NumberedKey("Write INI", number);
        char target[kPathBufferSize];
        if (!GetScriptString("Initiation", section.c_str(), nullptr, target, sizeof target)) return;
        // The two system files are named as they are: the profile writer finds them in the
        // Windows directory.
        if (!EqualNoCase(target, "win.ini") && !EqualNoCase(target, "system.ini") &&
            !ResolvePathRef(target, sizeof target, m_installDir.c_str()))
            return;
        for (int item = 1;; ++item) {
            const std::string entry =
                GetScriptValue(section.c_str(), NumberedKey("Item", item).c_str(), nullptr, kPathBufferSize);
            if (entry.empty()) break;
            WriteIniItem(target, entry.c_str());
        }
    }
}

void SetupEngine::WriteIniItem(const char* file, const char* entry) {
    // Fields hold at most 99 characters. A longer one makes the item malformed: taken in
    // pieces, its rest would become the next field and the entry be written wrong.
    char section[kPathBufferSize], key[kPathBufferSize], value[kPathBufferSize];
    int position = 0;
    if (!NextField(entry, &position, ',', section, sizeof section) || !NextField(entry, &position, ',', key, sizeof key) ||
        !NextField(entry, &position, ',', value, sizeof value))
        return;
    for (const char* field : {section, key, value})
        if (std::strlen(field) > 99) return;
    WriteIniEntry(section, key, value, file);
}

void SetupEngine::WriteIniEntry(const char* section, const char* key, const char* value, const char* file) {
    std::optional<std::string> before;
    IniNew created = IniNew::kNothing;
    if (m_journal.Active()) {
        before = ReadProfileValue(section, key, file);
        // A bare name ("win.ini") is a file of the Windows directory, which is always there.
        if (!before)
            created = std::strchr(file, '\\') && !FileExists(file) ? IniNew::kFile
                      : !ProfileSectionExists(section, file)       ? IniNew::kSection
                                                                   : IniNew::kKey;
    }
    WriteProfileValue(section, key, value, file);
    m_journal.IniEntryWritten(file, section, key, value, before, created);
}

}  // namespace setup
