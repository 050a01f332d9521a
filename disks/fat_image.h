// A disk of the layout as the image of a formatted floppy: the boot sector with its
// parameter block and boot signature, two FATs of 12-bit entries, the root folder with the
// volume label, then the folders and files in whole clusters, each file in one run.
#pragma once

#include "layout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace disks {

// The time written for every file and folder, in local time.
struct ImageTime {
    int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// The image, exactly the medium's size; none, and why, when a name is not of the 8.3 form
// (upper-cased) that the FAT's entries hold, or the files do not fit.
std::optional<std::vector<std::uint8_t>> MakeFloppyImage(const FloppyLayout& layout, const std::string& label,
                                                         const std::vector<DiskFile>& files, const ImageTime& time,
                                                         std::uint32_t serial, std::string& error);

// "ICONS\LEAF1.ICO" as the 8.3 name of each part, upper case ("LEAF1   ICO"); none when a part
// is no such name.
std::optional<std::vector<std::string>> ShortNames(const std::string& path);

}  // namespace disks
