#include "removal.h"

#include "../../framework/platform.h"
#include "../script/text.h"
#include "record_seal.h"
#include "wininit.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

bool RecordFile::Open(const std::string& path) {
    // Every line goes to the end, after what a run before left; no one else writes to it.
    m_file.Reset(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
    if (m_file) ProtectInstallerFile(path);
    return static_cast<bool>(m_file);
}

void ProtectInstallerFile(const std::string& path) {
    // Only an administrator may create keys under HKEY_LOCAL_MACHINE\SOFTWARE: a user who is
    // none keeps the rights the file has, so as not to lock himself out of his own record.
    HKEY software = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_CREATE_SUB_KEY, &software) != ERROR_SUCCESS) return;
    fw::RegistryKey key(software);
    fw::AdminOnlySecurity().ApplyTo(path.c_str());
}

bool RecordFile::Append(const std::string& lines) {
    const DWORD end = ::SetFilePointer(m_file.Get(), 0, nullptr, FILE_END);
    if (end == INVALID_SET_FILE_POINTER) return false;
    DWORD written = 0;
    if (::WriteFile(m_file.Get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr) &&
        written == lines.size() && ::FlushFileBuffers(m_file.Get()))  // on the disk before the installation goes on
        return true;
    // Part of the lines may have gone in (the disk filled up): cut back to the whole ones.
    if (::SetFilePointer(m_file.Get(), static_cast<LONG>(end), nullptr, FILE_BEGIN) == end) ::SetEndOfFile(m_file.Get());
    return false;
}

bool RecordFile::Cut(const std::string& path, std::size_t size) { return Win32UndoMachine().CutRecord(path, size); }

bool RecordFile::SetAside(const std::string& path) {
    for (int number = 0; number < 10; ++number) {
        const std::string aside = path + (number ? ".BA" + std::to_string(number) : std::string(".BAD"));
        if (::MoveFileA(path.c_str(), aside.c_str())) return true;
    }
    return false;
}

std::string RecordFile::Existing(const std::string& path) { return Win32UndoMachine().ReadRecord(path).value_or(""); }

// Seals go where only administrators write, on the systems that keep access rights at all.
bool RecordFile::KeepsSeals() const { return fw::IsNtPlatform(); }

std::optional<std::string> RecordFile::ReadSeal(const std::string& record) { return Win32UndoMachine().ReadSeal(record); }

