#include "disk_folder.h"
#include "layout.h"
#include "memory_disks.h"
#include "report.h"
#include "szdd.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

namespace disks {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }
std::vector<std::uint8_t> Text(std::size_t size) {
    std::string text;
    while (text.size() < size) text += "a line of text, much like the line before it\r\n";
    return Bytes(text.substr(0, size));
}
std::vector<std::uint8_t> Noise(std::size_t size) {
    std::mt19937 random(5);
    std::vector<std::uint8_t> bytes(size);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    return bytes;
}

const std::string kBase = "[Initiation]\r\nInstall Name=Acme\r\nDefDir=C:\\ACME\r\n";  // lines 1 to 3

LayoutOptions Options(const char* medium = "1440K", Compression compression = Compression::kAuto) {
    return LayoutOptions{*ParseMedium(medium), compression, "SETUP.EXE", Noise(3000)};
}

std::string Messages(const Layout& layout) {
    std::string text;
    for (const checker::Finding& finding : layout.findings) text += checker::FormatFinding("SETUP.INF", finding) + "\n";
    return text;
}

const DiskFile* Find(const Layout& layout, int disk, const std::string& path) {
    for (const DiskFile& file : layout.disks.at(static_cast<std::size_t>(disk - 1)).files)
        if (file.path == path) return &file;
    return nullptr;
}

