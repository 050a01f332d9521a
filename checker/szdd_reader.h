// The reading side of the compressed file format the file installer expands (the format is
// described in disks/szdd.h): the header's stated length and the bytes the body expands to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace checker {

struct Expanded {
    std::uint32_t statedSize = 0;     // the header's
    std::vector<std::uint8_t> bytes;  // as far as the body goes; a match cut off ends it
};

// None when the bytes do not begin with the format's header.
std::optional<Expanded> ExpandSzdd(const std::vector<std::uint8_t>& file);

}  // namespace checker
