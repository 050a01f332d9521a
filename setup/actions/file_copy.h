// Pieces of the installation of one file that are plain text work.
#pragma once

#include "../engine/setup_engine.h"

#include <string>

namespace setup {

// Where a file is looked for when its plain name is missing on the disk: the last
// character of path and name becomes "_" (SETUP.EXE, SETUP.EX_), or, when the path has no
// dot at all, "._" is appended (README, README._).
struct SourceFile {
    std::string path;
    std::string name;
};
SourceFile CompressedName(const SourceFile& plain);

// "\t<path>\n\t<MM>/<DD>/<YYYY>\t<hh>:<mm><AM|PM>", on a twelve-hour clock (midnight is
// 00, noon 12): one file's description in the replace question.
std::string DescribeFile(const std::string& path, const LocalTime& time);

}  // namespace setup
