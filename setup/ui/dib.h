// Reading Windows bitmap files: the 14-byte file header, then an info header (40 bytes or
// a later, longer version) or a core header (12 bytes), a colour table, and the pixel
// bits right after the table. Files that do not hold what their headers promise are
// refused; nothing is ever read past the file's bytes.
#pragma once

#include "../engine/geometry.h"
#include "background.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace setup {

constexpr std::size_t kBitmapFileHeaderSize = 14;

// True when the file starts with the bitmap file type "BM".
bool IsBitmapFileHeader(const std::uint8_t* header, std::size_t size);

// Compression kinds of the info header.
namespace dib {
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
}  // namespace dib

struct DibInfo {
    bool coreHeader = false;
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: rows stored top-down
    std::uint16_t bitCount = 0;
    std::uint32_t compression = dib::kRgb;
    std::vector<Rgb> colours;                 // the colour table: one palette entry each
    std::array<std::uint32_t, 3> masks{};     // red, green, blue masks of a bit-fields picture
    std::size_t bitsOffset = 0;               // where the pixel bits start in the block
    std::size_t bitsSize = 0;                 // how many bytes of bits the picture needs

    Size PictureSize() const { return Size{width, height < 0 ? -height : height}; }
};

// Reads what follows the 14-byte file header (block of size bytes). Empty when the block
// is not a picture this reader can show in full.
std::optional<DibInfo> ParseDib(const std::uint8_t* block, std::size_t size);

}  // namespace setup
