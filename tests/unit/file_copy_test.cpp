#include "actions/file_copy.h"
#include "fake_engine.h"

#include "script/text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace setup {
namespace {

using Strings = std::vector<std::string>;

TEST(CompressedNames, LastCharacterOrDotUnderscore) {
    struct Case {
        SourceFile plain;
        SourceFile compressed;
    };
    const Case cases[] = {
        {{"A:\\SETUP.EXE", "SETUP.EXE"}, {"A:\\SETUP.EX_", "SETUP.EX_"}},
        {{"A:\\README", "README"}, {"A:\\README._", "README._"}},
        {{"A:\\DISK.1\\README", "README"}, {"A:\\DISK.1\\READM_", "READM_"}},  // the directory's dot counts
        {{"A:\\LONG.NAME.TXT", "LONG.NAME.TXT"}, {"A:\\LONG.NAME.TX_", "LONG.NAME.TX_"}},
    };
    for (const Case& c : cases) {
        SourceFile result = CompressedName(c.plain);
        EXPECT_EQ(result.path, c.compressed.path);
        EXPECT_EQ(result.name, c.compressed.name);
    }
}

TEST(ReplaceQuestion, TwelveHourClock) {
    struct Case {
        int hour, minute;
        const char* shown;
    };
    for (Case c : {Case{12, 5, "12:05PM"}, Case{0, 30, "00:30AM"}, Case{23, 59, "11:59PM"}, Case{11, 0, "11:00AM"},
                   Case{13, 7, "01:07PM"}}) {
        EXPECT_EQ(DescribeFile("C:\\A.TXT", LocalTime{2024, 3, 9, c.hour, c.minute}),
                  std::string("\tC:\\A.TXT\n\t03/09/2024\t") + c.shown);
    }
}

TEST(ReplaceQuestion, DateFieldsPadLikePrintf) {
    // The date and time fields keep the C library's "%0Nd" form, the sign before the zeros.
    struct Case {
        int number;
        std::size_t width;
    };
    for (Case c : {Case{7, 2}, Case{0, 2}, Case{12, 2}, Case{123, 2}, Case{2024, 4}, Case{99, 4}, Case{-5, 3},
                   Case{-1234, 2}, Case{65535, 4}, Case{0, 0}}) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%0*d", static_cast<int>(c.width), c.number);
        EXPECT_EQ(ZeroPadded(c.number, c.width), expected) << c.number << " in " << c.width;
    }
}

// A disk in A:\ and an installation in C:\APP\.
class InstallTest : public ::testing::Test {
protected:
    InstallTest() : engine("[Initiation]\r\nInstall Name=Acme\r\n[Replace File]\r\nFile 1=keep.ini\r\nFile 3=X\r\n") {
        engine.ReadInitiation();
        engine.directories.insert("C:\\APP");
    }
    bool Install(const char* name) { return engine.InstallOneFile(replaceAll, name, "A:\\", "C:\\APP\\"); }

    FakeMachine engine;
    int replaceAll = 0;
};

TEST_F(InstallTest, PlainNameFirstThenTheCompressedOne) {
    engine.AddFile("A:\\PLAIN.TXT", "plain");
    engine.AddFile("A:\\PLAIN.TX_", "compressed");
    engine.AddFile("A:\\PACKED.DL_", "packed");
    EXPECT_TRUE(Install("PLAIN.TXT"));
    EXPECT_TRUE(Install("PACKED.DLL"));
    EXPECT_EQ(engine.Content("C:\\APP\\PLAIN.TXT"), "plain");
    EXPECT_EQ(engine.Content("C:\\APP\\PACKED.DLL"), "packed") << "installed under its plain name";
    EXPECT_TRUE(engine.Messages().empty());
}

