// The texts of paths and of the output streams, the same on every machine; the rules are
// those by which the system's own path functions split a path into root and names.
#include "host_files.h"

namespace host {

namespace {

bool IsSeparator(char c, PathStyle style) { return c == '/' || (style == PathStyle::kWindows && c == '\\'); }

// "C:" or "\\SERVER" at the start of a Windows path; 0 for anything else.
std::size_t RootNameLength(std::string_view path, PathStyle style) {
    if (style != PathStyle::kWindows) return 0;
    if (path.size() >= 2 && path[1] == ':') return 2;
    if (path.size() > 2 && IsSeparator(path[0], style) && IsSeparator(path[1], style) && !IsSeparator(path[2], style)) {
        std::size_t end = 2;
        while (end < path.size() && !IsSeparator(path[end], style)) ++end;
        return end;
    }
    return 0;
}

// Where the path's last name starts, not before its root.
std::size_t LastNameStart(std::string_view path, std::size_t root, PathStyle style) {
    std::size_t start = path.size();
    while (start > root && !IsSeparator(path[start - 1], style)) --start;
    return start;
}

}  // namespace

std::size_t RootLength(std::string_view path, PathStyle style) {
    std::size_t end = RootNameLength(path, style);
    while (end < path.size() && IsSeparator(path[end], style)) ++end;
    return end;
}

std::string JoinPath(std::string_view folder, std::string_view name, PathStyle style) {
    std::string path(folder);
    if (!FileNameOf(folder, style).empty()) path += style == PathStyle::kWindows ? '\\' : '/';
    path += name;
    return path;
}

std::string ParentPath(std::string_view path, PathStyle style) {
    const std::size_t root = RootLength(path, style);
    if (path.size() == root) return std::string(path);
    std::size_t end = IsSeparator(path.back(), style) ? path.size() : LastNameStart(path, root, style);
    while (end > root && IsSeparator(path[end - 1], style)) --end;
    return std::string(path.substr(0, end));
}

std::string FileNameOf(std::string_view path, PathStyle style) {
    const std::size_t root = RootLength(path, style);
    if (path.size() == root || IsSeparator(path.back(), style)) return std::string();
    return std::string(path.substr(LastNameStart(path, root, style)));
}

bool IsAbsolutePath(std::string_view path, PathStyle style) {
    const std::size_t name = RootNameLength(path, style);
    const bool rootDirectory = name < path.size() && IsSeparator(path[name], style);
    return style == PathStyle::kWindows ? name > 0 && rootDirectory : rootDirectory;
}

std::string WithCrBeforeLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace host
