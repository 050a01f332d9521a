// What the installer reads from a setup script: every section and key it knows, what kind
// of value each holds and the buffer it is read into, and which keys form numbered lists.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace checker {

enum class ValueKind { kText, kInteger, kDigits };

struct KeySpec {
    const char* pattern;      // "%d" stands for a number: "File %d.%d"
    ValueKind kind;
    std::size_t bufferSize;   // the value keeps bufferSize - 1 characters
    const char* list;         // keys of one list share the last number; null: no list
};

struct SectionSpec {
    const char* pattern;      // "Dialog %d"; "%d" numbers form the list of sections
    std::vector<KeySpec> keys;
    bool anyKey;              // [Button Text]: every key is a caption
};

const std::vector<SectionSpec>& KnownSections();

// The numbers a name holds where its pattern has "%d" (names compare without case);
// empty when it does not match.
std::optional<std::vector<int>> MatchPattern(std::string_view pattern, std::string_view name);

// The section spec a section name matches, and the key spec a key of it matches.
const SectionSpec* FindSectionSpec(std::string_view name);
const KeySpec* FindKeySpec(const SectionSpec& section, std::string_view key);

// The known name closest to a misspelt one, when it is near (a few letters off).
std::string ClosestName(std::string_view name, const std::vector<std::string>& known);

// The names a pattern stands for with small numbers, for suggestions ("File %d" gives
// "File 1").
std::string ExampleName(std::string_view pattern);

}  // namespace checker
