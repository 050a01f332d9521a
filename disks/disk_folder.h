// The disks as folders of the file system: OUT/DISK1, OUT/DISK2, ...
#pragma once

#include "layout.h"

#include <string>

namespace disks {

// Writes every disk of the layout, first removing the DISKn folders of an earlier run
// (any number n) and nothing else. False and a reason when something cannot be written.
bool WriteDisks(const Layout& layout, const std::string& outDir, std::string& error);

// Where disk N's folder is.
std::string DiskFolder(const std::string& outDir, int disk);

}  // namespace disks
