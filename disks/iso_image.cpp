#include "iso_image.h"

#include "script/text.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace disks {

namespace {

constexpr std::size_t kBlock = 2048;
constexpr std::uint32_t kFirstFreeBlock = 18;  // after the system area, the volume descriptor and its terminator

void Put16Both(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value), at[1] = static_cast<std::uint8_t>(value >> 8);
    at[2] = static_cast<std::uint8_t>(value >> 8), at[3] = static_cast<std::uint8_t>(value);
}
void Put32Little(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void Put32Big(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * (3 - i)));
}
void Put32Both(std::uint8_t* at, std::uint32_t value) {
    Put32Little(at, value);
    Put32Big(at + 4, value);
}
void PutText(std::uint8_t* at, const std::string& text, std::size_t width) {
    std::memset(at, ' ', width);
    std::memcpy(at, text.data(), std::min(width, text.size()));
}
std::uint32_t Blocks(std::size_t bytes) { return static_cast<std::uint32_t>((bytes + kBlock - 1) / kBlock); }

struct Directory {
    std::string name;                  // its identifier; "" for the root
    int parent = 0;                    // its parent's number, from 1 (the root is its own)
    std::vector<std::pair<std::string, const CdFile*>> files;  // "NAME.EXT;1"
    std::vector<int> children;
    std::uint32_t block = 0, size = 0;
};

class CdWriter {
public:
    CdWriter(const ImageTime& time) : m_time(time) {}

    bool Build(const std::string& volume, const std::vector<CdFile>& files, std::string& error) {
        m_directories.push_back({"", 1, {}, {}, 0, 0});
        for (const CdFile& file : files)
            if (!Place(file, error)) return false;
        Number();
        Lay();
        m_image.assign(std::size_t{m_blocks} * kBlock, 0);
        VolumeDescriptor(volume);
        PathTable(m_lTable, false);
        PathTable(m_mTable, true);
        for (const Directory& directory : m_directories) WriteDirectory(directory);
        for (const auto& [block, file] : m_fileBlocks)
            std::copy(file->bytes->begin(), file->bytes->end(), m_image.begin() + static_cast<std::ptrdiff_t>(block * kBlock));
        return true;
    }
    std::vector<std::uint8_t> Take() { return std::move(m_image); }

private:
    // The directory of the path's folders, made as needed; the file in it.
    bool Place(const CdFile& file, std::string& error) {
        const std::optional<std::vector<std::string>> names = ShortNames(file.path);
        if (!names) {
            error = file.path + " is not a name of the 8.3 form a CD's first level holds";
            return false;
        }
        int at = 0;
        for (std::size_t i = 0; i + 1 < names->size(); ++i) {
            const std::string name = Trimmed((*names)[i].substr(0, 8));
            int found = -1;
            for (int child : m_directories[static_cast<std::size_t>(at)].children)
                if (m_directories[static_cast<std::size_t>(child)].name == name) found = child;
            if (found < 0) {
                found = static_cast<int>(m_directories.size());
                m_directories.push_back({name, at + 1, {}, {}, 0, 0});
                m_directories[static_cast<std::size_t>(at)].children.push_back(found);
            }
            at = found;
        }
        const std::string& last = names->back();
        const std::string extension = Trimmed(last.substr(8));
        m_directories[static_cast<std::size_t>(at)].files.push_back({Trimmed(last.substr(0, 8)) + "." + extension + ";1", &file});
        return true;
    }

    static std::string Trimmed(const std::string& text) { return text.substr(0, text.find_last_not_of(' ') + 1); }

