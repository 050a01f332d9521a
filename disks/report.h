// What setupdisks prints at the end: the disks and how full they are.
#pragma once

#include "layout.h"
#include "medium.h"

#include <string>

namespace disks {

// One line per disk: its files, how many are compressed, their plain size, the room they
// take, the capacity and what is left.
std::string FormatDiskTable(const Layout& layout, const Medium& medium);

}  // namespace disks
