// Path references: "name:code", a file named by a directory code.
#include "../script/fields.h"
#include "../script/text.h"
#include "setup_engine.h"

#include <cctype>
#include <cstdio>
#include <string>

namespace setup {

namespace {

}  // namespace

int SetupEngine::ResolvePathRef(char* reference, std::size_t size, const char* defaultDir) const {
    if (!reference) return 0;
    char name[kPathBufferSize];
    int position = 0;
    if (!NextField(reference, &position, ':', name, sizeof name)) return 0;
    char code[4];
    const bool hasCode = NextField(reference, &position, ':', code, sizeof code) != 0;

    std::string directory;
    if (!hasCode) {
        if (!defaultDir) return 1;
        directory = defaultDir;
    } else if (code[0] == '#') {
        directory = SystemDirectory();
    } else if (code[0] == '0') {
        directory = m_installDir;
    } else if (code[0] == '@') {
        directory = WindowsDirectory();
    } else {
        int number = 0;
        for (const char* c = code; *c; ++c) {
            if (!std::isdigit(static_cast<unsigned char>(*c))) return 0;
            number = number * 10 + (*c - '0');
        }
        if (number == 0) return 0;
        const std::string key = NumberedKey("SubDir", number);
        std::string subDir = GetScriptValue("Initiation", key.c_str(), nullptr, kPathBufferSize);
        if (subDir.empty()) return 0;
        directory = WithBackslash(m_installDir) + subDir;
    }

    const std::string path = WithBackslash(directory) + name;
    // A path that does not fit the caller's buffer is refused, never cut.
    if (path.size() + 1 > size) return 0;
    CopyToBuffer(path, reference, size);
    return 1;
}

}  // namespace setup
