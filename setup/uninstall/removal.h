// The machine's side of the undo record and of uninstalling: the record file, the removal
// of files, directories, INI entries and registry keys, and the helper that removes the
// program's own file once it has ended.
#pragma once

#include "../../framework/handles.h"
#include "../../framework/security.h"
#include "undo_record.h"
#include "uninstall.h"

#include <string>

// The record file: each line appended and handed to the disk as it is written.
class RecordFile : public setup::RecordSink {
public:
    bool Open(const std::string& path) override;
    bool Append(const std::string& lines) override;
    void Close() override { m_file.Reset(); }
    std::string Existing(const std::string& path) override;
    bool Cut(const std::string& path, std::size_t size) override;
    bool SetAside(const std::string& path) override;
    bool KeepsSeals() const override;
    std::optional<std::string> ReadSeal(const std::string& record) override;
    bool WriteSeal(const std::string& record, const std::string& seal) override;

private:
    fw::File m_file;
};

class Win32UndoMachine : public setup::UndoMachine {
public:
    std::optional<std::string> ReadRecord(const std::string& path) override;
    std::optional<setup::FileFacts> FileStamp(const std::string& path) override;
    Removal RemoveFile(const std::string& path) override;
    std::string LastFailure() override;
    std::vector<std::string> FilesIn(const std::string& folder) override;
    bool RemoveAtRestart(const std::string& path) override;
    bool RemoveEmptyDirectory(const std::string& path) override;
    void DeleteProfileEntry(const char* section, const char* key, const char* file) override;
    bool ProfileSectionEmpty(const char* section, const char* file) override;
    bool ProfileFileEmpty(const char* file) override;
    bool DeleteEmptyRegistryKey(setup::RegistryRoot root, const std::string& subKey) override;
    Removal RestoreFile(const std::string& copy, const std::string& path) override;
    std::optional<std::string> ReadSeal(const std::string& record) override;
    void WriteSeal(const std::string& record, const std::string& seal) override;
    std::optional<std::string> FileDigest(const std::string& path) override;
    bool CutRecord(const std::string& path, std::size_t size) override;
    std::string ProgramPath() override;
    void RemoveAfterExit(const std::string& program, const std::vector<std::string>& directories) override;

private:
    DWORD m_lastError = 0;
};

// A directory that is some process's current directory cannot be removed: the uninstaller
// and its helper work in the system directory, which no accepted record's directories hold.
std::string WorkingDirectory();
void LeaveCurrentDirectory();

// The helper's work (/FINISH=PID|FILE|DIR|...): waits for the process to end, removes the
// file (only a copy of this program), then each directory when empty; what cannot go now
// goes at the next restart.
void FinishUninstall(const std::string& what);

// Gives one of the installer's own files or folders (its copy, its script, the record, the
// folder of copies aside) rights that let only administrators change it, when this process
// runs with an administrator's rights and the file system keeps rights.
void ProtectInstallerFile(const std::string& path);

// A read-only file loses the attribute, so that it can be deleted or replaced: callers do
// that only to the installation's own files and copies. False when it was not read-only.
bool ClearReadOnly(const std::string& path);

// A file's SHA-256 in hexadecimal; none when it cannot be read.
std::optional<std::string> DigestOfFile(const std::string& path);

// The system's handle of a registry root.
HKEY RootKey(setup::RegistryRoot root);
