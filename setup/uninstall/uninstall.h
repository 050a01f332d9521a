// Uninstalling: what the undo record says an installation did, undone in reverse order,
// through the installer's own machine operations and answer source, and never beyond what
// the record names and the installation could have written.
#pragma once

#include "../engine/journal.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace setup {

// What uninstalling asks of the machine beyond what installing does.
class UndoMachine {
public:
    enum class Removal { kRemoved, kInUse, kFailed };
    virtual ~UndoMachine() = default;
    // The whole record file; none when it cannot be read.
    virtual std::optional<std::string> ReadRecord(const std::string& path) = 0;
    // A file's size and last-write time, read without opening it (crc32 left 0); none when
    // nothing is there.
    virtual std::optional<FileFacts> FileStamp(const std::string& path) = 0;
    // A read-only file that is the installation's own loses the attribute first.
    virtual Removal RemoveFile(const std::string& path) = 0;
    // Why the last RemoveFile failed, in a few words.
    virtual std::string LastFailure() { return "it cannot be removed"; }
    // The files (not folders) in a folder, by full path.
    virtual std::vector<std::string> FilesIn(const std::string& folder) = 0;
    // Removed when the system next starts (MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT).
    virtual bool RemoveAtRestart(const std::string& path) = 0;
    // False when it is not there or not empty.
    virtual bool RemoveEmptyDirectory(const std::string& path) = 0;
    // Deletes an INI entry, or a whole section when key is null.
    virtual void DeleteProfileEntry(const char* section, const char* key, const char* file) = 0;
    virtual bool ProfileSectionEmpty(const char* section, const char* file) = 0;
    virtual bool ProfileFileEmpty(const char* file) = 0;
    // Deletes a registry key that has neither values nor subkeys; false otherwise.
    virtual bool DeleteEmptyRegistryKey(RegistryRoot root, const std::string& subKey) = 0;
    // Puts a copy kept aside back in its place, over what is there: kInUse when that is held
    // and the copy takes its place at the next restart.
    virtual Removal RestoreFile(const std::string& copy, const std::string& path) = 0;
    // The seal kept for a record (record_seal.h); none when it has none or the system keeps
    // no access rights.
    virtual std::optional<std::string> ReadSeal(const std::string&) { return std::nullopt; }
    // Replaces a record's seal; an empty one removes it.
    virtual void WriteSeal(const std::string&, const std::string&) {}
    // The SHA-256 of a file, in hexadecimal; none when it cannot be read.
    virtual std::optional<std::string> FileDigest(const std::string& path) = 0;
    // Keeps the record's first size bytes; 0 removes it.
    virtual bool CutRecord(const std::string& path, std::size_t size) = 0;
    // The running program's full path.
    virtual std::string ProgramPath() = 0;
    // The program cannot remove its own file while it runs: once it has ended, a helper
    // removes it and then the directories (in this order, each when empty).
    virtual void RemoveAfterExit(const std::string& program, const std::vector<std::string>& directories) = 0;
};

// The directories and names an installation could have written, for the record's entries
// to be checked against. Empty when they are all allowed; else why not. Every entry must name
// a plain path in the installation's directories (or a name of the kinds an installation
// writes); those of part `scriptPart` (none: 0) must also be what the script there now
// writes, since that script wrote them. Earlier installations had scripts of their own.
class SetupEngine;
std::string CheckUndoRecord(SetupEngine& engine, const std::vector<struct UndoEntry>& entries,
                            const std::string& recordPath, int scriptPart);

}  // namespace setup
