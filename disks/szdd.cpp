#include "szdd.h"

#include "lz_parse.h"

#include <cstring>

namespace disks {

namespace {

constexpr std::uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};

// Writes items in groups of eight behind their flag byte.
class SzddSink : public LzSink {
public:
    explicit SzddSink(std::vector<std::uint8_t>& out) : m_out(out) {}

    void Literal(std::uint8_t byte) override {
        Flag(true);
        m_out.push_back(byte);
    }
    void Match(std::size_t position, std::size_t length, std::size_t distance) override {
        Flag(false);
        const std::size_t at = (kSzddStart + position - distance) & (kSzddWindow - 1);
        m_out.push_back(static_cast<std::uint8_t>(at & 0xFF));
        m_out.push_back(static_cast<std::uint8_t>(((at >> 4) & 0xF0) | (length - kSzddMinMatch)));
    }

private:
    void Flag(bool literal) {
        if (m_count == 8) m_count = 0;
        if (m_count == 0) {
            m_flagAt = m_out.size();
            m_out.push_back(0);
        }
        if (literal) m_out[m_flagAt] = static_cast<std::uint8_t>(m_out[m_flagAt] | 1u << m_count);
        ++m_count;
    }

    std::vector<std::uint8_t>& m_out;
    std::size_t m_flagAt = 0;
    unsigned m_count = 0;
};

}  // namespace

bool IsSzdd(const std::uint8_t* data, std::size_t size) {
    return size >= sizeof kMagic && std::memcmp(data, kMagic, sizeof kMagic) == 0;
}

std::vector<std::uint8_t> CompressSzdd(const std::uint8_t* data, std::size_t size, char lastCharacter) {
    std::vector<std::uint8_t> out(kMagic, kMagic + sizeof kMagic);
    out.push_back('A');
    out.push_back(static_cast<std::uint8_t>(lastCharacter));
    const std::uint32_t expanded = static_cast<std::uint32_t>(size);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(expanded >> shift));
    out.reserve(kSzddHeaderSize + size + size / 8 + 1);
    SzddSink sink(out);
    ParseLz(data, size, sink);
    return out;
}

}  // namespace disks
