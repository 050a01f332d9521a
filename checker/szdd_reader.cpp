#include "szdd_reader.h"

#include <cstring>

namespace checker {

namespace {

constexpr std::size_t kHeaderSize = 14;
constexpr std::size_t kWindow = 4096;
constexpr std::size_t kStart = kWindow - 16;
constexpr std::uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};

}  // namespace

std::optional<Expanded> ExpandSzdd(const std::vector<std::uint8_t>& file) {
    if (file.size() < kHeaderSize || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
    Expanded out;
    out.statedSize = std::uint32_t{file[10]} | std::uint32_t{file[11]} << 8 | std::uint32_t{file[12]} << 16 |
                     std::uint32_t{file[13]} << 24;
    out.bytes.reserve(out.statedSize);
    // The window starts as spaces; every byte expanded goes into it.
    std::vector<std::uint8_t> window(kWindow, ' ');
    std::size_t at = kStart;
    auto put = [&](std::uint8_t byte) {
        window[at] = byte;
        at = (at + 1) % kWindow;
        out.bytes.push_back(byte);
    };
    std::size_t in = kHeaderSize;
    while (in < file.size()) {
        const std::uint8_t flags = file[in++];
        for (int bit = 0; bit < 8 && in < file.size(); ++bit) {
            if (flags >> bit & 1) {
                put(file[in++]);
                continue;
            }
            if (in + 1 >= file.size()) return out;
            const std::size_t from = file[in] | std::size_t{static_cast<std::uint8_t>(file[in + 1] & 0xF0)} << 4;
            const std::size_t length = (file[in + 1] & 0x0Fu) + 3;
            in += 2;
            for (std::size_t k = 0; k < length; ++k) put(window[(from + k) % kWindow]);
        }
    }
    return out;
}

}  // namespace checker
