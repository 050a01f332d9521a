// The ends of an installation besides its closing message: a restart of Windows, a reboot,
// or a program started from the script.
#include "setup_engine.h"

namespace setup {

namespace {

bool Request(SetupEngine& engine, int reboot) {
    if (!reboot) {
        // A log-off restarts Windows; when the system refuses, a forced one.
        return engine.RequestExitWindows(exit_windows::kLogOff, 0xFFFFFFFFu) ||
               engine.RequestExitWindows(exit_windows::kForce, 0);
    }
    if (engine.IsNtFamily() && !engine.EnableShutdownPrivilege()) return false;
    return engine.RequestExitWindows(exit_windows::kReboot, 0);
}

}  // namespace

bool SetupEngine::RestartSystem(int reboot) {
    m_restartNeeded = true;
    if (m_holdRestarts) {
        // The installation goes on as after a request; the exit code tells that it is due.
        m_journal.RestartRequested(reboot != 0, Restart::kHeldBack);
        return true;
    }
    const bool requested = Request(*this, reboot);
    m_restartStarted = m_restartStarted || requested;
    m_journal.RestartRequested(reboot != 0, requested ? Restart::kRequested : Restart::kRefused);
    return requested;
}

bool SetupEngine::RunExecuteFile() {
    char command[kPathBufferSize];
    if (!GetScriptString("Execute File", "File", nullptr, command, sizeof command)) return false;
    if (!ResolvePathRef(command, sizeof command, m_installDir.c_str())) return false;
    if (Answers().AllowProgramStart(command).value != result::kYes) {
        m_journal.ProgramStarted(command, ProgramStart::kSkipped);
        return false;
    }
    const bool started = StartProgram(command);
    m_journal.ProgramStarted(command, started ? ProgramStart::kStarted : ProgramStart::kFailed);
    return started;
}

}  // namespace setup
