#include "fake_engine.h"

#include <gtest/gtest.h>

#include <string>

namespace setup {
namespace {

using TestEngine = FakeEngine;

TEST(ReadInitiation, InstallNameAndItsFallback) {
    struct Case {
        const char* name;
        const char* script;
        int result;
        const char* installName;
    };
    const Case cases[] = {
        {"install name", "[Initiation]\r\nInstall Name=Acme Tools\r\n[Background]\r\nProduct Name=Other\r\n", 1,
         "Acme Tools"},
        {"product name instead", "[Background]\r\nProduct Name=Acme Viewer\r\n", 1, "Acme Viewer"},
        {"blank install name counts as absent",
         "[Initiation]\r\nInstall Name=   \r\n[Background]\r\nProduct Name=Acme\r\n", 1, "Acme"},
        {"empty install name counts as absent", "[Initiation]\r\nInstall Name=\r\n", 0, ""},
        {"no name at all", "[Initiation]\r\nSet DefDir=0\r\n", 0, ""},
    };
    for (const Case& c : cases) {
        TestEngine engine(c.script);
        EXPECT_EQ(engine.ReadInitiation(), c.result) << c.name;
        EXPECT_EQ(engine.m_installName, c.installName) << c.name;
    }
}

TEST(ReadInitiation, OverlongLineKeepsWhatFitsIn255Characters) {
    TestEngine engine("[Initiation]\r\nInstall Name=" + std::string(250, 'n') + "\r\n");
    EXPECT_EQ(engine.ReadInitiation(), 1);
    EXPECT_EQ(engine.m_installName, std::string(255 - 13, 'n'));  // 13: "Install Name="
}

TEST(ReadInitiation, FlagsAreReadEvenWithoutAName) {
    TestEngine defaults("");
    EXPECT_EQ(defaults.ReadInitiation(), 0);
    EXPECT_EQ(defaults.m_setDefDir, 1);
    EXPECT_EQ(defaults.m_copyFromSubDir, 0);
    EXPECT_EQ(defaults.m_restartWindows, 0);
    EXPECT_EQ(defaults.m_rebootSystem, 0);

    TestEngine set(
        "[Initiation]\r\nSet DefDir=0\r\nCopy File From SubDir=1\r\nRestart Windows=1\r\nReBoot System=2\r\n");
    EXPECT_EQ(set.ReadInitiation(), 0);
    EXPECT_EQ(set.m_setDefDir, 0);
    EXPECT_EQ(set.m_copyFromSubDir, 1);
    EXPECT_EQ(set.m_restartWindows, 1);
    EXPECT_EQ(set.m_rebootSystem, 2);
}

TEST(SetupEngineState, InstallDirectory) {
    TestEngine engine("");
    EXPECT_EQ(engine.m_installDir, "C:\\");
    engine.SetInstallDir(nullptr);
    EXPECT_EQ(engine.m_installDir, "C:\\");
    engine.SetInstallDir("D:\\APPS\\ACME\\");
    EXPECT_EQ(engine.m_installDir, "D:\\APPS\\ACME\\");
    engine.SetInstallDir(std::string(300, 'd').c_str());
    EXPECT_EQ(engine.m_installDir, std::string(255, 'd'));
}

TEST(SetupEngineState, PortAndSelections) {
    TestEngine engine("");
    EXPECT_EQ(engine.m_comPortChosen, 0);
    engine.SetComPort(3);
    EXPECT_EQ(engine.m_comPortChosen, 1);
    EXPECT_EQ(engine.m_comPort, 3);

    EXPECT_EQ(engine.GetSelectionCount(), 0);
    engine.AddSelection(2, "B");
    engine.AddSelection(0, nullptr);
    EXPECT_EQ(engine.GetSelectionCount(), 2);
    EXPECT_EQ(engine.GetSelectionItem(0), 2);
    EXPECT_EQ(engine.GetSelectionItem(1), 0);
    EXPECT_EQ(engine.GetSelectionItem(2), 0);
    EXPECT_EQ(engine.GetSelectionItem(-1), 0);
}

}  // namespace
}  // namespace setup
