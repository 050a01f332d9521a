// The compressed file format that the version library's file installer expands: an
// "SZDD" header, then LZSS over a 4096-byte window.
//
//   offset 0   8 bytes  magic 'S' 'Z' 'D' 'D' 0x88 0xF0 0x27 0x33
//   offset 8   1 byte   compression mode 'A'
//   offset 9   1 byte   the last character of the file's name, which the compressed name
//                       (FILE.EX_) replaces by '_'; 0 when none was replaced
//   offset 10  4 bytes  the expanded size, little-endian
//   offset 14           blocks: a flag byte, then up to eight items, one per flag bit from
//                       the lowest; bit 1 is a literal byte, bit 0 a match of two bytes
//                       b0 b1: window position b0 | (b1 & 0xF0) << 4, length (b1 & 0x0F) + 3
//
// The window starts filled with spaces and is written from position 4096 - 16 on; every
// byte expanded, literal or copied, goes into it, so a match may overlap what it writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace disks {

constexpr std::size_t kSzddHeaderSize = 14;
constexpr std::size_t kSzddWindow = 4096;
constexpr std::size_t kSzddStart = kSzddWindow - 16;
constexpr std::size_t kSzddMinMatch = 3;
constexpr std::size_t kSzddMaxMatch = 18;
constexpr std::uint8_t kSzddFill = ' ';

// True when the bytes begin with the SZDD magic: the file installer expands such a file
// even under its plain name.
bool IsSzdd(const std::uint8_t* data, std::size_t size);

// The whole compressed file. lastCharacter goes into the header (see above).
std::vector<std::uint8_t> CompressSzdd(const std::uint8_t* data, std::size_t size, char lastCharacter);

}  // namespace disks
