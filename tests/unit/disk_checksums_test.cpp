// The checksum section: CRC-32 against published values, the section as the disk builder
// writes it, its lines as they are read, and the check of written disks against it.
#include "check.h"
#include "engine/journal.h"
#include "layout.h"
#include "memory_disks.h"
#include "script/disk_checksums.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace disks {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

// Published check values of CRC-32 (the one of zip and PNG), whole and in uneven pieces:
// a fault in the eight-bytes-at-a-time loop or its tail shows in one of them.
TEST(Crc32, PublishedValues) {
    const struct {
        std::string text;
        std::uint32_t crc;
    } cases[] = {{"", 0}, {"123456789", 0xCBF43926u}, {"The quick brown fox jumps over the lazy dog", 0x414FA339u}};
    for (const auto& c : cases) {
        EXPECT_EQ(setup::Crc32(c.text.data(), c.text.size()), c.crc) << c.text;
        for (std::size_t piece = 1; piece <= 9; ++piece) {
            std::uint32_t crc = 0;
            for (std::size_t at = 0; at < c.text.size(); at += piece)
                crc = setup::Crc32(c.text.data() + at, std::min(piece, c.text.size() - at), crc);
            EXPECT_EQ(crc, c.crc) << c.text << " in pieces of " << piece;
        }
    }
}

// Long blocks take the carry-less path where the processor has it: lengths around its
// 64- and 16-byte steps, whole and in pieces of 300 (values from zlib's crc32).
TEST(Crc32, LongBlocks) {
    std::string data(100000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 31 + 7) & 0xFF);
    const struct {
        std::size_t size;
        std::uint32_t crc;
    } cases[] = {{256, 0x0CE9D363u}, {271, 0x282B6CA5u}, {1000, 0x8902161Eu}, {4109, 0x9449FB31u}, {100000, 0x92858800u}};
    for (const auto& c : cases) {
        EXPECT_EQ(setup::Crc32(data.data(), c.size), c.crc) << c.size;
        std::uint32_t crc = 0;
        for (std::size_t at = 0; at < c.size; at += 300) crc = setup::Crc32(data.data() + at, std::min<std::size_t>(300, c.size - at), crc);
        EXPECT_EQ(crc, c.crc) << c.size << " in pieces of 300";
    }
}

TEST(ChecksumSection, LinesAsTheyAreRead) {
    const struct {
        const char* value;
        const char* expected;  // "size,CRC" as read back, or why not
    } values[] = {
        {"9,CBF43926", "9,CBF43926"},
        {" 9 , cbf43926 ", "9,CBF43926"},  // blanks typed by hand, lower case
        {"4294967295,00000000", "4294967295,00000000"},
        {"9", "a size and a checksum, separated by a comma, are expected"},
        {"4294967296,00000000", "the size \"4294967296\" is not a number of bytes"},
        {"-9,CBF43926", "the size \"-9\" is not a number of bytes"},
        {",CBF43926", "the size \"\" is not a number of bytes"},
        {"9,CBF4392", "the checksum \"CBF4392\" is not eight hexadecimal digits"},
        {"9,CBF43926,1", "the checksum \"CBF43926,1\" is not eight hexadecimal digits"},
        {"9,CBF4392G", "the checksum \"CBF4392G\" is not eight hexadecimal digits"},
    };
    for (const auto& c : values) {
        std::string why;
        const std::optional<setup::FileChecksum> read = setup::ParseChecksumValue(c.value, why);
        EXPECT_EQ(read ? setup::ChecksumValue(*read) : why, c.expected) << c.value;
    }
    const struct {
        const char* key;
        int disk;  // 0: refused
        const char* path;
    } keys[] = {
        {"Disk 2\\NOTES\\B.TXT", 2, "NOTES\\B.TXT"}, {"disk 12\\A", 12, "A"}, {"Disk 0\\A", 0, ""},
        {"Disk 02\\A", 0, ""}, {"Disk\\A", 0, ""}, {"Disk 2\\", 0, ""}, {"Disk 2 A", 0, ""}, {"Disks 2\\A", 0, ""},
    };
    for (const auto& c : keys) {
        const std::optional<setup::ChecksumPlace> place = setup::ParseChecksumKey(c.key);
        EXPECT_EQ(place ? place->disk : 0, c.disk) << c.key;
        EXPECT_EQ(place ? place->path : "", c.path) << c.key;
    }
}

// The section the disk builder writes, then the disks checked against it as an author
// checks them, whole and with each kind of damage.
class WrittenDisks : public ::testing::Test {
protected:
    WrittenDisks() {
        checker::MemoryDisks source;
        source.Add(1, "A.TXT", Bytes("123456789"));
        source.Add(1, "FOX.TXT", Bytes("The quick brown fox jumps over the lazy dog"));
        source.Add(1, "B.TXT", Bytes("0123456789"));
        LayoutOptions options{*ParseMedium("1440K"), Compression::kAll, "SETUP.EXE", Bytes("01234567")};
        layout = PlanDisks(Bytes(kScript), source, options);
        for (std::size_t disk = 0; disk < layout.disks.size(); ++disk)
            for (const DiskFile& file : layout.disks[disk].files) written.Add(static_cast<int>(disk + 1), file.path, file.bytes);
        script = std::string(layout.script.begin(), layout.script.end());
    }
    std::string Findings(const std::string& text) const {
        std::string out;
        for (const checker::Finding& f : checker::CheckScript(Bytes(text), written, {}).findings)
            out += checker::FormatFinding("SETUP.INF", f) + "\n";
        return out;
    }

