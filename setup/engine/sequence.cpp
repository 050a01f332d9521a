// The installation sequence: one fixed order of steps, each with its rule whether to go
// on. Nothing is undone when it stops half way, unless the undo record asks for rollback.
#include "setup_engine.h"

#include "../script/text.h"
#include "exit_codes.h"

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
    m_restartNeeded = false;
    m_restartStarted = false;
    m_runEnd = RunEnd::kNothingToDo;
    m_destinationSettled = false;
    m_pendingChecked.clear();
    if (!ReadInitiation()) return;  // no product named: nothing is shown
    m_runEnd = RunSequence() ? RunEnd::kCompleted : RunEnd::kStopped;
}

// The steps in their order; false when one of them ended the installation.
bool SetupEngine::RunSequence() {
    if (!HandlePreviousVersion()) return false;
    if (!RunComPortDialog()) return false;
    if (!RunSelectDialogs()) return false;
    CountCopyItems();
    m_destinationSettled = m_copyEntryCount == 0;
    if (m_copyEntryCount != 0 && !RunCopyPhase()) return false;
    if (!CreateGroupsWithRetry()) return false;
    WriteIniSections();
    const bool restartFlag = AddStartupEntries();
    if (m_comPortChosen) WriteComPortResults(m_comPort);
    WriteDialogResults();
    WriteVersionEntries();
    WriteRegisterSection();
    WriteUninstallEntry();
    CompleteInstallation();
    if (RunExecuteFile()) return true;  // a started program ends the installation quietly
    CloseInstallation(restartFlag);
    return true;
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
        m_destinationSettled = true;
        if (m_installDir != m_pendingChecked) OfferPendingRollback();
        m_pendingChecked = m_installDir;
        if (!m_setDefDir || CreateInstallDirectory(m_installDir)) break;
        if (!AskRetypeDirectory()) return false;
    }
    return LeaveUninstaller() && RunCopyDialog();
}

bool SetupEngine::CreateGroupsWithRetry() {
    while (!CreateProgramGroups()) {
        if (!AskRetryGroup()) return false;
    }
    return true;
}

// Reboot takes precedence over a restart; a restart is asked when the script wants one
// or when start-up programs were added; otherwise the end message.
// A restart that is needed counts as needed also when the user declines it.
void SetupEngine::CloseInstallation(bool restartFlag) {
    if (m_rebootSystem) {
        m_restartNeeded = true;
        if (AskReboot() && !RestartSystem(1)) ReportRebootFailure();
    } else if (m_restartWindows || restartFlag) {
        m_restartNeeded = true;
        if (AskRestart() && !RestartSystem(0)) ReportRestartFailure();
    } else {
        ShowEndMessage();
    }
}

bool SetupEngine::KeepsUndoRecord() const { return !GetScriptValue("UnInstall", "Record", nullptr, kPathBufferSize).empty(); }

bool SetupEngine::KeepsRollback() const { return KeepsUndoRecord() && GetScriptInt("UnInstall", "Rollback", 0) != 0; }

void SetupEngine::CompleteInstallation() {
    if (!KeepsRollback()) return;
    m_journal.InstallationCompleted();
    for (const std::string& copy : m_asideCopies) DeletePath(copy);
    if (!m_asideCopies.empty()) DeletePath(AsideFolderOf(UndoRecordPath()));
    m_asideCopies.clear();
}

std::string SetupEngine::UndoRecordPath() const {
    char path[kPathBufferSize];
    if (!m_destinationSettled || !GetScriptString("UnInstall", "Record", nullptr, path, sizeof path) ||
        !ResolvePathRef(path, sizeof path, m_installDir.c_str()))
        return std::string();
    return path;
}

// The uninstallation runs the installer again from the installation directory, with the
// script beside it for its messages: both are installed like any file, before the others.
bool SetupEngine::LeaveUninstaller() {
    if (!KeepsUndoRecord()) return true;
    int replaceAll = GetScriptInt("Initiation", "Replace File", 0);
    for (const std::string* path : {&m_programFile, &m_scriptFile}) {
        const std::size_t slash = path->rfind('\\');
        if (slash == std::string::npos) continue;
        const std::string folder = path->substr(0, slash + 1);
        if (!EqualNoCase(folder, m_installDir) &&  // not when run from the installation directory itself
            !InstallOneFile(replaceAll, path->c_str() + slash + 1, folder.c_str(), m_installDir.c_str()))
            return false;
        ProtectOwnFile(m_installDir + path->substr(slash + 1));
    }
    return true;
}

int SetupEngine::QuietExitCode() const {
    if (m_runEnd != RunEnd::kCompleted) return exit_code::kStopped;
    if (m_restartStarted) return exit_code::kRestartStarted;
    return m_restartNeeded ? exit_code::kRestartNeeded : exit_code::kSuccess;
}

}  // namespace setup
