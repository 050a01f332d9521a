#include "lz_parse.h"

#include "szdd.h"

#include <algorithm>
#include <array>

namespace disks {

namespace {

constexpr unsigned kHashBits = 15;
// Candidates looked at per position: enough for nearly every longest match of text, and
// a bound on the time spent on data where one three-byte prefix repeats everywhere.
constexpr int kChainDepth = 40;
// Positions parsed together; the block's end is taken to cost nothing more.
constexpr std::size_t kBlock = 1 << 15;
constexpr std::uint32_t kLiteralBits = 9;
constexpr std::uint32_t kMatchBits = 17;

struct Found {
    std::size_t length = 0;
    std::size_t distance = 0;
};

// Hash chains over the data with the window's first content, spaces, before it. Of those
// spaces only the last kSzddMaxMatch start matches that differ; any earlier one matches
// like the first of them, which stays in reach as long as they do.
class MatchFinder {
public:
    MatchFinder(const std::uint8_t* data, std::size_t size) : m_buffer(kSzddWindow, kSzddFill), m_head(1u << kHashBits, -1) {
        m_buffer.insert(m_buffer.end(), data, data + size);
        for (std::size_t p = kSzddWindow - kSzddMaxMatch; p < kSzddWindow; ++p) Insert(p);
    }

    // The longest match for data position i (no more than kChainDepth candidates are
    // compared), then i joins the chains. Positions are taken in order.
    Found Find(std::size_t i) {
        const std::size_t p = kSzddWindow + i;
        const std::size_t maxLength = std::min(kSzddMaxMatch, m_buffer.size() - p);
        Found best;
        if (maxLength < kSzddMinMatch) return best;
        const std::uint8_t* here = m_buffer.data() + p;
        std::int32_t candidate = m_head[Hash(p)];
        for (int depth = kChainDepth; candidate >= 0 && static_cast<std::size_t>(candidate) + kSzddWindow >= p && depth > 0;
             --depth) {
            const std::uint8_t* there = m_buffer.data() + candidate;
            if (there[best.length] == here[best.length] && there[0] == here[0] && there[1] == here[1] &&
                there[2] == here[2]) {
                std::size_t length = kSzddMinMatch;
                while (length < maxLength && there[length] == here[length]) ++length;
                if (length > best.length) {
                    best = {length, p - static_cast<std::size_t>(candidate)};
                    if (length == maxLength) break;
                }
            }
            const std::int32_t next = m_prev[static_cast<std::size_t>(candidate) & (kSzddWindow - 1)];
            if (next >= candidate) break;
            candidate = next;
        }
        Insert(p);
        return best;
    }

    // Position i joins the chains without a search.
    void Skip(std::size_t i) { Insert(kSzddWindow + i); }

private:
    std::uint32_t Hash(std::size_t p) const {
        const std::uint32_t key = static_cast<std::uint32_t>(m_buffer[p]) << 16 | m_buffer[p + 1] << 8 | m_buffer[p + 2];
        return (key * 0x9E3779B1u) >> (32 - kHashBits);
    }
    void Insert(std::size_t p) {
        if (p + kSzddMinMatch > m_buffer.size()) return;
        const std::uint32_t h = Hash(p);
        m_prev[p & (kSzddWindow - 1)] = m_head[h];
        m_head[h] = static_cast<std::int32_t>(p);
    }

    std::vector<std::uint8_t> m_buffer;
    std::vector<std::int32_t> m_head;
    std::array<std::int32_t, kSzddWindow> m_prev{};
};

}  // namespace

void ParseLz(const std::uint8_t* data, std::size_t size, LzSink& sink) {
    MatchFinder finder(data, size);
    std::vector<Found> found(kBlock);
    std::vector<std::uint32_t> cost(kBlock + kSzddMaxMatch + 1);
    std::vector<std::uint8_t> choice(kBlock);  // 0 literal, else the match's length
    std::size_t start = 0;
    while (start < size) {
        const std::size_t count = std::min(kBlock, size - start);
        for (std::size_t k = 0; k < count; ++k) found[k] = finder.Find(start + k);
        // Fewest bits from each position to the block's end, from the back.
        std::fill(cost.begin() + static_cast<std::ptrdiff_t>(count), cost.end(), 0);
        for (std::size_t k = count; k-- > 0;) {
            std::uint32_t best = cost[k + 1] + kLiteralBits;
            std::uint8_t take = 0;
            for (std::size_t length = kSzddMinMatch; length <= found[k].length; ++length) {
                const std::uint32_t bits = cost[k + length] + kMatchBits;
                if (bits <= best) {
                    best = bits;
                    take = static_cast<std::uint8_t>(length);
                }
            }
            cost[k] = best;
            choice[k] = take;
        }
        std::size_t k = 0;
        while (k < count) {
            if (choice[k] == 0) {
                sink.Literal(data[start + k]);
                ++k;
            } else {
                sink.Match(start + k, choice[k], found[k].distance);
                k += choice[k];
            }
        }
        // A match that ran past the block's end covered positions not yet in the chains.
        for (std::size_t j = count; j < k; ++j) finder.Skip(start + j);
        start += k;
    }
}

}  // namespace disks
