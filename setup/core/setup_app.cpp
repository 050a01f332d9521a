#include "setup_app.h"

#include "main_frame.h"
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

bool CSetupApp::InitInstance() {
    Enable3dControls();
    fw::WaitCursor wait;
    LocateScript();
    std::string title = ReadAppTitle();

    // Switches make a run of their own; without any, the run is the one it always was.
    int failure = 0;
    std::unique_ptr<UnattendedRun> run = UnattendedRun::Start(::GetCommandLineA(), title, m_scriptPath, ModulePath(), failure);
    if (failure >= 0) {
        SetStartFailureCode(failure);
        return false;
    }

    // One installer at a time: a window with the same title, whatever program owns it,
    // is brought forward and this run ends. A quiet run brings nothing forward.
    if (HWND running = ::FindWindowA(nullptr, title.c_str())) {
        if (run) {
            const bool quiet = run->Quiet();
            run->Fail("another installer titled \"" + title + "\" is running",
                      quiet ? setup::exit_code::kStopped : 0);
            SetStartFailureCode(run->ExitCode());
            if (quiet) return false;
        }
        ::SetForegroundWindow(running);
        return false;
    }

    auto frame = std::make_unique<CMainFrame>();
    CMainFrame* window = frame.get();
    window->SetUnattendedRun(std::move(run));
    SetMainWindow(std::move(frame));
    if (!window->Create(nullptr, title.c_str(), WS_POPUP | WS_SYSMENU, RECT{0, 0, 1, 1}, nullptr,
                        nullptr, 0)) {
        SetStartFailureCode(window->StartFailureCode());
        return false;
    }
    return true;
}