TEST(DiskLayout, EachMistakeOnItsLine) {
    const struct {
        const char* name;
        std::string script;
        std::function<void(checker::MemoryDisks&)> source;
        const char* medium;
        std::string expected;
    } cases[] = {
        {"missing source file", kBase + "[DefDir]\r\nFile 1.1=README.TXT\r\nFile 1.2=GONE.DAT\r\n",
         [](checker::MemoryDisks& s) { s.Add(1, "README.TXT"); }, "1440K",
         "SETUP.INF:6: error: \"GONE.DAT\" of File 1.2 is not in DISK1\n"},
        {"compressed name of another file", kBase + "[DefDir]\r\nFile 1.1=README.TXT\r\nFile 1.2=README.TX_\r\n",
         [](checker::MemoryDisks& s) { s.Add(1, "README.TXT", Text(5000)), s.Add(1, "README.TX_"); }, "1440K",
         "SETUP.INF:6: error: File 1.2 \"README.TX_\" and File 1.1 \"README.TXT\" (line 5) both become README.TX_ on "
         "disk 1: rename one or keep it plain\n"},
        {"one file on two disks", kBase + "[DefDir]\r\nFile 1.1=A.DAT\r\nFile 2.1=B.DAT\r\nFile 2.2=a.dat\r\n",
         [](checker::MemoryDisks& s) { s.Add(1, "A.DAT"), s.Add(1, "B.DAT"); }, "1440K",
         "SETUP.INF:7: error: \"a.dat\" of File 2.2 is on disk 2, but File 1.1 (line 5) puts it on disk 1: a file "
         "travels on one disk\n"},
        {"disk too full", kBase + "[DefDir]\r\nFile 1.1=A.DAT\r\nFile 1.2=B.DAT\r\nFile 1.3=C.DAT\r\n",
         [](checker::MemoryDisks& s) { s.Add(1, "A.DAT", Noise(400)), s.Add(1, "B.DAT", Noise(400)), s.Add(1, "C.DAT", Noise(300)); },
         "3900", "SETUP.INF:6: error: disk 1 needs 4,333 bytes, capacity 3,900: move File 1.2 (B.DAT), File 1.3 (C.DAT) to another disk\n"},
        {"installer alone too big", kBase + "[DefDir]\r\nFile 1.1=A.DAT\r\n",
         [](checker::MemoryDisks& s) { s.Add(1, "A.DAT"); }, "2000",
         "SETUP.INF: error: disk 1 needs 3,146 bytes, capacity 2,000: the installer, the script and the pictures and "
         "icons it reads alone do not fit\n"},
        // 1,500,000 bytes of noise stay plain and take 2,930 clusters of 512 bytes on a 1440K
        // disk; 360K to 1200K hold less; 1680K holds 837 clusters of 2048 bytes, it takes 733.
        {"file larger than a whole disk", kBase + "[DefDir]\r\nFile 1.1=A.DAT\r\nFile 2.1=BIG.BIN\r\n",
         [](checker::MemoryDisks& s) { s.Add(1, "A.DAT"), s.Add(1, "BIG.BIN", Noise(1500000)); }, "1440K",
         "SETUP.INF:6: error: File 2.1 (BIG.BIN) takes 1,500,160 bytes, more than a whole 1440K disk holds "
         "(1,457,664): no disk of this capacity carries it; the smallest that does is 1680K\n"},
        {"file larger than any floppy", kBase + "[DefDir]\r\nFile 1.1=A.DAT\r\nFile 2.1=BIG.BIN\r\n",
         [](checker::MemoryDisks& s) { s.Add(1, "A.DAT"), s.Add(1, "BIG.BIN", Noise(3000000)); }, "1000000",
         "SETUP.INF:6: error: File 2.1 (BIG.BIN) takes 3,000,000 bytes, more than a whole 1000000 disk holds "
         "(1,000,000): no disk of this capacity carries it; no floppy does: give a capacity in bytes, at least "
         "--capacity 3000000\n"},
        {"entry of a SubDir list", kBase + "SubDir 1=NOTES\r\n[SubDir 1]\r\nFile 1.1=GONE.TXT\r\n",
         [](checker::MemoryDisks&) {}, "1440K",
         "SETUP.INF:6: error: \"GONE.TXT\" of [SubDir 1] File 1.1 is not in DISK1\n"},
        {"name outside the disk", kBase + "[DefDir]\r\nFile 1.1=..\\..\\AUTOEXEC.BAT\r\n",
         [](checker::MemoryDisks& s) { s.Add(1, "AUTOEXEC.BAT"); }, "1440K",
         "SETUP.INF:5: error: \"..\\..\\AUTOEXEC.BAT\" of File 1.1 is not a file name a disk can hold\n"},
        {"background picture missing", kBase + "[Background]\r\nBackground Bitmap=BACK.BMP\r\n",
         [](checker::MemoryDisks&) {}, "1440K",
         "SETUP.INF:5: error: \"BACK.BMP\" (the background picture) is not in DISK1\n"},
        {"animation icon missing",
         "[Setup System]\r\nICON Directory=ICONS\r\n" + kBase +
             "[Dialog 1]\r\nTitle Name=T\r\nInfo Line 1=I\r\nSelect Item 1=S\r\nAnimation Icon=LEAF\r\n",
         [](checker::MemoryDisks&) {}, "1440K",
         "SETUP.INF:10: error: \"ICONS\\LEAF1.ICO\" (an animation icon) is not in DISK1\n"},
    };
    for (const auto& c : cases) {
        checker::MemoryDisks source;
        c.source(source);
        const Layout layout = PlanDisks(Bytes(c.script), source, Options(c.medium));
        EXPECT_EQ(Messages(layout), c.expected) << c.name;
        EXPECT_TRUE(layout.HasErrors()) << c.name;
    }
}

// A disk exactly full and a root with exactly its most entries fit; one byte or one entry
// more does not.
TEST(DiskLayout, LimitsAtTheirExactValue) {
    const struct {
        const char* name;
        int files;
        std::size_t size;  // of each
        const char* medium;
        std::string expected;
    } cases[] = {
        // The installer (3000 bytes) and the script take 7 clusters of 512 bytes; 2,840 are left.
        {"exactly full", 1, 2840 * 512, "1440K", ""},
        {"one byte over", 1, 2840 * 512 + 1, "1440K",
         "SETUP.INF:5: error: disk 1 needs 1,458,176 bytes, capacity 1,457,664: move File 1.1 (F1.DAT) to another disk\n"},
        // With the installer and the script, 112 entries: as many as a 720K root holds.
        {"root full", 110, 1, "720K", ""},
        {"root one over", 111, 1, "720K",
         "SETUP.INF: error: disk 1 lists 113 files and folders in its root; a 720K disk lists 112\n"},
    };
    for (const auto& c : cases) {
        std::string script = kBase + "[DefDir]\r\n";
        checker::MemoryDisks source;
        for (int i = 1; i <= c.files; ++i) {
            script += "File 1." + std::to_string(i) + "=F" + std::to_string(i) + ".DAT\r\n";
            source.Add(1, "F" + std::to_string(i) + ".DAT", std::vector<std::uint8_t>(c.size, 'x'));
        }
        const Layout layout = PlanDisks(Bytes(script), source, Options(c.medium, Compression::kNone));
        EXPECT_EQ(Messages(layout), c.expected) << c.name;
    }
}

