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
    const KeyLine* first = nullptr;
    for (const KeyLine& entry : m_keys) {
        if (!entry.keySpec || !entry.keySpec->list || std::string(entry.keySpec->list) != "entry") continue;
        const std::vector<int> numbers = *MatchPattern(entry.keySpec->pattern, entry.key);
        const int disk = numbers[numbers.size() - 2];
        if (!first) first = &entry;
        const bool slide = std::string(entry.keySpec->pattern).find("Bitmap") != std::string::npos;
        if (disk >= 1 && disk <= m_engine.m_diskCount) CheckEntryFile(entry, disk, slide);
    }
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

void Checker::CheckEntryFile(const KeyLine& entry, int disk, bool slide) {
    std::string name = entry.value;
    if (slide) {
        if (setup::EqualNoCase(name, "NULL")) return;
        char field[30];
        int position = 0;
        if (!setup::NextField(entry.value.c_str(), &position, ',', field, sizeof field)) {
            Warning(entry.line, "slide entry without a file name");
            return;
        }
        name = field;
    } else {
        name = setup::FitBuffer(name, 30);
    }
    // Files of [SubDir N] come from the disk's subfolder of that name when the script says so.
    std::string folder;
    const std::optional<std::vector<int>> sub = MatchPattern("SubDir %d", entry.section);
    if (sub && m_engine.GetScriptInt("Initiation", "Copy File From SubDir", 0))
        folder = m_engine.GetScriptValue("Initiation", setup::NumberedKey("SubDir", sub->front()).c_str(), nullptr, 50) + "\\";
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