bool RecordFile::WriteSeal(const std::string& record, const std::string& seal) {
    HKEY opened = nullptr;
    if (!fw::IsNtPlatform() || ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, setup::kSealKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                 KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return false;
    fw::RegistryKey key(opened);
    return ::RegSetValueExA(key.Get(), record.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(seal.c_str()),
                            static_cast<DWORD>(seal.size() + 1)) == ERROR_SUCCESS;
}

std::optional<std::string> Win32UndoMachine::ReadSeal(const std::string& record) {
    HKEY opened = nullptr;
    if (!fw::IsNtPlatform() ||
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, setup::kSealKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    fw::RegistryKey key(opened);
    char text[512] = {};
    DWORD type = 0, size = sizeof text - 1;
    if (::RegQueryValueExA(key.Get(), record.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    // Anything but the text a seal is matches no record.
    return type == REG_SZ ? std::string(text) : std::string("?");
}

void Win32UndoMachine::WriteSeal(const std::string& record, const std::string& seal) {
    if (!seal.empty()) {
        RecordFile().WriteSeal(record, seal);
        return;
    }
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, setup::kSealKey, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
    {
        fw::RegistryKey key(opened);
        ::RegDeleteValueA(key.Get(), record.c_str());
    }
    DeleteEmptyRegistryKey(setup::RegistryRoot::kLocalMachine, setup::kSealKey);
}

std::optional<std::string> DigestOfFile(const std::string& path) {
    fw::File file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    setup::Sha256 sum;
    std::vector<char> block(64 * 1024);
    DWORD read = 0;
    for (;;) {
        if (!::ReadFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr)) return std::nullopt;
        if (read == 0) return sum.Hex();
        sum.Add(block.data(), read);
    }
}

std::optional<std::string> Win32UndoMachine::FileDigest(const std::string& path) { return DigestOfFile(path); }

std::optional<std::string> Win32UndoMachine::ReadRecord(const std::string& path) {
    // Shared for deletion too: the uninstaller's helper reads its own file, which is held
    // open to be deleted when it ends.
    fw::File file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | fw::ShareDelete(), nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD size = file ? ::GetFileSize(file.Get(), nullptr) : INVALID_FILE_SIZE;
    if (size == INVALID_FILE_SIZE || size > (16u << 20)) return std::nullopt;  // no record is that long
    std::string text(size, '\0');
    DWORD read = 0;
    if (size && (!::ReadFile(file.Get(), &text[0], size, &read, nullptr) || read != size)) return std::nullopt;
    return text;
}

std::optional<setup::FileFacts> Win32UndoMachine::FileStamp(const std::string& path) {
    // The attributes are read from the directory, without opening the file, which may be held
    // open. A name with wildcards would match others.
    if (path.find_first_of("*?") != std::string::npos) return std::nullopt;
    WIN32_FIND_DATAA data{};
    const HANDLE found = ::FindFirstFileA(path.c_str(), &data);
    if (found == INVALID_HANDLE_VALUE) return std::nullopt;
    ::FindClose(found);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
    setup::FileFacts facts;
    facts.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    facts.writeTime = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    return facts;
}

bool ClearReadOnly(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           ::SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

Win32UndoMachine::Removal Win32UndoMachine::RemoveFile(const std::string& path) {
    if (::DeleteFileA(path.c_str()) || (ClearReadOnly(path) && ::DeleteFileA(path.c_str()))) return Removal::kRemoved;
    m_lastError = ::GetLastError();
    return m_lastError == ERROR_SHARING_VIOLATION || m_lastError == ERROR_ACCESS_DENIED ||
                   m_lastError == ERROR_LOCK_VIOLATION
               ? Removal::kInUse
               : Removal::kFailed;
}

std::string Win32UndoMachine::LastFailure() {
    switch (m_lastError) {
    case ERROR_WRITE_PROTECT: return "the disk is write-protected";
    case ERROR_ACCESS_DENIED: return "access denied";
    case ERROR_NOT_READY: return "the drive is not ready";
    default: return "error " + std::to_string(m_lastError);
    }
}

std::vector<std::string> Win32UndoMachine::FilesIn(const std::string& folder) {
    std::vector<std::string> files;
    WIN32_FIND_DATAA data{};
    const HANDLE found = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (found == INVALID_HANDLE_VALUE) return files;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(folder + "\\" + data.cFileName);
    while (::FindNextFileA(found, &data));
    ::FindClose(found);
    return files;
}

namespace {

// The short (8.3) form of an existing path; empty when it has none.
std::string ShortPath(const std::string& path) {
    char shortPath[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return length && length < sizeof shortPath ? std::string(shortPath, length) : std::string();
}

// Windows 95, 98 and ME: a line of WININIT.INI's [rename] section, in short names.
bool AddToWininit(const std::string& destination, const std::string& source) {
    char windows[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(windows, sizeof windows);
    if (!length || length >= sizeof windows) return false;
    const std::string file = setup::WithBackslash(std::string(windows, length)) + "WININIT.INI";
    Win32UndoMachine machine;
    const std::string text = machine.ReadRecord(file).value_or(std::string());
    const std::string edited = setup::AddRenameLine(text, destination + "=" + source);
    fw::File out(::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return out && ::WriteFile(out.Get(), edited.data(), static_cast<DWORD>(edited.size()), &written, nullptr) &&
           written == edited.size() && ::SetEndOfFile(out.Get());
}

using MoveEx = BOOL(WINAPI*)(const char*, const char*, DWORD);

// Moves `source` to `destination` (deletes it when `destination` is empty) when the system
// next starts, each family its own way.
bool AtNextStart(const std::string& source, const std::string& destination, DWORD replace) {
    if (fw::IsNtPlatform()) {
        // Looked up: Windows 95's kernel32 has no working MoveFileExA.
        const auto moveEx = fw::SystemFunction<MoveEx>("KERNEL32.DLL", "MoveFileExA");
        return moveEx && moveEx(source.c_str(), destination.empty() ? nullptr : destination.c_str(),
                                replace | MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    const std::string shortSource = ShortPath(source);
    const std::string shortDestination = destination.empty() ? "NUL" : ShortPath(destination);
    return !shortSource.empty() && !shortDestination.empty() && AddToWininit(shortDestination, shortSource);
}

// Moves the copy over the file, within a drive or across drives; the copy goes once it is in
// place.
bool PutInPlace(const std::string& copy, const std::string& path) {
    if (fw::IsNtPlatform()) {
        const auto moveEx = fw::SystemFunction<MoveEx>("KERNEL32.DLL", "MoveFileExA");
        return moveEx && moveEx(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
    }
    // Windows 95, 98 and ME move onto no existing file: the one in the way goes first.
    if (!::DeleteFileA(path.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    return ::MoveFileA(copy.c_str(), path.c_str()) ||
           (::CopyFileA(copy.c_str(), path.c_str(), TRUE) && ::DeleteFileA(copy.c_str()));
}

}  // namespace

bool Win32UndoMachine::RemoveAtRestart(const std::string& path) { return AtNextStart(path, {}, 0); }

bool Win32UndoMachine::RemoveEmptyDirectory(const std::string& path) { return ::RemoveDirectoryA(path.c_str()) != 0; }

void Win32UndoMachine::DeleteProfileEntry(const char* section, const char* key, const char* file) {
    ::WritePrivateProfileStringA(section, key, nullptr, file);
}

bool Win32UndoMachine::ProfileSectionEmpty(const char* section, const char* file) {
    char entries[4] = {};
    return ::GetPrivateProfileSectionA(section, entries, sizeof entries, file) == 0;
}

bool Win32UndoMachine::ProfileFileEmpty(const char* file) {
    char names[4] = {};
    if (::GetPrivateProfileSectionNamesA(names, sizeof names, file) != 0) return false;
    // The profile functions keep what they write in memory: written out before the file goes.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, file);
    return true;
}

HKEY RootKey(setup::RegistryRoot root) {
    switch (root) {
    case setup::RegistryRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    case setup::RegistryRoot::kCurrentUser: return HKEY_CURRENT_USER;
    case setup::RegistryRoot::kLocalMachine: return HKEY_LOCAL_MACHINE;
    case setup::RegistryRoot::kUsers: return HKEY_USERS;
    }
    return HKEY_CURRENT_USER;
}

bool Win32UndoMachine::DeleteEmptyRegistryKey(setup::RegistryRoot root, const std::string& subKey) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(RootKey(root), subKey.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    DWORD subKeys = 1, values = 1;
    {
        fw::RegistryKey key(opened);
        if (::RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return false;
    }
    return subKeys == 0 && values == 0 && ::RegDeleteKeyA(RootKey(root), subKey.c_str()) == ERROR_SUCCESS;
}

Win32UndoMachine::Removal Win32UndoMachine::RestoreFile(const std::string& copy, const std::string& path) {
    // The file there now is the installation's own, read-only when the one before was.
    if (PutInPlace(copy, path) || (ClearReadOnly(path) && PutInPlace(copy, path))) return Removal::kRemoved;
    m_lastError = ::GetLastError();
    if (m_lastError != ERROR_SHARING_VIOLATION && m_lastError != ERROR_ACCESS_DENIED && m_lastError != ERROR_LOCK_VIOLATION)
        return Removal::kFailed;
    // Held open: the system puts the copy in its place when it next starts. A move at the
    // start cannot cross drives: the copy goes to the file's own folder first.
    std::string source = copy;
    if (copy.size() < 2 || path.size() < 2 || setup::FoldName(copy.substr(0, 2)) != setup::FoldName(path.substr(0, 2))) {
        char staged[MAX_PATH] = {};
        const std::string folder = path.substr(0, path.rfind('\\') + 1);
        if (!::GetTempFileNameA(folder.c_str(), "RST", 0, staged) || !::CopyFileA(copy.c_str(), staged, FALSE)) {
            ::DeleteFileA(staged);
            return Removal::kFailed;
        }
        source = staged;
    }
    if (!AtNextStart(source, path, MOVEFILE_REPLACE_EXISTING)) return Removal::kFailed;
    if (source != copy) ::DeleteFileA(copy.c_str());
    return Removal::kInUse;
}

bool Win32UndoMachine::CutRecord(const std::string& path, std::size_t size) {
    if (size == 0) return ::DeleteFileA(path.c_str()) != 0;
    fw::File file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && ::SetFilePointer(file.Get(), static_cast<LONG>(size), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
           ::SetEndOfFile(file.Get());
}

std::string Win32UndoMachine::ProgramPath() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    return length < sizeof path ? std::string(path, length) : std::string();
}

std::string WorkingDirectory() {
    char directory[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(directory, sizeof directory);
    return length && length < sizeof directory ? std::string(directory, length) : std::string();
}

void LeaveCurrentDirectory() {
    const std::string directory = WorkingDirectory();
    if (!directory.empty()) ::SetCurrentDirectoryA(directory.c_str());
}

namespace {

// Eight hexadecimal digits that no one can tell in advance: from the system's random source
// where it has one (advapi32's SystemFunction036, Windows XP and later), else from the clocks
// and the ids of the moment.
std::string Unguessable() {
    using Random = BOOLEAN(WINAPI*)(void*, ULONG);
    std::uint32_t value = 0;
    const auto random = fw::SystemFunction<Random>("ADVAPI32.DLL", "SystemFunction036");
    if (!random || !random(&value, sizeof value)) {
        LARGE_INTEGER counter{};
        ::QueryPerformanceCounter(&counter);
        value = static_cast<std::uint32_t>(counter.QuadPart ^ (counter.QuadPart >> 32)) ^ ::GetTickCount() * 2654435761u ^
                ::GetCurrentProcessId() << 16 ^ ::GetCurrentThreadId();
    }
    char digits[9] = {};
    for (int i = 0; i < 8; ++i) digits[i] = "0123456789ABCDEF"[(value >> (28 - 4 * i)) & 15];
    return digits;
}

// The same file, by its index, as the one the handle holds; both lie in one folder, on one
// volume (whose serial number not every system reports alike for every handle).
bool SameFile(HANDLE held, const std::string& path) {
    fw::File other(::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | fw::ShareDelete(), nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return other && ::GetFileInformationByHandle(held, &a) && ::GetFileInformationByHandle(other.Get(), &b) &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// The held file's whole content equals `expected`.
bool HoldsExactly(HANDLE held, const std::string& expected) {
    if (::GetFileSize(held, nullptr) != expected.size() || ::SetFilePointer(held, 0, nullptr, FILE_BEGIN) != 0) return false;
    std::string text(expected.size(), '\0');
    DWORD read = 0;
    return (text.empty() || (::ReadFile(held, &text[0], static_cast<DWORD>(text.size()), &read, nullptr) && read == text.size())) &&
           text == expected;
}

// The helper's copy of the program, on the NT family, runs in a folder of its own made for
// it in the temporary directory, which only administrators can change: a DLL that anyone put
// in the temporary directory is never beside it. The copy is made first beside that folder
// (FOLDER.TMP) and held open, for deletion when its last handle goes, then moved in; the
// helper moves it back and removes the folder once its work is done, and the copy goes when
// it ends. Anyone may rename files in the temporary directory while the copy lies there: the
// one moved in is checked to be the held file, with the program's content, before it runs.
struct HelperCopy {
    std::string folder, image;
    fw::File held;
};

std::optional<HelperCopy> MakeHelperCopy(const std::string& program, const std::string& temporary) {
    Win32UndoMachine machine;
    const std::optional<std::string> content = machine.ReadRecord(program);
    fw::AdminOnlySecurity security;
    if (!content) return std::nullopt;
    for (int attempt = 0; attempt < 8; ++attempt) {
        HelperCopy copy;
        copy.folder = temporary + "UNS" + Unguessable();
        const std::string staged = copy.folder + ".TMP";
        // Made new, or another name: a folder or file of that name may be anyone's.
        if (!::CreateDirectoryA(copy.folder.c_str(), security.Attributes())) continue;
        if (!::CopyFileA(program.c_str(), staged.c_str(), TRUE)) {
            ::RemoveDirectoryA(copy.folder.c_str());
            continue;
        }
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        // Shared for reading and deletion, never for writing: no one changes it from now on.
        copy.held.Reset(::CreateFileA(staged.c_str(), GENERIC_READ, FILE_SHARE_READ | fw::ShareDelete(), &inherited,
                                      OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        copy.image = copy.folder + "\\SETUP.EXE";
        if (copy.held && ::MoveFileA(staged.c_str(), copy.image.c_str()) && SameFile(copy.held.Get(), copy.image) &&
            HoldsExactly(copy.held.Get(), *content))
            return copy;
        if (!copy.held) ::DeleteFileA(staged.c_str());
        copy.held.Reset();  // deletes the copy wherever it lies
        ::RemoveDirectoryA(copy.folder.c_str());
    }
    return std::nullopt;
}

bool StartHelper(const std::string& image, const std::string& work) {
    std::string line = "\"" + image + "\" /FINISH=\"" + work + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Not the uninstaller's current directory, which may be the one the helper removes.
    const std::string directory = WorkingDirectory();
    if (!::CreateProcessA(image.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &startup, &process))
        return false;
    fw::KernelHandle thread(process.hThread), helper(process.hProcess);
    return true;
}

// Windows 95, 98 and ME delete no file when its last handle goes, and keep no rights: the
// copy lies in the temporary directory and goes at the next restart.
bool StartHelperWithoutRights(Win32UndoMachine& machine, const std::string& program, const std::string& temporary,
                              const std::string& work) {
    char copy[MAX_PATH] = {};
    if (!::GetTempFileNameA(temporary.c_str(), "UNS", 0, copy)) return false;
    if (::CopyFileA(program.c_str(), copy, FALSE) && StartHelper(copy, work)) {
        machine.RemoveAtRestart(copy);
        return true;
    }
    ::DeleteFileA(copy);
    return false;
}

}  // namespace

void Win32UndoMachine::RemoveAfterExit(const std::string& program, const std::vector<std::string>& directories) {
    std::string work = std::to_string(::GetCurrentProcessId()) + "|" + program;
    for (const std::string& directory : directories) work += "|" + directory;
    char temporary[MAX_PATH] = {};
    const DWORD length = ::GetTempPathA(sizeof temporary, temporary);
    if (length && length < sizeof temporary) {
        const std::string folder = setup::WithBackslash(std::string(temporary, length));
        if (!fw::IsNtPlatform()) {
            if (StartHelperWithoutRights(*this, program, folder, work)) return;
        } else if (std::optional<HelperCopy> copy = MakeHelperCopy(program, folder)) {
            // The held handle goes to the helper: the copy goes when the helper ends.
            if (StartHelper(copy->image, work)) return;
            ::MoveFileA(copy->image.c_str(), (copy->folder + ".TMP").c_str());
            copy->held.Reset();
            ::RemoveDirectoryA(copy->folder.c_str());
        }
    }
    // No helper: everything goes at the next restart.
    RemoveAtRestart(program);
    for (const std::string& directory : directories) RemoveAtRestart(directory);
}

// The helper's last work: its copy back beside its folder, where the system deletes it when
// the helper ends, and the folder gone; what cannot go now goes at the next restart.
void LeaveHelperFolder(Win32UndoMachine& machine) {
    const std::string image = machine.ProgramPath();
    const std::string folder = image.substr(0, image.rfind('\\'));
    const std::size_t name = folder.rfind('\\') + 1;
    if (!fw::IsNtPlatform() || folder.compare(name, 3, "UNS") != 0 || folder.size() != name + 11) return;
    if (!::MoveFileA(image.c_str(), (folder + ".TMP").c_str()) || !::RemoveDirectoryA(folder.c_str()))
        machine.RemoveAtRestart(folder);
}

namespace {

void RemoveEndedProgram(Win32UndoMachine& machine, const std::string& what) {
    std::vector<std::string> parts;
    for (std::size_t from = 0, bar = 0; bar != std::string::npos; from = bar + 1) {
        bar = what.find('|', from);
        parts.push_back(what.substr(from, bar == std::string::npos ? bar : bar - from));
    }
    if (parts.size() < 2) return;
    fw::KernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(std::strtoul(parts[0].c_str(), nullptr, 10))));
    // As long as the uninstallation runs: its end message may stay open for hours.
    if (process) ::WaitForSingleObject(process.Get(), INFINITE);
    // The file to remove is a copy of this very program, or nothing is removed: whatever the
    // command line says, the helper never takes another file with it.
    const std::optional<std::string> file = machine.ReadRecord(parts[1]);
    const std::optional<std::string> self = machine.ReadRecord(machine.ProgramPath());
    if (!file || !self || *file != *self) return;
    // The ended program's file may be let go a moment after its process.
    for (int attempt = 0; attempt < 50 && machine.RemoveFile(parts[1]) == setup::UndoMachine::Removal::kInUse; ++attempt)
        ::Sleep(100);
    if (machine.FileStamp(parts[1])) machine.RemoveAtRestart(parts[1]);
    for (std::size_t i = 2; i < parts.size(); ++i)
        if (!machine.RemoveEmptyDirectory(parts[i])) machine.RemoveAtRestart(parts[i]);
}

}  // namespace

void FinishUninstall(const std::string& what) {
    Win32UndoMachine machine;
    RemoveEndedProgram(machine, what);
    LeaveHelperFolder(machine);
}
