#include "record_seal.h"

#include "sha256.h"

#include <vector>

namespace setup {

namespace {

bool Digest(const std::string& text) {
    if (text.size() != 64) return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

std::optional<std::uint64_t> Length(const std::string& text) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}

std::string DigestOf(std::string_view text) {
    Sha256 sum;
    sum.Add(text.data(), text.size());
    return sum.Hex();
}

}  // namespace

std::string SealText(const RecordSeal& seal) {
    return std::to_string(seal.start) + " " + std::to_string(seal.before) + " " + seal.digestBefore + " " + std::to_string(seal.after) + " " +
           seal.digestAfter;
}

std::optional<RecordSeal> ParseSeal(const std::string& text) {
    std::vector<std::string> parts;
    for (std::size_t from = 0, blank = 0; blank != std::string::npos; from = blank + 1) {
        blank = text.find(' ', from);
        parts.push_back(text.substr(from, blank == std::string::npos ? blank : blank - from));
    }
    if (parts.size() != 5) return std::nullopt;
    const std::optional<std::uint64_t> start = Length(parts[0]), before = Length(parts[1]), after = Length(parts[3]);
    if (!start || !before || !after || *start > *before || *before > *after || !Digest(parts[2]) || !Digest(parts[4]))
        return std::nullopt;
    return RecordSeal{*start, *before, *after, parts[2], parts[4]};
}

RecordSeal SealOf(std::string_view record, std::uint64_t start) {
    const std::string digest = DigestOf(record);
    return RecordSeal{start, record.size(), record.size(), digest, digest};
}

std::optional<std::size_t> SealedLength(std::string_view record, const RecordSeal& seal) {
    if (record.size() == seal.after && DigestOf(record) == seal.digestAfter) return record.size();
    // An append cut short: the lines before it are the installer's, the rest goes.
    if (record.size() >= seal.before && record.size() < seal.after &&
        DigestOf(record.substr(0, seal.before)) == seal.digestBefore)
        return static_cast<std::size_t>(seal.before);
    return std::nullopt;
}

}  // namespace setup
