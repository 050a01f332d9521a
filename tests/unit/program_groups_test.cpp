#include "fake_engine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace setup {
namespace {

using Strings = std::vector<std::string>;

std::unique_ptr<FakeMachine> Engine(const std::string& sections) {
    auto engine = std::make_unique<FakeMachine>("[Initiation]\r\nInstall Name=Acme\r\nGroup 1=Acme Tools\r\nGroup 2=Acme Extras\r\n" + sections);
    engine->ReadInitiation();
    engine->SetInstallDir("C:\\ACME\\");
    return engine;
}

TEST(ProgramGroups, ItemCommands) {
    struct Case {
        const char* item;
        bool built;
        const char* command;
    };
    const Case cases[] = {
        {"PROG.EXE,My Program", true, "C:\\ACME\\PROG.EXE,\"My Program\""},
        {"PROG.EXE:0 , My Program , ICONS.DLL:#", true, "C:\\ACME\\PROG.EXE,\"My Program\",C:\\WINDOWS\\SYSTEM\\ICONS.DLL,0"},
        {"PROG.EXE,My Program,PROG.EXE,3", true, "C:\\ACME\\PROG.EXE,\"My Program\",C:\\ACME\\PROG.EXE,3"},
        {"HELP.HLP:@,Help", true, "C:\\WINDOWS\\HELP.HLP,\"Help\""},
        {"PROG.EXE", false, ""},                       // no title
        {"PROG.EXE:7,Title", false, ""},               // unknown SubDir
        {"PROG.EXE,Title,ICON.ICO:X", false, ""},      // icon that does not resolve
        {",Title", false, ""},
    };
    for (const Case& c : cases) {
        auto engine = Engine(std::string("[Group 1]\r\nItem 1=") + c.item + "\r\n");
        std::string command;
        EXPECT_EQ(engine->BuildItemCommand("Group 1", 1, command), c.built) << c.item;
        if (c.built) {
            EXPECT_EQ(command, c.command) << c.item;
        }
    }
}

TEST(ProgramGroups, GroupsAndTheirItems) {
    auto engine = Engine(
        "[Group 1]\r\nItem 1=A.EXE,First\r\nItem 2=B.EXE\r\nItem 3=C.EXE,Never\r\n"
        "[Group 2]\r\nItem 1=D.EXE,Fourth\r\nItem 3=E.EXE,Never\r\n");
    engine->refused = {"[AddItem(C:\\ACME\\D.EXE"};  // a refused item is passed over
    EXPECT_TRUE(engine->CreateProgramGroups());
    EXPECT_EQ(engine->commands, (Strings{"[CreateGroup(Acme Tools)]", "[ShowGroup(Acme Tools,1)]",
                                        "[AddItem(C:\\ACME\\A.EXE,\"First\")]", "[CreateGroup(Acme Extras)]",
                                        "[ShowGroup(Acme Extras,1)]", "[AddItem(C:\\ACME\\D.EXE,\"Fourth\")]"}));
    EXPECT_EQ(engine->openConversations, 0) << "the conversation ends with the step";
}

TEST(ProgramGroups, Failures) {
    struct Case {
        const char* name;
        std::function<void(FakeMachine&)> arrange;
        std::size_t commands;
    };
    const Case cases[] = {
        {"no connection", [](FakeMachine& e) { e.connectFailures = 1; }, 0},
        {"group refused", [](FakeMachine& e) { e.refused = {"[CreateGroup(Acme Extras"}; }, 4},
        {"show refused", [](FakeMachine& e) { e.refused = {"[ShowGroup(Acme Tools"}; }, 2},
        {"no data for an item", [](FakeMachine& e) { e.noData = {"[AddItem"}; }, 2},
    };
    for (const Case& c : cases) {
        auto engine = Engine("[Group 1]\r\nItem 1=A.EXE,First\r\n");
        c.arrange(*engine);
        EXPECT_FALSE(engine->CreateProgramGroups()) << c.name;
        EXPECT_EQ(engine->commands.size(), c.commands) << c.name;
        EXPECT_EQ(engine->openConversations, 0) << c.name;
    }
    FakeMachine none("[Initiation]\r\nInstall Name=Acme\r\n");
    EXPECT_TRUE(none.CreateProgramGroups());
    EXPECT_EQ(none.log, Strings{}) << "no group: the program manager is not even asked";
}

TEST(ProgramGroups, RetryInTheSequenceSendsEverythingAgain) {
    auto engine = Engine("[Group 1]\r\nItem 1=A.EXE,First\r\n");
    engine->refused = {"[CreateGroup(Acme Extras"};
    engine->answers["Dir Message"] = {result::kYes, result::kNo};
    engine->RunSetup();
    // Three attempts: two refused with Yes, then No ends the installation.
    EXPECT_EQ(engine->commands.size(), 8u);
    EXPECT_EQ(engine->commands[4], "[CreateGroup(Acme Tools)]");
    EXPECT_EQ(engine->Messages(), (Strings{"Dir Message", "Dir Message"}));
}

}  // namespace
}  // namespace setup
