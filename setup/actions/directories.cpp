// The room the installation needs, and the directories it installs into.
#include "../engine/setup_engine.h"
#include "../script/text.h"

#include <algorithm>
#include <limits>

namespace setup {

namespace {

// [Initiation] "SubDir N" names are read into 30-byte buffers.
constexpr std::size_t kSubDirBufferSize = 30;

}  // namespace

std::uint32_t SetupEngine::GetRequiredDiskSpace() const {
    const std::string value = GetScriptValue("Initiation", "Disk Space", nullptr, 20);
    std::uint64_t bytes = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return 0;  // any other character, a blank included: no check
        // More than 32 bits hold is more than any drive can be asked for: saturate, never
        // wrap round to a small number (which would turn the check off).
        bytes = std::min<std::uint64_t>(bytes * 10u + static_cast<std::uint32_t>(c - '0'), UINT32_MAX);
    }
    return static_cast<std::uint32_t>(bytes);
}

bool SetupEngine::CheckDiskSpace(int driveIndex) {
    const std::uint32_t required = GetRequiredDiskSpace();
    if (required == 0) return true;
    const std::string root = {static_cast<char>('A' + driveIndex), ':', '\\'};
    const std::optional<std::uint64_t> free = FreeDiskSpace(root);
    if (!free) return true;  // an unready drive does not stop the installation
    // 4 GiB and more is more than any 32-bit requirement: saturate, never wrap.
    const std::uint32_t freeBytes = *free > std::numeric_limits<std::uint32_t>::max()
                                        ? std::numeric_limits<std::uint32_t>::max()
                                        : static_cast<std::uint32_t>(*free);
    if (required <= freeBytes) return true;
    ReportLowDiskSpace(required, freeBytes, driveIndex);
    return false;
}

bool SetupEngine::CreateInstallDirectory(const std::string& directory) {
    if (directory.empty()) return false;
    // Every level from the drive down: C:, C:\APP, C:\APP\SUB for C:\APP\SUB\.
    for (std::size_t at = directory.find('\\'); at != std::string::npos; at = directory.find('\\', at + 1)) {
        if (!MakeDirectory(directory.substr(0, at))) return false;
    }
    if (directory.back() != '\\' && !MakeDirectory(directory)) return false;

    for (int number = 1;; ++number) {
        const std::string key = NumberedKey("SubDir", number);
        const std::string name = GetScriptValue("Initiation", key.c_str(), nullptr, kSubDirBufferSize);
        if (name.empty()) return true;
        if (!MakeDirectory(directory + name)) return false;
    }
}

bool SetupEngine::MakeDirectory(const std::string& path) {
    // A drive ("C:") is there or not; it is never made.
    if (path.size() <= 2) return EnsureDirectory(path);
    const bool existed = DirectoryExists(path);
    const bool there = EnsureDirectory(path);
    if (there && !existed) m_newFiles.DirectoryMade(path);
    if (m_journal.Active()) m_journal.DirectoryMade(path, there && !existed, !there);
    return there;
}

}  // namespace setup
