// The main frame's answers for the program manager, the registry, the profile's start-up
// lines, restarting and starting programs.
#include "../script/text.h"
#include "../uninstall/removal.h"
#include "main_frame.h"

#include "../../framework/platform.h"

#include <ddeml.h>

#include <cstring>

namespace {

// The client callback of a conversation that only sends commands: it hands back the
// data handle it is given.
HDDEDATA CALLBACK DdeClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    return data;
}

// One conversation with the program manager's "PROGMAN" service, ended with the object.
class DdeProgramManager : public setup::ProgramManager {
public:
    bool Connect() {
        DWORD instance = 0;
        if (::DdeInitializeA(&instance, DdeClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return false;
        m_instance.Reset(instance);
        m_service.emplace(instance, "PROGMAN");  // service and topic alike
        if (!*m_service) return false;
        CONVCONTEXT context{};
        context.cb = sizeof context;
        m_conversation.Reset(::DdeConnect(instance, m_service->Get(), m_service->Get(), &context));
        return static_cast<bool>(m_conversation);
    }

    Outcome Execute(const std::string& command) override {
        // Owned by us (not handed over to the transaction), so that it is released after it.
        fw::DdeData data(::DdeCreateDataHandle(m_instance.Get(), reinterpret_cast<LPBYTE>(const_cast<char*>(command.c_str())),
                                               static_cast<DWORD>(command.size() + 1), 0, nullptr, CF_TEXT,
                                               HDATA_APPOWNED));
        if (!data) return Outcome::kNoData;
        const HDDEDATA done = ::DdeClientTransaction(reinterpret_cast<LPBYTE>(data.Get()), 0xFFFFFFFF,
                                                     m_conversation.Get(), nullptr, 0, XTYP_EXECUTE, 10000, nullptr);
        return done ? Outcome::kAccepted : Outcome::kRefused;
    }

    bool HasGroup(const std::string& name) override {
        // The "Groups" item lists the groups, one a line.
        fw::DdeString item(m_instance.Get(), "Groups");
        fw::DdeData data(::DdeClientTransaction(nullptr, 0, m_conversation.Get(), item.Get(), CF_TEXT, XTYP_REQUEST,
                                                10000, nullptr));
        DWORD size = 0;
        const char* text = data ? reinterpret_cast<const char*>(::DdeAccessData(data.Get(), &size)) : nullptr;
        if (!text) return false;
        const std::string groups(text, ::strnlen(text, size));
        ::DdeUnaccessData(data.Get());
        for (std::size_t from = 0, end = 0; end != std::string::npos; from = end + 1) {
            end = groups.find_first_of("\r\n", from);
            if (setup::EqualNoCase(groups.substr(from, end == std::string::npos ? end : end - from), name)) return true;
        }
        return false;
    }

private:
    // Destroyed in reverse: the conversation ends, then the string, then the instance.
    fw::DdeInstance m_instance;
    std::optional<fw::DdeString> m_service;
    fw::DdeConversation m_conversation;
};

class Win32RegistryKey : public setup::RegistryKey {
public:
    Win32RegistryKey(HKEY key, bool created) : m_key(key), m_created(created) {}
    bool Created() const override { return m_created; }
    bool SetString(const char* name, const char* data) override {
        const DWORD length = data ? static_cast<DWORD>(std::strlen(data) + 1) : 0;
        return ::RegSetValueExA(m_key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), length) ==
               ERROR_SUCCESS;
    }
    std::optional<std::string> GetString(const char* name) override {
        DWORD type = 0, size = 0;
        if (::RegQueryValueExA(m_key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
        if (type != REG_SZ) return std::string(setup::kNotText);
        std::string text(size + 1, '\0');
        if (::RegQueryValueExA(m_key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        text.resize(::strnlen(text.c_str(), size));
        return text;
    }
    bool DeleteValue(const char* name) override { return ::RegDeleteValueA(m_key.Get(), name) == ERROR_SUCCESS; }

private:
    fw::RegistryKey m_key;
    bool m_created;
};

}  // namespace

bool CMainFrame::RegistryKeyExists(setup::RegistryRoot root, const std::string& subKey) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(RootKey(root), subKey.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    fw::RegistryKey key(opened);
    return true;
}

bool CMainFrame::ProfileSectionExists(const char* section, const char* file) {
    char entries[4] = {};
    return ::GetPrivateProfileSectionA(section, entries, sizeof entries, file) != 0;
}

std::unique_ptr<setup::ProgramManager> CMainFrame::ConnectProgramManager() {
    auto manager = std::make_unique<DdeProgramManager>();
    if (!manager->Connect()) return nullptr;
    m_shellAsked = true;
    return manager;
}

std::unique_ptr<setup::RegistryKey> CMainFrame::OpenRegistryKey(setup::RegistryRoot root, const std::string& subKey,
                                                                const char* keyClass) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(RootKey(root), subKey.c_str(), 0, const_cast<char*>(keyClass), REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32RegistryKey>(key, disposition == REG_CREATED_NEW_KEY);
}

std::string CMainFrame::GetProfileLine(const char* key) {
    char line[512] = {};
    const DWORD length = ::GetProfileStringA("windows", key, "", line, sizeof line);
    return std::string(line, length < sizeof line ? length : sizeof line - 1);
}

void CMainFrame::WriteProfileLine(const char* key, const std::string& line) {
    ::WriteProfileStringA("windows", key, line.c_str());
}

bool CMainFrame::RequestExitWindows(unsigned flags, unsigned reserved) { return ::ExitWindowsEx(flags, reserved) != 0; }

bool CMainFrame::IsNtFamily() { return fw::IsNtPlatform(); }

bool CMainFrame::EnableShutdownPrivilege() {
    // Only the NT family has privileges: looked up, since Windows 95 exports no such calls.
    using OpenToken = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE*);
    using LookupValue = BOOL(WINAPI*)(const char*, const char*, LUID*);
    using Adjust = BOOL(WINAPI*)(HANDLE, BOOL, TOKEN_PRIVILEGES*, DWORD, TOKEN_PRIVILEGES*, DWORD*);
    const auto openToken = fw::SystemFunction<OpenToken>("ADVAPI32.DLL", "OpenProcessToken");
    const auto lookupValue = fw::SystemFunction<LookupValue>("ADVAPI32.DLL", "LookupPrivilegeValueA");
    const auto adjust = fw::SystemFunction<Adjust>("ADVAPI32.DLL", "AdjustTokenPrivileges");
    HANDLE token = nullptr;
    if (!openToken || !lookupValue || !adjust ||
        !openToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    fw::KernelHandle owned(token);
    TOKEN_PRIVILEGES privileges{};
    lookupValue(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    return adjust(owned.Get(), FALSE, &privileges, 0, nullptr, nullptr) != 0;
}

bool CMainFrame::StartProgram(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_FORCEONFEEDBACK;  // the busy cursor while it starts
    PROCESS_INFORMATION process{};
    std::string line = commandLine;  // CreateProcessA may write into its command line
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                          &process))
        return false;
    fw::KernelHandle processHandle(process.hProcess);
    fw::KernelHandle threadHandle(process.hThread);
    // Half a second for it to come up; the installer never waits for its end.
    ::WaitForSingleObject(processHandle.Get(), 500);
    return true;
}
