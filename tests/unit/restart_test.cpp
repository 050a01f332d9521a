#include "fake_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setup {
namespace {

using Strings = std::vector<std::string>;

TEST(Restart, RestartWindows) {
    struct Case {
        std::deque<bool> accepted;
        bool result;
        Strings calls;
    };
    const Case cases[] = {
        {{true}, true, {"exit windows 0 4294967295"}},
        {{false, true}, true, {"exit windows 0 4294967295", "exit windows 4 0"}},
        {{false, false}, false, {"exit windows 0 4294967295", "exit windows 4 0"}},
    };
    for (const Case& c : cases) {
        FakeMachine engine;
        engine.exitResults = c.accepted;
        EXPECT_EQ(engine.RestartSystem(0), c.result);
        EXPECT_EQ(engine.log, c.calls);
    }
}

TEST(Restart, Reboot) {
    struct Case {
        bool nt;
        bool privilege;
        bool result;
        Strings calls;
    };
    const Case cases[] = {
        {true, true, true, {"shutdown privilege", "exit windows 2 0"}},
        {true, false, false, {"shutdown privilege"}},
        {false, false, true, {"exit windows 2 0"}},
    };
    for (const Case& c : cases) {
        FakeMachine engine;
        engine.ntFamily = c.nt;
        engine.privilege = c.privilege;
        EXPECT_EQ(engine.RestartSystem(1), c.result);
        EXPECT_EQ(engine.log, c.calls);
    }
}

TEST(ExecuteFile, StartsTheNamedProgram) {
    struct Case {
        const char* section;
        bool startResult;
        bool result;
        Strings started;
    };
    const Case cases[] = {
        {"[Execute File]\r\nFile=README.EXE /first run\r\n", true, true, {"C:\\ACME\\README.EXE /first run"}},
        {"[Execute File]\r\nFile=NOTEPAD.EXE README.TXT:@\r\n", true, true, {"C:\\WINDOWS\\NOTEPAD.EXE README.TXT"}},
        {"[Execute File]\r\nFile=MISSING.EXE\r\n", false, false, {"C:\\ACME\\MISSING.EXE"}},
        {"[Execute File]\r\nFile=X.EXE:5\r\n", true, false, {}},
        {"", true, false, {}},
    };
    for (const Case& c : cases) {
        FakeMachine engine(c.section);
        engine.SetInstallDir("C:\\ACME\\");
        engine.startResult = c.startResult;
        EXPECT_EQ(engine.RunExecuteFile(), c.result) << c.section;
        EXPECT_EQ(engine.started, c.started) << c.section;
    }
}

}  // namespace
}  // namespace setup
