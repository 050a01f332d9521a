// The installation sequence: one fixed order of steps, each with its rule whether to go
// on. Nothing is undone when it stops half way.
#include "setup_engine.h"

namespace setup {

int SetupEngine::ReadInitiation() {
    m_setDefDir = GetScriptInt("Initiation", "Set DefDir", 1);
    m_copyFromSubDir = GetScriptInt("Initiation", "Copy File From SubDir", 0);
    m_restartWindows = GetScriptInt("Initiation", "Restart Windows", 0);
    m_rebootSystem = GetScriptInt("Initiation", "ReBoot System", 0);

    m_installName = GetScriptValue("Initiation", "Install Name", nullptr, kPathBufferSize);
    if (m_installName.empty())
        m_installName = GetScriptValue("Background", "Product Name", nullptr, kPathBufferSize);
    return m_installName.empty() ? 0 : 1;
}

void SetupEngine::RunSetup() {
    if (!ReadInitiation()) return;  // no product named: nothing is shown
    if (!HandlePreviousVersion()) return;
    if (!RunComPortDialog()) return;
    if (!RunSelectDialogs()) return;
    CountCopyItems();
    if (m_copyEntryCount != 0 && !RunCopyPhase()) return;
    if (!CreateGroupsWithRetry()) return;
    WriteIniSections();
    const bool restartFlag = AddStartupEntries();
    if (m_comPortChosen) WriteComPortResults(m_comPort);
    WriteDialogResults();
    WriteVersionEntries();
    WriteRegisterSection();
    WriteUninstallEntry();
    if (RunExecuteFile()) return;  // a started program ends the installation quietly
    CloseInstallation(restartFlag);
}

// An earlier version still loaded at Windows start: remove it and restart Windows. The
// installation goes on while the system closes the programs.
bool SetupEngine::HandlePreviousVersion() {
    if (!FindPreviousVersion()) return true;
    if (!AskPreviousVersion()) return false;
    RemoveStartupEntries();
    if (RestartSystem(0)) return true;
    ReportSelfRestartFailure();
    return false;
}

// Destination, space and directories (asked again for as long as the user wants to type
// another directory), then the copy.
bool SetupEngine::RunCopyPhase() {
    for (;;) {
        if (m_setDefDir && !RunSetDirDialog()) return false;
        if (!CheckDiskSpace(m_installDir.empty() ? 0 : m_installDir[0] - 'A')) return false;
        if (!m_setDefDir || CreateInstallDirectory(m_installDir)) break;
        if (!AskRetypeDirectory()) return false;
    }
    return RunCopyDialog();
}

bool SetupEngine::CreateGroupsWithRetry() {
    while (!CreateProgramGroups()) {
        if (!AskRetryGroup()) return false;
    }
    return true;
}

// Reboot takes precedence over a restart; a restart is asked when the script wants one
// or when start-up programs were added; otherwise the end message.
void SetupEngine::CloseInstallation(bool restartFlag) {
    if (m_rebootSystem) {
        if (AskReboot() && !RestartSystem(1)) ReportRebootFailure();
    } else if (m_restartWindows || restartFlag) {
        if (AskRestart() && !RestartSystem(0)) ReportRestartFailure();
    } else {
        ShowEndMessage();
    }
}

}  // namespace setup