    // An earlier section of disks made before goes; lines 1 to 9 stay.
    const std::string kScript =
        "[Initiation]\r\nInstall Name=Acme\r\nDefDir=C:\\ACME\r\nSubDir 1=NOTES\r\nCopy File From SubDir=1\r\n"
        "[Checksums]\r\nDisk 9\\OLD.TXT=1,00000000\r\n"
        "[DefDir]\r\nFile 1.1=A.TXT\r\nFile 2.1=FOX.TXT\r\n[SubDir 1]\r\nFile 2.1=B.TXT";
    Layout layout;
    checker::MemoryDisks written;
    std::string script;
};

TEST_F(WrittenDisks, TheBuilderListsEveryFileButTheScript) {
    EXPECT_TRUE(layout.findings.empty());
    // The CRC-32s of "01234567", "123456789", the fox and "0123456789", from zlib.
    EXPECT_EQ(script, "[Initiation]\r\nInstall Name=Acme\r\nDefDir=C:\\ACME\r\nSubDir 1=NOTES\r\nCopy File From SubDir=1\r\n"
                      "[DefDir]\r\nFile 1.1=A.TXT\r\nFile 2.1=FOX.TXT\r\n[SubDir 1]\r\nFile 2.1=B.TXT\r\n"
                      "[Checksums]\r\nDisk 1\\SETUP.EXE=8,2D803AF5\r\nDisk 1\\A.TXT=9,CBF43926\r\n"
                      "Disk 2\\FOX.TXT=43,414FA339\r\nDisk 2\\NOTES\\B.TXT=10,A684C7C6\r\n");
    EXPECT_EQ(Findings(script), "");
}

TEST_F(WrittenDisks, TheCheckNamesEveryDamagedFileAndItsDisk) {
    auto replace = [](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const std::vector<std::uint8_t> fox = *written.Read(2, "FOX.TX_");
    const struct {
        const char* name;
        std::function<void(checker::MemoryDisks&)> damage;
        std::string script;
        std::string expected;
    } cases[] = {
        {"compressed file cut in half",
         [&](checker::MemoryDisks& d) { d.Add(2, "FOX.TX_", std::vector<std::uint8_t>(fox.begin(), fox.begin() + 14 + 20)); },
         // 20 bytes after the header: flag, 8 literals, flag, 8 literals, flag, 1 literal.
         script, "SETUP.INF:14: error: FOX.TX_ on disk 2 (DISK2) is damaged: it expands to 17 bytes, its header states 43\n"},
        {"plain file with a byte changed",
         [](checker::MemoryDisks& d) { d.files[2].erase("NOTES\\B.TX_"), d.Add(2, "NOTES\\B.TXT", Bytes("0123456780")); },
         script,
         "SETUP.INF:15: error: NOTES\\B.TXT on disk 2 (DISK2) is damaged: it holds 10 bytes, CRC-32 DF587F62; "
         "[Checksums] lists 10 bytes, CRC-32 A684C7C6\n"},
        {"file missing: its entry names it once", [](checker::MemoryDisks& d) { d.files[2].erase("FOX.TX_"); }, script,
         "SETUP.INF:8: error: \"FOX.TXT\" is not on disk 2 (DISK2), nor compressed as \"FOX.TX_\"\n"},
        {"line that cannot be read", nullptr, replace(script, "=9,CBF43926", "=9,CBF4392"),
         "SETUP.INF:13: error: the checksum of Disk 1\\A.TXT cannot be read: the checksum \"CBF4392\" is not eight "
         "hexadecimal digits: the file is installed unchecked\n"},
        {"key without its disk", nullptr, replace(script, "Disk 1\\A.TXT", "Disk\\A.TXT"),
         "SETUP.INF:7: warning: \"A.TXT\" of File 1.1 has no line in [Checksums]: it is installed unchecked\n"
         "SETUP.INF:13: error: \"Disk\\A.TXT\" in [Checksums] is not \"Disk N\\FILE\": no file is checked by it\n"},
        {"line for a file of no list", nullptr, script + "Disk 2\\GONE.TXT=1,00000000\r\n",
         "SETUP.INF:16: warning: Disk 2\\GONE.TXT in [Checksums] names no file of the copy list\n"},
    };
    for (const auto& c : cases) {
        checker::MemoryDisks kept = written;
        if (c.damage) c.damage(written);
        EXPECT_EQ(Findings(c.script), c.expected) << c.name;
        written = kept;
    }
}

}  // namespace
}  // namespace disks
