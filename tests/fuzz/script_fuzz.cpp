// Fuzzes the setup script reader: any bytes as a script, then lookups whose section and
// key names come from the script itself (so that they hit), with small buffers.
#include "script/script.h"
#include "script/text.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

class FuzzScript : public setup::SetupScript {
public:
    FuzzScript(const char* data, std::size_t size) { AppendScriptText(data, size); }

    // The lookup done the slow way, line by line, as the index must answer it.
    std::string ScannedValue(const std::string& section, const std::string& key) const {
        for (int i = 0; i < m_lineCount; ++i) {
            auto header = HeaderName(m_scriptLines[static_cast<std::size_t>(i)]);
            if (!header || !setup::EqualNoCase(*header, section)) continue;
            int keyLine = 0;
            if (!FindKey(key.c_str(), i + 1, &keyLine)) return std::string();
            return std::string(ValueOf(m_scriptLines[static_cast<std::size_t>(keyLine)]));
        }
        return std::string();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzScript script(reinterpret_cast<const char*>(data), size);
    std::string section;
    for (int i = 0; i < script.LineCount(); ++i) {
        std::string line = script.GetScriptLine(i);
        if (line.size() > setup::SetupScript::kMaxLineLength) __builtin_trap();
        if (auto header = setup::SetupScript::HeaderName(line)) {
            section.assign(header->data(), header->size());
            if (!script.FindSection(section.c_str())) __builtin_trap();
            continue;
        }
        auto key = setup::SetupScript::KeyName(line);
        if (!key || section.empty()) continue;
        std::string keyName(key->data(), key->size());
        for (std::size_t bufferSize : {0u, 1u, 2u, 11u, 20u, 256u}) {
            char buffer[257];
            std::memset(buffer, 'X', sizeof buffer);
            int result = script.GetScriptString(section.c_str(), keyName.c_str(), "default", buffer, bufferSize);
            // Never past the buffer, always terminated inside it, result within its size.
            if (buffer[bufferSize] != 'X') __builtin_trap();
            if (bufferSize && std::strlen(buffer) >= bufferSize) __builtin_trap();
            if (result < 0 || static_cast<std::size_t>(result) > bufferSize) __builtin_trap();
        }
        script.GetScriptInt(section.c_str(), keyName.c_str(), -1);
        if (script.GetScriptValue(section.c_str(), keyName.c_str(), nullptr, 256) !=
            script.ScannedValue(section, keyName).substr(0, 255))
            __builtin_trap();
    }
    return 0;
}
