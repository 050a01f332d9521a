// The seal of an undo record: the record's length and digest as the installer last wrote it,
// kept where only administrators can write (a value under HKEY_LOCAL_MACHINE named after the
// record), so that the uninstallation and a rollback tell the record their installations
// wrote from one changed since. Each append is sealed before it is written: a record that a
// crash cut in the middle of an append still matches the seal's "before". A record that was
// there, unsealed, before the first sealed installation is someone's: what lies before the
// seal's "start" is never undone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setup {

// The key, under HKEY_LOCAL_MACHINE, that holds one value a record: its name the record's
// full path, its text the seal.
constexpr const char* kSealKey = "SOFTWARE\\Setup Undo Records";

struct RecordSeal {
    std::uint64_t start = 0;              // where the sealed installations begin
    std::uint64_t before = 0, after = 0;  // the record's length before and after the last append
    std::string digestBefore, digestAfter;  // SHA-256 of those first bytes
};

// "START LENGTH DIGEST LENGTH DIGEST", numbers in decimal.
std::string SealText(const RecordSeal& seal);
std::optional<RecordSeal> ParseSeal(const std::string& text);
// A record as the installer wrote it and sealed it: before = after.
RecordSeal SealOf(std::string_view record, std::uint64_t start);
// How much of the record the seal vouches for: all of it, or what came before an append that
// was cut short. None when the record was changed otherwise.
std::optional<std::size_t> SealedLength(std::string_view record, const RecordSeal& seal);

}  // namespace setup
