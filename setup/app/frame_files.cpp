// The main frame's answers to what the portable operations ask of the machine: files,
// directories, free space and the version library's file installer.
#include "../../framework/platform.h"
#include "../uninstall/removal.h"
#include "main_frame.h"

#include <winver.h>

#include <cstring>
#include <vector>

bool CMainFrame::EnsureDirectory(const std::string& path) {
    if (::CreateDirectoryA(path.c_str(), nullptr)) return true;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    // What is there must be a directory that can be entered; the current directory is
    // put back afterwards.
    char current[setup::kPathBufferSize] = {};
    const DWORD length = ::GetCurrentDirectoryA(sizeof current, current);
    if (length == 0 || length >= sizeof current) return false;
    if (!::SetCurrentDirectoryA(path.c_str())) return false;
    ::SetCurrentDirectoryA(current);
    return true;
}

std::optional<std::uint64_t> CMainFrame::FreeDiskSpace(const std::string& root) {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!::GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return std::nullopt;
    return std::uint64_t{freeClusters} * bytesPerSector * sectorsPerCluster;
}

bool CMainFrame::FileExists(const std::string& path) {
    fw::File file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

std::optional<setup::LocalTime> CMainFrame::GetFileLocalTime(const std::string& path) {
    fw::File file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME written{}, local{};
    SYSTEMTIME time{};
    if (!file || !::GetFileTime(file.Get(), nullptr, nullptr, &written) ||
        !::FileTimeToLocalFileTime(&written, &local) || !::FileTimeToSystemTime(&local, &time))
        return std::nullopt;
    return setup::LocalTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute};
}

std::uint32_t CMainFrame::InstallFile(const std::string& sourceName, const std::string& destName,
                                      const std::string& sourceDir, const std::string& destDir) {
    // The installer's declaration takes writable strings; it gets copies.
    std::string source = sourceName, destination = destName, from = sourceDir, to = destDir, current = destDir;
    char temporary[setup::kPathBufferSize] = {};
    UINT temporaryLength = sizeof temporary;
    using Install = DWORD(WINAPI*)(DWORD, char*, char*, char*, char*, char*, char*, UINT*);
    if (!m_versionLibrary) m_versionLibrary = fw::LoadSystemLibrary("VERSION.DLL");
    const auto install = fw::LibraryFunction<Install>(m_versionLibrary, "VerInstallFileA");
    if (!install) return VIF_CANNOTLOADLZ32;
    // VIFF_FORCEINSTALL: the file is installed whatever the versions say; a compressed
    // source is expanded on the way.
    return install(VIFF_FORCEINSTALL, &source[0], &destination[0], &from[0], &to[0], &current[0], temporary,
                   &temporaryLength);
}

void CMainFrame::WriteProfileValue(const char* section, const char* key, const char* value, const char* file) {
    // A file that cannot be written is passed over: nothing checks the result.
    ::WritePrivateProfileStringA(section, key, value, file);
}

bool CMainFrame::CopyFileAside(const std::string& from, const std::string& to) {
    const std::string folder = to.substr(0, to.rfind('\\'));
    if (!::CreateDirectoryA(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    // Before the first copy goes in, which takes the folder's rights: whoever could change a
    // copy could have it put back with an administrator's rights.
    ProtectInstallerFile(folder);
    // Not over a file that is there: a copy aside never replaces another.
    return ::CopyFileA(from.c_str(), to.c_str(), TRUE) != 0;
}

bool CMainFrame::DeletePath(const std::string& path) {
    if (::DeleteFileA(path.c_str()) || ::RemoveDirectoryA(path.c_str())) return true;
    // A copy aside of a read-only file is read-only too.
    return ClearReadOnly(path) && ::DeleteFileA(path.c_str());
}

bool CMainFrame::DirectoryExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<setup::FileFacts> CMainFrame::GetFileFacts(const std::string& path) {
    fw::File file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    FILETIME written{};
    if (!file || !::GetFileTime(file.Get(), nullptr, nullptr, &written)) return std::nullopt;
    setup::FileFacts facts;
    facts.writeTime = (std::uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
    std::vector<char> block(64 * 1024);
    DWORD read = 0;
    while (::ReadFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr) && read > 0) {
        facts.crc32 = setup::Crc32(block.data(), read, facts.crc32);
        facts.size += read;
    }
    return facts;
}

std::optional<std::uint32_t> CMainFrame::StatedLength(const std::string& path) {
    // The compressed format's header: "SZDD", 88 F0 27 33, the mode, a character, then the
    // expanded length (32 bits, little-endian) at offset 10.
    static const unsigned char kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
    fw::File file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    unsigned char header[14] = {};
    DWORD read = 0;
    if (!file || !::ReadFile(file.Get(), header, sizeof header, &read, nullptr) || read != sizeof header ||
        std::memcmp(header, kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    return std::uint32_t{header[10]} | std::uint32_t{header[11]} << 8 | std::uint32_t{header[12]} << 16 |
           std::uint32_t{header[13]} << 24;
}

bool CMainFrame::FileHeldOpen(const std::string& path) {
    // Opened without sharing, a file that any program has open fails with a sharing violation.
    fw::File file(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

bool CMainFrame::MovePath(const std::string& from, const std::string& to) {
    return ::MoveFileA(from.c_str(), to.c_str()) != 0;
}

void CMainFrame::ProtectOwnFile(const std::string& path) { ProtectInstallerFile(path); }

std::optional<std::string> CMainFrame::FileDigest(const std::string& path) { return DigestOfFile(path); }

std::optional<std::string> CMainFrame::ReadProfileValue(const char* section, const char* key, const char* file) {
    // GetPrivateProfileString cannot tell an absent entry from one that holds the default:
    // the default is a character that no INI value holds.
    char value[512] = {};
    const DWORD length = ::GetPrivateProfileStringA(section, key, "\x01", value, sizeof value, file);
    if (length == 1 && value[0] == '\x01') return std::nullopt;
    return std::string(value, length < sizeof value ? length : sizeof value - 1);
}
