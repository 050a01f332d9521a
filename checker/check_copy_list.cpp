// What the installer copies: every entry of the copy list, on the disk it is read from.
#include "checks.h"

#include "actions/file_copy.h"
#include "script/fields.h"
#include "script/text.h"
#include "ui/dib.h"

namespace checker {

// The copy list: nothing copied when the first entry is not on disk 1; every file and
// slide on its disk.
void Checker::CheckCopyList() {
    m_engine.CountCopyItems();
    for (const ListedFile& file : CopyListFiles()) CheckEntryFile(file);
    const KeyLine* first = nullptr;
    for (const KeyLine& entry : m_keys)
        if (!first && entry.keySpec && entry.keySpec->list && std::string(entry.keySpec->list) == "entry") first = &entry;
    if (first && m_engine.m_copyEntryCount == 0)
        Error(first->line, "the copy list has no entry on disk 1: nothing is copied");
    // The count goes by the [SubDir N] sections, the copy by the [Initiation] "SubDir N" keys.
    for (int number = 1;; ++number) {
        const std::string key = setup::NumberedKey("SubDir", number);
        const bool section = m_engine.FindSection(key.c_str());
        const bool directory = !m_engine.GetScriptValue("Initiation", key.c_str(), nullptr, 50).empty();
        if (!section && !directory) break;
        if (section && !directory)
            Warning(SectionLine(key), "[" + key + "] has no [Initiation] \"" + key + "\": its files are counted but never copied");
    }
}

std::vector<Checker::ListedFile> Checker::CopyListFiles() const {
    std::vector<ListedFile> files;
    for (const KeyLine& entry : m_keys) {
        if (!entry.keySpec || !entry.keySpec->list || std::string(entry.keySpec->list) != "entry") continue;
        const std::vector<int> numbers = *MatchPattern(entry.keySpec->pattern, entry.key);
        ListedFile file{&entry, numbers[numbers.size() - 2], false, EntryFolder(entry), setup::FitBuffer(entry.value, 30)};
        if (file.disk < 1 || file.disk > m_engine.m_diskCount) continue;
        file.slide = std::string(entry.keySpec->pattern).find("Bitmap") != std::string::npos;
        if (file.slide) {
            char field[30];
            int position = 0;
            const bool named = !setup::EqualNoCase(entry.value, "NULL") &&
                               setup::NextField(entry.value.c_str(), &position, ',', field, sizeof field);
            file.name = named ? field : "";
        }
        files.push_back(std::move(file));
    }
    return files;
}

// Files of [SubDir N] come from the disk's subfolder of that name when the script says so.
std::string Checker::EntryFolder(const KeyLine& entry) const {
    const std::optional<std::vector<int>> sub = MatchPattern("SubDir %d", entry.section);
    if (!sub || !m_engine.GetScriptInt("Initiation", "Copy File From SubDir", 0)) return std::string();
    return m_engine.GetScriptValue("Initiation", setup::NumberedKey("SubDir", sub->front()).c_str(), nullptr, 50) + "\\";
}

void Checker::CheckEntryFile(const ListedFile& file) {
    const KeyLine& entry = *file.entry;
    if (file.name.empty()) {
        if (!setup::EqualNoCase(entry.value, "NULL")) Warning(entry.line, "slide entry without a file name");
        return;
    }
    const std::string& folder = file.folder;
    const std::string& name = file.name;
    const int disk = file.disk;
    const bool slide = file.slide;
    const setup::SourceFile compressed = setup::CompressedName({Planner::kSourceDir + folder + name, folder + name});
    std::string found = folder + name;
    if (!m_disks.Exists(disk, found)) {
        found = compressed.name;
        if (!m_disks.Exists(disk, found)) {
            Error(entry.line, "\"" + folder + name + "\" is not on disk " + std::to_string(disk) + " (" +
                                  m_disks.Describe(disk) + "), nor compressed as \"" + compressed.name + "\"");
            return;
        }
    }
    if (!slide || found != folder + name) return;  // a compressed slide is expanded on copy
    const std::optional<std::vector<std::uint8_t>> bytes = m_disks.Read(disk, found);
    if (!bytes || bytes->size() <= setup::kBitmapFileHeaderSize || !setup::IsBitmapFileHeader(bytes->data(), bytes->size()) ||
        !setup::ParseDib(bytes->data() + setup::kBitmapFileHeaderSize, bytes->size() - setup::kBitmapFileHeaderSize))
        Warning(entry.line, "slide \"" + name + "\" is not a picture the installer can show: it is copied and kept");
}

}  // namespace checker
