// Fuzzes the bitmap-file reader: whatever it accepts must lie inside the bytes it was
// given, with a colour table the picture's format allows.
#include "ui/dib.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!setup::IsBitmapFileHeader(data, size)) return 0;
    const std::uint8_t* block = data + setup::kBitmapFileHeaderSize;
    const std::size_t blockSize = size - setup::kBitmapFileHeaderSize;
    const std::optional<setup::DibInfo> info = setup::ParseDib(block, blockSize);
    if (!info) return 0;
    if (info->bitsOffset > blockSize || info->bitsSize > blockSize - info->bitsOffset) __builtin_trap();
    if (info->colours.size() > 256) __builtin_trap();
    if (info->bitCount <= 8 && info->colours.size() > (1u << info->bitCount)) __builtin_trap();
    const setup::Size picture = info->PictureSize();
    if (picture.cx <= 0 || picture.cy <= 0 || picture.cx > 32767 || picture.cy > 32767) __builtin_trap();
    // Touch the first and last byte of the bits the reader promises are there.
    volatile std::uint8_t first = info->bitsSize ? block[info->bitsOffset] : 0;
    volatile std::uint8_t last = info->bitsSize ? block[info->bitsOffset + info->bitsSize - 1] : 0;
    (void)first;
    (void)last;
    return 0;
}
