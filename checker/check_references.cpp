// Where the installer writes: the path references of the script, its registry keys, and
// the uninstall entry's command.
#include "checks.h"

#include "script/fields.h"
#include "script/text.h"

namespace checker {

void Checker::CheckPathReference(const std::string& section, const std::string& key, const char* defaultDir,
                                 const std::string& value) {
    char reference[setup::kPathBufferSize];
    setup::CopyToBuffer(value, reference, sizeof reference);
    if (!m_engine.ResolvePathRef(reference, sizeof reference, defaultDir))
        Error(LineOf(section, key), "\"" + value + "\" of \"" + key + "\" in [" + section +
                                        "]: the directory code is unknown or its [Initiation] \"SubDir N\" is missing");
}

void Checker::CheckPathReferences() {
    const char* installDir = m_engine.m_installDir.c_str();
    for (const KeyLine& entry : m_keys) {
        if (entry.value.empty() || !entry.keySpec) continue;
        const std::string pattern = entry.keySpec->pattern;
        const std::string& section = entry.section;
        const bool writerFile = pattern == "File %d" && (setup::EqualNoCase(section, "ComPort") ||
                                                         setup::EqualNoCase(section, "Version") ||
                                                         MatchPattern("Dialog %d", section));
        if (writerFile || pattern == "RunFile %d" || pattern == "LoadFile %d" ||
            (setup::EqualNoCase(section, "UnInstall") && (pattern == "UnInstallString" || pattern == "Record")) ||
            (setup::EqualNoCase(section, "Execute File") && pattern == "File")) {
            CheckPathReference(section, entry.key, installDir, entry.value);
        } else if (pattern == "Write INI %d" && !setup::EqualNoCase(entry.value, "win.ini") &&
                   !setup::EqualNoCase(entry.value, "system.ini")) {
            CheckPathReference(section, entry.key, installDir, entry.value);
        } else if (pattern == "Data %d.%d" && !setup::EqualNoCase(entry.value, "NULL")) {
            CheckPathReference(section, entry.key, nullptr, entry.value);
        } else if (pattern == "Item %d" && MatchPattern("Group %d", section)) {
            // The command (field 1) and the icon file (field 3) are path references.
            char field[setup::kPathBufferSize];
            int position = 0;
            for (int index = 1; index <= 3 && setup::NextField(entry.value.c_str(), &position, ',', field, sizeof field);
                 ++index)
                if (index != 2) CheckPathReference(section, entry.key, installDir, field);
            if (setup::NextField(entry.value.c_str(), &(position = 0), ',', field, sizeof field) &&
                !setup::NextField(entry.value.c_str(), &position, ',', field, sizeof field))
                Warning(entry.line, "program item without a title ends the group's items");
        }
    }
}

void Checker::CheckRegister() {
    for (int number = 1;; ++number) {
        const std::string n = std::to_string(number);
        const bool key = !m_engine.GetScriptValue("Register", ("Key " + n).c_str(), nullptr, 256).empty();
        const bool subKey = !m_engine.GetScriptValue("Register", ("SubKey " + n).c_str(), nullptr, 256).empty();
        const bool keyClass = !m_engine.GetScriptValue("Register", ("Key Class " + n).c_str(), nullptr, 256).empty();
        if (!key && !subKey) return;
        if (key && subKey && !keyClass) {
            Error(LineOf("Register", "Key " + n), "[Register] key " + n +
                                                      " has no \"Key Class " + n + "\" (NULL for none): it and every later key are never written");
            return;
        }
        if (!key || !subKey || !keyClass) return;
        if (!setup::RegistryRootByName(m_engine.GetScriptValue("Register", ("Key " + n).c_str(), nullptr, 256)))
            Error(LineOf("Register", "Key " + n), "[Register] \"Key " + n +
                                                      "\" is not a root key (HKEY_LOCAL_MACHINE, ...): the section ends here");
    }
}

// The uninstall entry's command must be able to run: a program that a copy list installs, or
// the installer's own copy that a script keeping an undo record leaves beside the record.
void Checker::CheckUninstall() {
    const KeyLine* command = Find("UnInstall", "UnInstallString");
    const KeyLine* record = Find("UnInstall", "Record");
    const bool keeps = record && !record->value.empty();
    const KeyLine* rollback = Find("UnInstall", "Rollback");
    if (rollback && !keeps && m_engine.GetScriptInt("UnInstall", "Rollback", 0) != 0)
        Warning(rollback->line, "\"Rollback\" needs a \"Record\": without one the installer ignores it and undoes nothing");
    if (keeps && m_engine.GetScriptInt("Initiation", "Set DefDir", 1) == 0)
        Warning(record->line, "with \"Set DefDir\" 0 the installation directory is C:\\, a whole drive, which "
                              "/UNINSTALL refuses: the record cannot be used");
    if (!command || command->value.empty()) return;
    std::string program = command->value.substr(0, command->value.find(' '));
    program = program.substr(0, program.find(':'));
    program = program.substr(program.rfind('\\') + 1);
    bool installed = keeps && setup::EqualNoCase(program, "SETUP.EXE");
    for (const KeyLine& entry : m_keys)
        installed = installed || (entry.keySpec && entry.keySpec->list && std::string(entry.keySpec->list) == "entry" &&
                                  setup::EqualNoCase(entry.value, program));
    if (!installed)
        Warning(command->line, "the uninstall entry runs " + program + ", which no copy list installs" +
                                   (keeps ? "" : " (with [UnInstall] \"Record\", \"SETUP.EXE /UNINSTALL=RECORD\" would run)") +
                                   ": it cannot work");
    else if (!keeps && setup::FoldName(command->value).find("/UNINSTALL") != std::string::npos)
        Warning(command->line, "the uninstall entry runs /UNINSTALL, but [UnInstall] keeps no \"Record\": there is none to read");
}

}  // namespace checker