    // The path table orders the directories level by level, each level's by parent, then name;
    // the directories are renumbered so.
    void Number() {
        std::vector<int> order = {0};
        for (std::size_t i = 0; i < order.size(); ++i) {
            std::vector<int> children = m_directories[static_cast<std::size_t>(order[i])].children;
            std::sort(children.begin(), children.end(), [this](int a, int b) {
                return m_directories[static_cast<std::size_t>(a)].name < m_directories[static_cast<std::size_t>(b)].name;
            });
            order.insert(order.end(), children.begin(), children.end());
        }
        std::vector<int> number(m_directories.size());
        for (std::size_t i = 0; i < order.size(); ++i) number[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
        std::vector<Directory> sorted;
        for (int old : order) {
            Directory directory = m_directories[static_cast<std::size_t>(old)];
            directory.parent = old == 0 ? 1 : number[static_cast<std::size_t>(directory.parent - 1)] + 1;
            for (int& child : directory.children) child = number[static_cast<std::size_t>(child)];
            std::sort(directory.files.begin(), directory.files.end());
            sorted.push_back(std::move(directory));
        }
        m_directories = std::move(sorted);
    }

    static std::size_t RecordSize(std::size_t nameLength) { return 33 + nameLength + (nameLength % 2 == 0 ? 1 : 0); }

    // Where everything goes: the path tables, the directories, then the files.
    void Lay() {
        m_tableSize = 0;
        for (const Directory& d : m_directories) m_tableSize += 8 + std::max<std::size_t>(1, d.name.size()) + (std::max<std::size_t>(1, d.name.size()) % 2);
        std::uint32_t block = kFirstFreeBlock;
        m_lTable = block, block += Blocks(m_tableSize);
        m_mTable = block, block += Blocks(m_tableSize);
        for (Directory& d : m_directories) {
            std::vector<std::size_t> records = {RecordSize(1), RecordSize(1)};
            for (int child : d.children) records.push_back(RecordSize(m_directories[static_cast<std::size_t>(child)].name.size()));
            for (const auto& file : d.files) records.push_back(RecordSize(file.first.size()));
            std::size_t size = 0;
            for (std::size_t record : records) {
                if (size % kBlock + record > kBlock) size += kBlock - size % kBlock;  // records keep within a block
                size += record;
            }
            d.size = Blocks(size) * static_cast<std::uint32_t>(kBlock);
            d.block = block;
            block += Blocks(size);
        }
        for (const Directory& d : m_directories)
            for (const auto& file : d.files) {
                m_fileBlocks.emplace_back(block, file.second);
                m_firstBlock[file.second] = block;
                block += Blocks(file.second->bytes->size());
            }
        m_blocks = block;
    }

    void Record(std::vector<std::uint8_t>& out, const std::string& name, std::uint32_t block, std::uint32_t size,
                bool directory) {
        std::vector<std::uint8_t> record(RecordSize(name.size()), 0);
        record[0] = static_cast<std::uint8_t>(record.size());
        Put32Both(&record[2], block);
        Put32Both(&record[10], size);
        record[18] = static_cast<std::uint8_t>(m_time.year - 1900);
        record[19] = static_cast<std::uint8_t>(m_time.month), record[20] = static_cast<std::uint8_t>(m_time.day);
        record[21] = static_cast<std::uint8_t>(m_time.hour), record[22] = static_cast<std::uint8_t>(m_time.minute);
        record[23] = static_cast<std::uint8_t>(m_time.second);
        record[25] = directory ? 2 : 0;
        Put16Both(&record[28], 1);
        record[32] = static_cast<std::uint8_t>(name.size());
        std::memcpy(&record[33], name.data(), name.size());
        if (out.size() % kBlock + record.size() > kBlock) out.resize(out.size() + kBlock - out.size() % kBlock, 0);
        out.insert(out.end(), record.begin(), record.end());
    }

    void WriteDirectory(const Directory& d) {
        std::vector<std::uint8_t> out;
        const Directory& parent = m_directories[static_cast<std::size_t>(d.parent - 1)];
        Record(out, std::string(1, '\0'), d.block, d.size, true);
        Record(out, std::string(1, '\1'), parent.block, parent.size, true);
        // Directories and files in one order by name.
        std::vector<std::pair<std::string, int>> entries;  // name; directory number, or -1 - file index
        for (int child : d.children) entries.push_back({m_directories[static_cast<std::size_t>(child)].name, child});
        for (std::size_t i = 0; i < d.files.size(); ++i) entries.push_back({d.files[i].first, -1 - static_cast<int>(i)});
        std::sort(entries.begin(), entries.end());
        for (const auto& [name, which] : entries) {
            if (which >= 0) {
                const Directory& child = m_directories[static_cast<std::size_t>(which)];
                Record(out, name, child.block, child.size, true);
            } else {
                const CdFile* file = d.files[static_cast<std::size_t>(-1 - which)].second;
                Record(out, name, FileBlock(file), static_cast<std::uint32_t>(file->bytes->size()), false);
            }
        }
        std::copy(out.begin(), out.end(), m_image.begin() + static_cast<std::ptrdiff_t>(d.block * kBlock));
    }

    std::uint32_t FileBlock(const CdFile* file) const { return m_firstBlock.at(file); }

    void PathTable(std::uint32_t block, bool bigEndian) {
        std::size_t at = block * kBlock;
        for (const Directory& d : m_directories) {
            const std::string name = d.name.empty() ? std::string(1, '\0') : d.name;
            m_image[at] = static_cast<std::uint8_t>(name.size());
            (bigEndian ? Put32Big : Put32Little)(&m_image[at + 2], d.block);
            m_image[at + 6 + (bigEndian ? 1 : 0)] = static_cast<std::uint8_t>(d.parent);
            m_image[at + 6 + (bigEndian ? 0 : 1)] = static_cast<std::uint8_t>(d.parent >> 8);
            std::memcpy(&m_image[at + 8], name.data(), name.size());
            at += 8 + name.size() + name.size() % 2;
        }
    }

    std::string DateText() const {
        return setup::Format("%04d%02d%02d%02d%02d%02d00", m_time.year, m_time.month, m_time.day, m_time.hour,
                             m_time.minute, m_time.second);
    }

    void VolumeDescriptor(const std::string& volume) {
        std::uint8_t* pvd = &m_image[16 * kBlock];
        pvd[0] = 1;
        std::memcpy(pvd + 1, "CD001", 5);
        pvd[6] = 1;
        PutText(pvd + 8, "", 32);
        PutText(pvd + 40, volume, 32);
        Put32Both(pvd + 80, m_blocks);
        Put16Both(pvd + 120, 1);
        Put16Both(pvd + 124, 1);
        Put16Both(pvd + 128, kBlock);
        Put32Both(pvd + 132, static_cast<std::uint32_t>(m_tableSize));
        Put32Little(pvd + 140, m_lTable);
        Put32Big(pvd + 148, m_mTable);
        std::vector<std::uint8_t> root;
        Record(root, std::string(1, '\0'), m_directories[0].block, m_directories[0].size, true);
        std::memcpy(pvd + 156, root.data(), 34);
        for (std::size_t field : {190u, 318u, 446u}) PutText(pvd + field, "", 128);
        PutText(pvd + 574, "SETUPDISKS", 128);
        for (std::size_t field : {702u, 739u, 776u}) PutText(pvd + field, "", 37);
        const std::string date = DateText();
        for (std::size_t field : {813u, 830u}) std::memcpy(pvd + field, date.data(), 16);
        for (std::size_t field : {847u, 864u}) std::memset(pvd + field, '0', 16);
        pvd[881] = 1;
        std::uint8_t* end = &m_image[17 * kBlock];
        end[0] = 255;
        std::memcpy(end + 1, "CD001", 5);
        end[6] = 1;
    }

    ImageTime m_time;
    std::vector<Directory> m_directories;
    std::vector<std::pair<std::uint32_t, const CdFile*>> m_fileBlocks;
    std::map<const CdFile*, std::uint32_t> m_firstBlock;
    std::vector<std::uint8_t> m_image;
    std::size_t m_tableSize = 0;
    std::uint32_t m_lTable = 0, m_mTable = 0, m_blocks = 0;
};

}  // namespace

std::optional<std::vector<CdFile>> MergeDisks(const Layout& layout, std::string& error) {
    std::vector<CdFile> files;
    std::map<std::string, std::pair<int, const DiskFile*>> placed;  // folded path: disk and file
    for (std::size_t disk = 0; disk < layout.disks.size(); ++disk)
        for (const DiskFile& file : layout.disks[disk].files) {
            const auto [at, isNew] = placed.emplace(setup::FoldName(file.path), std::make_pair(static_cast<int>(disk + 1), &file));
            if (isNew) {
                files.push_back({file.path, &file.bytes});
                continue;
            }
            if (at->second.second->bytes == file.bytes) continue;
            error = file.path + " of disk " + std::to_string(disk + 1) + " (" + file.what + ") and of disk " +
                    std::to_string(at->second.first) + " (" + at->second.second->what +
                    ") are different files: one CD folder holds one of them";
            return std::nullopt;
        }
    return files;
}

std::optional<std::vector<std::uint8_t>> MakeCdImage(const std::string& volume, const std::vector<CdFile>& files,
                                                     const ImageTime& time, std::string& error) {
    CdWriter writer(time);
    if (!writer.Build(volume, files, error)) return std::nullopt;
    return writer.Take();
}

}  // namespace disks
