#include "app/setup_app.h"
#include "temp_files.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class SetupAppTest : public ::testing::Test {
protected:
    void SetUp() override { app.SetInstance(::GetModuleHandleA(nullptr)); }
    CSetupApp app;
    TempFolder folder;
};

TEST_F(SetupAppTest, TitleFromTheSetupSystemSection) {
    struct Case {
        const char* name;
        std::string script;
        std::string title;
    };
    const Case cases[] = {
        {"no section", "[Initiation]\r\nInstall Name=X\r\n", "Varnel SETUP Program"},
        {"no key", "[Setup System]\r\nICON Directory=I\r\n", "Varnel SETUP Program"},
        {"empty value", "[Setup System]\r\nAP Name=\r\n", "Varnel SETUP Program"},
        {"value", "[Setup System]\r\nAP Name=Acme Setup\r\n", "Acme Setup"},
        {"cut to 99", "[Setup System]\r\nAP Name=" + std::string(150, 'a') + "\r\n", std::string(99, 'a')},
    };
    for (const Case& c : cases) {
        app.m_scriptPath = folder.Write(std::string(c.name) + ".INF", c.script);
        EXPECT_EQ(app.ReadAppTitle(), c.title) << c.name;
    }
}

TEST_F(SetupAppTest, ScriptAndIconDirectoryBesideTheProgram) {
    std::string program = app.ModulePath();
    std::string directory = program.substr(0, program.rfind('\\') + 1);
    std::string base = program.substr(directory.size());
    base = base.substr(0, base.rfind('.'));

    app.LocateScript();
    EXPECT_EQ(app.m_programDir, directory);
    EXPECT_EQ(app.m_scriptPath, directory + base + ".INF");
    EXPECT_EQ(app.m_iconDir, directory);

    // A script beside the program names its icon directory.
    std::string script = directory + base + ".INF";
    ::WritePrivateProfileStringA("Setup System", "ICON Directory", "ICONS", script.c_str());
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, script.c_str());  // flush the cache
    app.LocateScript();
    ::DeleteFileA(script.c_str());
    EXPECT_EQ(app.m_iconDir, directory + "ICONS\\");
}

TEST_F(SetupAppTest, CurrentApplication) {
    EXPECT_EQ(GetSetupApp(), &app);
}

}  // namespace
