// The ends of an installation besides its closing message: a restart of Windows, a reboot,
// or a program started from the script.
#include "setup_engine.h"

namespace setup {

bool SetupEngine::RestartSystem(int reboot) {
    if (!reboot) {
        // A log-off restarts Windows; when the system refuses, a forced one.
        return RequestExitWindows(exit_windows::kLogOff, 0xFFFFFFFFu) || RequestExitWindows(exit_windows::kForce, 0);
    }
    if (IsNtFamily() && !EnableShutdownPrivilege()) return false;
    return RequestExitWindows(exit_windows::kReboot, 0);
}

bool SetupEngine::RunExecuteFile() {
    char command[kPathBufferSize];
    if (!GetScriptString("Execute File", "File", nullptr, command, sizeof command)) return false;
    if (!ResolvePathRef(command, sizeof command, m_installDir.c_str())) return false;
    return StartProgram(command);
}

}  // namespace setup
