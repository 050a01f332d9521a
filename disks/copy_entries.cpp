#include "copy_entries.h"

#include "actions/copy_list.h"
#include "engine/choices.h"
#include "script/fields.h"
#include "script/text.h"

namespace disks {

namespace {

// The value buffers of the copy loop: a file entry's name, a slide's name field.
constexpr std::size_t kNameBufferSize = 30;
constexpr std::size_t kSubDirBufferSize = 50;

struct Section {
    std::string name;
    std::string folder;  // on the disk, with a backslash at its end; empty for the disk's root
};

// The sections in copy order; [SubDir N] files come from the disk's folder of that name
// when "Copy File From SubDir" is set.
std::vector<Section> CopySections(const setup::SetupScript& script) {
    std::vector<Section> sections;
    for (const char* fixed : {"Windows", "System", "DefDir"})
        if (script.FindSection(fixed)) sections.push_back({fixed, ""});
    const bool fromSubDir = script.GetScriptInt("Initiation", "Copy File From SubDir", 0) != 0;
    for (int number = 1;; ++number) {
        const std::string key = setup::NumberedKey("SubDir", number);
        std::string folder = script.GetScriptValue("Initiation", key.c_str(), nullptr, kSubDirBufferSize);
        if (folder.empty()) break;
        if (folder.back() != '\\') folder += '\\';
        sections.push_back({key, fromSubDir ? folder : ""});
    }
    return sections;
}

// "" and the prefix of every item of every selection question the installer asks.
std::vector<std::string> Prefixes(const setup::SetupScript& script) {
    std::vector<std::string> prefixes = {""};
    for (int dialog = 1;; ++dialog) {
        const std::optional<setup::SelectQuestion> question = setup::LoadSelectQuestion(script, dialog);
        if (!question) break;
        for (std::size_t item = 1; item <= question->items.size(); ++item)
            prefixes.push_back(setup::SelectionPrefix(dialog, static_cast<int>(item)));
    }
    return prefixes;
}

// One list (disk, section, prefix) up to its first missing number; true when it had an
// entry, a "NULL" slide included.
bool ListEntries(const setup::SetupScript& script, int disk, const Section& section, const std::string& prefix,
                 std::vector<CopyEntry>& entries) {
    const char* name = section.name.c_str();
    for (int number = 1;; ++number) {
        CopyEntry entry{disk, setup::EntryKey(prefix, "File", disk, number), 0, "", false, ""};
        std::string file = script.GetScriptValue(name, entry.key.c_str(), nullptr, kNameBufferSize);
        if (file.empty()) {
            entry.key = setup::EntryKey(prefix, "Bitmap", disk, number);
            const std::string value = script.GetScriptValue(name, entry.key.c_str(), nullptr, setup::kPathBufferSize);
            if (value.empty()) return number > 1;
            char field[kNameBufferSize];
            int position = 0;
            if (setup::EqualNoCase(value, "NULL") || !setup::NextField(value.c_str(), &position, ',', field, sizeof field))
                continue;
            file = field;
            entry.slide = true;
        }
        entry.line = KeyLine(script, section.name, entry.key);
        entry.named = section.name == "DefDir" ? entry.key : "[" + section.name + "] " + entry.key;
        entry.path = section.folder + file;
        entries.push_back(std::move(entry));
    }
}

}  // namespace

int KeyLine(const setup::SetupScript& script, const std::string& section, const std::string& key) {
    int header = 0, line = 0;
    if (!script.FindSection(section.c_str(), &header) || !script.FindKey(key.c_str(), header + 1, &line)) return 0;
    return script.SourceLine(line);
}

CopyList ListCopyEntries(const setup::SetupScript& script) {
    const std::vector<Section> sections = CopySections(script);
    const std::vector<std::string> prefixes = Prefixes(script);
    CopyList list;
    for (int disk = 1;; ++disk) {
        bool found = false;
        for (const Section& section : sections)
            for (const std::string& prefix : prefixes)
                found = ListEntries(script, disk, section, prefix, list.entries) || found;
        if (!found) return list;
        list.diskCount = disk;
    }
}

}  // namespace disks
