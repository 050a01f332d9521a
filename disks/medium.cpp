#include "medium.h"

#include "script/text.h"

#include <map>
#include <set>

namespace disks {

namespace {

constexpr std::uint32_t kDirectoryEntry = 32;

std::uint64_t Clusters(std::uint64_t bytes, std::uint32_t cluster) { return (bytes + cluster - 1) / cluster * cluster; }

// The folder a path lies in ("" for the root), and every folder above it.
std::vector<std::string> Folders(const std::string& path) {
    std::vector<std::string> folders;
    for (std::size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', slash + 1))
        folders.push_back(setup::FoldName(path.substr(0, slash)));
    return folders;
}

}  // namespace

std::vector<Medium> Floppies() {
    struct Format {
        const char* name;
        FloppyLayout layout;
    };
    // Sectors, sectors per cluster, root entries, media byte, sectors per FAT, per track, heads.
    static const Format kFormats[] = {
        {"360K", {720, 2, 112, 0xFD, 2, 9, 2}},     {"720K", {1440, 2, 112, 0xF9, 3, 9, 2}},
        {"1200K", {2400, 1, 224, 0xF9, 7, 15, 2}},  {"1440K", {2880, 1, 224, 0xF0, 9, 18, 2}},
        {"1680K", {3360, 4, 16, 0xF0, 5, 21, 2}},   {"2880K", {5760, 2, 240, 0xF0, 9, 36, 2}},
    };
    std::vector<Medium> floppies;
    for (const Format& format : kFormats) {
        const FloppyLayout& l = format.layout;
        // The data area: all sectors but the boot sector, both FATs and the root folder.
        const std::uint32_t dataSectors = l.totalSectors - 1u - 2u * l.sectorsPerFat - l.rootEntries * kDirectoryEntry / 512u;
        floppies.push_back({format.name, std::uint64_t{dataSectors} * 512u, l.sectorsPerCluster * 512u, l.rootEntries, l});
    }
    return floppies;
}

std::optional<Medium> ParseMedium(const std::string& text) {
    for (const Medium& floppy : Floppies())
        if (setup::EqualNoCase(text, floppy.name)) return floppy;
    if (text.empty() || text.size() > 15 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    std::uint64_t bytes = 0;
    for (const char digit : text) bytes = bytes * 10 + static_cast<std::uint64_t>(digit - '0');
    if (bytes == 0) return std::nullopt;
    return Medium{text, bytes, 0, 0, std::nullopt};
}

std::uint64_t DiskUse(const Medium& medium, const std::vector<StoredFile>& files) {
    std::uint64_t used = 0;
    std::map<std::string, std::uint64_t> folderEntries;  // folded folder: its entries
    std::set<std::string> folders;
    for (const StoredFile& file : files) {
        used += medium.cluster ? Clusters(file.size, medium.cluster) : file.size;
        const std::vector<std::string> above = Folders(file.path);
        if (!above.empty()) ++folderEntries[above.back()];
        for (std::size_t i = 0; i < above.size(); ++i)
            if (folders.insert(above[i]).second && i > 0) ++folderEntries[above[i - 1]];
    }
    if (!medium.cluster) return used;
    for (const auto& [folder, entries] : folderEntries)
        used += Clusters((entries + 2) * kDirectoryEntry, medium.cluster);
    return used;
}

int RootEntries(const std::vector<StoredFile>& files) {
    std::set<std::string> names;
    for (const StoredFile& file : files) names.insert(setup::FoldName(file.path.substr(0, file.path.find('\\'))));
    return static_cast<int>(names.size());
}

std::string WithThousands(std::uint64_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}

}  // namespace disks
