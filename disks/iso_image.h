// All disks as one CD image: ISO 9660 at its first level (8.3 names in upper case, each with
// its version ";1"), every disk's files in one tree. The installer asks for disk N where disk 1
// was: the prompt is answered with the same drive, and a quiet run looks there too.
#pragma once

#include "fat_image.h"
#include "layout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace disks {

struct CdFile {
    std::string path;  // "ICONS\LEAF1.ICO", as on its disk
    const std::vector<std::uint8_t>* bytes;
};

// Every disk's files in one tree, each once; none, and why, when two disks hold different
// files under one name.
std::optional<std::vector<CdFile>> MergeDisks(const Layout& layout, std::string& error);

// The image; none, and why, when a name is no 8.3 name.
std::optional<std::vector<std::uint8_t>> MakeCdImage(const std::string& volume, const std::vector<CdFile>& files,
                                                     const ImageTime& time, std::string& error);

}  // namespace disks
