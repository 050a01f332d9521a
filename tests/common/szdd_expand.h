// A small SZDD expander for the tests, written from the format alone (see disks/szdd.h):
// the header's fields, and the body expanded through a 4096-byte window that starts as
// spaces and is written from position 4096 - 16, one byte at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace testing_szdd {

struct Expanded {
    char lastCharacter;
    std::uint32_t declaredSize;
    std::vector<std::uint8_t> bytes;
};

// Nothing when the header is wrong or the body ends inside a match.
inline std::optional<Expanded> Expand(const std::vector<std::uint8_t>& file) {
    static const std::uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
    if (file.size() < 14 || std::memcmp(file.data(), kMagic, 8) != 0 || file[8] != 'A') return std::nullopt;
    Expanded out{static_cast<char>(file[9]),
                 static_cast<std::uint32_t>(file[10] | file[11] << 8 | file[12] << 16 | static_cast<std::uint32_t>(file[13]) << 24),
                 {}};
    std::uint8_t window[4096];
    std::memset(window, ' ', sizeof window);
    std::size_t at = 4096 - 16;
    std::size_t in = 14;
    while (in < file.size()) {
        const std::uint8_t flags = file[in++];
        for (int bit = 0; bit < 8 && in < file.size(); ++bit) {
            if (flags >> bit & 1) {
                window[at] = file[in++];
                out.bytes.push_back(window[at]);
                at = (at + 1) & 4095;
                continue;
            }
            if (in + 1 >= file.size()) return std::nullopt;
            const std::size_t from = file[in] | (file[in + 1] & 0xF0) << 4;
            const std::size_t length = (file[in + 1] & 0x0F) + 3u;
            in += 2;
            for (std::size_t k = 0; k < length; ++k) {
                window[at] = window[(from + k) & 4095];
                out.bytes.push_back(window[at]);
                at = (at + 1) & 4095;
            }
        }
    }
    return out;
}

}  // namespace testing_szdd
