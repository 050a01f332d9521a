// The parse of a byte string into literals and matches for the LZSS of the SZDD format:
// matches of 3 to 18 bytes at distances 1 to 4096, over history that starts as 4096
// spaces. Each position's longest match comes from hash chains; the parse then picks,
// block by block, the sequence of items of the fewest bits (a literal costs 9, a match
// 17), which is never larger than taking the longest match at every step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace disks {

// Receives the items in order: position is the match's first byte in the data, distance
// 1..4096 how far back its copy starts (reaching into the spaces before the data).
class LzSink {
public:
    virtual ~LzSink() = default;
    virtual void Literal(std::uint8_t byte) = 0;
    virtual void Match(std::size_t position, std::size_t length, std::size_t distance) = 0;
};

void ParseLz(const std::uint8_t* data, std::size_t size, LzSink& sink);

}  // namespace disks
