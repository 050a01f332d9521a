#include "fake_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setup {
namespace {

using Log = std::vector<std::string>;

const std::string kNamed = "[Initiation]\r\nInstall Name=Acme\r\n";

// The steps after the copy phase up to the closing decision, with nothing to add.
const Log kAfterCopy = {"CreateProgramGroups", "WriteIniSections", "AddStartupEntries",
                        "WriteDialogResults",  "WriteVersionEntries", "WriteRegisterSection",
                        "WriteUninstallEntry", "RunExecuteFile"};

Log Join(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Log kStart = {"FindPreviousVersion", "RunComPortDialog", "RunSelectDialogs", "CountCopyItems"};

TEST(Sequence, NoProductNameShowsNothing) {
    FakeEngine engine("[Initiation]\r\nRestart Windows=1\r\n");
    engine.RunSetup();
    EXPECT_TRUE(engine.log.empty());
}

TEST(Sequence, NothingToCopyGoesStraightToGroupsAndEnds) {
    FakeEngine engine(kNamed);
    engine.RunSetup();
    EXPECT_EQ(engine.log, Join({kStart, kAfterCopy, {"message:End Message"}}));
}

TEST(Sequence, PreviousVersion) {
    struct Case {
        const char* name;
        std::deque<int> answer;
        std::deque<bool> restart;
        Log expected;
    };
    const Case cases[] = {
        {"No ends", {result::kNo}, {}, {"FindPreviousVersion", "message:PrevVersion Message"}},
        {"restart refused ends",
         {result::kYes},
         {false},
         {"FindPreviousVersion", "message:PrevVersion Message", "RemoveStartupEntries", "RestartWindows",
          "message:Self Restart Error Message"}},
        {"restart accepted goes on",
         {result::kYes},
         {true},
         Join({{"FindPreviousVersion", "message:PrevVersion Message", "RemoveStartupEntries", "RestartWindows",
                "RunComPortDialog", "RunSelectDialogs", "CountCopyItems"},
               kAfterCopy,
               {"message:End Message"}})},
    };
    for (const Case& c : cases) {
        FakeEngine engine(kNamed);
        engine.results["FindPreviousVersion"] = {true};
        engine.answers["PrevVersion Message"] = c.answer;
        engine.results["RestartWindows"] = c.restart;
        engine.RunSetup();
        EXPECT_EQ(engine.log, c.expected) << c.name;
    }
}

TEST(Sequence, CancelledChoiceDialogsEnd) {
    for (const char* step : {"RunComPortDialog", "RunSelectDialogs"}) {
        FakeEngine engine(kNamed);
        engine.results[step] = {false};
        engine.RunSetup();
        EXPECT_EQ(engine.log.back(), step);
    }
}

TEST(Sequence, CopyPhaseWithDestinationDialog) {
    FakeEngine engine(kNamed);
    engine.copyEntries = 3;
    engine.SetInstallDir("D:\\ACME\\");
    engine.RunSetup();
    EXPECT_EQ(engine.log, Join({kStart,
                                {"RunSetDirDialog", "CheckDiskSpace 3", "CreateInstallDirectory D:\\ACME\\",
                                 "RunCopyDialog"},
                                kAfterCopy,
                                {"message:End Message"}}));
}

TEST(Sequence, WithoutDestinationDialogOnlyTheSpaceOfDriveC) {
    FakeEngine engine("[Initiation]\r\nInstall Name=Acme\r\nSet DefDir=0\r\n");
    engine.copyEntries = 1;
    engine.RunSetup();
    EXPECT_EQ(engine.log, Join({kStart, {"CheckDiskSpace 2", "RunCopyDialog"}, kAfterCopy, {"message:End Message"}}));
}

TEST(Sequence, CopyPhaseStops) {
    struct Case {
        const char* failing;
        Log tail;  // after kStart
    };
    const Case cases[] = {
        {"RunSetDirDialog", {"RunSetDirDialog"}},
        {"CheckDiskSpace", {"RunSetDirDialog", "CheckDiskSpace 2"}},
        {"RunCopyDialog", {"RunSetDirDialog", "CheckDiskSpace 2", "CreateInstallDirectory C:\\", "RunCopyDialog"}},
    };
    for (const Case& c : cases) {
        FakeEngine engine(kNamed);
        engine.copyEntries = 1;
        engine.results[c.failing] = {false};
        engine.RunSetup();
        EXPECT_EQ(engine.log, Join({kStart, c.tail})) << c.failing;
    }
}

TEST(Sequence, DirectoryLoopRepeatsWhileTheUserRetypes) {
    FakeEngine engine(kNamed);
    engine.copyEntries = 1;
    engine.results["CreateInstallDirectory"] = {false, false, true};
    engine.answers["Dir Message"] = {result::kYes, result::kYes};
    engine.RunSetup();
    const Log round = {"RunSetDirDialog", "CheckDiskSpace 2", "CreateInstallDirectory C:\\"};
    EXPECT_EQ(engine.log, Join({kStart, round, {"message:Dir Message"}, round, {"message:Dir Message"}, round,
                                {"RunCopyDialog"}, kAfterCopy, {"message:End Message"}}));

    FakeEngine refused(kNamed);
    refused.copyEntries = 1;
    refused.results["CreateInstallDirectory"] = {false};
    refused.answers["Dir Message"] = {result::kNo};
    refused.RunSetup();
    EXPECT_EQ(refused.log, Join({kStart, round, {"message:Dir Message"}}));
}

TEST(Sequence, GroupLoopRepeatsWhileTheUserRetries) {
    FakeEngine engine(kNamed);
    engine.results["CreateProgramGroups"] = {false, false, true};
    engine.answers["Dir Message"] = {result::kYes, result::kCancel};  // anything but No is yes
    engine.RunSetup();
    EXPECT_EQ(engine.log, Join({kStart,
                                {"CreateProgramGroups", "message:Dir Message", "CreateProgramGroups",
                                 "message:Dir Message"},
                                kAfterCopy,
                                {"message:End Message"}}));

    FakeEngine refused(kNamed);
    refused.results["CreateProgramGroups"] = {false};
    refused.answers["Dir Message"] = {result::kNo};
    refused.RunSetup();
    EXPECT_EQ(refused.log, Join({kStart, {"CreateProgramGroups", "message:Dir Message"}}));
}

TEST(Sequence, ChosenPortIsWritten) {
    FakeEngine engine(kNamed);
    engine.SetComPort(3);
    engine.RunSetup();
    Log expected = Join({kStart, kAfterCopy, {"message:End Message"}});
    expected.insert(expected.begin() + 7, "WriteComPortResults 3");  // after AddStartupEntries
    EXPECT_EQ(engine.log, expected);
}

TEST(Sequence, StartedProgramEndsWithoutClosingQuestion) {
    FakeEngine engine("[Initiation]\r\nInstall Name=Acme\r\nReBoot System=1\r\n");
    engine.results["RunExecuteFile"] = {true};
    engine.RunSetup();
    EXPECT_EQ(engine.log, Join({kStart, kAfterCopy}));
}

TEST(Sequence, ClosingDecision) {
    struct Case {
        const char* name;
        const char* flags;
        bool startupAdded;
        std::deque<int> answer;
        std::deque<bool> request;
        Log ending;
    };
    const Case cases[] = {
        {"reboot, Yes", "ReBoot System=1\r\nRestart Windows=1\r\n", true, {result::kYes}, {true},
         {"message:ReBoot Message", "Reboot"}},
        {"reboot refused", "ReBoot System=1\r\n", false, {result::kYes}, {false},
         {"message:ReBoot Message", "Reboot", "message:Reboot Error Message"}},
        {"reboot, No", "ReBoot System=1\r\n", false, {result::kNo}, {}, {"message:ReBoot Message"}},
        {"reboot, Escape is yes", "ReBoot System=1\r\n", false, {result::kCancel}, {true},
         {"message:ReBoot Message", "Reboot"}},
        {"nothing asked", "", false, {}, {}, {"message:End Message"}},
        {"restart asked", "Restart Windows=1\r\n", false, {result::kYes}, {true},
         {"message:Restart Message", "RestartWindows"}},
        {"restart refused", "Restart Windows=1\r\n", true, {result::kYes}, {false},
         {"message:Restart Message", "RestartWindows", "message:Restart Error Message"}},
        {"restart, No", "Restart Windows=1\r\n", false, {result::kNo}, {}, {"message:Restart Message"}},
        {"start-up programs added", "", true, {result::kYes}, {true}, {"message:Restart Message", "RestartWindows"}},
    };
    for (const Case& c : cases) {
        FakeEngine engine(kNamed + c.flags);
        engine.results["AddStartupEntries"] = {c.startupAdded};
        engine.answers["ReBoot Message"] = c.answer;
        engine.answers["Restart Message"] = c.answer;
        engine.results["Reboot"] = c.request;
        engine.results["RestartWindows"] = c.request;
        engine.RunSetup();
        EXPECT_EQ(engine.log, Join({kStart, kAfterCopy, c.ending})) << c.name;
    }
}

}  // namespace
}  // namespace setup
