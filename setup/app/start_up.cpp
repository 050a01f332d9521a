// The installer's start: the command line read once, one installer at a time, and the main
// window, which runs the installation.
#include "main_frame.h"
#include "setup_app.h"

#include <windows.h>

#include <memory>
#include <string>

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
