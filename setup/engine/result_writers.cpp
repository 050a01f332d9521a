// Writing what the user chose (the port, each selection) and the script's fixed version
// entries into the INI files that the script names.
#include "../script/fields.h"
#include "../script/text.h"
#include "setup_engine.h"

namespace setup {

namespace {

constexpr std::size_t kFieldSize = 128;

}  // namespace

void SetupEngine::WriteItems(const char* section, int fields, const std::function<std::string(const char*)>& value) {
    for (int file = 1;; ++file) {
        char path[kPathBufferSize];
        if (!GetScriptString(section, NumberedKey("File", file).c_str(), nullptr, path, sizeof path)) return;
        if (!ResolvePathRef(path, sizeof path, m_installDir.c_str())) return;
        for (int item = 1;; ++item) {
            const std::string key = "Item " + std::to_string(file) + "." + std::to_string(item);
            const std::string entry = GetScriptValue(section, key.c_str(), nullptr, kPathBufferSize);
            if (entry.empty()) break;
            char iniSection[kFieldSize], iniKey[kFieldSize], third[kFieldSize];
            int position = 0;
            // Too few fields end this file's list.
            if (!NextField(entry.c_str(), &position, ',', iniSection, sizeof iniSection) ||
                !NextField(entry.c_str(), &position, ',', iniKey, sizeof iniKey) ||
                (fields == 3 && !NextField(entry.c_str(), &position, ',', third, sizeof third)))
                break;
            WriteIniEntry(iniSection, iniKey, value(third).c_str(), path);
        }
    }
}

void SetupEngine::WriteComPortResults(std::int16_t port) {
    // The port's 16 bits as an unsigned number: 65535, never -1.
    const std::string text = std::to_string(static_cast<std::uint16_t>(port));
    WriteItems("ComPort", 2, [&text](const char*) { return text; });
}

void SetupEngine::WriteDialogResults() {
    // A section whose file is missing ends only that dialog's list.
    for (int index = 0; index < GetSelectionCount(); ++index) {
        const std::string section = NumberedKey("Dialog", index + 1);
        const std::string& chosen = m_selectionValues[static_cast<std::size_t>(index)];
        WriteItems(section.c_str(), 2, [&chosen](const char*) { return chosen; });
    }
}

void SetupEngine::WriteVersionEntries() {
    WriteItems("Version", 3, [](const char* value) { return std::string(value); });
}

}  // namespace setup
