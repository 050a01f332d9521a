#include "disk_folder.h"

#include "script/text.h"

#include <cctype>
#include <filesystem>
#include <fstream>

namespace disks {

namespace fs = std::filesystem;

namespace {

bool IsDiskFolderName(const std::string& name) {
    if (name.size() < 5 || !setup::EqualNoCase(name.substr(0, 4), "DISK")) return false;
    for (std::size_t i = 4; i < name.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

fs::path OnDisk(const fs::path& folder, const std::string& path) {
    fs::path at = folder;
    std::size_t start = 0;
    for (std::size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', start = slash + 1))
        at /= path.substr(start, slash - start);
    return at / path.substr(start);
}

}  // namespace

std::string DiskFolder(const std::string& outDir, int disk) {
    return (fs::path(outDir) / ("DISK" + std::to_string(disk))).string();
}

bool WriteDisks(const Layout& layout, const std::string& outDir, std::string& error) {
    std::error_code code;
    fs::create_directories(outDir, code);
    for (const fs::directory_entry& entry : fs::directory_iterator(outDir, code))
        if (entry.is_directory() && IsDiskFolderName(entry.path().filename().string())) fs::remove_all(entry.path(), code);
    if (code) {
        error = "cannot clear " + outDir + ": " + code.message();
        return false;
    }
    for (std::size_t disk = 0; disk < layout.disks.size(); ++disk) {
        const fs::path folder = DiskFolder(outDir, static_cast<int>(disk + 1));
        fs::create_directories(folder, code);
        for (const DiskFile& file : layout.disks[disk].files) {
            const fs::path path = OnDisk(folder, file.path);
            fs::create_directories(path.parent_path(), code);
            std::ofstream out(path, std::ios::binary);
            out.write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
            if (!out.flush()) {
                error = "cannot write " + path.string();
                return false;
            }
        }
    }
    return true;
}

}  // namespace disks
