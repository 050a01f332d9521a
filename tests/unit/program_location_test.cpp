#include "app/program_location.h"

#include <gtest/gtest.h>

#include <vector>

namespace setup {
namespace {

struct LocationCase {
    const char* modulePath;
    const char* programDir;
    const char* scriptPath;
};

TEST(ProgramLocation, ScriptBesideTheProgram) {
    const std::vector<LocationCase> cases = {
        {"D:\\DISK1\\INSTALL.EXE", "D:\\DISK1\\", "D:\\DISK1\\INSTALL.INF"},
        {"C:\\SETUP.EXE", "C:\\", "C:\\SETUP.INF"},
        {"C:\\a.b\\setup.exe", "C:\\a.b\\", "C:\\a.b\\setup.INF"},
        {"C:\\dir\\my.setup.exe", "C:\\dir\\", "C:\\dir\\my.setup.INF"},
        {"C:\\dir\\SETUP", "C:\\dir\\", "C:\\dir\\SETUP.INF"},
        {"SETUP.EXE", "", "SETUP.INF"},
    };
    for (const LocationCase& c : cases) {
        ProgramLocation location = LocateProgramFiles(c.modulePath);
        EXPECT_EQ(location.programDir, c.programDir) << c.modulePath;
        EXPECT_EQ(location.scriptPath, c.scriptPath) << c.modulePath;
        EXPECT_EQ(location.iconDir, c.programDir) << c.modulePath;
    }
}

TEST(ProgramLocation, IconDirectoryGetsOneBackslash) {
    for (const char* value : {"ICONS", "ICONS\\"}) {
        ProgramLocation location = LocateProgramFiles("D:\\DISK1\\SETUP.EXE");
        AppendIconDirectory(location, value);
        EXPECT_EQ(location.iconDir, "D:\\DISK1\\ICONS\\") << value;
        EXPECT_EQ(location.programDir, "D:\\DISK1\\");
    }
    ProgramLocation location = LocateProgramFiles("D:\\DISK1\\SETUP.EXE");
    AppendIconDirectory(location, "");
    EXPECT_EQ(location.iconDir, "D:\\DISK1\\");
}

TEST(ProgramLocation, Title) {
    EXPECT_EQ(ResolveAppTitle(""), "Varnel SETUP Program");
    EXPECT_EQ(ResolveAppTitle("Acme Install"), "Acme Install");
    EXPECT_EQ(ResolveAppTitle(std::string(150, 't')), std::string(99, 't'));
    EXPECT_EQ(ResolveAppTitle(std::string(100, 't')), std::string(99, 't'));
    EXPECT_EQ(ResolveAppTitle(std::string(99, 't')), std::string(99, 't'));
}

}  // namespace
}  // namespace setup
