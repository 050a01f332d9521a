#include "disks.h"

#include "script/text.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace checker {

namespace fs = std::filesystem;

FolderDisks::FolderDisks(const std::string& scriptPath) {
    const fs::path folder = fs::absolute(fs::path(scriptPath)).parent_path();
    m_folder = folder.string();
    m_parent = folder.parent_path().string();
    const std::string name = folder.filename().string();
    if (!name.empty() && name.back() == '1') m_stem = name.substr(0, name.size() - 1);
}

std::string FolderDisks::Folder(int disk) const {
    if (disk == 1 || m_stem.empty()) return m_folder;
    // Sibling folders are matched without case, as the installer's drive would be.
    const std::string wanted = m_stem + std::to_string(disk);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_parent, error))
        if (setup::EqualNoCase(entry.path().filename().string(), wanted)) return entry.path().string();
    return (fs::path(m_parent) / wanted).string();
}

std::optional<std::string> FolderDisks::Find(int disk, const std::string& name) const {
    // A name may hold a subfolder (ICONS\LEAF1.ICO); each part is matched without case.
    fs::path at = Folder(disk);
    std::string rest = name;
    while (!rest.empty()) {
        const std::size_t slash = rest.find_first_of("\\/");
        const std::string part = rest.substr(0, slash);
        rest = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
        std::error_code error;
        bool found = false;
        for (const fs::directory_entry& entry : fs::directory_iterator(at, error)) {
            if (setup::EqualNoCase(entry.path().filename().string(), part)) {
                at = entry.path();
                found = true;
                break;
            }
        }
        if (!found) return std::nullopt;
    }
    return at.string();
}

bool FolderDisks::Exists(int disk, const std::string& name) const { return Find(disk, name).has_value(); }

std::optional<std::vector<std::uint8_t>> FolderDisks::Read(int disk, const std::string& name) const {
    const std::optional<std::string> path = Find(disk, name);
    if (!path) return std::nullopt;
    std::ifstream file(*path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string FolderDisks::Describe(int disk) const { return Folder(disk); }

}  // namespace checker
