// The script's registry keys and values, and the product's uninstall entry.
#include "../engine/setup_engine.h"
#include "../script/text.h"

namespace setup {

std::optional<RegistryRoot> RegistryRootByName(const std::string& name) {
    if (EqualNoCase(name, "HKEY_CLASSES_ROOT")) return RegistryRoot::kClassesRoot;
    if (EqualNoCase(name, "HKEY_CURRENT_USER")) return RegistryRoot::kCurrentUser;
    if (EqualNoCase(name, "HKEY_LOCAL_MACHINE")) return RegistryRoot::kLocalMachine;
    if (EqualNoCase(name, "HKEY_USERS")) return RegistryRoot::kUsers;
    return std::nullopt;
}

std::unique_ptr<RegistryKey> SetupEngine::CreateRegistryKey(const std::string& root, const std::string& subKey,
                                                            const char* keyClass) {
    const std::optional<RegistryRoot> known = RegistryRootByName(root);
    if (!known) return nullptr;
    return OpenRegistryKey(*known, subKey, keyClass);
}

void SetupEngine::WriteRegisterSection() {
    for (int key = 1;; ++key) {
        const std::string number = std::to_string(key);
        const std::string root = GetScriptValue("Register", ("Key " + number).c_str(), nullptr, kPathBufferSize);
        const std::string subKey = GetScriptValue("Register", ("SubKey " + number).c_str(), nullptr, kPathBufferSize);
        const std::string keyClass =
            GetScriptValue("Register", ("Key Class " + number).c_str(), nullptr, kPathBufferSize);
        if (root.empty() || subKey.empty() || keyClass.empty()) return;
        std::unique_ptr<RegistryKey> opened =
            OpenKeyForWriting(root, subKey, EqualNoCase(keyClass, "NULL") ? nullptr : keyClass.c_str());
        if (!opened) return;

        for (int value = 1;; ++value) {
            const std::string suffix = number + "." + std::to_string(value);
            const std::string name = GetScriptValue("Register", ("Name " + suffix).c_str(), nullptr, kPathBufferSize);
            char data[kPathBufferSize];
            if (name.empty() || !GetScriptString("Register", ("Data " + suffix).c_str(), nullptr, data, sizeof data))
                break;
            const bool noName = EqualNoCase(name, "NULL");
            const bool noData = EqualNoCase(data, "NULL");
            // A value with a directory code becomes a full path; one without stays as written.
            if (!noData && !ResolvePathRef(data, sizeof data, nullptr)) break;
            if (noName && noData) continue;
            if (!SetRegistryString(*opened, root + "\\" + subKey, noName ? nullptr : name.c_str(), noData ? nullptr : data))
                break;
        }
    }
}

void SetupEngine::WriteUninstallEntry() {
    const std::string root = GetScriptValue("UnInstall", "Key", "HKEY_LOCAL_MACHINE", kPathBufferSize);
    const std::string subKey = GetScriptValue("UnInstall", "SubKey", nullptr, 50);
    const std::string displayName = GetScriptValue("UnInstall", "DisplayName", nullptr, kPathBufferSize);
    char command[kPathBufferSize];
    if (subKey.empty() || displayName.empty() ||
        !GetScriptString("UnInstall", "UnInstallString", nullptr, command, sizeof command) ||
        !ResolvePathRef(command, sizeof command, m_installDir.c_str()))
        return;
    const std::string path = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + subKey;
    std::unique_ptr<RegistryKey> entry = OpenKeyForWriting(root, path, nullptr);
    if (!entry) return;
    // The value name is "UninstallString", with a small i, whatever the script key says.
    if (SetRegistryString(*entry, root + "\\" + path, "DisplayName", displayName.c_str()))
        SetRegistryString(*entry, root + "\\" + path, "UninstallString", command);
}

int SetupEngine::MissingKeyLevels(const std::string& root, std::string subKey) {
    const std::optional<RegistryRoot> known = RegistryRootByName(root);
    int missing = 0;
    while (known && !subKey.empty() && !RegistryKeyExists(*known, subKey)) {
        ++missing;
        const std::size_t slash = subKey.rfind('\\');
        subKey.resize(slash == std::string::npos ? 0 : slash);
    }
    return missing;
}

std::unique_ptr<RegistryKey> SetupEngine::OpenKeyForWriting(const std::string& root, const std::string& subKey,
                                                            const char* keyClass) {
    // The levels a new key brings with it are made by the same call: asked before.
    const int missing = m_journal.Active() ? MissingKeyLevels(root, subKey) : 0;
    std::unique_ptr<RegistryKey> key = CreateRegistryKey(root, subKey, keyClass);
    const bool created = key && key->Created();
    m_journal.RegistryKeyOpened(root + "\\" + subKey, created, !key, created ? (missing > 1 ? missing : 1) : 0);
    return key;
}

bool SetupEngine::SetRegistryString(RegistryKey& key, const std::string& path, const char* name, const char* data) {
    std::optional<std::string> before;
    if (m_journal.Active()) before = key.GetString(name);
    const bool written = key.SetString(name, data);
    m_journal.RegistryValueWritten(path, name, data, written, before);
    return written;
}

}  // namespace setup
