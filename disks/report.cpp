#include "report.h"

#include "script/text.h"

namespace disks {

namespace {

// The text followed by blanks up to the width, as "%-6s" prints it.
std::string LeftAligned(const std::string& text, std::size_t width) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

}  // namespace

std::string FormatDiskTable(const Layout& layout, const Medium& medium) {
    std::string table = LeftAligned("disk", 6) + setup::Format(" %6s %11s %14s %14s %14s %14s\n", "files", "compressed",
                                                               "plain bytes", "on the disk", "capacity", "free");
    for (std::size_t i = 0; i < layout.disks.size(); ++i) {
        const Disk& disk = layout.disks[i];
        std::uint64_t plain = 0;
        int compressed = 0;
        for (const DiskFile& file : disk.files) {
            plain += file.plainSize;
            compressed += file.compressed ? 1 : 0;
        }
        const std::string free = disk.used <= medium.capacity ? WithThousands(medium.capacity - disk.used)
                                                              : "-" + WithThousands(disk.used - medium.capacity);
        table += LeftAligned("DISK" + std::to_string(i + 1), 6) +
                 setup::Format(" %6u %11d %14s %14s %14s %14s\n", static_cast<unsigned>(disk.files.size()), compressed,
                               WithThousands(plain).c_str(), WithThousands(disk.used).c_str(),
                               WithThousands(medium.capacity).c_str(), free.c_str());
    }
    return table;
}

}  // namespace disks
