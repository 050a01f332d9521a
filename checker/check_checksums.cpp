// The checksum section the disk builder writes: every line readable, one line for every
// file of the copy list, and every file on its disk the one its line lists, a compressed
// file expanded first. This is the check an author runs on the disks she has written.
#include "checks.h"

#include "actions/file_copy.h"
#include "engine/journal.h"
#include "szdd_reader.h"

#include <map>
#include <set>

namespace checker {

namespace {

std::string Facts(std::uint64_t size, std::uint32_t crc) {
    return std::to_string(size) + " bytes, CRC-32 " + setup::Format("%08lX", static_cast<unsigned long>(crc));
}

}  // namespace

void Checker::CheckChecksums() {
    if (!m_engine.FindSection(setup::kChecksumSection)) return;
    std::map<std::string, const KeyLine*> copied;  // "DISK N\PATH" folded: its first entry
    for (const ListedFile& file : CopyListFiles())
        if (!file.name.empty())
            copied.emplace(setup::FoldName(setup::ChecksumKey(file.disk, file.folder + file.name)), file.entry);
    std::set<std::string> lined;
    for (const KeyLine& line : m_keys) {
        if (!setup::EqualNoCase(line.section, setup::kChecksumSection)) continue;
        const std::optional<setup::ChecksumPlace> place = setup::ParseChecksumKey(line.key);
        if (!place) {
            Error(line.line, "\"" + line.key + "\" in [Checksums] is not \"Disk N\\FILE\": no file is checked by it");
            continue;
        }
        const std::string key = setup::FoldName(setup::ChecksumKey(place->disk, place->path));
        lined.insert(key);
        std::string why;
        const std::optional<setup::FileChecksum> listed = setup::ParseChecksumValue(line.value, why);
        if (!listed) {
            Error(line.line, "the checksum of " + line.key + " cannot be read: " + why + ": the file is installed unchecked");
            continue;
        }
        CheckListedFile(line, *place, *listed, copied.count(key) != 0);
    }
    for (const auto& [key, entry] : copied)
        if (!lined.count(key))
            Warning(entry->line, "\"" + entry->value + "\" of " + entry->key +
                                     " has no line in [Checksums]: it is installed unchecked");
}

void Checker::CheckListedFile(const KeyLine& line, const setup::ChecksumPlace& place,
                              const setup::FileChecksum& listed, bool inCopyList) {
    const std::string disk = "disk " + std::to_string(place.disk);
    std::string name = place.path;
    std::optional<std::vector<std::uint8_t>> bytes = m_disks.Read(place.disk, name);
    if (!bytes) {
        name = setup::CompressedName({Planner::kSourceDir + place.path, place.path}).name;
        bytes = m_disks.Read(place.disk, name);
    }
    // Disk 1 also carries files the installer reads itself: the installer, its pictures.
    if (!inCopyList && (place.disk != 1 || !bytes))
        Warning(line.line, line.key + " in [Checksums] names no file of the copy list");
    if (!bytes) return;  // a file of the copy list that is missing is named by its entry
    std::optional<Expanded> expanded = ExpandSzdd(*bytes);
    const std::vector<std::uint8_t>& content = expanded ? expanded->bytes : *bytes;
    const std::uint32_t crc = setup::Crc32(content.data(), content.size());
    const std::string where = name + " on " + disk + " (" + m_disks.Describe(place.disk) + ") is damaged: ";
    if (expanded && expanded->bytes.size() != expanded->statedSize)
        Error(line.line, where + "it expands to " + std::to_string(expanded->bytes.size()) + " bytes, its header states " +
                             std::to_string(expanded->statedSize));
    else if (content.size() != listed.size || crc != listed.crc32)
        Error(line.line, where + (expanded ? "it expands to " : "it holds ") + Facts(content.size(), crc) +
                             "; [Checksums] lists " + Facts(listed.size, listed.crc32));
}

}  // namespace checker
