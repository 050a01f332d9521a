#include "fat_image.h"

#include "script/text.h"

#include <cctype>
#include <cstring>
#include <map>

namespace disks {

namespace {

constexpr std::size_t kSector = 512;
constexpr std::size_t kEntry = 32;
constexpr std::uint16_t kEndOfChain = 0xFFF;
constexpr std::uint8_t kArchive = 0x20, kDirectory = 0x10, kVolumeLabel = 0x08;

// Shown when the disk is started from: it holds no system.
constexpr std::uint8_t kBootCode[] = {
    0x31, 0xC0,              // xor ax, ax
    0x8E, 0xD8,              // mov ds, ax
    0xBE, 0x56, 0x7C,        // mov si, 7C56h: the message below
    0xAC,                    // next: lodsb
    0x84, 0xC0,              // test al, al
    0x74, 0x06,              // jz wait
    0xB4, 0x0E,              // mov ah, 0Eh
    0xCD, 0x10,              // int 10h: write the character
    0xEB, 0xF5,              // jmp next
    0x30, 0xE4,              // wait: xor ah, ah
    0xCD, 0x16,              // int 16h: a key
    0xCD, 0x19,              // int 19h: start again
};
constexpr char kBootMessage[] = "\r\nThis is an installation disk, not a startup disk.\r\n"
                                "Remove it and press any key.\r\n";

void Put16(std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t value) {
    image[at] = static_cast<std::uint8_t>(value);
    image[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
void Put32(std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t value) {
    Put16(image, at, value & 0xFFFF);
    Put16(image, at + 2, value >> 16);
}

bool ShortNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("!#$%&'()-@^_`{}~", c) != nullptr;
}

// "leaf1.ico" as "LEAF1   ICO"; none when it is no 8.3 name.
std::optional<std::string> ShortName(const std::string& name) {
    const std::size_t dot = name.find('.');
    const std::string base = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3 || (dot != std::string::npos && extension.empty()))
        return std::nullopt;
    std::string entry = base + std::string(8 - base.size(), ' ') + extension + std::string(3 - extension.size(), ' ');
    for (char& c : entry) {
        if (c != ' ' && !ShortNameCharacter(c)) return std::nullopt;
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return entry.substr(0, 8).find(' ') < base.size() ? std::nullopt : std::optional<std::string>(entry);
}

struct Folder {
    std::vector<std::string> names;   // short names of the entries, in order
    std::vector<const DiskFile*> files;  // null for a folder entry
    std::vector<std::string> folders;    // the folded path of a folder entry, else empty
    std::uint32_t firstCluster = 0;
    std::uint32_t clusters = 0;
};

class ImageWriter {
public:
    ImageWriter(const FloppyLayout& layout, const ImageTime& time)
        : m_layout(layout), m_image(std::size_t{layout.totalSectors} * kSector, 0) {
        m_time = static_cast<std::uint16_t>(time.hour << 11 | time.minute << 5 | time.second / 2);
        m_date = static_cast<std::uint16_t>((time.year - 1980) << 9 | time.month << 5 | time.day);
        m_clusterBytes = std::size_t{layout.sectorsPerCluster} * kSector;
        m_rootAt = kSector * (1 + 2u * layout.sectorsPerFat);
        m_dataAt = m_rootAt + layout.rootEntries * kEntry;
        m_clusterCount = static_cast<std::uint32_t>((m_image.size() - m_dataAt) / m_clusterBytes);
    }

    bool Build(const std::string& label, const std::vector<DiskFile>& files, std::uint32_t serial, std::string& error) {
        if (!Gather(files, error) || !Allocate(error)) return false;
        BootSector(label, serial);
        std::vector<std::uint8_t> rootEntries;
        AddEntry(rootEntries, ShortName(label.substr(0, 8)).value_or("NO NAME    "), kVolumeLabel, 0, 0);
        WriteFolder("", rootEntries, 0);
        for (const auto& [path, folder] : m_folders)
            if (!path.empty()) {
                std::vector<std::uint8_t> entries;
                AddEntry(entries, ".          ", kDirectory, folder.firstCluster, 0);
                AddEntry(entries, "..         ", kDirectory, m_folders[Parent(path)].firstCluster, 0);
                WriteFolder(path, entries, folder.firstCluster);
            }
        for (const auto& [cluster, file] : m_fileClusters)
            std::memcpy(&m_image[ClusterAt(cluster)], file->bytes.data(), file->bytes.size());
        // The second FAT is a copy of the first.
        std::memcpy(&m_image[kSector * (1 + m_layout.sectorsPerFat)], &m_image[kSector],
                    kSector * m_layout.sectorsPerFat);
        return true;
    }

    std::vector<std::uint8_t> Take() { return std::move(m_image); }

private:
    static std::string Parent(const std::string& path) {
        const std::size_t slash = path.rfind('\\');
        return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }

    // Every file in its folder, the folders made as their paths name them.
    bool Gather(const std::vector<DiskFile>& files, std::string& error) {
        m_folders[""];
        for (const DiskFile& file : files) {
            const std::optional<std::vector<std::string>> names = ShortNames(file.path);
            if (!names) {
                error = file.path + " is not a name of the 8.3 form a floppy's folders hold";
                return false;
            }
            std::string path;
            for (std::size_t i = 0; i + 1 < names->size(); ++i) {
                const std::string below = path.empty() ? (*names)[i] : path + "\\" + (*names)[i];
                if (!m_folders.count(below)) {
                    m_folders[path].names.push_back((*names)[i]);
                    m_folders[path].files.push_back(nullptr);
                    m_folders[path].folders.push_back(below);
                    m_folders[below];
                }
                path = below;
            }
            m_folders[path].names.push_back(names->back());
            m_folders[path].files.push_back(&file);
            m_folders[path].folders.push_back(std::string());
        }
        if (m_folders[""].names.size() + 1 > m_layout.rootEntries) {
            error = "the root lists " + std::to_string(m_folders[""].names.size()) + " files and folders and the label; it holds " +
                    std::to_string(m_layout.rootEntries);
            return false;
        }
        return true;
    }

    // Clusters in order: the folders below the root, then the files, each in one run.
    bool Allocate(std::string& error) {
        std::uint32_t next = 2;
        auto take = [&](std::size_t bytes) {
            const std::uint32_t count = static_cast<std::uint32_t>((bytes + m_clusterBytes - 1) / m_clusterBytes);
            const std::uint32_t first = count ? next : 0;
            for (std::uint32_t k = 0; k < count; ++k) SetFat(next + k, k + 1 < count ? next + k + 1 : kEndOfChain);
            next += count;
            return first;
        };
        for (auto& [path, folder] : m_folders)
            if (!path.empty()) folder.firstCluster = take((folder.names.size() + 2) * kEntry);
        for (auto& [path, folder] : m_folders)
            for (const DiskFile* file : folder.files)
                if (file) {
                    const std::uint32_t first = take(file->bytes.size());
                    m_fileClusters.emplace_back(first, file);
                    m_firstCluster[file] = first;
                }
        if (next - 2 > m_clusterCount) {
            error = "the files take " + std::to_string(next - 2) + " clusters; the disk has " + std::to_string(m_clusterCount);
            return false;
        }
        return true;
    }

    void SetFat(std::uint32_t cluster, std::uint32_t value) {
        const std::size_t at = kSector + cluster * 3 / 2;
        if (at + 1 >= kSector * (1 + m_layout.sectorsPerFat)) return;  // beyond the disk: refused by Allocate
        if (cluster & 1) {
            m_image[at] = static_cast<std::uint8_t>((m_image[at] & 0x0F) | (value & 0x0F) << 4);
            m_image[at + 1] = static_cast<std::uint8_t>(value >> 4);
        } else {
            m_image[at] = static_cast<std::uint8_t>(value);
            m_image[at + 1] = static_cast<std::uint8_t>((m_image[at + 1] & 0xF0) | (value >> 8 & 0x0F));
        }
    }

    std::size_t ClusterAt(std::uint32_t cluster) const { return m_dataAt + (cluster - 2) * m_clusterBytes; }

    void BootSector(const std::string& label, std::uint32_t serial) {
        const std::uint8_t start[] = {0xEB, 0x3C, 0x90, 'S', 'E', 'T', 'U', 'P', 'D', 'S', 'K'};
        std::memcpy(&m_image[0], start, sizeof start);
        Put16(m_image, 0x0B, kSector);
        m_image[0x0D] = m_layout.sectorsPerCluster;
        Put16(m_image, 0x0E, 1);  // reserved sectors: the boot sector
        m_image[0x10] = 2;        // FATs
        Put16(m_image, 0x11, m_layout.rootEntries);
        Put16(m_image, 0x13, m_layout.totalSectors);
        m_image[0x15] = m_layout.media;
        Put16(m_image, 0x16, m_layout.sectorsPerFat);
        Put16(m_image, 0x18, m_layout.sectorsPerTrack);
        Put16(m_image, 0x1A, m_layout.heads);
        m_image[0x26] = 0x29;  // the extended parameter block follows
        Put32(m_image, 0x27, serial);
        const std::string name = ShortName(label.substr(0, 8)).value_or("NO NAME    ");
        std::memcpy(&m_image[0x2B], name.data(), 11);
        std::memcpy(&m_image[0x36], "FAT12   ", 8);
        std::memcpy(&m_image[0x3E], kBootCode, sizeof kBootCode);
        std::memcpy(&m_image[0x3E + sizeof kBootCode], kBootMessage, sizeof kBootMessage);
        m_image[0x1FE] = 0x55;
        m_image[0x1FF] = 0xAA;
        // The FAT's first two entries: the media byte, then the end of a chain.
        SetFat(0, 0xF00u | m_layout.media);
        SetFat(1, kEndOfChain);
    }

    void AddEntry(std::vector<std::uint8_t>& entries, const std::string& name, std::uint8_t attributes,
                  std::uint32_t cluster, std::uint32_t size) {
        std::vector<std::uint8_t> entry(kEntry, 0);
        std::memcpy(entry.data(), name.data(), 11);
        entry[11] = attributes;
        Put16(entry, 22, m_time);
        Put16(entry, 24, m_date);
        Put16(entry, 26, cluster);
        Put32(entry, 28, size);
        entries.insert(entries.end(), entry.begin(), entry.end());
    }

    void WriteFolder(const std::string& path, std::vector<std::uint8_t>& entries, std::uint32_t cluster) {
        const Folder& folder = m_folders[path];
        for (std::size_t i = 0; i < folder.names.size(); ++i) {
            if (folder.files[i])
                AddEntry(entries, folder.names[i], kArchive, FileCluster(folder.files[i]),
                         static_cast<std::uint32_t>(folder.files[i]->bytes.size()));
            else
                AddEntry(entries, folder.names[i], kDirectory, m_folders[folder.folders[i]].firstCluster, 0);
        }
        std::memcpy(&m_image[cluster ? ClusterAt(cluster) : m_rootAt], entries.data(), entries.size());
    }

    std::uint32_t FileCluster(const DiskFile* file) const { return m_firstCluster.at(file); }

    FloppyLayout m_layout;
    std::vector<std::uint8_t> m_image;
    std::uint16_t m_time = 0, m_date = 0;
    std::size_t m_clusterBytes = 0, m_rootAt = 0, m_dataAt = 0;
    std::uint32_t m_clusterCount = 0;
    std::map<std::string, Folder> m_folders;  // path of short names ("" the root): the folder
    std::vector<std::pair<std::uint32_t, const DiskFile*>> m_fileClusters;
    std::map<const DiskFile*, std::uint32_t> m_firstCluster;
};

}  // namespace

std::optional<std::vector<std::string>> ShortNames(const std::string& path) {
    std::vector<std::string> names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find('\\', start);
        const std::optional<std::string> name = ShortName(path.substr(start, slash - start));
        if (!name) return std::nullopt;
        names.push_back(*name);
        if (slash == std::string::npos) return names;
        start = slash + 1;
    }
}

std::optional<std::vector<std::uint8_t>> MakeFloppyImage(const FloppyLayout& layout, const std::string& label,
                                                         const std::vector<DiskFile>& files, const ImageTime& time,
                                                         std::uint32_t serial, std::string& error) {
    ImageWriter writer(layout, time);
    if (!writer.Build(label, files, serial, error)) return std::nullopt;
    return writer.Take();
}

}  // namespace disks
