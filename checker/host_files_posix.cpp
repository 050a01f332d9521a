// The machine's files on POSIX systems, for the native builds of the tools.
#include "host_files.h"
#include "host_owned.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace host {

namespace {

struct DescriptorTraits {
    using Handle = int;
    static bool Failed(int fd) { return fd < 0; }
    static void Close(int fd) { close(fd); }
};

struct ListingTraits {
    using Handle = DIR*;
    static bool Failed(DIR* dir) { return !dir; }
    static void Close(DIR* dir) { closedir(dir); }
};

using Descriptor = Owned<DescriptorTraits>;
using Listing = Owned<ListingTraits>;

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool Failed(std::string& error) {
    error = std::strerror(errno);
    return false;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t count = read(file.Get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return std::nullopt;
        if (count == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    const Descriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    return file && WriteAll(file.Get(), bytes);
}

bool IsDirectory(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries, std::string& error) {
    entries.clear();
    const Listing listing(opendir(path.c_str()));
    if (!listing) return Failed(error);
    while (const dirent* entry = readdir(listing.Get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        entries.push_back({name, IsDirectory(JoinPath(path, name))});
    }
    return true;
}

bool CreateDirectories(const std::string& path) {
    if (path.empty() || IsDirectory(path)) return !path.empty();
    const std::string parent = ParentPath(path);
    if (parent != path) CreateDirectories(parent);
    return mkdir(path.c_str(), 0777) == 0 || IsDirectory(path);
}

bool RemoveTree(const std::string& path, std::string& error) {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0) return errno == ENOENT || Failed(error);
    if (S_ISDIR(status.st_mode)) {
        std::vector<FolderEntry> entries;
        if (!ListFolder(path, entries, error)) return false;
        for (const FolderEntry& entry : entries)
            if (!RemoveTree(JoinPath(path, entry.name), error)) return false;
        return rmdir(path.c_str()) == 0 || Failed(error);
    }
    return unlink(path.c_str()) == 0 || Failed(error);
}

LocalClock LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return {1980, 1, 1, 0, 0, 0};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::string AbsolutePath(const std::string& path) {
    if (IsAbsolutePath(path)) return path;
    char folder[4096];
    if (!getcwd(folder, sizeof folder)) return path;
    return JoinPath(folder, path);
}

void PrintOut(std::string_view text) { WriteAll(STDOUT_FILENO, text); }

void PrintError(std::string_view text) { WriteAll(STDERR_FILENO, text); }

}  // namespace host
