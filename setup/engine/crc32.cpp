// CRC-32 (the polynomial of zip and PNG, reflected): eight bytes at a time from tables the
// compiler builds, and, on processors and systems that have it, 64 bytes at a time with
// carry-less multiplication, which checks an installed file several times faster.
#include "journal.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#define SETUP_CRC_CLMUL 1
#endif

namespace setup {

namespace {

// Entry [k][b] is the CRC of byte b followed by k zero bytes: 8 KB of constants.
struct CrcTables {
    std::uint32_t entries[8][256] = {};
};

constexpr CrcTables MakeCrcTables() {
    CrcTables tables;
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        std::uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        tables.entries[0][byte] = crc;
    }
    for (int k = 1; k < 8; ++k)
        for (std::uint32_t byte = 0; byte < 256; ++byte) {
            const std::uint32_t before = tables.entries[k - 1][byte];
            tables.entries[k][byte] = (before >> 8) ^ tables.entries[0][before & 0xFF];
        }
    return tables;
}

constexpr CrcTables kCrcTables = MakeCrcTables();

// The running (inverted) CRC over the bytes, by the tables.
std::uint32_t SliceBy8(std::uint32_t crc, const unsigned char* bytes, std::size_t size) {
    const auto& t = kCrcTables.entries;
    for (; size >= 8; size -= 8, bytes += 8) {
        crc ^= std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
               std::uint32_t{bytes[3]} << 24;
        crc = t[7][crc & 0xFF] ^ t[6][crc >> 8 & 0xFF] ^ t[5][crc >> 16 & 0xFF] ^ t[4][crc >> 24] ^
              t[3][bytes[4]] ^ t[2][bytes[5]] ^ t[1][bytes[6]] ^ t[0][bytes[7]];
    }
    for (; size > 0; --size, ++bytes) crc = (crc >> 8) ^ t[0][(crc ^ *bytes) & 0xFF];
    return crc;
}

#ifdef SETUP_CRC_CLMUL

// The processor multiplies without carries (PCLMULQDQ) and the system saves the SSE
// registers across task switches: CPUID's OSXSAVE bit, then XCR0's SSE state bit. Windows
// 95 and NT 4 set neither, so they take the tables.
bool HasCarrylessMultiply() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    constexpr unsigned kPclmul = 1u << 1, kOsXsave = 1u << 27;
    if ((c & (kPclmul | kOsXsave)) != (kPclmul | kOsXsave)) return false;
    unsigned low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (low & 2u) != 0;
}

#define SETUP_CLMUL_TARGET __attribute__((target("pclmul,sse2")))

SETUP_CLMUL_TARGET inline __m128i Load(const unsigned char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// The lane multiplied by x^n and x^m (the two halves of k), added to what follows it.
SETUP_CLMUL_TARGET inline __m128i Fold(__m128i lane, __m128i k, __m128i next) {
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(lane, k, 0x00), _mm_clmulepi64_si128(lane, k, 0x11)), next);
}

// Folds 64 bytes at a time into four 128-bit lanes, then into one, then reduces it to the
// 32-bit CRC (Barrett); size is a multiple of 16, at least 64. The constants are powers of x
// modulo the polynomial, bit-reflected (x^(4*128+32), x^(4*128-32), x^(128+32), x^(128-32),
// x^64), then the polynomial and its Barrett quotient. Windows keeps the stack 4-byte aligned:
// the function aligns its own.
SETUP_CLMUL_TARGET __attribute__((force_align_arg_pointer)) std::uint32_t
FoldBy64(std::uint32_t crc, const unsigned char* bytes, std::size_t size) {
    const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
    const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
    const __m128i k5 = _mm_set_epi64x(0, 0x0163cd6124);
    const __m128i poly = _mm_set_epi64x(0x01f7011641, 0x01db710641);
    __m128i x1 = _mm_xor_si128(Load(bytes), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x2 = Load(bytes + 16), x3 = Load(bytes + 32), x4 = Load(bytes + 48);
    for (bytes += 64, size -= 64; size >= 64; bytes += 64, size -= 64) {
        x1 = Fold(x1, k1k2, Load(bytes));
        x2 = Fold(x2, k1k2, Load(bytes + 16));
        x3 = Fold(x3, k1k2, Load(bytes + 32));
        x4 = Fold(x4, k1k2, Load(bytes + 48));
    }
    x1 = Fold(Fold(Fold(x1, k3k4, x2), k3k4, x3), k3k4, x4);
    for (; size >= 16; bytes += 16, size -= 16) x1 = Fold(x1, k3k4, Load(bytes));
    // 128 bits to 64, then to 32 by Barrett reduction.
    const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k3k4, 0x10));
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), k5, 0x00), _mm_srli_si128(x1, 4));
    __m128i x2b = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), poly, 0x10);
    x2b = _mm_clmulepi64_si128(_mm_and_si128(x2b, low32), poly, 0x00);
    x1 = _mm_xor_si128(x1, x2b);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(x1, 4)));
}

#endif

}  // namespace

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    crc = ~crc;
#ifdef SETUP_CRC_CLMUL
    // Worth the processor's question only for a block of some size.
    if (size >= 256 && HasCarrylessMultiply()) {
        const std::size_t folded = size & ~std::size_t{15};
        crc = FoldBy64(crc, bytes, folded);
        bytes += folded;
        size -= folded;
    }
#endif
    return ~SliceBy8(crc, bytes, size);
}

}  // namespace setup
