// The installation media: formatted floppy disks of the classic sizes, or a plain number
// of bytes, and the room a disk's files take on them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace disks {

// How a floppy format lays out its 512-byte sectors, as the system's format command writes
// it: the boot sector, two FATs, the root folder, then the clusters.
struct FloppyLayout {
    std::uint16_t totalSectors;
    std::uint8_t sectorsPerCluster;
    std::uint16_t rootEntries;
    std::uint8_t media;  // the media byte, also the FAT's first byte
    std::uint16_t sectorsPerFat;
    std::uint16_t sectorsPerTrack;
    std::uint16_t heads;
};

struct Medium {
    std::string name;        // "1440K", or the number of bytes as given
    std::uint64_t capacity;  // bytes for the files and folders
    std::uint32_t cluster;   // a file takes whole clusters; 0: a file takes its size
    int rootEntries;         // files and folders the root can list; 0: any number
    std::optional<FloppyLayout> floppy;  // none for a number of bytes
};

// "360K", "720K", "1200K", "1440K", "1680K" (the 1.68 MB distribution format), "2880K"
// (the room a freshly formatted disk offers), or a decimal number of bytes; nothing for
// anything else.
std::optional<Medium> ParseMedium(const std::string& text);

// The floppy formats, the smallest first.
std::vector<Medium> Floppies();

struct StoredFile {
    std::string path;  // on the disk, folders separated by backslashes
    std::uint64_t size;
};

// The bytes the files take on the medium: each file in whole clusters, and each folder
// below the root the clusters of its 32-byte entries ("." and ".." among them).
std::uint64_t DiskUse(const Medium& medium, const std::vector<StoredFile>& files);

// The files and folders listed in the disk's root.
int RootEntries(const std::vector<StoredFile>& files);

// 1457664 as "1,457,664".
std::string WithThousands(std::uint64_t number);

}  // namespace disks
