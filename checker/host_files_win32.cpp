// The machine's files on 32-bit Windows. Only ANSI calls that every 32-bit Windows exports
// from kernel32, so that the tools start on the first releases of Windows 95 and NT 4.0.
#include "host_files.h"
#include "host_owned.h"

#include <windows.h>

namespace host {

namespace {

// Both kinds of handle are INVALID_HANDLE_VALUE when the call that gives them fails.
struct FileTraits {
    using Handle = HANDLE;
    static bool Failed(HANDLE handle) { return handle == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

struct SearchTraits {
    using Handle = HANDLE;
    static bool Failed(HANDLE handle) { return handle == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { FindClose(handle); }
};

using FileHandle = Owned<FileTraits>;
using SearchHandle = Owned<SearchTraits>;

// Files are shared for reading and writing, as the C library's streams open them.
constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;

bool WriteAll(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// The system's text for its last error, without the full stop and line end it ends with.
bool Failed(std::string& error) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(),
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr);
    if (length > 3 && text[length - 3] == '.' && text[length - 2] == '\r' && text[length - 1] == '\n') length -= 3;
    error = length ? std::string(text, length) : "Unknown error code";
    return false;
}

bool Missing(DWORD code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }

void Print(DWORD which, std::string_view text) {
    const HANDLE handle = GetStdHandle(which);
    if (handle && handle != INVALID_HANDLE_VALUE) WriteAll(handle, WithCrBeforeLf(text));
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    const DWORD size = GetFileSize(file.Get(), nullptr);
    if (size != INVALID_FILE_SIZE) bytes.reserve(size);
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &count, nullptr)) return std::nullopt;
        if (count == 0) return bytes;
        bytes.append(buffer, count);
    }
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, kShare, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.Get(), bytes);
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries, std::string& error) {
    entries.clear();
    // The reasons the C library gives when it cannot open a folder.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (path.empty() || (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))) {
        error = "Not a directory";
        return false;
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error = "No such file or directory";
        return false;
    }
    WIN32_FIND_DATAA found;
    const SearchHandle search(FindFirstFileA(JoinPath(path, "*").c_str(), &found));
    if (!search) return true;  // an empty drive has not even "." and ".."
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search.Get(), &found));
    return true;
}

bool CreateDirectories(const std::string& path) {
    if (path.empty() || IsDirectory(path)) return !path.empty();
    const std::string parent = ParentPath(path);
    if (parent != path) CreateDirectories(parent);
    return CreateDirectoryA(path.c_str(), nullptr) || IsDirectory(path);
}

bool RemoveTree(const std::string& path, std::string& error) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Missing(GetLastError()) || Failed(error);
    // A junction is removed itself, not what it leads to.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        std::vector<FolderEntry> entries;
        if (!ListFolder(path, entries, error)) return false;
        for (const FolderEntry& entry : entries)
            if (!RemoveTree(JoinPath(path, entry.name), error)) return false;
        return RemoveDirectoryA(path.c_str()) || Failed(error);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return RemoveDirectoryA(path.c_str()) || Failed(error);
    return DeleteFileA(path.c_str()) || Failed(error);
}

LocalClock LocalNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || IsAbsolutePath(path)) return path;
    std::string full(MAX_PATH, '\0');
    DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    }
    if (length == 0 || length >= full.size()) return path;
    full.resize(length);
    return full;
}

void PrintOut(std::string_view text) { Print(STD_OUTPUT_HANDLE, text); }

void PrintError(std::string_view text) { Print(STD_ERROR_HANDLE, text); }

}  // namespace host
