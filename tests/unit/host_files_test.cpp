#include "disks.h"
#include "host_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace host {
namespace {

TEST(HostPaths, AsTheSystemSplitsThem) {
    struct Case {
        PathStyle style;
        const char* path;
        const char* joined;  // with "X"
        const char* parent;
        const char* name;
        bool absolute;
    };
    const PathStyle posix = PathStyle::kPosix, windows = PathStyle::kWindows;
    const Case cases[] = {
        {posix, "out", "out/X", "", "out", false},
        {posix, "/tmp/a/", "/tmp/a/X", "/tmp/a", "", true},
        {posix, "/a", "/a/X", "/", "a", true},
        {posix, "/", "/X", "/", "", true},
        {posix, "a//b", "a//b/X", "a", "b", false},
        {posix, "C:\\DISK1", "C:\\DISK1/X", "", "C:\\DISK1", false},
        {posix, "", "X", "", "", false},
        {windows, "C:\\SRC\\DISK1", "C:\\SRC\\DISK1\\X", "C:\\SRC", "DISK1", true},
        {windows, "C:/SRC/", "C:/SRC/X", "C:/SRC", "", true},
        {windows, "C:\\", "C:\\X", "C:\\", "", true},
        {windows, "C:", "C:X", "C:", "", false},
        {windows, "C:SETUP.EXE", "C:SETUP.EXE\\X", "C:", "SETUP.EXE", false},
        {windows, "\\SRC", "\\SRC\\X", "\\", "SRC", false},
        {windows, "\\\\SERVER\\SHARE", "\\\\SERVER\\SHARE\\X", "\\\\SERVER\\", "SHARE", true},
        {windows, "src\\..\\DISK1", "src\\..\\DISK1\\X", "src\\..", "DISK1", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JoinPath(c.path, "X", c.style), c.joined) << c.path;
        EXPECT_EQ(ParentPath(c.path, c.style), c.parent) << c.path;
        EXPECT_EQ(FileNameOf(c.path, c.style), c.name) << c.path;
        EXPECT_EQ(IsAbsolutePath(c.path, c.style), c.absolute) << c.path;
    }
}

TEST(HostOutput, TextModePutsACrBeforeEveryLf) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"no end", "no end"}, {"a\n\nb\n", "a\r\n\r\nb\r\n"}, {"kept\r\n", "kept\r\r\n"}};
    for (const auto& [text, written] : cases) EXPECT_EQ(WithCrBeforeLf(text), written) << text;
}

class HostFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/host_files_test.XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        m_dir = folder;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string At(const std::string& path) const { return m_dir + "/" + path; }

    std::string m_dir;
};

TEST_F(HostFiles, WritesReadsListsAndRemovesATree) {
    const std::string bytes("x\0\r\n\xff", 5);
    ASSERT_TRUE(CreateDirectories(At("a/b/c/")));
    ASSERT_TRUE(WriteWholeFile(At("a/G.TXT"), bytes));
    EXPECT_EQ(ReadWholeFile(At("a/G.TXT")), bytes) << "binary, as written";
    EXPECT_FALSE(WriteWholeFile(At("none/G.TXT"), bytes));
    EXPECT_FALSE(ReadWholeFile(At("none")).has_value());
    EXPECT_FALSE(ReadWholeFile(At("a")).has_value()) << "a folder is no file";

    std::vector<FolderEntry> entries;
    std::string error;
    ASSERT_TRUE(ListFolder(At("a"), entries, error));
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& x, const FolderEntry& y) { return x.name < y.name; });
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name + (entries[0].isDirectory ? "/" : ""), "G.TXT");
    EXPECT_EQ(entries[1].name + (entries[1].isDirectory ? "/" : ""), "b/");
    EXPECT_FALSE(ListFolder(At("a/G.TXT"), entries, error));
    EXPECT_EQ(error, "Not a directory");
    EXPECT_FALSE(ListFolder(At("none"), entries, error));
    EXPECT_EQ(error, "No such file or directory");

    EXPECT_TRUE(RemoveTree(At("a"), error));
    EXPECT_FALSE(IsDirectory(At("a")));
    EXPECT_TRUE(RemoveTree(At("a"), error)) << "nothing left to remove";
}

TEST_F(HostFiles, DisksAreSiblingFoldersAndNamesAreFoundWithoutCase) {
    ASSERT_TRUE(CreateDirectories(At("Prod1")) && CreateDirectories(At("prod2/Icons")) && CreateDirectories(At("flat")));
    ASSERT_TRUE(WriteWholeFile(At("prod2/Icons/Leaf.ico"), "icon"));
    const checker::FolderDisks disks(At("Prod1/SETUP.INF"));
    EXPECT_EQ(disks.Describe(1), At("Prod1"));
    EXPECT_EQ(disks.Describe(2), At("prod2"));
    EXPECT_EQ(disks.Describe(3), At("Prod3")) << "a missing disk where it is looked for";
    EXPECT_EQ(disks.Read(2, "ICONS\\LEAF.ICO"), std::vector<std::uint8_t>({'i', 'c', 'o', 'n'}));
    EXPECT_TRUE(disks.Exists(2, "icons/leaf.ico"));
    EXPECT_FALSE(disks.Exists(2, "ICONS\\LEAF2.ICO"));
    EXPECT_FALSE(disks.Exists(3, "ICONS"));
    EXPECT_EQ(checker::FolderDisks(At("flat/SETUP.INF")).Describe(2), At("flat")) << "one folder for every disk";
}

}  // namespace
}  // namespace host
