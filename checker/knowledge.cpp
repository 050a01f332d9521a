#include "knowledge.h"

#include "script/text.h"

#include <algorithm>
#include <cctype>

namespace checker {

namespace {

using K = ValueKind;

// Keys of the copy list sections: file and slide entries share their running number,
// with or without a selection prefix.
std::vector<KeySpec> CopyListKeys() {
    return {{"File %d.%d", K::kText, 30, "entry"},
            {"Bitmap %d.%d", K::kText, 256, "entry"},
            {"Dialog %d. SelItem %d. File %d.%d", K::kText, 30, "entry"},
            {"Dialog %d. SelItem %d. Bitmap %d.%d", K::kText, 256, "entry"}};
}

std::vector<KeySpec> MessageKeys() { return {{"Title", K::kText, 256, nullptr}, {"Line %d", K::kText, 256, "line"}}; }

// "File F" and "Item F.M" of the sections whose values are written into INI files.
std::vector<KeySpec> WriterKeys() {
    return {{"File %d", K::kText, 256, "file"}, {"Item %d.%d", K::kText, 256, "item"}};
}

std::vector<SectionSpec> BuildSections() {
    std::vector<SectionSpec> sections = {
        {"Setup System", {{"AP Name", K::kText, 100, nullptr}, {"ICON Directory", K::kText, 256, nullptr}}, false},
        {"Initiation",
         {{"Install Name", K::kText, 256, nullptr},
          {"Dialog Name", K::kText, 200, nullptr},
          {"DefDir", K::kText, 100, nullptr},
          {"Disk Space", K::kDigits, 20, nullptr},
          {"Set DefDir", K::kInteger, 11, nullptr},
          {"Copy File From SubDir", K::kInteger, 11, nullptr},
          {"Restart Windows", K::kInteger, 11, nullptr},
          {"ReBoot System", K::kInteger, 11, nullptr},
          {"Replace File", K::kInteger, 11, nullptr},
          {"SubDir %d", K::kText, 30, "subdir"},
          {"Group %d", K::kText, 256, "group"},
          {"Write INI %d", K::kText, 256, "write ini"}},
         false},
        {"Background",
         {{"Use Red", K::kInteger, 11, nullptr},
          {"Use Green", K::kInteger, 11, nullptr},
          {"Use Blue", K::kInteger, 11, nullptr},
          {"Red Color", K::kInteger, 11, nullptr},
          {"Green Color", K::kInteger, 11, nullptr},
          {"Blue Color", K::kInteger, 11, nullptr},
          {"Product Company", K::kText, 25, nullptr},
          {"Product Name", K::kText, 25, nullptr},
          {"Background Bitmap", K::kText, 20, nullptr}},
         false},
        {"Windows", CopyListKeys(), false},
        {"System", CopyListKeys(), false},
        {"DefDir", CopyListKeys(), false},
        {"SubDir %d", CopyListKeys(), false},
        {"Replace File", {{"File %d", K::kText, 50, "file"}}, false},
        {"Win.ini", {{"RunFile %d", K::kText, 256, "run"}, {"LoadFile %d", K::kText, 256, "load"}}, false},
        {"Write INI %d", {{"Item %d", K::kText, 256, "item"}}, false},
        {"Group %d", {{"Item %d", K::kText, 256, "item"}}, false},
        {"Register",
         {{"Key %d", K::kText, 256, "key"},
          {"SubKey %d", K::kText, 256, "key"},
          {"Key Class %d", K::kText, 256, "key"},
          {"Name %d.%d", K::kText, 256, "value"},
          {"Data %d.%d", K::kText, 256, "value"}},
         false},
        {"UnInstall",
         {{"Key", K::kText, 256, nullptr},
          {"SubKey", K::kText, 50, nullptr},
          {"DisplayName", K::kText, 256, nullptr},
          {"UnInstallString", K::kText, 256, nullptr},
          {"Record", K::kText, 256, nullptr},
          {"Rollback", K::kInteger, 11, nullptr}},
         false},
        {"Execute File", {{"File", K::kText, 256, nullptr}}, false},
        {"Button Text", {}, true},
        {"Static Text",
         {{"From :", K::kText, 200, nullptr}, {"To :", K::kText, 200, nullptr}, {"Copy To :", K::kText, 100, nullptr}},
         false},
        {"SetDir Message", {{"Line %d", K::kText, 256, "line"}}, false},
    };
    std::vector<KeySpec> comPort = WriterKeys();
    comPort.insert(comPort.end(), {{"BaseValue", K::kInteger, 11, nullptr},
                                   {"MaxComPort", K::kInteger, 11, nullptr},
                                   {"DefComPort", K::kInteger, 11, nullptr},
                                   {"Title Name", K::kText, 200, nullptr},
                                   {"Info", K::kText, 200, nullptr}});
    sections.push_back({"ComPort", comPort, false});
    std::vector<KeySpec> dialog = WriterKeys();
    dialog.insert(dialog.end(), {{"Title Name", K::kText, 200, nullptr},
                                 {"Info Line %d", K::kText, 128, "info line"},
                                 {"Select Item %d", K::kText, 128, "select item"},
                                 {"DefSelect", K::kInteger, 11, nullptr},
                                 {"BaseValue", K::kInteger, 11, nullptr},
                                 {"WriteValueType", K::kText, 128, nullptr},
                                 {"Animation Icon", K::kText, 20, nullptr}});
    sections.push_back({"Dialog %d", dialog, false});
    sections.push_back({"Version", WriterKeys(), false});
    for (const char* message : {"PrevVersion Message", "ReBoot Message", "Restart Message", "Reboot Error Message",
                                "Restart Error Message", "Self Restart Error Message", "End Message", "Stop Message",
                                "Space Message", "Dir Message", "File Lose Message", "Copy Error Message",
                                "Replace Message", "Disk Message", "Uninstall Message", "Uninstall Error Message",
                                "Uninstall End Message", "Uninstall Restart Message", "Destination Error Message",
                                "Damaged File Message"})
        sections.push_back({message, MessageKeys(), false});
    // Keys of their own: "Disk N\PATH", checked by CheckChecksums.
    sections.push_back({"Checksums", {}, true});
    return sections;
}

}  // namespace

const std::vector<SectionSpec>& KnownSections() {
    static const std::vector<SectionSpec> sections = BuildSections();
    return sections;
}

std::optional<std::vector<int>> MatchPattern(std::string_view pattern, std::string_view name) {
    std::vector<int> numbers;
    std::size_t p = 0, n = 0;
    while (p < pattern.size()) {
        if (pattern.compare(p, 2, "%d") == 0) {
            std::size_t start = n;
            long value = 0;
            while (n < name.size() && std::isdigit(static_cast<unsigned char>(name[n])) && n - start < 9)
                value = value * 10 + (name[n++] - '0');
            if (n == start) return std::nullopt;
            numbers.push_back(static_cast<int>(value));
            p += 2;
            continue;
        }
        if (n >= name.size() || !setup::EqualNoCase(pattern.substr(p, 1), name.substr(n, 1))) return std::nullopt;
        ++p;
        ++n;
    }
    if (n != name.size()) return std::nullopt;
    return numbers;
}

const SectionSpec* FindSectionSpec(std::string_view name) {
    for (const SectionSpec& section : KnownSections())
        if (MatchPattern(section.pattern, name)) return &section;
    return nullptr;
}

const KeySpec* FindKeySpec(const SectionSpec& section, std::string_view key) {
    for (const KeySpec& spec : section.keys)
        if (MatchPattern(spec.pattern, key)) return &spec;
    return nullptr;
}

std::string ClosestName(std::string_view name, const std::vector<std::string>& known) {
    std::string best;
    std::size_t bestDistance = std::max<std::size_t>(2, name.size() / 4) + 1;
    for (const std::string& candidate : known) {
        const std::size_t distance = setup::EditDistance(name, candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

std::string ExampleName(std::string_view pattern) {
    std::string name(pattern);
    for (std::size_t at = name.find("%d"); at != std::string::npos; at = name.find("%d")) name.replace(at, 2, "1");
    return name;
}

}  // namespace checker
