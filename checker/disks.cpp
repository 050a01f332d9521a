#include "disks.h"

#include "host_files.h"
#include "script/text.h"

namespace checker {

namespace {

// The path of the folder's entry whose name is the wanted one, compared without case.
std::optional<std::string> FindEntry(const std::string& folder, const std::string& wanted) {
    std::vector<host::FolderEntry> entries;
    std::string error;
    host::ListFolder(folder, entries, error);
    for (const host::FolderEntry& entry : entries)
        if (setup::EqualNoCase(entry.name, wanted)) return host::JoinPath(folder, entry.name);
    return std::nullopt;
}

}  // namespace

FolderDisks::FolderDisks(const std::string& scriptPath) {
    m_folder = host::ParentPath(host::AbsolutePath(scriptPath));
    m_parent = host::ParentPath(m_folder);
    const std::string name = host::FileNameOf(m_folder);
    if (!name.empty() && name.back() == '1') m_stem = name.substr(0, name.size() - 1);
}

std::string FolderDisks::Folder(int disk) const {
    if (disk == 1 || m_stem.empty()) return m_folder;
    // Sibling folders are matched without case, as the installer's drive would be.
    const std::string wanted = m_stem + std::to_string(disk);
    return FindEntry(m_parent, wanted).value_or(host::JoinPath(m_parent, wanted));
}

std::optional<std::string> FolderDisks::Find(int disk, const std::string& name) const {
    // A name may hold a subfolder (ICONS\LEAF1.ICO); each part is matched without case.
    std::optional<std::string> at = Folder(disk);
    std::string rest = name;
    while (at && !rest.empty()) {
        const std::size_t slash = rest.find_first_of("\\/");
        const std::string part = rest.substr(0, slash);
        rest = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
        at = FindEntry(*at, part);
    }
    return at;
}

bool FolderDisks::Exists(int disk, const std::string& name) const { return Find(disk, name).has_value(); }

std::optional<std::vector<std::uint8_t>> FolderDisks::Read(int disk, const std::string& name) const {
    const std::optional<std::string> path = Find(disk, name);
    if (!path) return std::nullopt;
    const std::optional<std::string> bytes = host::ReadWholeFile(*path);
    if (!bytes) return std::nullopt;
    return std::vector<std::uint8_t>(bytes->begin(), bytes->end());
}

std::string FolderDisks::Describe(int disk) const { return Folder(disk); }

}  // namespace checker
