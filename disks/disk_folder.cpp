#include "disk_folder.h"

#include "host_files.h"
#include "script/text.h"

#include <cctype>

namespace disks {

namespace {

bool IsDiskFolderName(const std::string& name) {
    if (name.size() < 5 || !setup::EqualNoCase(name.substr(0, 4), "DISK")) return false;
    for (std::size_t i = 4; i < name.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

std::string OnDisk(const std::string& folder, const std::string& path) {
    std::string at = folder;
    std::size_t start = 0;
    for (std::size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', start = slash + 1))
        at = host::JoinPath(at, path.substr(start, slash - start));
    return host::JoinPath(at, path.substr(start));
}

// Removes the DISKn folders of an earlier run from the output folder, which is made first.
bool ClearDiskFolders(const std::string& outDir, std::string& error) {
    host::CreateDirectories(outDir);
    std::vector<host::FolderEntry> entries;
    std::string reason;
    bool cleared = host::ListFolder(outDir, entries, reason);
    for (const host::FolderEntry& entry : entries)
        if (cleared && entry.isDirectory && IsDiskFolderName(entry.name))
            cleared = host::RemoveTree(host::JoinPath(outDir, entry.name), reason);
    if (!cleared) error = "cannot clear " + outDir + ": " + reason;
    return cleared;
}

}  // namespace

std::string DiskFolder(const std::string& outDir, int disk) {
    return host::JoinPath(outDir, "DISK" + std::to_string(disk));
}

bool WriteDisks(const Layout& layout, const std::string& outDir, std::string& error) {
    if (!ClearDiskFolders(outDir, error)) return false;
    for (std::size_t disk = 0; disk < layout.disks.size(); ++disk) {
        const std::string folder = DiskFolder(outDir, static_cast<int>(disk + 1));
        host::CreateDirectories(folder);
        for (const DiskFile& file : layout.disks[disk].files) {
            const std::string path = OnDisk(folder, file.path);
            host::CreateDirectories(host::ParentPath(path));
            const std::string_view bytes(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
            if (!host::WriteWholeFile(path, bytes)) {
                error = "cannot write " + path;
                return false;
            }
        }
    }
    return true;
}

}  // namespace disks
