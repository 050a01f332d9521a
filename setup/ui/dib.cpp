#include "dib.h"

namespace setup {

namespace {

constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::int64_t kMaxSide = 32767;
constexpr std::uint32_t kMaxColours = 256;

std::uint16_t Word(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | (at[1] << 8)); }

std::uint32_t Dword(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

bool KnownBitCount(std::uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Colours of the table: the colours-used field of an info header when it is set, else
// what the bit count addresses (none for 16, 24 and 32 bits).
std::uint32_t ColourCount(std::uint16_t bits, std::uint32_t coloursUsed) {
    if (coloursUsed) return coloursUsed;
    return bits <= 8 ? (1u << bits) : 0;
}

bool ReadHeader(const std::uint8_t* block, std::size_t headerSize, DibInfo& info, std::uint32_t& coloursUsed,
                std::uint32_t& imageSize) {
    if (headerSize >= kInfoHeaderSize) {
        info.width = static_cast<std::int32_t>(Dword(block + 4));
        info.height = static_cast<std::int32_t>(Dword(block + 8));
        info.bitCount = Word(block + 14);
        info.compression = Dword(block + 16);
        imageSize = Dword(block + 20);
        coloursUsed = Dword(block + 32);
        return Word(block + 12) == 1;
    }
    // Any other size is read as the core header (16-bit width and height).
    if (headerSize < kCoreHeaderSize) return false;
    info.coreHeader = true;
    info.width = Word(block + 4);
    info.height = Word(block + 6);
    info.bitCount = Word(block + 10);
    return Word(block + 8) == 1;
}

// Bytes of pixel data the picture needs: rows padded to 4 bytes, or the stated size of
// run-length encoded data.
std::optional<std::uint64_t> NeededBits(const DibInfo& info, std::uint32_t imageSize) {
    const std::uint64_t rows = static_cast<std::uint64_t>(info.height < 0 ? -static_cast<std::int64_t>(info.height)
                                                                          : info.height);
    switch (info.compression) {
    case dib::kRgb:
    case dib::kBitFields:
        return (static_cast<std::uint64_t>(info.width) * info.bitCount + 31) / 32 * 4 * rows;
    case dib::kRle8:
    case dib::kRle4:
        if (imageSize == 0) return std::nullopt;
        return imageSize;
    default:
        return std::nullopt;
    }
}

bool CompressionFits(const DibInfo& info) {
    switch (info.compression) {
    case dib::kRgb: return true;
    case dib::kRle8: return info.bitCount == 8;
    case dib::kRle4: return info.bitCount == 4;
    case dib::kBitFields: return info.bitCount == 16 || info.bitCount == 32;
    default: return false;
    }
}

}  // namespace

bool IsBitmapFileHeader(const std::uint8_t* header, std::size_t size) {
    return header && size >= kBitmapFileHeaderSize && header[0] == 'B' && header[1] == 'M';
}

std::optional<DibInfo> ParseDib(const std::uint8_t* block, std::size_t size) {
    if (!block || size < 4) return std::nullopt;
    const std::size_t headerSize = Dword(block);
    if (headerSize > size) return std::nullopt;

    DibInfo info;
    std::uint32_t coloursUsed = 0;
    std::uint32_t imageSize = 0;
    if (!ReadHeader(block, headerSize, info, coloursUsed, imageSize)) return std::nullopt;
    const std::int64_t rows = info.height < 0 ? -static_cast<std::int64_t>(info.height) : info.height;
    if (info.width <= 0 || info.width > kMaxSide || rows == 0 || rows > kMaxSide) return std::nullopt;
    if (!KnownBitCount(info.bitCount) || (info.coreHeader && info.height < 0)) return std::nullopt;
    if (!CompressionFits(info)) return std::nullopt;

    const std::uint32_t colours = ColourCount(info.bitCount, coloursUsed);
    const std::uint32_t allowed = info.bitCount <= 8 ? (1u << info.bitCount) : kMaxColours;
    if (colours > allowed) return std::nullopt;

    std::size_t at = headerSize;
    // A 40-byte header of a bit-fields picture is followed by its three colour masks.
    if (info.compression == dib::kBitFields && headerSize == kInfoHeaderSize) {
        if (size - at < 12) return std::nullopt;
        for (int i = 0; i < 3; ++i) info.masks[static_cast<std::size_t>(i)] = Dword(block + at + 4 * i);
        at += 12;
    } else if (info.compression == dib::kBitFields) {
        // Later header versions hold the masks themselves, right after the first 40 bytes.
        if (headerSize < kInfoHeaderSize + 12) return std::nullopt;
        for (int i = 0; i < 3; ++i) info.masks[static_cast<std::size_t>(i)] = Dword(block + 40 + 4 * i);
    }

    const std::size_t entrySize = info.coreHeader ? 3 : 4;
    if ((size - at) / entrySize < colours) return std::nullopt;
    for (std::uint32_t i = 0; i < colours; ++i, at += entrySize)
        info.colours.push_back(Rgb{block[at + 2], block[at + 1], block[at]});

    const std::optional<std::uint64_t> needed = NeededBits(info, imageSize);
    if (!needed || *needed > size - at) return std::nullopt;
    info.bitsOffset = at;
    info.bitsSize = static_cast<std::size_t>(*needed);
    return info;
}

}  // namespace setup
