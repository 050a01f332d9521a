#include "actions/startup_lines.h"
#include "fake_engine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace setup {
namespace {

TEST(StartupLines, ProgramNames) {
    struct Case {
        const char* path;
        const char* name;
    };
    for (Case c : {Case{"C:\\APP\\MONITOR.EXE", "MONITOR"}, Case{"monitor.exe", "monitor"}, Case{"X.EXE", "X"},
                   Case{".EXE", ".EXE"}, Case{"C:\\APP\\MONITOR.COM", "MONITOR.COM"}, Case{"C:\\APP\\", ""},
                   Case{"MONITOR", "MONITOR"}}) {
        EXPECT_EQ(ProgramName(c.path), c.name) << c.path;
    }
}

TEST(StartupLines, FindAndRemove) {
    struct Case {
        const char* line;
        const char* name;
        bool found;
        const char* afterRemoval;
    };
    const Case cases[] = {
        {"A.EXE C:\\APP\\MONITOR.EXE B.EXE", "MONITOR", true, "A.EXE B.EXE"},
        {"A.EXE C:\\APP\\MONITOR.EXE", "monitor", true, "A.EXE "},
        {"MONITOR.EXE", "MONITOR", true, ""},
        {"   MONITOR  B.EXE", "MONITOR", true, "    B.EXE"},  // one of the two blanks goes
        {"A.EXE  MONITOR.EXE  B.EXE", "MONITOR", true, "A.EXE  B.EXE"},
        {"A.EXE MONITOR.COM", "MONITOR", false, "A.EXE MONITOR.COM"},
        {"A.EXE MONITORS.EXE", "MONITOR", false, "A.EXE MONITORS.EXE"},
        {"   ", "MONITOR", false, "   "},
        {"", "MONITOR", false, ""},
        {"A.EXE", "", false, "A.EXE"},
        {"MONITOR.EXE MONITOR.EXE", "MONITOR", true, "MONITOR.EXE"},  // one occurrence
    };
    for (const Case& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(FindProgramInLine(false, line, c.name), c.found) << c.line;
        EXPECT_EQ(line, c.line) << "test mode changes nothing";
        EXPECT_EQ(FindProgramInLine(true, line, c.name), c.found) << c.line;
        EXPECT_EQ(line, c.afterRemoval) << c.line;
    }
}

TEST(StartupLines, AppendNeverOverflowsOrCuts) {
    std::string line(500, 'x');
    EXPECT_TRUE(AppendProgram(line, std::string(10, 'p')));  // 511 characters
    EXPECT_EQ(line.size(), 511u);
    EXPECT_FALSE(AppendProgram(line, "q"));
    EXPECT_EQ(line.size(), 511u);
}

std::unique_ptr<FakeMachine> Engine(const std::string& winIni) {
    auto engine = std::make_unique<FakeMachine>("[Initiation]\r\nInstall Name=Acme\r\n[WIN.INI]\r\n" + winIni);
    engine->SetInstallDir("C:\\ACME\\");
    return engine;
}

TEST(StartupPrograms, PreviousVersionFoundAndRemoved) {
    auto engine = Engine("RunFile 1=MONITOR.EXE\r\nLoadFile 1=TRAY.EXE:@\r\n");
    engine->profileLines = {{"Run", "A.EXE C:\\OLD\\MONITOR.EXE B.EXE"}, {"Load", "C:\\OLD\\TRAY.EXE"}};
    EXPECT_TRUE(engine->FindPreviousVersion());
    engine->RemoveStartupEntries();
    EXPECT_EQ(engine->profileLines["Run"], "A.EXE B.EXE");
    EXPECT_EQ(engine->profileLines["Load"], "");
    EXPECT_FALSE(engine->FindPreviousVersion());
}

TEST(StartupPrograms, NothingToFind) {
    struct Case {
        const char* winIni;
        const char* run;
        const char* load;
    };
    for (Case c : {Case{"", "MONITOR.EXE", ""}, Case{"RunFile 1=MONITOR.EXE\r\n", "", ""},
                   Case{"RunFile 1=MONITOR.EXE\r\n", "OTHER.EXE", "MONITOR.COM"},
                   Case{"RunFile 2=MONITOR.EXE\r\n", "MONITOR.EXE", ""}}) {
        auto engine = Engine(c.winIni);
        engine->profileLines = {{"Run", c.run}, {"Load", c.load}};
        EXPECT_FALSE(engine->FindPreviousVersion()) << c.winIni << c.run;
    }
    auto empty = Engine("RunFile 1=MONITOR.EXE\r\n");
    empty->RemoveStartupEntries();
    EXPECT_EQ(empty->log, std::vector<std::string>{}) << "empty lines are not written back";
}

TEST(StartupPrograms, Appended) {
    auto engine = Engine("RunFile 1=MONITOR.EXE\r\nRunFile 2=HELPER.EXE:#\r\nLoadFile 1=TRAY.EXE\r\n");
    engine->profileLines = {{"Run", ""}, {"Load", "OLD.EXE   "}};
    EXPECT_TRUE(engine->AddStartupEntries());
    EXPECT_EQ(engine->profileLines["Run"], "  C:\\ACME\\MONITOR.EXE C:\\WINDOWS\\SYSTEM\\HELPER.EXE");
    EXPECT_EQ(engine->profileLines["Load"], "OLD.EXE C:\\ACME\\TRAY.EXE");
    EXPECT_EQ(engine->log.front(), "profile line:Load=OLD.EXE C:\\ACME\\TRAY.EXE") << "Load is written first";

    // The line holds 511 characters: a program that would make it 512 or more is left out.
    for (const auto& [length, fits] : {std::pair{491, true}, {492, false}, {496, false}}) {
        auto full = Engine("RunFile 1=MONITOR.EXE\r\n");
        const std::string line = "X" + std::string(static_cast<std::size_t>(length - 1), 'x');
        full->profileLines = {{"Run", line}};
        EXPECT_TRUE(full->AddStartupEntries());
        EXPECT_EQ(full->profileLines["Run"], fits ? line + " C:\\ACME\\MONITOR.EXE" : line) << length;
    }

    auto none = Engine("");
    EXPECT_FALSE(none->AddStartupEntries());
    EXPECT_TRUE(none->log.empty());
}

TEST(IniEntries, TargetsAndItems) {
    FakeMachine engine(
        "[Initiation]\r\nWrite INI 1=SYSTEM.INI\r\nWrite INI 2=ACME.INI:0\r\nWrite INI 3=BAD.INI:9\r\nWrite INI 4=NEVER.INI\r\n"
        "[Write INI 1]\r\nItem 1=boot, shell , acme.exe\r\nItem 2=boot,only two\r\nItem 3=drivers,wave,acme.drv\r\n"
        "Item 4=x,y,\r\nItem 5=boot," + std::string(100, 'k') + ",v\r\nItem 6=boot," + std::string(99, 'k') + ",v\r\n"
        "[Write INI 2]\r\nItem 1=Options,Color,blue\r\nItem 3=Options,Never,x\r\n"
        "[Write INI 4]\r\nItem 1=a,b,c\r\n");
    engine.SetInstallDir("C:\\ACME\\");
    engine.WriteIniSections();
    EXPECT_EQ(engine.profileWrites, (std::vector<std::string>{"SYSTEM.INI|boot|shell=acme.exe",
                                                              "SYSTEM.INI|drivers|wave=acme.drv",
                                                              "SYSTEM.INI|boot|" + std::string(99, 'k') + "=v",
                                                              "C:\\ACME\\ACME.INI|Options|Color=blue"}));
}

}  // namespace
}  // namespace setup
