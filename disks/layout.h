// The layout of a product's installation disks, worked out from its setup script and the
// folder that holds its files: which file goes on which disk, under which name, plain or
// compressed; and every reason the disks cannot be made, as findings on the script's lines.
#pragma once

#include "disks.h"
#include "findings.h"
#include "medium.h"

#include <cstdint>
#include <string>
#include <vector>

namespace disks {

enum class Compression { kAuto, kAll, kNone };

struct LayoutOptions {
    Medium medium;
    Compression compression = Compression::kAuto;
    std::string installerName;               // "SETUP.EXE"; the script is named after it
    std::vector<std::uint8_t> installer;
    // Each disk also as a floppy image: every name must be an 8.3 name, and the root holds
    // the volume label besides the files and folders.
    bool images = false;
    // Also one CD image: every name must be an 8.3 name.
    bool cdImage = false;
};

struct DiskFile {
    std::string path;                // on the disk: "BRIGHT.EX_", "ICONS\LEAF1.ICO"
    std::string listed;              // as the script names it: "BRIGHT.EXE"
    std::vector<std::uint8_t> bytes;  // as written
    std::uint64_t plainSize = 0;
    std::uint32_t plainCrc = 0;      // the CRC-32 of the bytes as installed
    bool compressed = false;
    std::string what;                // for messages: "File 2.1", "the installer"
    int line = 0;                    // of the script line that puts it there; 0: none
};

struct Disk {
    std::vector<DiskFile> files;  // the fixed files of disk 1 first, then in copy order
    std::uint64_t used = 0;       // on the medium
};

struct Layout {
    std::vector<Disk> disks;              // disk 1 first
    std::vector<checker::Finding> findings;  // in the order of the script's lines
    std::vector<std::uint8_t> script;     // as disk 1 carries it
    std::string scriptName;               // "SETUP.INF"

    bool HasErrors() const;
};

// The script's bytes with CR LF line ends, as the installer expects them.
std::vector<std::uint8_t> WithCrLf(const std::vector<std::uint8_t>& script);

// source: disk 1 is the folder with the product's files; names compare without case.
Layout PlanDisks(const std::vector<std::uint8_t>& script, const checker::Disks& source, const LayoutOptions& options);

}  // namespace disks
