// The paths and names of an undo record, as both its check and the uninstallation read them.
#pragma once

#include "../script/text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace setup {

// The key under which the system lists the programs that can be removed.
constexpr const char* kUninstallKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// True when path lies below directory (which ends with a backslash).
bool Below(const std::string& path, const std::string& directory);
// True when directory is path or lies below it.
bool Holds(const std::string& path, const std::string& directory);
std::string FolderOf(const std::string& path);
// A record's number, of digits in the base.
std::uint64_t Number(const std::string& digits, unsigned base);
// True when name is one of names, without regard to case.
bool OneOf(const std::string& name, const std::vector<std::string>& names);

}  // namespace setup
