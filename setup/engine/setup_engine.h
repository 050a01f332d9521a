// The installer's state and the operations that need no window: the portable part of the
// main frame. The frame window derives from it, adds what needs the system, and answers
// the platform hooks (the message dialog, the system's directories).
#pragma once

#include "../script/disk_checksums.h"
#include "../script/script.h"
#include "../script/text.h"
#include "answers.h"
#include "journal.h"
#include "machine.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace setup {

struct PortQuestion;
struct SelectQuestion;

// Buffer size of paths and script values.
constexpr std::size_t kPathBufferSize = 256;

// The folder beside an undo record that keeps the copies aside ("C:\APP\APP.UNR.OLD").
inline std::string AsideFolderOf(const std::string& recordPath) { return recordPath + ".OLD"; }

// A file time in local time.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};

// What an uninstallation or a rollback could not undo, for its end message.
struct UndoOutcome {
    std::vector<std::string> stayed;  // changed since
    std::vector<std::string> failed;  // could not be removed, each with the reason
    bool cut = false;                 // the record's last line was cut short and left out
};

// What the installation itself has made: the directories it created and the files it has
// installed into them. A path in such a directory that it has not installed cannot be there
// (but for another program's doing), so the copy need not look for it: on a system that
// matches names without case, each look for a file that is not there reads the directory.
class NewFiles {
public:
    void DirectoryMade(const std::string& path) { m_directories.insert(FoldName(WithoutBackslash(path))); }
    void Installed(const std::string& path) { m_files.insert(FoldName(path)); }
    bool CannotBeThere(const std::string& directory, const std::string& path) const {
        return m_directories.count(FoldName(WithoutBackslash(directory))) && !m_files.count(FoldName(path));
    }

private:
    static std::string WithoutBackslash(std::string path) {
        if (!path.empty() && path.back() == '\\') path.pop_back();
        return path;
    }
    std::set<std::string> m_directories, m_files;
};

class SetupEngine;
class UndoMachine;

// The person at the screen: the installer's own dialogs, through the engine's hooks. The
// engine's answer source unless a run with switches gives it another.
class ScreenAnswers : public AnswerSource {
public:
    explicit ScreenAnswers(SetupEngine& engine) : m_engine(engine) {}
    Answer AskMessage(const MessageQuestion& question) override;
    Answer ChoosePort(const PortQuestion& question) override;
    Answer ChooseItem(int number, const SelectQuestion& question) override;
    Answer ChooseDirectory() override;
    Answer AllowProgramStart(const std::string& commandLine) override;

private:
    SetupEngine& m_engine;
};

class SetupEngine : public SetupScript {
public:
    SetupEngine();
    virtual ~SetupEngine();
    SetupEngine(const SetupEngine&) = delete;
    SetupEngine& operator=(const SetupEngine&) = delete;

    // The whole installation, run once from the main window's first timer tick.
    void RunSetup();
    // Undoes what the undo record at recordPath says an installation did, after the user
    // confirmed it; the record refused, nothing is changed.
    void RunUninstall(UndoMachine& machine, const std::string& recordPath);
    // Undoes the record's last installation, which did not complete, and puts back the files
    // it kept aside: at once after it stopped, or (pending) at a later start when the user
    // agrees. Nothing when that installation completed or keeps no rollback.
    void RollBack(UndoMachine& machine, const std::string& recordPath, bool pending);

    // --- The undo record ([UnInstall] "Record"). ---
    bool KeepsUndoRecord() const;
    // [UnInstall] "Rollback": files installed over are copied aside first, and an installation
    // that does not complete is undone. Only with a record.
    bool KeepsRollback() const;
    // Where the record goes, once the destination is settled; empty before, or without one.
    std::string UndoRecordPath() const;
    const std::string& InstallDir() const { return m_installDir; }
    // The running program and its script (full paths), copied into the installation
    // directory for the uninstallation.
    void SetProgramFiles(const std::string& program, const std::string& script) {
        m_programFile = program;
        m_scriptFile = script;
    }

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

    // --- The two seams of a run started with switches: who answers the questions, and who
    // hears of every answer and change. ---
    // The answers come from source; null: the person at the screen, through the hooks
    // ShowScriptMessage and Show...Dialog below.
    void SetAnswerSource(AnswerSource* source) { m_answers = source; }
    AnswerSource& Answers() { return m_answers ? *m_answers : m_screen; }
    Journal& GetJournal() { return m_journal; }
    // Restarts and reboots are held back (/NORESTART): the run goes on as if requested.
    void HoldBackRestarts() { m_holdRestarts = true; }
    // How the last RunSetup ended, and the exit code a quiet run gives for it.
    RunEnd LastRunEnd() const { return m_runEnd; }
    int QuietExitCode() const;