// What the installer reads itself stays plain whatever the mode; so do names whose
// compressed form would depend on the folder the installer runs from.
TEST(DiskLayout, WhatIsCompressed) {
    const std::string script = "[Setup System]\r\nICON Directory=ICONS\r\n" + kBase +
                               "[Background]\r\nBackground Bitmap=BACK.BMP\r\n"
                               "[Dialog 1]\r\nTitle Name=T\r\nInfo Line 1=I\r\nSelect Item 1=S\r\nAnimation Icon=LEAF\r\n"
                               "[DefDir]\r\nFile 1.1=TEXT.TXT\r\nFile 1.2=NOISE.DAT\r\nFile 1.3=README\r\nFile 1.4=OLD.TX_\r\n"
                               "Bitmap 1.5=SLIDE.BMP,2\r\nFile 1.6=PACKED.DAT\r\n";
    checker::MemoryDisks source;
    for (const char* name : {"ICONS\\LEAF1.ICO", "ICONS\\LEAF2.ICO", "BACK.BMP", "TEXT.TXT", "README", "OLD.TX_", "SLIDE.BMP"})
        source.Add(1, name, Text(2000));
    source.Add(1, "NOISE.DAT", Noise(2000));
    const std::vector<std::uint8_t> text = Text(2000);
    source.Add(1, "PACKED.DAT", CompressSzdd(text.data(), text.size(), 'T'));
    const struct {
        Compression mode;
        std::vector<std::string> paths;
        std::string findings;
    } cases[] = {
        {Compression::kAuto,
         {"SETUP.EXE", "SETUP.INF", "BACK.BMP", "ICONS\\LEAF1.ICO", "ICONS\\LEAF2.ICO", "TEXT.TX_", "NOISE.DAT", "README",
          "OLD.TX_", "SLIDE.BM_", "PACKED.DA_"},
         ""},
        {Compression::kAll,
         {"SETUP.EXE", "SETUP.INF", "BACK.BMP", "ICONS\\LEAF1.ICO", "ICONS\\LEAF2.ICO", "TEXT.TX_", "NOISE.DA_", "README",
          "OLD.TX_", "SLIDE.BM_", "PACKED.DA_"},
         ""},
        {Compression::kNone,
         {"SETUP.EXE", "SETUP.INF", "BACK.BMP", "ICONS\\LEAF1.ICO", "ICONS\\LEAF2.ICO", "TEXT.TXT", "NOISE.DAT", "README",
          "OLD.TX_", "SLIDE.BMP", "PACKED.DAT"},
         "SETUP.INF:19: warning: \"PACKED.DAT\" of File 1.6 starts like a compressed file: the installer expands it; let "
         "it be compressed\n"},
    };
    for (const auto& c : cases) {
        const Layout layout = PlanDisks(Bytes(script), source, Options("1440K", c.mode));
        ASSERT_EQ(layout.disks.size(), 1u);
        std::vector<std::string> paths;
        for (const DiskFile& file : layout.disks[0].files) {
            paths.push_back(file.path);
            EXPECT_EQ(file.compressed, file.path.back() == '_' && file.path != "OLD.TX_") << file.path;
        }
        EXPECT_EQ(paths, c.paths);
        EXPECT_EQ(Messages(layout), c.findings);
    }
    // The packed file travels packed once more, and so comes back whole.
    const Layout layout = PlanDisks(Bytes(script), source, Options());
    EXPECT_EQ(Find(layout, 1, "PACKED.DA_")->plainSize, source.Read(1, "PACKED.DAT")->size());
}

