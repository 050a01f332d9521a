// The few things setupcheck and setupdisks ask of the machine they run on: whole files,
// folders, paths and the two output streams. One implementation for POSIX systems and one
// for 32-bit Windows, chosen by the build; the path texts and line ends are worked out the
// same way everywhere, so that both kinds can be tested on either machine.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// How paths are written: POSIX ('/' only) or Windows ('\' and '/', drive and server names).
enum class PathStyle { kPosix, kWindows };

#ifdef _WIN32
inline constexpr PathStyle kHostStyle = PathStyle::kWindows;
#else
inline constexpr PathStyle kHostStyle = PathStyle::kPosix;
#endif

// The length of the path's root: its drive or server name and the separators after it
// ("/", "C:\", "C:", "\\SERVER\"); 0 for a path that starts with a name.
std::size_t RootLength(std::string_view path, PathStyle style = kHostStyle);

// The name after the folder, with a separator between them unless the folder is empty or
// ends with its root or a separator: "out" + "DISK1" is "out/DISK1", "C:" + "X" is "C:X".
std::string JoinPath(std::string_view folder, std::string_view name, PathStyle style = kHostStyle);

// The path without its last name and the separators before it; a root stays as it is.
std::string ParentPath(std::string_view path, PathStyle style = kHostStyle);

// The last name of the path; empty when the path ends with a separator or is a root.
std::string FileNameOf(std::string_view path, PathStyle style = kHostStyle);

// True when the path does not depend on the current folder (or, on Windows, drive).
bool IsAbsolutePath(std::string_view path, PathStyle style = kHostStyle);

// The text as a stream in text mode writes it: a CR before every LF.
std::string WithCrBeforeLf(std::string_view text);

// The file's bytes; nothing when it cannot be opened or read (a folder among them).
std::optional<std::string> ReadWholeFile(const std::string& path);

// Creates or replaces the file with the bytes. False when it cannot be written.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// True when the path names a folder (or a link to one).
bool IsDirectory(const std::string& path);

struct FolderEntry {
    std::string name;
    bool isDirectory;  // a link to a folder counts as one
};

// The folder's entries without "." and "..", in the order the system gives them. False and
// the system's reason ("Not a directory") when the folder cannot be listed.
bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries, std::string& error);

// Creates the folder and the folders above it that are missing. False when it is not a
// folder afterwards.
bool CreateDirectories(const std::string& path);

// Removes the file or the folder with everything in it (a link, not what it points to);
// nothing to do when it is not there. False and the system's reason at the first thing
// that cannot be removed.
bool RemoveTree(const std::string& path, std::string& error);

// The local date and time now.
struct LocalClock {
    int year, month, day, hour, minute, second;
};
LocalClock LocalNow();

// The path from the root: a relative one is taken from the current folder.
std::string AbsolutePath(const std::string& path);

// Writes the text to standard output or standard error at once, as a text stream does
// (with CR LF line ends on Windows).
void PrintOut(std::string_view text);
void PrintError(std::string_view text);

}  // namespace host
