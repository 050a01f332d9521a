#include "report.h"

#include <cstdio>

namespace disks {

std::string FormatDiskTable(const Layout& layout, const Medium& medium) {
    char line[160];
    std::snprintf(line, sizeof line, "%-6s %6s %11s %14s %14s %14s %14s\n", "disk", "files", "compressed", "plain bytes",
                  "on the disk", "capacity", "free");
    std::string table = line;
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
        std::snprintf(line, sizeof line, "%-6s %6u %11d %14s %14s %14s %14s\n", ("DISK" + std::to_string(i + 1)).c_str(),
                      static_cast<unsigned>(disk.files.size()), compressed, WithThousands(plain).c_str(), WithThousands(disk.used).c_str(),
                      WithThousands(medium.capacity).c_str(), free.c_str());
        table += line;
    }
    return table;
}

}  // namespace disks