    // Asks a message of the catalogue through the answer source and tells the journal.
    Answer AskQuestion(const MessageQuestion& question);
    // The disk change before disk N: the folder where it is (current: where disk N - 1
    // was), or empty when it is nowhere and the installation stops.
    std::string ChangeDisk(int disk, const std::string& current);
    // True when the folder holds at least one of the files that disk N's lists copy.
    bool DiskFolderHolds(int disk, const std::string& folder);

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
    // A file whose size or checksum is not the one [Checksums] lists: path as on the disk.
    int AskDamagedFile(const std::string& path, int disk);  // 4 retry, 5 ignore, 3 exit
    // The replace question for an existing file: 6 "Yes", 7 "No", 2 "Replace All", or 0
    // without asking when either file cannot be read.
    int ConfirmFileReplace(const char* sourceName, const char* destName, const char* sourceDir,
                           const char* destDir);
    bool AskRetryGroup();
    int PromptDiskChange(int disk);
    // The uninstallation's messages.
    bool ConfirmUninstall();
    int ReportUninstallRefused(const std::string& record, const std::string& reason);
    int ReportDestinationRefused(const std::string& directory, const std::string& reason);
    int ReportUninstalled(const UndoOutcome& outcome);
    bool AskUninstallRestart();
    // The rollback's messages.
    bool AskRollbackPending(const std::string& directory);
    int ReportRolledBack(const UndoOutcome& outcome);
    // The same question, with the folder where the disk before was.
    Answer AskDiskChange(int disk, const std::string& current);

    // --- Directories, space and files. ---
    std::uint32_t GetRequiredDiskSpace() const;
    // Installs one file from the source directory (under its plain or compressed name) into
    // the destination directory, asking before it replaces an existing file. False when the
    // user chose to end the installation; a skipped file counts as done.
    bool InstallOneFile(int& replaceAll, const char* fileName, const char* sourceDir, const char* destDir);
    // The disk whose list names the files InstallOneFile installs from now on (0 for none),
    // and the folder on that disk they are read from ("" for its root, else ending in "\").
    void SetCopyDisk(int disk, const std::string& folder = std::string()) {
        m_copyDisk = disk;
        m_copyFolder = folder;
    }
    bool NeedsReplaceConfirmation(const char* fileName) const;
    // Entries of one copy list (a section's "File D.M" and "Bitmap D.M" keys, after prefix).
    int CountEntryList(int disk, const char* section, const char* prefix) const;

    // --- Program groups, registry, start-up programs and INI entries. ---
    // The program-manager arguments of [Group N] "Item M": command, "title" and, with an
    // icon file, its path and index. False when the item is absent or malformed.
    bool BuildItemCommand(const char* group, int item, std::string& command) const;
    bool AddGroupItems(ProgramManager& manager, const char* group);
    std::unique_ptr<RegistryKey> CreateRegistryKey(const std::string& root, const std::string& subKey,
                                                   const char* keyClass);
    // True when the script names a start-up program ([WIN.INI] "RunFile 1" or "LoadFile 1").
    bool HasStartupEntries() const;
    // Runs over the script's "RunFile N" or "LoadFile N" programs: test (is one on a line?),
    // remove (cut each from the "Run" line, else from the "Load" line) or append (add each
    // to first, which is then the line of the list).
    enum class StartupMode { kTest, kRemove, kAppend };
    bool ProcessStartupList(StartupMode mode, const char* list, std::string& first, std::string& second) const;
    // Writes one "section, key, value" entry into an INI file; malformed entries are skipped.
    void WriteIniItem(const char* file, const char* entry);

    // Shows a message in the installer's message dialog, with the title and text of the
    // script's section when it has a non-empty "Title"; returns the dialog's result.
    virtual int ShowScriptMessage(const char* title, const char* text, const char* caption1,
                                  const char* caption2, const char* caption3, const char* section,
                                  int style) = 0;

    // --- The person at the screen: the installer's dialogs, run for one answer. ---
    // The position chosen in the port list, or none for Cancel.
    virtual std::optional<int> ShowPortDialog(const PortQuestion& question) = 0;
    // The position chosen in a selection question's list, or none for Cancel.
    virtual std::optional<int> ShowSelectDialog(const SelectQuestion& question) = 0;
    // The destination directory as stored ("C:\APP\"), or none for Cancel.
    virtual std::optional<std::string> ShowSetDirDialog() = 0;

