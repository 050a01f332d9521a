// Writes Windows bitmap files for the tests: every header kind and bit count the reader
// knows, with or without a colours-used count, a gap before the bits, or bits cut short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace testing_bmp {

struct Colour {
    std::uint8_t red, green, blue;
};

struct BmpSpec {
    int width = 4;
    int height = 2;                  // negative: rows stored top-down (info headers only)
    int bitCount = 24;
    std::uint32_t headerSize = 40;   // 12 writes a core header; 40, 108 or 124 an info header
    std::uint32_t coloursUsed = 0;   // the info header's field
    std::vector<Colour> palette;     // the colour table as written
    std::size_t gap = 0;             // bytes between the table and the bits (the offset field says so)
    std::size_t cutBits = 0;         // bytes left off the end of the bits
    // Pixel (x, y from the top): a palette index for 1, 4 and 8 bits, else 0xRRGGBB.
    std::function<std::uint32_t(int x, int y)> pixel = [](int, int) { return 0u; };
};

inline void PutWord(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutDword(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

// One row of pixels, packed and padded to 4 bytes.
inline std::vector<std::uint8_t> PackRow(const BmpSpec& spec, int y) {
    std::vector<std::uint8_t> row;
    std::uint32_t bits = 0;
    int used = 0;
    for (int x = 0; x < spec.width; ++x) {
        const std::uint32_t value = spec.pixel(x, y);
        if (spec.bitCount <= 8) {
            bits = (bits << spec.bitCount) | (value & ((1u << spec.bitCount) - 1));
            used += spec.bitCount;
            while (used >= 8) {
                used -= 8;
                row.push_back(static_cast<std::uint8_t>(bits >> used));
                bits &= (1u << used) - 1;
            }
        } else if (spec.bitCount == 16) {  // 5-5-5
            const std::uint32_t r = (value >> 19) & 31, g = (value >> 11) & 31, b = (value >> 3) & 31;
            PutWord(row, (r << 10) | (g << 5) | b);
        } else {
            row.push_back(static_cast<std::uint8_t>(value));
            row.push_back(static_cast<std::uint8_t>(value >> 8));
            row.push_back(static_cast<std::uint8_t>(value >> 16));
            if (spec.bitCount == 32) row.push_back(0);
        }
    }
    if (used) row.push_back(static_cast<std::uint8_t>(bits << (8 - used)));
    while (row.size() % 4) row.push_back(0);
    return row;
}

inline std::vector<std::uint8_t> MakeBmp(const BmpSpec& spec) {
    const bool core = spec.headerSize == 12;
    const std::size_t entry = core ? 3 : 4;
    std::vector<std::uint8_t> body;
    PutDword(body, spec.headerSize);
    if (core) {
        PutWord(body, static_cast<std::uint32_t>(spec.width));
        PutWord(body, static_cast<std::uint32_t>(spec.height));
        PutWord(body, 1);
        PutWord(body, static_cast<std::uint32_t>(spec.bitCount));
    } else {
        PutDword(body, static_cast<std::uint32_t>(spec.width));
        PutDword(body, static_cast<std::uint32_t>(spec.height));
        PutWord(body, 1);
        PutWord(body, static_cast<std::uint32_t>(spec.bitCount));
        PutDword(body, 0);  // uncompressed
        PutDword(body, 0);  // image size
        PutDword(body, 2835);
        PutDword(body, 2835);
        PutDword(body, spec.coloursUsed);
        PutDword(body, 0);
        body.resize(spec.headerSize, 0);
    }
    for (const Colour& colour : spec.palette) {
        body.push_back(colour.blue);
        body.push_back(colour.green);
        body.push_back(colour.red);
        if (entry == 4) body.push_back(0);
    }
    body.resize(body.size() + spec.gap, 0xEE);
    const std::uint32_t bitsOffset = static_cast<std::uint32_t>(14 + body.size());
    const int rows = spec.height < 0 ? -spec.height : spec.height;
    std::vector<std::uint8_t> bits;
    for (int stored = 0; stored < rows; ++stored) {
        const int y = spec.height < 0 ? stored : rows - 1 - stored;  // bottom-up unless negative
        std::vector<std::uint8_t> row = PackRow(spec, y);
        bits.insert(bits.end(), row.begin(), row.end());
    }
    bits.resize(bits.size() - spec.cutBits);
    body.insert(body.end(), bits.begin(), bits.end());

    std::vector<std::uint8_t> file = {'B', 'M'};
    PutDword(file, static_cast<std::uint32_t>(14 + body.size()));
    PutDword(file, 0);
    PutDword(file, bitsOffset);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

// A palette of n distinct colours, red rising and green falling along it.
inline std::vector<Colour> TestPalette(int n) {
    std::vector<Colour> palette;
    for (int i = 0; i < n; ++i)
        palette.push_back(Colour{static_cast<std::uint8_t>(i * 255 / (n > 1 ? n - 1 : 1)),
                                 static_cast<std::uint8_t>(255 - i * 255 / (n > 1 ? n - 1 : 1)),
                                 static_cast<std::uint8_t>(i * 7)});
    return palette;
}

}  // namespace testing_bmp