TEST_F(InstallTest, MissingSourceAnswers) {
    struct Case {
        const char* name;
        std::deque<int> fileLose;  // buttons by place: 3 Retry, 4 Ignore, 5 Exit
        std::deque<int> stop;
        bool appearsOnRetry;
        bool result;
        Strings messages;
    };
    const Case cases[] = {
        {"Retry after the compressed file is put in place", {3}, {}, true, true, {"File Lose Message"}},
        {"Retry after the plain file is put in place", {3}, {}, true, true, {"File Lose Message"}},
        {"Ignore skips the file", {4}, {}, false, true, {"File Lose Message"}},
        {"Exit, then No, then Ignore", {5, 4}, {result::kNo}, false, true,
         {"File Lose Message", "Stop Message", "File Lose Message"}},
        {"Exit, then Yes ends", {5}, {result::kYes}, false, false, {"File Lose Message", "Stop Message"}},
        {"Escape is Exit", {result::kCancel}, {result::kYes}, false, false, {"File Lose Message", "Stop Message"}},
    };
    for (const Case& c : cases) {
        FakeMachine& e = engine;
        e.log.clear();
        e.shown.clear();
        e.answers["File Lose Message"] = c.fileLose;
        e.answers["Stop Message"] = c.stop;
        const std::string appears = std::string(c.name).find("plain") != std::string::npos ? "A:\\LATE.EXE" : "A:\\LATE.EX_";
        e.onMessage = [&e, &c, &appears](const ShownMessage& shown) {
            if (c.appearsOnRetry && shown.section == "File Lose Message") e.AddFile(appears, "late");
        };
        EXPECT_EQ(Install("LATE.EXE"), c.result) << c.name;
        EXPECT_EQ(e.Messages(), c.messages) << c.name;
        EXPECT_EQ(e.HasFile("C:\\APP\\LATE.EXE"), c.appearsOnRetry) << c.name;
        EXPECT_EQ(e.shown[0].text, "A:\\LATE.EX_ can not be found !\n\nDo you want to try again ?") << c.name;
        e.files.erase("A:\\LATE.EX_");
        e.files.erase("A:\\LATE.EXE");
        e.files.erase("C:\\APP\\LATE.EXE");
    }
}

TEST_F(InstallTest, ExistingFileAnswers) {
    struct Case {
        const char* name;
        std::deque<int> answer;
        bool replaced;
        int replaceAllAfter;
    };
    const Case cases[] = {
        {"Yes replaces", {result::kYes}, true, 0},
        {"No keeps the existing file", {result::kNo}, false, 0},
        {"Replace All replaces this and every later file", {result::kCancel}, true, 1},
    };
    for (const Case& c : cases) {
        replaceAll = 0;
        engine.AddFile("A:\\TOOL.EXE", "new", LocalTime{2024, 6, 1, 9, 15});
        engine.AddFile("C:\\APP\\TOOL.EXE", "old", LocalTime{2023, 12, 24, 18, 0});
        engine.shown.clear();
        engine.answers["Replace Message"] = c.answer;
        EXPECT_TRUE(Install("TOOL.EXE")) << c.name;
        EXPECT_EQ(engine.Content("C:\\APP\\TOOL.EXE"), c.replaced ? "new" : "old") << c.name;
        EXPECT_EQ(replaceAll, c.replaceAllAfter) << c.name;
        ASSERT_EQ(engine.shown.size(), 1u) << c.name;
        EXPECT_EQ(engine.shown[0].text,
                  "Would you like to replace the existing file\n\n \tC:\\APP\\TOOL.EXE\n\t12/24/2023\t06:00PM\n\nwith "
                  "this one ?\n\n \tA:\\TOOL.EXE\n\t06/01/2024\t09:15AM")
            << c.name;
    }
}

TEST_F(InstallTest, ReplacedWithoutAsking) {
    engine.AddFile("A:\\KEEP.INI", "new");
    engine.AddFile("C:\\APP\\KEEP.INI", "old");
    EXPECT_TRUE(Install("KEEP.INI")) << "listed under [Replace File], in another case";
    EXPECT_EQ(engine.Content("C:\\APP\\KEEP.INI"), "new");

    replaceAll = 1;
    engine.AddFile("A:\\ANY.DAT", "new");
    engine.AddFile("C:\\APP\\ANY.DAT", "old");
    EXPECT_TRUE(Install("ANY.DAT"));
    EXPECT_EQ(engine.Content("C:\\APP\\ANY.DAT"), "new");
    EXPECT_TRUE(engine.Messages().empty());
    EXPECT_TRUE(engine.NeedsReplaceConfirmation("X")) << "File 2 is missing: the list ends there";
}

TEST_F(InstallTest, CompressedSourceShownUnderItsPlainName) {
    engine.AddFile("A:\\TOOL.EX_", "new");
    engine.AddFile("C:\\APP\\TOOL.EXE", "old");
    engine.answers["Replace Message"] = {result::kYes};
    EXPECT_TRUE(Install("TOOL.EXE"));
    EXPECT_NE(engine.shown[0].text.find("\tA:\\TOOL.EXE\n"), std::string::npos);
}

