#include "actions/copy_list.h"
#include "fake_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setup {
namespace {

using Strings = std::vector<std::string>;

TEST(CopyCount, DisksSectionsAndGaps) {
    struct Case {
        const char* name;
        std::string script;
        int disks;
        std::uint32_t entries;
    };
    const Case cases[] = {
        {"nothing", "", 0, 0},
        {"one disk, three sections",
         "[Windows]\r\nFile 1.1=A.INI\r\n[System]\r\nFile 1.1=B.DLL\r\nFile 1.2=C.DLL\r\n[DefDir]\r\nFile 1.1=D.EXE\r\n", 1,
         4},
        {"files and slides share the running number",
         "[DefDir]\r\nFile 1.1=A\r\nBitmap 1.2=S.BMP,1\r\nBitmap 1.3=NULL\r\nFile 1.4=B\r\n", 1, 4},
        {"a gap ends the list", "[DefDir]\r\nFile 1.1=A\r\nFile 1.3=C\r\n", 1, 1},
        {"an empty value is a gap", "[DefDir]\r\nFile 1.1=A\r\nFile 1.2=\r\nFile 1.3=C\r\n", 1, 1},
        {"three disks", "[DefDir]\r\nFile 1.1=A\r\nFile 2.1=B\r\nFile 2.2=C\r\nFile 3.1=D\r\n", 3, 4},
        {"a disk without entries ends the count", "[DefDir]\r\nFile 1.1=A\r\nFile 3.1=D\r\n", 1, 1},
        {"first entry on disk 2: nothing", "[DefDir]\r\nFile 2.1=A\r\n", 0, 0},
        {"SubDir sections while they exist",
         "[SubDir 1]\r\nFile 1.1=A\r\n[SubDir 2]\r\nFile 1.1=B\r\n[SubDir 4]\r\nFile 1.1=D\r\n", 1, 2},
        {"unknown sections do not count", "[Fonts]\r\nFile 1.1=A\r\n", 0, 0},
    };
    for (const Case& c : cases) {
        FakeMachine engine(c.script);
        engine.CountCopyItems();
        EXPECT_EQ(engine.m_diskCount, c.disks) << c.name;
        EXPECT_EQ(engine.m_copyEntryCount, c.entries) << c.name;
    }
}

TEST(CopyCount, SelectedItemsOnly) {
    const std::string script =
        "[DefDir]\r\nFile 1.1=BASE\r\n"
        "Dialog 1. SelItem 1. File 1.1=ONE\r\nDialog 1. SelItem 2. File 1.1=TWO.A\r\nDialog 1. SelItem 2. File 1.2=TWO.B\r\n"
        "Dialog 2. SelItem 1. File 2.1=OTHER\r\n";
    FakeMachine engine(script);
    engine.AddSelection(2, "b");
    engine.AddSelection(1, "x");
    engine.CountCopyItems();
    EXPECT_EQ(engine.m_copyEntryCount, 4u);  // BASE, TWO.A, TWO.B on disk 1; OTHER on disk 2
    EXPECT_EQ(engine.m_diskCount, 2);
    EXPECT_EQ(engine.CountEntryList(1, "DefDir", "Dialog 1. SelItem 1. "), 1);
    EXPECT_EQ(SelectionPrefix(2, 1), "Dialog 2. SelItem 1. ");
}

TEST(CopyCount, MoreThan65535EntriesStillCount) {
    std::string script = "[DefDir]\r\n";
    for (int i = 1; i <= 65536; ++i) script += "File 1." + std::to_string(i) + "=F\r\n";
    FakeMachine engine(script);
    engine.CountCopyItems();
    EXPECT_EQ(engine.m_copyEntryCount, 65536u);
}

class RecordingProgress : public CopyProgress {
public:
    explicit RecordingProgress(FakeMachine& engine) : m_engine(engine) {}
    void ShowCopyPaths(const std::string& name, const std::string& source, const std::string& destination) override {
        m_engine.log.push_back("paths:" + source + name + " -> " + destination + name);
    }
    void StepProgress() override { ++steps; }
    void DrainMessages() override {
        if (cancelAfter && steps >= cancelAfter) cancelled = true;
    }
    bool Cancelled() const override { return cancelled; }

