// The disks as folders of the file system: OUT/DISK1, OUT/DISK2, ...
#pragma once

#include "layout.h"

#include <string>
#include <vector>

namespace disks {

// Writes every disk of the layout, first removing the DISKn folders of an earlier run
// (any number n) and nothing else. False and a reason when something cannot be written.
bool WriteDisks(const Layout& layout, const std::string& outDir, std::string& error);

struct ImageTime;

// Every disk of the layout as the image of a floppy of the medium, OUT/DISKn.IMG; their paths
// in written. False and a reason when one cannot be made or written.
bool WriteImages(const Layout& layout, const Medium& medium, const std::string& outDir, const ImageTime& time,
                 std::vector<std::string>& written, std::string& error);

// Where disk N's folder is.
std::string DiskFolder(const std::string& outDir, int disk);

}  // namespace disks