// Every item's files and every [SubDir N] (into its folder when files come from there),
// disk by disk; a file listed twice on one disk travels once.
TEST(DiskLayout, FollowsTheCopyList) {
    const std::string script = "[Initiation]\nInstall Name=Acme\nSubDir 1=NOTES\nCopy File From SubDir=1\n"
                               "[Dialog 1]\nTitle Name=T\nInfo Line 1=I\nSelect Item 1=A\nSelect Item 2=B\n"
                               "[Windows]\nFile 1.1=ACME.INI\n"
                               "[DefDir]\nDialog 1. SelItem 1. File 1.1=A.DAT\nDialog 1. SelItem 2. File 2.1=B.DAT\n"
                               "Dialog 1. SelItem 2. File 2.2=A.DAT\nBitmap 3.1=NULL\n"
                               "[SubDir 1]\nFile 1.1=WELCOME.TXT\nDialog 1. SelItem 1. File 1.1=WELCOME.TXT\n";
    checker::MemoryDisks source;
    for (const char* name : {"ACME.INI", "A.DAT", "B.DAT", "WELCOME.TXT"}) source.Add(1, name);
    LayoutOptions options = Options("1440K", Compression::kNone);
    options.installerName = "INSTALL.EXE";
    const Layout layout = PlanDisks(Bytes(script), source, options);
    // A.DAT on disk 1 and disk 2.
    EXPECT_EQ(Messages(layout), "SETUP.INF:15: error: \"A.DAT\" of Dialog 1. SelItem 2. File 2.2 is on disk 2, but "
                                "Dialog 1. SelItem 1. File 1.1 (line 13) puts it on disk 1: a file travels on one disk\n");
    ASSERT_EQ(layout.disks.size(), 3u);
    std::vector<std::string> paths;
    for (std::size_t disk = 0; disk < 3; ++disk)
        for (const DiskFile& file : layout.disks[disk].files) paths.push_back(std::to_string(disk + 1) + ":" + file.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"1:INSTALL.EXE", "1:INSTALL.INF", "1:ACME.INI", "1:A.DAT",
                                               "1:NOTES\\WELCOME.TXT", "2:B.DAT"}));
    EXPECT_EQ(layout.scriptName, "INSTALL.INF");
    EXPECT_EQ(std::string(layout.script.begin(), layout.script.begin() + 20), "[Initiation]\r\nInstal");
    EXPECT_EQ(layout.script, WithCrLf(layout.script)) << "CR LF everywhere";
}

TEST(DiskMedium, SizesAndUse) {
    EXPECT_EQ(ParseMedium("1440k")->capacity, 1457664u);
    EXPECT_EQ(ParseMedium("720K")->cluster, 1024u);
    EXPECT_EQ(ParseMedium("123456")->capacity, 123456u);
    for (const char* wrong : {"", "0", "1440", "1.44M", "-5", "12345678901234567"})
        EXPECT_EQ(ParseMedium(wrong).has_value(), std::string(wrong) == "1440") << wrong;
    // Whole clusters per file; a folder's entries ("." and ".." and two files) in one cluster.
    const std::vector<StoredFile> files = {{"A.TXT", 1}, {"B.TXT", 513}, {"ICONS\\1.ICO", 0}, {"icons\\2.ICO", 10}};
    EXPECT_EQ(DiskUse(*ParseMedium("1440K"), files), 512u + 1024u + 0u + 512u + 512u);
    EXPECT_EQ(DiskUse(*ParseMedium("5000"), files), 524u);
    EXPECT_EQ(RootEntries(files), 3);
    EXPECT_EQ(WithThousands(1457664), "1,457,664");
    EXPECT_EQ(WithThousands(999), "999");
}

// A folder takes the clusters of its entries with its "." and "..": fourteen entries and
// the two fill one 512-byte cluster, fifteen need two; a folder below is an entry of its
// parent.
TEST(DiskMedium, FolderEntriesWithDotAndDotDot) {
    const struct {
        const char* medium;
        int files;       // in DATA, each of 0 bytes
        bool subfolder;  // DATA\SUB, with one file
        std::uint64_t used;
    } cases[] = {
        {"1440K", 14, false, 512}, {"1440K", 15, false, 1024}, {"1440K", 13, true, 1024},
        {"1440K", 14, true, 1536}, {"720K", 30, false, 1024},  {"720K", 31, false, 2048},
    };
    for (const auto& c : cases) {
        std::vector<StoredFile> files;
        for (int i = 0; i < c.files; ++i) files.push_back({"DATA\\F" + std::to_string(i) + ".TXT", 0});
        if (c.subfolder) files.push_back({"DATA\\SUB\\X.TXT", 0});
        EXPECT_EQ(DiskUse(*ParseMedium(c.medium), files), c.used) << c.medium << " " << c.files << " " << c.subfolder;
    }
}

