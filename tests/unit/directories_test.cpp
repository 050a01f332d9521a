#include "fake_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setup {
namespace {

TEST(DiskSpace, RequiredBytes) {
    struct Case {
        const char* value;
        std::uint32_t bytes;
    };
    for (Case c : {Case{"1048576", 1048576}, Case{"0", 0}, Case{"12 34", 0}, Case{"12 ", 0}, Case{"1M", 0},
                   Case{"4294967295", 4294967295u}, Case{"4294967296", 4294967295u},
                   Case{"9999999999999999999", 4294967295u}, Case{"", 0}}) {
        FakeMachine engine(std::string("[Initiation]\r\nDisk Space=") + c.value + "\r\n");
        EXPECT_EQ(engine.GetRequiredDiskSpace(), c.bytes) << c.value;
    }
    EXPECT_EQ(FakeMachine("").GetRequiredDiskSpace(), 0u);
}

TEST(DiskSpace, Check) {
    struct Case {
        const char* name;
        std::optional<std::uint64_t> free;
        bool passes;
        const char* freeShown;  // in the message, when one is shown
    };
    const Case cases[] = {
        {"exactly enough", 5000, true, nullptr},
        {"one byte short", 4999, false, "only have 4999 bytes"},
        {"unknown free space", std::nullopt, true, nullptr},
        {"6 GiB free", std::uint64_t{6} << 30, true, nullptr},
    };
    for (const Case& c : cases) {
        FakeMachine engine("[Initiation]\r\nInstall Name=Acme\r\nDisk Space=5000\r\n");
        engine.ReadInitiation();
        engine.freeBytes = c.free;
        EXPECT_EQ(engine.CheckDiskSpace(3), c.passes) << c.name;
        EXPECT_EQ(engine.freeSpaceRoot, "D:\\") << c.name;
        EXPECT_EQ(engine.Messages(), c.passes ? std::vector<std::string>{} : std::vector<std::string>{"Space Message"})
            << c.name;
        if (c.freeShown) {
            EXPECT_NE(engine.shown[0].text.find(c.freeShown), std::string::npos) << c.name;
        }
    }
}

TEST(DiskSpace, FreeSpaceBeyond4GiBSaturates) {
    FakeMachine engine("[Initiation]\r\nInstall Name=Acme\r\nDisk Space=4294967295\r\n");
    engine.ReadInitiation();
    engine.freeBytes = (std::uint64_t{1} << 32) + 5;  // would wrap to 5 in 32 bits
    EXPECT_TRUE(engine.CheckDiskSpace(2));
    engine.freeBytes = std::uint64_t{4294967294};
    EXPECT_FALSE(engine.CheckDiskSpace(2));
    EXPECT_NE(engine.shown[0].text.find("need 4294967295 bytes"), std::string::npos);
}

TEST(InstallDirectory, EveryLevelAndTheSubdirectories) {
    FakeMachine engine("[Initiation]\r\nSubDir 1=DATA\r\nSubDir 2=DATA\\SOUND\r\nSubDir 4=LOST\r\n");
    engine.SetInstallDir("C:\\APPS\\ACME\\");
    EXPECT_TRUE(engine.CreateInstallDirectory("C:\\APPS\\ACME\\"));
    for (const char* directory : {"C:\\APPS", "C:\\APPS\\ACME", "C:\\APPS\\ACME\\DATA", "C:\\APPS\\ACME\\DATA\\SOUND"})
        EXPECT_TRUE(engine.directories.count(directory)) << directory;
    EXPECT_FALSE(engine.directories.count("C:\\APPS\\ACME\\LOST")) << "SubDir 3 is missing: the list ends";
    EXPECT_TRUE(engine.CreateInstallDirectory("C:\\APPS\\ACME\\")) << "existing directories are accepted";
    EXPECT_TRUE(engine.CreateInstallDirectory("D:\\")) << "a drive root";
}

TEST(InstallDirectory, Failures) {
    FakeMachine blocked("");
    blocked.AddFile("C:\\APPS");  // a plain file where a directory must go
    EXPECT_FALSE(blocked.CreateInstallDirectory("C:\\APPS\\ACME\\"));

    FakeMachine nested("[Initiation]\r\nSubDir 1=DATA\\SOUND\r\n");  // its parent is not declared
    EXPECT_FALSE(nested.CreateInstallDirectory("C:\\ACME\\"));
    EXPECT_TRUE(nested.directories.count("C:\\ACME")) << "what was made stays";

    FakeMachine none("");
    EXPECT_FALSE(none.CreateInstallDirectory(""));
    EXPECT_FALSE(none.CreateInstallDirectory("Q:\\X\\")) << "no such drive";
}

}  // namespace
}  // namespace setup