    int steps = 0;
    int cancelAfter = 0;
    bool cancelled = false;

private:
    FakeMachine& m_engine;
};

// A product on three disks in A:\, installed into C:\APP\.
class CopyWalkTest : public ::testing::Test {
protected:
    // initiation: further [Initiation] keys; rest: the other sections.
    void Load(const std::string& initiation, const std::string& rest) {
        engine = std::make_unique<FakeMachine>("[Initiation]\r\nInstall Name=Acme\r\n" + initiation + rest);
        engine->ReadInitiation();
        for (const char* d : {"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\APP", "C:\\APP\\DATA"})
            engine->directories.insert(d);
        engine->CountCopyItems();
    }
    bool Walk(RecordingProgress& progress, int copyFromSubDir = 0) {
        CopyWalk walk(*engine, progress, CopyParameters{"A:\\", "C:\\APP\\", engine->m_diskCount, copyFromSubDir});
        return walk.CopyAllDisks();
    }
    std::unique_ptr<FakeMachine> engine;
};

TEST_F(CopyWalkTest, DiskBySectionBySection) {
    Load("SubDir 1=DATA\r\n",
         "[DefDir]\r\nFile 1.1=APP.EXE\r\nFile 2.1=HELP.HLP\r\n"
         "[System]\r\nFile 1.1=APP.DLL\r\n"
         "[Windows]\r\nFile 2.1=APP.INI\r\n"
         "[SubDir 1]\r\nFile 3.1=DATA.DAT\r\n");
    for (const char* file : {"APP.EXE", "HELP.HLP", "APP.DLL", "APP.INI", "DATA.DAT"}) engine->AddFile(std::string("A:\\") + file);
    RecordingProgress progress(*engine);
    EXPECT_TRUE(Walk(progress));
    EXPECT_EQ(engine->Installs(), (Strings{"C:\\WINDOWS\\SYSTEM\\APP.DLL", "C:\\APP\\APP.EXE", "C:\\WINDOWS\\APP.INI",
                                           "C:\\APP\\HELP.HLP", "C:\\APP\\DATA\\DATA.DAT"}));
    EXPECT_EQ(engine->Messages(), (Strings{"Disk Message", "Disk Message"}));
    EXPECT_EQ(engine->shown[0].text, "Please change Disk-1 to Disk-2");
    EXPECT_EQ(engine->shown[1].text, "Please change Disk-2 to Disk-3");
    EXPECT_EQ(progress.steps, static_cast<int>(engine->m_copyEntryCount));
}

TEST_F(CopyWalkTest, SubDirSourcesWhenCopiedFromSubDirectories) {
    Load("SubDir 1=DATA\r\n", "[SubDir 1]\r\nFile 1.1=DATA.DAT\r\n");
    engine->AddFile("A:\\DATA\\DATA.DAT");
    RecordingProgress progress(*engine);
    EXPECT_TRUE(Walk(progress, 1));
    EXPECT_EQ(engine->log.front(), "paths:A:\\DATA\\DATA.DAT -> C:\\APP\\DATA\\DATA.DAT");
    EXPECT_TRUE(engine->HasFile("C:\\APP\\DATA\\DATA.DAT"));
}

TEST_F(CopyWalkTest, SlidesAndTheirPositions) {
    Load("", "[DefDir]\r\nBitmap 1.1=ONE.BMP,1\r\nBitmap 1.2=TWO.BMP\r\nBitmap 1.3=THREE.BMP,9\r\nBitmap 1.4=null\r\n"
         "Bitmap 1.5= ,2\r\nBitmap 1.6=FULL.BMP, 0\r\nFile 1.7=LAST.TXT\r\n");
    for (const char* file : {"ONE.BMP", "TWO.BMP", "THREE.BMP", "FULL.BMP", "LAST.TXT"})
        engine->AddFile(std::string("A:\\") + file);
    RecordingProgress progress(*engine);
    EXPECT_TRUE(Walk(progress));
    Strings pictures;
    for (const std::string& entry : engine->log)
        if (entry.rfind("billboard", 0) == 0 || entry == "remove billboard") pictures.push_back(entry);
    EXPECT_EQ(pictures, (Strings{"billboard:1:C:\\APP\\ONE.BMP", "billboard:4:C:\\APP\\TWO.BMP",
                                 "billboard:4:C:\\APP\\THREE.BMP", "remove billboard", "billboard:0:C:\\APP\\FULL.BMP"}));
    EXPECT_FALSE(engine->HasFile("C:\\APP\\ONE.BMP")) << "shown slides are gone";
    EXPECT_TRUE(engine->HasFile("C:\\APP\\LAST.TXT"));
    EXPECT_EQ(progress.steps, 7) << "NULL slides and slides without a name step too";
    EXPECT_EQ(engine->m_copyEntryCount, 7u);
}

TEST_F(CopyWalkTest, SelectedItemsAfterTheCommonEntries) {
    Load("", "[DefDir]\r\nDialog 1. SelItem 2. File 1.1=CHOSEN.DAT\r\nFile 1.1=COMMON.DAT\r\n"
         "Dialog 1. SelItem 1. File 1.1=OTHER.DAT\r\n");
    for (const char* file : {"CHOSEN.DAT", "COMMON.DAT", "OTHER.DAT"}) engine->AddFile(std::string("A:\\") + file);
    engine->AddSelection(2, "two");
    engine->CountCopyItems();
    RecordingProgress progress(*engine);
    EXPECT_TRUE(Walk(progress));
    EXPECT_EQ(engine->Installs(), (Strings{"C:\\APP\\COMMON.DAT", "C:\\APP\\CHOSEN.DAT"}));
}

TEST_F(CopyWalkTest, ExitAndCancelStopTheWalk) {
    Load("", "[DefDir]\r\nFile 1.1=A.TXT\r\nFile 1.2=B.TXT\r\nFile 1.3=C.TXT\r\n");
    engine->AddFile("A:\\A.TXT");
    engine->AddFile("A:\\C.TXT");
    engine->answers["File Lose Message"] = {5};  // Exit
    engine->answers["Stop Message"] = {result::kYes};
    RecordingProgress exited(*engine);
    EXPECT_FALSE(Walk(exited));
    EXPECT_EQ(engine->Installs(), Strings{"C:\\APP\\A.TXT"});

    Load("", "[DefDir]\r\nFile 1.1=A.TXT\r\nFile 1.2=B.TXT\r\nFile 1.3=C.TXT\r\n");
    for (const char* file : {"A.TXT", "B.TXT", "C.TXT"}) engine->AddFile(std::string("A:\\") + file);
    RecordingProgress cancelled(*engine);
    cancelled.cancelAfter = 2;  // Cancel confirmed while the second file is copied
    EXPECT_FALSE(Walk(cancelled));
    EXPECT_EQ(engine->Installs(), (Strings{"C:\\APP\\A.TXT", "C:\\APP\\B.TXT"}));
}

TEST_F(CopyWalkTest, ReplaceAllFromTheScript) {
    Load("Replace File=1\r\n", "[DefDir]\r\nFile 1.1=A.TXT\r\n");
    engine->AddFile("A:\\A.TXT", "new");
    engine->AddFile("C:\\APP\\A.TXT", "old");
    RecordingProgress progress(*engine);
    EXPECT_TRUE(Walk(progress));
    EXPECT_EQ(engine->Content("C:\\APP\\A.TXT"), "new");
    EXPECT_TRUE(engine->Messages().empty());
}

}  // namespace
}  // namespace setup