    // --- The steps of the installation, in the order RunSetup takes them. ---
    virtual bool FindPreviousVersion();
    virtual void RemoveStartupEntries();
    virtual bool RestartSystem(int reboot);  // 0 restarts Windows, non-zero reboots
    virtual bool RunComPortDialog();
    virtual bool RunSelectDialogs();
    virtual void CountCopyItems();
    virtual bool RunSetDirDialog();
    virtual bool CheckDiskSpace(int driveIndex);
    virtual bool CreateInstallDirectory(const std::string& directory);
    virtual bool RunCopyDialog() = 0;
    virtual bool CreateProgramGroups();
    virtual void WriteIniSections();
    virtual bool AddStartupEntries();
    virtual void WriteComPortResults(std::int16_t port);
    virtual void WriteDialogResults();
    virtual void WriteVersionEntries();
    virtual void WriteRegisterSection();
    virtual void WriteUninstallEntry();
    virtual bool RunExecuteFile();

    // --- The machine, as the portable operations need it. ---
    // The system's directories (no trailing backslash).
    virtual std::string SystemDirectory() const = 0;
    virtual std::string WindowsDirectory() const = 0;
    // True when the directory exists afterwards (made now, or there and enterable).
    virtual bool EnsureDirectory(const std::string& path) = 0;
    // Free bytes of the drive of a root path such as "C:\"; empty when unknown.
    virtual std::optional<std::uint64_t> FreeDiskSpace(const std::string& root) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // The file's last-write time in local time; empty when it cannot be read.
    virtual std::optional<LocalTime> GetFileLocalTime(const std::string& path) = 0;
    // Installs a source file (expanding a compressed one) as destName in destDir; 0 on
    // success, else the version library's result bits.
    virtual std::uint32_t InstallFile(const std::string& sourceName, const std::string& destName,
                                      const std::string& sourceDir, const std::string& destDir) = 0;
    // The expanded length that a compressed source's header states; none for a file that is
    // not compressed (or cannot be read).
    virtual std::optional<std::uint32_t> StatedLength(const std::string& path) = 0;
    // Renames a file within its folder; false when the system refused.
    virtual bool MovePath(const std::string& from, const std::string& to) = 0;
    // True when another program has the file open (a running program's image): the system
    // may still let it be renamed, but the old file could then not be deleted.
    virtual bool FileHeldOpen(const std::string&) { return false; }
    // WritePrivateProfileStringA: one INI entry.
    virtual void WriteProfileValue(const char* section, const char* key, const char* value, const char* file) = 0;
    // The [windows] "Load" and "Run" lines of the user's profile (win.ini).
    virtual std::string GetProfileLine(const char* key) = 0;
    virtual void WriteProfileLine(const char* key, const std::string& line) = 0;
    // A conversation with the program manager, or none when the library or the connection
    // fails.
    virtual std::unique_ptr<ProgramManager> ConnectProgramManager() = 0;
    // Creates or opens a registry key (with the class when it is created); none on failure.
    virtual std::unique_ptr<RegistryKey> OpenRegistryKey(RegistryRoot root, const std::string& subKey,
                                                         const char* keyClass) = 0;
    // What the journal tells of a change, gathered only while it has writers: whether a
    // directory is there; an installed file's size, time and checksum; an INI entry's value
    // (none when the entry is absent).
    virtual bool DirectoryExists(const std::string& path) = 0;
    virtual std::optional<FileFacts> GetFileFacts(const std::string& path) = 0;
    // True while lines of the undo record wait that could not be written; RetryRecord writes
    // them again.
    virtual bool RecordFailed() { return false; }
    virtual void RetryRecord() {}
    // The installer's copy of itself and of its script, beside the record: changed by
    // administrators only, where the system keeps rights.
    virtual void ProtectOwnFile(const std::string&) {}
    // The SHA-256 of a copy kept aside, in hexadecimal; none when it cannot be read.
    virtual std::optional<std::string> FileDigest(const std::string& path) = 0;
    virtual std::optional<std::string> ReadProfileValue(const char* section, const char* key, const char* file) = 0;
    // What the undo record needs besides: whether a registry key or an INI section is there.
    virtual bool RegistryKeyExists(RegistryRoot, const std::string&) { return true; }
    virtual bool ProfileSectionExists(const char*, const char*) { return true; }
    // ExitWindowsEx; the NT family needs the shutdown privilege before a reboot.
    virtual bool RequestExitWindows(unsigned flags, unsigned reserved) = 0;
    virtual bool IsNtFamily() = 0;
    virtual bool EnableShutdownPrivilege() = 0;
    // A copy of a file kept aside, made with its folder when that is missing; and a file or
    // empty directory deleted. False when the system refused.
    virtual bool CopyFileAside(const std::string& from, const std::string& to) = 0;
    virtual bool DeletePath(const std::string& path) = 0;
    // Once the installation directory is settled, before anything is written into it: an
    // earlier installation there that did not complete is offered to be undone.
    virtual void OfferPendingRollback() {}
    // Starts a program (the command line as written) and gives it half a second.
    virtual bool StartProgram(const std::string& commandLine) = 0;
    // The pictures shown on the background during the copy.
    virtual void ShowBillboard(int position, const char* directory, const char* name) = 0;
    virtual void RemoveBillboard() = 0;

protected:
    // Every change is made: the record marks it, and the copies aside go.
    void CompleteInstallation();

