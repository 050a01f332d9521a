// SHA-256 (FIPS 180-4): the digest that seals an undo record and the copies kept aside. A
// checksum such as CRC-32 can be matched on purpose by changing four bytes; this cannot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace setup {

class Sha256 {
public:
    Sha256();
    void Add(const void* data, std::size_t size);
    // The digest of everything added so far, as 64 upper-case hexadecimal digits; more may be
    // added after it.
    std::string Hex() const;

private:
    void Block(const unsigned char* block);

    std::uint32_t m_state[8];
    unsigned char m_buffer[64];
    std::uint64_t m_length = 0;  // bytes added
};

std::string Sha256Hex(const std::string& data);

}  // namespace setup
