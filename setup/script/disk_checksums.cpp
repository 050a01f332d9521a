#include "disk_checksums.h"

#include "text.h"

#include <cctype>

namespace setup {

namespace {

constexpr std::size_t kCrcDigits = 8;
constexpr std::size_t kMostSizeDigits = 10;  // 4294967295: no file on a disk is larger

// The number the digits spell in the base; none when a character is no digit of it.
std::optional<std::uint64_t> Digits(const std::string& text, unsigned base) {
    std::uint64_t number = 0;
    for (char c : text) {
        const int digit = std::isdigit(static_cast<unsigned char>(c))    ? c - '0'
                          : std::isxdigit(static_cast<unsigned char>(c)) ? std::toupper(static_cast<unsigned char>(c)) - 'A' + 10
                                                                          : 99;
        if (static_cast<unsigned>(digit) >= base) return std::nullopt;
        number = number * base + static_cast<unsigned>(digit);
    }
    if (text.empty()) return std::nullopt;
    return number;
}

// Blanks around a field, as a hand may have typed them, do not count.
std::string Blankless(const std::string& field) {
    const std::size_t first = field.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return field.substr(first, field.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string ChecksumKey(int disk, const std::string& path) { return "Disk " + std::to_string(disk) + "\\" + path; }

std::string ChecksumValue(const FileChecksum& checksum) {
    return std::to_string(checksum.size) + "," + Format("%08lX", static_cast<unsigned long>(checksum.crc32));
}

std::optional<ChecksumPlace> ParseChecksumKey(const std::string& key) {
    const std::size_t slash = key.find('\\');
    if (key.size() < 7 || !EqualNoCase(key.substr(0, 5), "Disk ") || slash == std::string::npos) return std::nullopt;
    const std::string number = key.substr(5, slash - 5);
    const std::string path = key.substr(slash + 1);
    // As the builder writes it, or the installer, which looks the key up as text, never finds it.
    const std::optional<std::uint64_t> disk = number.size() <= 4 && number[0] != '0' ? Digits(number, 10) : std::nullopt;
    if (!disk || *disk == 0 || path.empty()) return std::nullopt;
    return ChecksumPlace{static_cast<int>(*disk), path};
}

std::optional<FileChecksum> ParseChecksumValue(const std::string& value, std::string& why) {
    const std::size_t comma = value.find(',');
    if (comma == std::string::npos) {
        why = "a size and a checksum, separated by a comma, are expected";
        return std::nullopt;
    }
    const std::string size = Blankless(value.substr(0, comma));
    const std::string crc = Blankless(value.substr(comma + 1));
    const std::optional<std::uint64_t> bytes = size.size() <= kMostSizeDigits ? Digits(size, 10) : std::nullopt;
    if (!bytes || *bytes > 0xFFFFFFFFull) {
        why = "the size \"" + size + "\" is not a number of bytes";
        return std::nullopt;
    }
    const std::optional<std::uint64_t> sum = crc.size() == kCrcDigits ? Digits(crc, 16) : std::nullopt;
    if (!sum) {
        why = "the checksum \"" + crc + "\" is not eight hexadecimal digits";
        return std::nullopt;
    }
    return FileChecksum{*bytes, static_cast<std::uint32_t>(*sum)};
}

}  // namespace setup
