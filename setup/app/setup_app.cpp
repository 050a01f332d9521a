#include "setup_app.h"

#include "program_location.h"

#include <windows.h>

namespace {

constexpr const char* kSystemSection = "Setup System";

// [Setup System] is read straight from the file: the script is not yet loaded then.
std::string ReadSetupSystemKey(const std::string& scriptPath, const char* key,
                               const char* defaultValue, DWORD bufferSize) {
    std::string buffer(bufferSize, '\0');
    DWORD length = ::GetPrivateProfileStringA(kSystemSection, key, defaultValue, &buffer[0],
                                              bufferSize, scriptPath.c_str());
    buffer.resize(length < bufferSize ? length : bufferSize - 1);
    return buffer;
}

}  // namespace

// Every program built on the installer's windows runs a CSetupApp (there is no run-time
// type information to check it with).
CSetupApp* GetSetupApp() { return static_cast<CSetupApp*>(fw::Application::Current()); }

void CSetupApp::LocateScript() {
    setup::ProgramLocation location = setup::LocateProgramFiles(ModulePath());
    setup::AppendIconDirectory(location,
                               ReadSetupSystemKey(location.scriptPath, "ICON Directory", "", 256));
    m_programDir = location.programDir;
    m_scriptPath = location.scriptPath;
    m_iconDir = location.iconDir;
}

std::string CSetupApp::ReadAppTitle() const {
    return setup::ResolveAppTitle(ReadSetupSystemKey(m_scriptPath, "AP Name",
                                                     setup::kDefaultAppTitle,
                                                     setup::kAppTitleBufferSize));
}
