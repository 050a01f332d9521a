// The installer's state and the operations that need no window: the portable part of the
// main frame. The frame window derives from it, adds what needs the system, and answers
// the platform hooks (the message dialog, the system's directories).
#pragma once

#include "script.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace setup {

// Buffer size of paths and script values.
constexpr std::size_t kPathBufferSize = 256;

// Message styles and dialog results, with the values of the system's message box.
namespace style {
constexpr int kOk = 0x00;
constexpr int kOkCancel = 0x01;
constexpr int kAbortRetryIgnore = 0x02;
constexpr int kYesNoCancel = 0x03;
constexpr int kYesNo = 0x04;
constexpr int kRetryCancel = 0x05;
constexpr int kStopIcon = 0x10;
constexpr int kQuestionIcon = 0x20;
constexpr int kExclamationIcon = 0x30;
constexpr int kInformationIcon = 0x40;
}  // namespace style

namespace result {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kAbort = 3;
constexpr int kRetry = 4;
constexpr int kIgnore = 5;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace result

class SetupEngine : public SetupScript {
public:
    SetupEngine();
    virtual ~SetupEngine();
    SetupEngine(const SetupEngine&) = delete;
    SetupEngine& operator=(const SetupEngine&) = delete;

    // The whole installation, run once from the main window's first timer tick.
    void RunSetup();

    // Reads the [Initiation] flags and the install name; 0 when the script names no
    // product at all (the flags are set all the same).
    int ReadInitiation();

    // Setters through which the dialogs hand back their results.
    void SetInstallDir(const char* directory);
    void SetComPort(std::int16_t value);
    void AddSelection(std::uint16_t item, const char* value);

    int GetSelectionCount() const;
    std::uint16_t GetSelectionItem(int index) const;

    // Replaces a path reference "name:code" in reference (a buffer of size bytes) by the
    // full path: code "#" the system directory, "0" the installation directory, "@" the
    // Windows directory, N the installation directory and [Initiation] "SubDir N"; no
    // code: the default directory, or the reference unchanged without one. 1 resolved,
    // 0 failed (the reference is then unchanged, also when the path would not fit).
    int ResolvePathRef(char* reference, std::size_t size, const char* defaultDir) const;

    // --- Messages: every question and report of the installation. ---
    bool AskPreviousVersion();
    bool AskReboot();
    bool AskRestart();
    int ReportRebootFailure();
    int ReportRestartFailure();
    int ReportSelfRestartFailure();
    int ShowEndMessage();
    bool ConfirmStop();  // true: stop the installation
    int ReportLowDiskSpace(std::uint32_t neededBytes, std::uint32_t freeBytes, int driveIndex);
    bool AskRetypeDirectory();
    int AskFileNotFound(const char* path);  // 4 retry, 5 ignore, 3 exit
    int AskCopyError(const char* fileName);  // 4 retry, 5 ignore, 3 exit
    int ConfirmFileReplace(const char* existingFile, const char* newFile);  // 6, 7, 2 "Replace All"
    bool AskRetryGroup();
    int PromptDiskChange(int disk);

    // Shows a message in the installer's message dialog, with the title and text of the
    // script's section when it has a non-empty "Title"; returns the dialog's result.
    virtual int ShowScriptMessage(const char* title, const char* text, const char* caption1,
                                  const char* caption2, const char* caption3, const char* section,
                                  int style) = 0;

    // --- The steps of the installation, in the order RunSetup takes them. Steps whose
    // work is not built yet give the neutral result that lets the installation go on. ---
    virtual bool FindPreviousVersion();
    virtual void RemoveStartupEntries();
    virtual bool RestartSystem(int reboot);  // 0 restarts Windows, non-zero reboots
    virtual bool RunComPortDialog();
    virtual bool RunSelectDialogs();
    virtual void CountCopyItems();
    virtual bool RunSetDirDialog();
    virtual bool CheckDiskSpace(int driveIndex);
    virtual bool CreateInstallDirectory(const std::string& directory);
    virtual bool RunCopyDialog();
    virtual bool CreateProgramGroups();
    virtual void WriteIniSections();
    virtual bool AddStartupEntries();
    virtual void WriteComPortResults(std::int16_t port);
    virtual void WriteDialogResults();
    virtual void WriteVersionEntries();
    virtual void WriteRegisterSection();
    virtual void WriteUninstallEntry();
    virtual bool RunExecuteFile();

protected:
    // The system's directories, for path references.
    virtual std::string SystemDirectory() const = 0;
    virtual std::string WindowsDirectory() const = 0;

    std::string m_installDir;  // ends with a backslash; "C:\" until the user chooses
    int m_setDefDir = 1;
    int m_restartWindows = 0;
    int m_rebootSystem = 0;
    std::uint16_t m_diskCount = 0;
    std::uint16_t m_copyEntryCount = 0;
    std::string m_installName;
    int m_comPortChosen = 0;
    int m_copyFromSubDir = 0;
    std::int16_t m_comPort = 0;
    std::vector<std::string> m_selectionValues;
    std::vector<std::uint16_t> m_selectionItems;

private:
    // Parts of RunSetup; false ends the installation.
    bool HandlePreviousVersion();
    bool RunCopyPhase();
    bool CreateGroupsWithRetry();
    void CloseInstallation(bool restartFlag);
};

}  // namespace setup
