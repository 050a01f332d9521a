// Fuzzes the SZDD writer: any bytes, compressed and expanded again by the tests' own
// expander, must come back whole, with the header telling their size.
#include "szdd.h"
#include "szdd_expand.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> packed = disks::CompressSzdd(data, size, 'X');
    const std::optional<testing_szdd::Expanded> expanded = testing_szdd::Expand(packed);
    if (!expanded || expanded->lastCharacter != 'X' || expanded->declaredSize != size) __builtin_trap();
    if (expanded->bytes.size() != size || (size && std::memcmp(expanded->bytes.data(), data, size) != 0)) __builtin_trap();
    // Never more than a flag byte per eight literals over the plain bytes.
    if (packed.size() > disks::kSzddHeaderSize + size + (size + 7) / 8) __builtin_trap();
    return 0;
}