TEST_F(InstallTest, UnreadableFilesSkipTheQuestion) {
    engine.AddFile("A:\\TOOL.EXE", "new");
    engine.AddFile("C:\\APP\\TOOL.EXE", "old");
    FakeMachine& e = engine;
    EXPECT_EQ(e.ConfirmFileReplace("MISSING.EXE", "TOOL.EXE", "A:\\", "C:\\APP\\"), 0);
    EXPECT_EQ(e.ConfirmFileReplace("TOOL.EXE", "MISSING.EXE", "A:\\", "C:\\APP\\"), 0);
    EXPECT_TRUE(e.shown.empty());
}

TEST_F(InstallTest, CopyErrorAnswers) {
    struct Case {
        const char* name;
        std::deque<std::uint32_t> failures;
        std::deque<int> copyError;
        std::deque<int> stop;
        bool result;
        int attempts;
    };
    const Case cases[] = {
        {"Retry succeeds", {0x1400}, {3}, {}, true, 2},
        {"Ignore skips", {0x40}, {4}, {}, true, 1},
        {"Exit, No, Retry", {0x40, 0x40}, {5, 3}, {result::kNo}, true, 3},
        {"Exit, Yes ends", {0x800}, {5}, {result::kYes}, false, 1},
    };
    for (const Case& c : cases) {
        engine.log.clear();
        engine.shown.clear();
        engine.AddFile("A:\\LOCKED.DLL");
        engine.files.erase("C:\\APP\\LOCKED.DLL");
        engine.installResults = c.failures;
        engine.answers["Copy Error Message"] = c.copyError;
        engine.answers["Stop Message"] = c.stop;
        EXPECT_EQ(Install("LOCKED.DLL"), c.result) << c.name;
        EXPECT_EQ(engine.Installs().size(), static_cast<size_t>(c.attempts)) << c.name;
        EXPECT_EQ(engine.shown[0].text, "To copy the file ( LOCKED.DLL ) is error !\n\nDo you want to try again ?")
            << c.name;
    }
}

// A compressed source that expands to another length than its header states (a copy cut
// short, a weak sector) is not installed: a copy error, while the file there before stays as
// it was; Retry with a good copy installs it, and nothing of the check is left behind.
TEST_F(InstallTest, ACompressedFileOfTheWrongLengthIsACopyErrorAndTheFileThereStays) {
    const struct {
        const char* name;
        std::string damaged;
        bool there;
    } cases[] = {
        {"cut in half, over a file", FakeMachine::Compressed("0123", 8), true},
        {"longer than its header says", FakeMachine::Compressed("0123456789", 8), true},
        {"cut in half, nothing there", FakeMachine::Compressed("0123", 8), false},
    };
    replaceAll = 1;
    for (const auto& c : cases) {
        engine.files.clear();
        engine.log.clear();
        if (c.there) engine.AddFile("C:\\APP\\DATA.BIN", "old");
        engine.AddFile("A:\\DATA.BI_", c.damaged);
        engine.answers["Copy Error Message"] = {3};  // Retry, once the good copy is in the drive
        std::string seen;
        engine.onMessage = [&](const ShownMessage&) {
            seen = engine.HasFile("C:\\APP\\DATA.BIN") ? engine.Content("C:\\APP\\DATA.BIN") : "(none)";
            engine.AddFile("A:\\DATA.BI_", FakeMachine::Compressed("01234567", 8));
        };
        EXPECT_TRUE(Install("DATA.BIN")) << c.name;
        EXPECT_EQ(engine.Messages(), Strings{"Copy Error Message"}) << c.name;
        EXPECT_EQ(seen, c.there ? "old" : "(none)") << c.name;
        EXPECT_EQ(engine.Content("C:\\APP\\DATA.BIN"), "01234567") << c.name;
        for (const auto& [path, file] : engine.files) EXPECT_EQ(path.find("~SETUP"), std::string::npos) << c.name;
    }
    engine.onMessage = nullptr;
}