TEST(DiskTable, ColumnsAsWideAsTheHeadings) {
    auto file = [](std::uint64_t plainSize, bool compressed) {
        DiskFile file;
        file.plainSize = plainSize;
        file.compressed = compressed;
        return file;
    };
    Layout layout;
    layout.disks = {{{file(1000, true), file(2000, false), file(1233567, false)}, 51200}, {{file(1600000, false)}, 1500000}};
    EXPECT_EQ(FormatDiskTable(layout, *ParseMedium("1440K")),
              "disk    files  compressed    plain bytes    on the disk       capacity           free\n"
              "DISK1       3           1      1,236,567         51,200      1,457,664      1,406,464\n"
              "DISK2       1           0      1,600,000      1,500,000      1,457,664        -42,336\n");
}

// The program itself: its exit codes and what it prints and writes.
class SetupDisksProgram : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/setupdisks_test.XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        m_dir = folder;
        std::filesystem::create_directories(m_dir / "src");
        std::filesystem::create_directories(m_dir / "out" / "DISK4");
        Write("src/SETUP.EXE", "MZ");
        Write("src/readme.txt", std::string(3000, 'r'));
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    void Write(const std::string& path, const std::string& text) {
        std::ofstream(m_dir / path, std::ios::binary) << text;
    }
    int Run(const std::string& arguments, std::string& output) {
        const std::string command = "cd " + m_dir.string() + " && " SETUPDISKS_EXE " " + arguments + " >out.txt 2>&1";
        const int status = std::system(command.c_str());
        std::ifstream file(m_dir / "out.txt");
        output.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::filesystem::path m_dir;
};

TEST_F(SetupDisksProgram, ExitCodesAndOutput) {
    Write("SETUP.INF", kBase + "[DefDir]\r\nFile 1.1=README.TXT\r\n");
    std::string output;
    EXPECT_EQ(Run("SETUP.INF --from src", output), 2) << output;
    EXPECT_EQ(Run("SETUP.INF --from src --to out --compress some", output), 2) << output;
    EXPECT_EQ(Run("NONE.INF --from src --to out", output), 2) << output;
    EXPECT_EQ(Run("SETUP.INF --from src --to out", output), 0) << output;
    EXPECT_NE(output.find("\nDISK1       3           1 "), std::string::npos) << output;
    EXPECT_TRUE(std::filesystem::exists(m_dir / "out/DISK1/README.TX_"));
    EXPECT_TRUE(std::filesystem::exists(m_dir / "out/DISK1/SETUP.INF"));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out/DISK4")) << "an earlier run's disk is gone";

    Write("SETUP.INF", kBase + "[DefDir]\r\nFile 1.1=README.TXT\r\nFile 1.2=LOST.TXT\r\n");
    EXPECT_EQ(Run("SETUP.INF --from src --to out", output), 1);
    EXPECT_EQ(output.substr(0, output.find('\n')), "SETUP.INF:6: error: \"LOST.TXT\" of File 1.2 is not in " +
                                                       (std::filesystem::absolute(m_dir / "src")).string());
    EXPECT_TRUE(std::filesystem::exists(m_dir / "out/DISK1/README.TX_")) << "nothing is written after an error";
    // The checker's findings on the disks made: a copy list that starts on disk 2.
    Write("SETUP.INF", kBase + "[DefDir]\r\nFile 2.1=README.TXT\r\n");
    EXPECT_EQ(Run("SETUP.INF --from src --to out", output), 1) << output;
    EXPECT_EQ(output.substr(0, output.find('\n')), "SETUP.INF:5: error: the copy list has no entry on disk 1: nothing is copied");
    Write("SETUP.INF", kBase + "[DefDir]\r\nFile 1.1=README.TXT\r\nBitmap 1.2=NULL\r\nFile 3.1=README.TXT\r\n");
    EXPECT_EQ(Run("SETUP.INF --from src --to out --installer src/SETUP.EXE", output), 0) << output;
}

}  // namespace
}  // namespace disks
