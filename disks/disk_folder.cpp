#include "disk_folder.h"

#include "fat_image.h"
#include "host_files.h"
#include "script/text.h"

#include <cctype>

namespace disks {

namespace {

// "DISKn", and with a suffix ("DISKn.IMG").
bool IsDiskName(const std::string& name, const std::string& suffix = std::string()) {
    if (name.size() < 5 + suffix.size() || !setup::EqualNoCase(name.substr(0, 4), "DISK") ||
        !setup::EqualNoCase(name.substr(name.size() - suffix.size()), suffix))
        return false;
    for (std::size_t i = 4; i < name.size() - suffix.size(); ++i)
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

// Removes the DISKn folders and DISKn.IMG images of an earlier run from the output folder,
// which is made first.
bool ClearDiskFolders(const std::string& outDir, std::string& error) {
    host::CreateDirectories(outDir);
    std::vector<host::FolderEntry> entries;
    std::string reason;
    bool cleared = host::ListFolder(outDir, entries, reason);
    for (const host::FolderEntry& entry : entries)
        if (cleared && (entry.isDirectory ? IsDiskName(entry.name) : IsDiskName(entry.name, ".IMG")))
            cleared = host::RemoveTree(host::JoinPath(outDir, entry.name), reason);
    if (!cleared) error = "cannot clear " + outDir + ": " + reason;
    return cleared;
}

}  // namespace

bool WriteImages(const Layout& layout, const Medium& medium, const std::string& outDir, const ImageTime& time,
                 std::vector<std::string>& written, std::string& error) {
    for (std::size_t disk = 0; disk < layout.disks.size() && medium.floppy; ++disk) {
        const std::string name = "DISK" + std::to_string(disk + 1);
        // The serial number from the date and time, as the format command makes it, and the disk.
        const std::uint32_t high = static_cast<std::uint32_t>((time.month << 8 | time.day) + (time.second << 8) + disk);
        const std::uint32_t low = static_cast<std::uint32_t>((time.hour << 8 | time.minute) + time.year);
        const std::uint32_t serial = (high & 0xFFFF) << 16 | (low & 0xFFFF);
        const std::optional<std::vector<std::uint8_t>> image =
            MakeFloppyImage(*medium.floppy, name, layout.disks[disk].files, time, serial, error);
        const std::string path = host::JoinPath(outDir, name + ".IMG");
        if (!image) {
            error = path + ": " + error;
            return false;
        }
        if (!host::WriteWholeFile(path, std::string_view(reinterpret_cast<const char*>(image->data()), image->size()))) {
            error = "cannot write " + path;
            return false;
        }
        written.push_back(path);
    }
    return true;
}

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