    std::string m_installDir;  // ends with a backslash; "C:\" until the user chooses
    int m_setDefDir = 1;
    int m_restartWindows = 0;
    int m_rebootSystem = 0;
    std::uint16_t m_diskCount = 0;
    // Counted in 32 bits: a 16-bit count would wrap to 0 at 65536 entries and install nothing.
    std::uint32_t m_copyEntryCount = 0;
    std::string m_installName;
    int m_comPortChosen = 0;
    int m_copyFromSubDir = 0;
    std::int16_t m_comPort = 0;
    std::vector<std::string> m_selectionValues;
    std::vector<std::uint16_t> m_selectionItems;
    Journal m_journal;
    bool m_destinationSettled = false;  // the installation directory is the one to install into
    std::string m_programFile, m_scriptFile;
    std::vector<std::string> m_asideCopies;  // made by this installation
    std::string m_pendingChecked;            // the directory whose record was looked at
    RunEnd m_runEnd = RunEnd::kNothingToDo;
    int m_copyDisk = 0;
    std::string m_copyFolder;
    NewFiles m_newFiles;

private:
    // The changes, each told to the journal once.
    bool MakeDirectory(const std::string& path);
    void WriteIniEntry(const char* section, const char* key, const char* value, const char* file);
    void WriteStartupLine(const char* key, const std::string& before, const std::string& after);
    ProgramManager::Outcome SendCommand(ProgramManager& manager, const std::string& command);
    std::unique_ptr<RegistryKey> OpenKeyForWriting(const std::string& root, const std::string& subKey,
                                                   const char* keyClass);
    bool SetRegistryString(RegistryKey& key, const std::string& path, const char* name, const char* data);
    // How many levels of the key's path, from its end, are not there yet.
    int MissingKeyLevels(const std::string& root, std::string subKey);
    // facts: of the installed file, when the check has read them already.
    void TellInstalled(const std::string& source, const std::string& destination, std::uint32_t result, bool replaced,
                       bool savedAside, std::optional<FileFacts> facts);
    // With rollback, the file at destination copied aside before it is installed over: not
    // needed, kept, or not (the file is then passed over, or the installation ends).
    enum class Aside { kNone, kSaved, kIgnored, kStopped };
    Aside SaveAside(const std::string& destination, const char* fileName);
    bool RecordKept(const char* fileName);
    // The size and checksum [Checksums] lists for the file of the copy disk; none without.
    std::optional<FileChecksum> ListedChecksum(const char* fileName) const;
    // The version library's installation, and the checks that a compressed source expanded
    // to the length its header states and that the file is the one listed; the file that was
    // there stays until then.
    std::uint32_t InstallChecked(const std::string& sourcePath, const std::string& sourceName, const char* fileName,
                                 const char* sourceDir, const char* destDir, const std::optional<FileChecksum>& listed,
                                 std::optional<FileFacts>& facts);
    std::string HoldBack(const std::string& destination, const char* destDir);
    std::string RecordDestinationProblem(const std::string& directory);

    // Writes each "Item F.M" entry of the section's "File F" INI files: its INI section and
    // key (fields 1 and 2) get value(field 3) (fields: 2 or 3).
    void WriteItems(const char* section, int fields, const std::function<std::string(const char*)>& value);

    // Parts of RunSetup; false ends the installation.
    bool RunSequence();
    bool HandlePreviousVersion();
    bool RunCopyPhase();
    bool CreateGroupsWithRetry();
    void CloseInstallation(bool restartFlag);
    // The installer and its script, copied for the uninstallation; false ends the installation.
    bool LeaveUninstaller();

    friend class Uninstaller;

    ScreenAnswers m_screen{*this};
    AnswerSource* m_answers = nullptr;
    bool m_holdRestarts = false;
    bool m_restartNeeded = false;   // a restart or reboot was asked for or needed
    bool m_restartStarted = false;  // and the system began it
};

}  // namespace setup
