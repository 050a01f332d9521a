// The checksum section that the disk builder writes into the script it puts on disk 1: for
// every file of every disk, the size and CRC-32 of its bytes as they are installed
// (expanded, for a compressed file), so that a damaged disk is found before its file is.
//
//   [Checksums]
//   Disk 2\BRIGHT.EXE=48128,1A2B3C4D
//   Disk 2\ICONS\LEAF1.ICO=766,0F1E2D3C
//
// The key: "Disk", the disk's number, a backslash, and the file's path on that disk under
// its plain name. The value: the size in decimal, a comma, the CRC-32 in eight hexadecimal
// digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace setup {

constexpr const char* kChecksumSection = "Checksums";
// The value buffer the installer reads a line into: "4294967295,FFFFFFFF" and its end.
constexpr std::size_t kChecksumValueSize = 24;

struct FileChecksum {
    std::uint64_t size = 0;
    std::uint32_t crc32 = 0;
};

std::string ChecksumKey(int disk, const std::string& path);
std::string ChecksumValue(const FileChecksum& checksum);

// The disk and the path of a key; none when the key is not "Disk N\PATH".
struct ChecksumPlace {
    int disk = 0;
    std::string path;
};
std::optional<ChecksumPlace> ParseChecksumKey(const std::string& key);

// None, and why in words, when the value is not a size and a checksum as above.
std::optional<FileChecksum> ParseChecksumValue(const std::string& value, std::string& why);

}  // namespace setup
