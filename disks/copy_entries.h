// Every file the script's copy list can make the installer copy, whatever the user picks:
// the entries of [Windows], [System], [DefDir] and the [SubDir N] sections (as far as
// [Initiation] names their directories), without a prefix and under the prefix of every
// item of every selection question, disk by disk until a disk has no entry.
#pragma once

#include "script/script.h"

#include <string>
#include <vector>

namespace disks {

struct CopyEntry {
    int disk = 0;
    std::string key;   // as the installer looks it up: "Dialog 1. SelItem 2. File 1.3"
    int line = 0;      // of the key in the script file
    std::string path;  // on the disk, as the installer asks for it: "NOTES\WELCOME.TXT"
    bool slide = false;
    // In messages: the key, after its section when that is not [DefDir], whose keys the other
    // lists repeat ("[SubDir 1] File 1.1").
    std::string named;
};

struct CopyList {
    std::vector<CopyEntry> entries;  // in copy order
    int diskCount = 0;               // the last disk with an entry ("NULL" slides included)
};

CopyList ListCopyEntries(const setup::SetupScript& script);

// The line of the script file that holds the key of the section; 0 when there is none.
int KeyLine(const setup::SetupScript& script, const std::string& section, const std::string& key);

}  // namespace disks
