// The floppy and CD images, read by tools we did not write: fsck.fat finds nothing to repair
// and counts the clusters, mtools and xorriso copy every file out byte for byte, file names
// the format.
#include "disk_folder.h"
#include "fat_image.h"
#include "iso_image.h"
#include "layout.h"
#include "memory_disks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace disks {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

// What a command prints, and its exit status.
std::string Shell(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    status = pclose(pipe);
    return out;
}

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class FloppyImages : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() / ("floppy-images-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    // Disk 2 holds NOTES\A.TXT (its folder and itself one cluster each) and BIG.DAT of the
    // given size; disk 1 the installer, the script and README.TXT.
    Layout Plan(const char* medium, std::size_t big, int rootFiles = 1) {
        std::string script = "[Initiation]\r\nInstall Name=Acme\r\nSubDir 1=NOTES\r\nCopy File From SubDir=1\r\n[DefDir]\r\n";
        checker::MemoryDisks source;
        for (int i = 1; i <= rootFiles; ++i) {
            script += "File 1." + std::to_string(i) + "=F" + std::to_string(i) + ".TXT\r\n";
            source.Add(1, "F" + std::to_string(i) + ".TXT", Bytes("file " + std::to_string(i)));
        }
        script += "File 2.1=BIG.DAT\r\n[SubDir 1]\r\nFile 2.1=A.TXT\r\n";
        source.Add(1, "A.TXT", Bytes("a"));
        std::vector<std::uint8_t> noise(big);
        for (std::size_t i = 0; i < big; ++i) noise[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
        source.Add(1, "BIG.DAT", noise);
        LayoutOptions options{*ParseMedium(medium), Compression::kNone, "SETUP.EXE", Bytes("installer"), true};
        return PlanDisks(Bytes(script), source, options);
    }

    std::filesystem::path m_dir;
};

TEST_F(FloppyImages, EveryCapacityFilledToItsLastCluster) {
    // The formats' published sizes, and the clusters of their data areas worked out by hand:
    // sectors less the boot sector, two FATs and the root folder, over sectors per cluster.
    const struct {
        const char* medium;
        std::size_t imageSize;
        std::size_t cluster;
        int clusters;
    } cases[] = {
        {"360K", 368640, 1024, 354},    {"720K", 737280, 1024, 713},    {"1200K", 1228800, 512, 2371},
        {"1440K", 1474560, 512, 2847},  {"1680K", 1720320, 2048, 837},  {"2880K", 2949120, 1024, 2863},
    };
    for (const auto& c : cases) {
        const std::size_t big = (c.clusters - 2) * c.cluster;  // NOTES and A.TXT take the other two
        const Layout full = Plan(c.medium, big);
        ASSERT_FALSE(full.HasErrors()) << c.medium << ": " << (full.findings.empty() ? "" : full.findings[0].message);
        // One byte more takes one cluster more: refused before any image is written.
        EXPECT_TRUE(Plan(c.medium, big + 1).HasErrors()) << c.medium;

        std::vector<std::string> images;
        std::string error;
        const std::string out = (m_dir / c.medium).string();
        std::filesystem::create_directories(out);
        ASSERT_TRUE(WriteImages(full, *ParseMedium(c.medium), out, ImageTime{1999, 12, 31, 23, 59, 58}, images, error)) << error;
        ASSERT_EQ(images.size(), 2u);
        for (const std::string& image : images) EXPECT_EQ(std::filesystem::file_size(image), c.imageSize) << image;
        int status = -1;
        const std::string fsck = Shell("fsck.fat -n " + images[1], status);
        EXPECT_EQ(status, 0) << fsck;
        EXPECT_NE(fsck.find(std::to_string(c.clusters) + "/" + std::to_string(c.clusters) + " clusters"), std::string::npos)
            << c.medium << ": " << fsck;
        EXPECT_EQ(Shell("fsck.fat -n " + images[0], status).find("differ"), std::string::npos);
        EXPECT_EQ(status, 0) << c.medium;
        const std::string kind = Shell("file " + images[1], status);
        EXPECT_NE(kind.find("FAT (12 bit)"), std::string::npos) << kind;
        EXPECT_NE(kind.find("label: \"DISK2      \""), std::string::npos) << kind;
        for (std::size_t disk = 0; disk < 2; ++disk)
            for (const DiskFile& file : full.disks[disk].files) {
                std::string inside = file.path;
                for (char& ch : inside) ch = ch == '\\' ? '/' : ch;
                const std::filesystem::path copy = m_dir / "copy";
                std::filesystem::remove(copy);
                Shell("mcopy -n -i " + images[disk] + " ::" + inside + " " + copy.string(), status);
                EXPECT_EQ(ReadAll(copy), file.bytes) << c.medium << " " << file.path;
            }
        const std::string listing = Shell("mdir -i " + images[1] + " ::NOTES", status);
        EXPECT_NE(listing.find("1999-12-31  23:59"), std::string::npos) << listing;
    }
}

// The root lists the volume label too: the root entries of each format (112, 224, 16, 240)
// are the installer, the script, the files and the label; one file more is refused.
TEST_F(FloppyImages, TheRootFilledToItsLastEntry) {
    const struct {
        const char* medium;
        int entries;
    } cases[] = {{"360K", 112}, {"720K", 112}, {"1200K", 224}, {"1440K", 224}, {"1680K", 16}, {"2880K", 240}};
    for (const auto& c : cases) {
        const int files = c.entries - 3;
        const Layout over = Plan(c.medium, 1, files + 1);
        ASSERT_EQ(over.findings.size(), 1u) << c.medium;
        EXPECT_EQ(over.findings[0].message, "disk 1 lists " + std::to_string(c.entries) +
                                                " files and folders in its root and its volume label; a " + c.medium +
                                                " disk lists " + std::to_string(c.entries));
        std::vector<std::string> images;
        std::string error;
        const Layout full = Plan(c.medium, 1, files);
        ASSERT_FALSE(full.HasErrors()) << c.medium;
        const std::string out = (m_dir / c.medium).string();
        std::filesystem::create_directories(out);
        ASSERT_TRUE(WriteImages(full, *ParseMedium(c.medium), out, ImageTime{}, images, error)) << error;
        int status = -1;
        const std::string listing = Shell("mdir -i " + images[0] + " ::", status);
        EXPECT_NE(listing.find(std::to_string(c.entries - 1) + " files"), std::string::npos) << c.medium << listing;
        const std::string fsck = Shell("fsck.fat -n " + images[0], status);
        EXPECT_EQ(status, 0) << c.medium << fsck;
    }
}

// Every disk's files in one tree: 120 files in the root (their records take more than one
// 2048-byte block), a folder, a file of several blocks and an empty one.
TEST_F(FloppyImages, OneCdImageOfEveryDisk) {
    Layout layout;
    layout.disks.resize(2);
    auto add = [&layout](int disk, const std::string& path, std::vector<std::uint8_t> bytes) {
        layout.disks[static_cast<std::size_t>(disk - 1)].files.push_back({path, path, std::move(bytes), 0, 0, false, path, 0});
    };
    for (int i = 0; i < 120; ++i) add(1 + i % 2, "FILE" + std::to_string(i) + ".DAT", Bytes("file " + std::to_string(i)));
    add(1, "NOTES\\WELCOME.TXT", Bytes("welcome"));
    add(2, "NOTES\\README", std::vector<std::uint8_t>(5000, 'r'));
    add(2, "EMPTY.TXT", {});
    add(2, "FILE0.DAT", Bytes("file 0"));  // the same file on two disks travels once
    std::string error;
    const std::optional<std::vector<CdFile>> files = MergeDisks(layout, error);
    ASSERT_TRUE(files) << error;
    EXPECT_EQ(files->size(), 123u);
    const std::optional<std::vector<std::uint8_t>> image = MakeCdImage("SETUP", *files, ImageTime{1999, 12, 31, 23, 59, 58}, error);
    ASSERT_TRUE(image) << error;
    const std::filesystem::path iso = m_dir / "DISKS.ISO";
    std::ofstream(iso, std::ios::binary).write(reinterpret_cast<const char*>(image->data()), static_cast<std::streamsize>(image->size()));
    int status = -1;
    const std::string kind = Shell("file " + iso.string(), status);
    EXPECT_NE(kind.find("ISO 9660 CD-ROM filesystem data 'SETUP'"), std::string::npos) << kind;
    const std::filesystem::path out = m_dir / "extracted";
    const std::string extract = Shell("xorriso -osirrox on -indev " + iso.string() + " -extract / " + out.string(), status);
    ASSERT_EQ(status, 0) << extract;
    for (const CdFile& file : *files) {
        std::string path = file.path;
        for (char& ch : path) ch = ch == '\\' ? '/' : ch;
        EXPECT_EQ(ReadAll(out / path), *file.bytes) << path;
    }
    std::size_t extracted = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(out)) extracted += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(extracted, 123u);
    // Different files of one name on two disks: one CD folder cannot hold both.
    add(2, "NOTES\\WELCOME.TXT", Bytes("another welcome"));
    EXPECT_FALSE(MergeDisks(layout, error));
    EXPECT_EQ(error, "NOTES\\WELCOME.TXT of disk 2 (NOTES\\WELCOME.TXT) and of disk 1 (NOTES\\WELCOME.TXT) are different "
                     "files: one CD folder holds one of them");
}

TEST(FloppyNames, OnlyTheirEightDotThreeForm) {
    const struct {
        const char* path;
        const char* expected;  // the entries' names joined by "|", or "-" for none
    } cases[] = {
        {"README.TXT", "README  TXT"}, {"icons\\leaf1.ico", "ICONS      |LEAF1   ICO"}, {"README", "README     "},
        {"LONGNAME1.TXT", "-"}, {"A.TEXT", "-"}, {"A B.TXT", "-"}, {"A.B.C", "-"}, {"A+B.TXT", "-"}, {".TXT", "-"},
    };
    for (const auto& c : cases) {
        const std::optional<std::vector<std::string>> names = ShortNames(c.path);
        std::string joined;
        for (const std::string& name : names.value_or(std::vector<std::string>{})) joined += (joined.empty() ? "" : "|") + name;
        EXPECT_EQ(names ? joined : "-", c.expected) << c.path;
    }
}

}  // namespace
}  // namespace disks