// With [Checksums], a file whose size or CRC-32 is not the listed one (CRCs from zlib) is a
// damaged file named with its disk, whether plain or compressed; the file there before stays
// until Retry installs a good copy. A line that cannot be read checks nothing.
TEST(ChecksumInstall, AFileThatIsNotTheListedOneIsDamagedAndTheFileThereStays) {
    const struct {
        const char* name;
        const char* value;  // of "Disk 2\\NOTES\\DATA.BIN"
        const char* source;
        std::string bad;
        Strings messages;
    } cases[] = {
        {"one byte changed", "8,2D803AF5", "DATA.BIN", "01234568", {"Damaged File Message"}},
        {"cut short", "8,2D803AF5", "DATA.BI_", FakeMachine::Compressed("0123", 8), {"Damaged File Message"}},
        {"one byte more", "8,2D803AF5", "DATA.BIN", "012345678", {"Damaged File Message"}},
        {"the listed file", "8,2D803AF5", "DATA.BIN", "01234567", {}},
        {"a line that cannot be read", "8,2D803AF", "DATA.BIN", "01234568", {}},
    };
    for (const auto& c : cases) {
        FakeMachine engine(std::string("[Initiation]\r\nInstall Name=Acme\r\n[Checksums]\r\nDisk 2\\NOTES\\DATA.BIN=") +
                           c.value + "\r\n");
        engine.ReadInitiation();
        engine.directories.insert("C:\\APP");
        engine.AddFile("C:\\APP\\DATA.BIN", "old");
        engine.AddFile(std::string("A:\\NOTES\\") + c.source, c.bad);
        engine.answers["Damaged File Message"] = {3};  // Retry, once the good copy is in the drive
        std::string seen;
        engine.onMessage = [&](const ShownMessage& shown) {
            seen = engine.Content("C:\\APP\\DATA.BIN") + " | " + shown.text;
            engine.AddFile(std::string("A:\\NOTES\\") + c.source,
                           c.source[7] == '_' ? FakeMachine::Compressed("01234567", 8) : "01234567");
        };
        int replaceAll = 1;
        engine.SetCopyDisk(2, "NOTES\\");
        EXPECT_TRUE(engine.InstallOneFile(replaceAll, "DATA.BIN", "A:\\NOTES\\", "C:\\APP\\")) << c.name;
        EXPECT_EQ(engine.Messages(), c.messages) << c.name;
        if (!c.messages.empty()) {
            EXPECT_EQ(seen, "old | NOTES\\DATA.BIN on Disk 2 is damaged !\n\nPlease insert another copy of Disk 2.\n\n"
                            "Do you want to try again ?") << c.name;
        }
        EXPECT_EQ(engine.Content("C:\\APP\\DATA.BIN"), c.messages.empty() ? c.bad : "01234567") << c.name;
    }
}

// In a directory the installation made, a file is not looked for before it is installed, but
// one it installed there before is held back all the same: listed twice, the second copy
// damaged, the first stays.
TEST(ChecksumInstall, AFileInstalledBeforeInANewDirectoryStays) {
    FakeMachine engine("[Initiation]\r\nInstall Name=Acme\r\n[Checksums]\r\nDisk 1\\DATA.BIN=8,2D803AF5\r\n"
                       "Disk 2\\DATA.BIN=8,2D803AF5\r\n");
    engine.ReadInitiation();
    ASSERT_TRUE(engine.CreateInstallDirectory("C:\\NEW\\"));
    engine.AddFile("A:\\DATA.BIN", "01234567");
    int replaceAll = 1;
    engine.SetCopyDisk(1);
    EXPECT_TRUE(engine.InstallOneFile(replaceAll, "DATA.BIN", "A:\\", "C:\\NEW\\"));
    engine.AddFile("A:\\DATA.BIN", "0123456X");
    engine.answers["Damaged File Message"] = {4};  // Ignore
    engine.SetCopyDisk(2);
    EXPECT_TRUE(engine.InstallOneFile(replaceAll, "DATA.BIN", "A:\\", "C:\\NEW\\"));
    EXPECT_EQ(engine.Messages(), Strings{"Damaged File Message"});
    EXPECT_EQ(engine.Content("C:\\NEW\\DATA.BIN"), "01234567");
}

TEST_F(InstallTest, PathsBeyond255CharactersAreCopyErrors) {
    const std::string name(250, 'n');
    engine.AddFile("A:\\" + name);
    engine.answers["Copy Error Message"] = {4};
    EXPECT_TRUE(engine.InstallOneFile(replaceAll, name.c_str(), "A:\\", "C:\\APP\\"));
    EXPECT_TRUE(engine.Installs().empty()) << "nothing handed to the installer";
    EXPECT_EQ(engine.Messages(), Strings{"Copy Error Message"});
    EXPECT_FALSE(engine.InstallOneFile(replaceAll, "", "A:\\", "C:\\APP\\"));
    EXPECT_FALSE(engine.InstallOneFile(replaceAll, "A.TXT", "", "C:\\APP\\"));
}

}  // namespace
}  // namespace setup
