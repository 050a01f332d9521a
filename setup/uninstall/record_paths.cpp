#include "record_paths.h"

#include "../script/text.h"

namespace setup {

bool Below(const std::string& path, const std::string& directory) {
    return path.size() > directory.size() && FoldName(path).compare(0, directory.size(), FoldName(directory)) == 0;
}

bool Holds(const std::string& path, const std::string& directory) {
    return EqualNoCase(WithBackslash(path), WithBackslash(directory)) || Below(WithBackslash(directory), WithBackslash(path));
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\') + 1); }

std::uint64_t Number(const std::string& digits, unsigned base) {
    std::uint64_t value = 0;
    for (char c : digits) value = value * base + static_cast<unsigned>(c <= '9' ? c - '0' : c - 'A' + 10);
    return value;
}

bool OneOf(const std::string& name, const std::vector<std::string>& names) {
    for (const std::string& known : names)
        if (EqualNoCase(name, known)) return true;
    return false;
}

}  // namespace setup
