// The installation disks beside a script: disk 1 is the script's own folder; when that
// folder's name ends in 1 (DISK1), disk N is the sibling folder ending in N instead (DISK2);
// otherwise every disk is read from the script's folder, as from one drive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace checker {

class Disks {
public:
    virtual ~Disks() = default;
    // The file's bytes on disk N, the name compared without case; none when it is not there.
    virtual std::optional<std::vector<std::uint8_t>> Read(int disk, const std::string& name) const = 0;
    virtual bool Exists(int disk, const std::string& name) const = 0;
    // Where disk N is, for the plan.
    virtual std::string Describe(int disk) const = 0;
};

// Disks in folders of the file system, found from the script's path.
class FolderDisks : public Disks {
public:
    explicit FolderDisks(const std::string& scriptPath);
    std::optional<std::vector<std::uint8_t>> Read(int disk, const std::string& name) const override;
    bool Exists(int disk, const std::string& name) const override;
    std::string Describe(int disk) const override;

private:
    std::string Folder(int disk) const;
    std::optional<std::string> Find(int disk, const std::string& name) const;

    std::string m_folder;   // the script's folder
    std::string m_stem;     // the folder's name without its final 1, when it has one
    std::string m_parent;
};

}  // namespace checker
