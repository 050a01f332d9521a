#include "protocol.h"

#include <cstring>

namespace accessor {

std::uint32_t QueryMagic(unsigned message) {
    switch (message) {
    case kQueryDirect:
        return ACCESSOR_MAGIC_DIRECT;
    case kQueryAttached:
        return ACCESSOR_MAGIC_ATTACHED;
    case kQueryFocus:
        return ACCESSOR_MAGIC_FOCUS;
    default:
        return 0;
    }
}

bool ParseRequest(unsigned char* data, std::size_t size, AccessorRequest& request) {
    if (!data || size < 2) return false;
    const std::uint16_t nameLength = static_cast<std::uint16_t>(data[0] | data[1] << 8);
    // The size field follows the name field; both must be there before either is read.
    const std::size_t header = std::size_t{6} + nameLength;
    if (size < header) return false;
    const char* name = reinterpret_cast<const char*>(data + 2);
    if (nameLength == 0 || name[0] == '\0') return false;
    if (!std::memchr(name, '\0', nameLength)) return false;
    const std::uint32_t blockSize = LoadSlot(data + 2 + nameLength);
    if (size - header < blockSize) return false;

    request.nameLength = nameLength;
    request.name = name;
    request.blockSize = blockSize;
    request.block = data + header;
    request.size = header + blockSize;
    return true;
}

std::vector<unsigned char> BuildRequest(const std::string& name, const std::vector<unsigned char>& block,
                                        std::uint16_t nameLength) {
    const std::size_t field = nameLength ? nameLength : name.size() + 1;
    std::vector<unsigned char> data(6 + field + block.size(), 0);
    data[0] = static_cast<unsigned char>(field & 0xFF);
    data[1] = static_cast<unsigned char>(field >> 8);
    std::memcpy(data.data() + 2, name.data(), name.size() < field ? name.size() : field);
    StoreSlot(data.data() + 2 + field, static_cast<std::uint32_t>(block.size()));
    if (!block.empty()) std::memcpy(data.data() + 6 + field, block.data(), block.size());
    return data;
}

const char* ControlText(const unsigned char* data, std::size_t size) {
    if (!data || !std::memchr(data, '\0', size)) return nullptr;
    return reinterpret_cast<const char*>(data);
}

bool IsDestroyCommand(const char* text) {
    static const char kDestroy[] = "destroy";
    if (!text) return false;
    std::size_t i = 0;
    for (; kDestroy[i] != '\0'; ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kDestroy[i]) return false;
    }
    return text[i] == '\0';
}

std::uint32_t LoadSlot(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

void StoreSlot(unsigned char* at, std::uint32_t value) {
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
    at[2] = static_cast<unsigned char>(value >> 16);
    at[3] = static_cast<unsigned char>(value >> 24);
}

std::vector<unsigned char> MakeBlock(std::initializer_list<std::uint32_t> slots) {
    std::vector<unsigned char> block(slots.size() * 4);
    std::size_t offset = 0;
    for (std::uint32_t slot : slots) {
        StoreSlot(block.data() + offset, slot);
        offset += 4;
    }
    return block;
}

}  // namespace accessor
