#include "options_text.h"
#include "unattended/options.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

TEST(CommandLine, SwitchesAndValues) {
    struct Case {
        const char* line;
        const char* described;  // what was read, as Described gives it
    };
    const Case cases[] = {
        {"", ""},
        {"   ", ""},
        {"/QUIET", "/QUIET"},
        {"-quiet /norestart", "/QUIET /NORESTART"},
        {"/Log=C:\\SETUP.LOG /dir=D:\\APPS\\ACME", "/LOG=C:\\SETUP.LOG /DIR=D:\\APPS\\ACME"},
        {"\"/ANSWERS=C:\\My Answers\\A.INI\" /RECORD=\"C:\\with space\\R.INI\"",
         "/ANSWERS=\"C:\\My Answers\\A.INI\" /RECORD=\"C:\\with space\\R.INI\""},
        {"/DIR=\"C:\\ACME\\\"", "/DIR=C:\\ACME\\"},  // a quote after a backslash still ends the value
        {"/?", "/?"},
        {"\t/QUIET\t/LOG=L.TXT ", "/QUIET /LOG=L.TXT"},
        {"/uninstall=BRIGHTLF.UNR -Quiet /NORESTART", "/QUIET /UNINSTALL=BRIGHTLF.UNR /NORESTART"},
    };
    for (const Case& c : cases) {
        const ParsedOptions parsed = ParseCommandLine(c.line);
        EXPECT_EQ(parsed.error, "") << c.line;
        EXPECT_EQ(Described(parsed.options), c.described) << c.line;
        EXPECT_EQ(parsed.options.Any(), *c.described != '\0') << c.line;
    }
}

TEST(CommandLine, EveryWrongLineIsRefusedWithItsReason) {
    struct Case {
        const char* line;
        const char* error;
        bool quiet;  // how the error is to be reported
    };
    const Case cases[] = {
        {"/QUITE", "/QUITE is not a switch of this installer (did you mean /QUIET?)", false},
        {"/QUIET /LGO=X", "/LGO is not a switch of this installer (did you mean /LOG?)", true},
        {"/SILENT", "/SILENT is not a switch of this installer", false},
        {"/LOG", "/LOG needs a value: /LOG=FILE", false},
        {"/DIR=", "/DIR needs a value: /DIR=PATH", false},
        {"/ANSWERS=\"\"", "/ANSWERS needs a value: /ANSWERS=FILE", false},
        {"/QUIET=YES", "/QUIET takes no value", true},
        {"/NORESTART=1 -quiet", "/NORESTART takes no value", true},
        {"/LOG=A /LOG=B", "/LOG is given twice", false},
        {"/quiet /QUIET", "/QUIET is given twice", true},
        {"C:\\APPS", "\"C:\\APPS\" is not a switch: switches start with / or -", false},
        {"/", "/ is not a switch of this installer", false},
        {"/UNINSTALL", "/UNINSTALL needs a value: /UNINSTALL=RECORD", false},
        {"/UNINSTAL=A.UNR", "/UNINSTAL is not a switch of this installer (did you mean /UNINSTALL?)", false},
        {"/QUIET /UNINSTALL=A.UNR /DIR=C:\\X", "/DIR is not used with /UNINSTALL", true},
        {"/ANSWERS=A.INI /UNINSTALL=A.UNR", "/ANSWERS is not used with /UNINSTALL", false},
    };
    for (const Case& c : cases) {
        const ParsedOptions parsed = ParseCommandLine(c.line);
        EXPECT_EQ(parsed.error, c.error) << c.line;
        EXPECT_EQ(parsed.options.quiet, c.quiet) << c.line;
    }
    const ParsedOptions longValue = ParseCommandLine("/LOG=C:\\" + std::string(260, 'x'));
    EXPECT_EQ(longValue.error, "the value of /LOG is longer than 255 characters");
}

// A value of exactly 255 characters is taken and one of 256 refused (quotes are no part of
// it); /UNINSTALL with each switch it takes and each it refuses, one at a time.
TEST(CommandLine, LimitsAndTheSwitchesOfAnUninstallation) {
    const std::string longest(255, 'x'), tooLong(256, 'x');
    const struct {
        std::string line;
        std::string result;  // the options as read, or the error
    } cases[] = {
        {"/LOG=" + longest, "/LOG=" + longest},
        {"/LOG=" + tooLong, "the value of /LOG is longer than 255 characters"},
        {"/DIR=\"" + longest + "\"", "/DIR=" + longest},
        {"/ANSWERS=" + tooLong, "the value of /ANSWERS is longer than 255 characters"},
        {"/UNINSTALL=" + longest, "/UNINSTALL=" + longest},
        {"/FINISH=" + tooLong, "/FINISH=" + tooLong},  // the helper's list is the installer's own
        {"/UNINSTALL=A.UNR /LOG=U.LOG", "/LOG=U.LOG /UNINSTALL=A.UNR"},
        {"/UNINSTALL=A.UNR /QUIET", "/QUIET /UNINSTALL=A.UNR"},
        {"/UNINSTALL=A.UNR /NORESTART", "/UNINSTALL=A.UNR /NORESTART"},
        {"/UNINSTALL=A.UNR /ANSWERS=A.INI", "/ANSWERS is not used with /UNINSTALL"},
        {"/UNINSTALL=A.UNR /RECORD=R.INI", "/RECORD is not used with /UNINSTALL"},
        {"/DIR=C:\\X /UNINSTALL=A.UNR", "/DIR is not used with /UNINSTALL"},
        {"/UNINSTALL=A.UNR /?", "/? is not used with /UNINSTALL"},
        {"/UNINSTALL=A.UNR /FINISH=1|A|B", "/FINISH is not used with /UNINSTALL"},
    };
    for (const auto& c : cases) {
        const ParsedOptions parsed = ParseCommandLine(c.line);
        EXPECT_EQ(parsed.error.empty() ? Described(parsed.options) : parsed.error, c.result) << c.line;
    }
}

TEST(CommandLine, ArgumentsFollowTheProgramName) {
    EXPECT_EQ(ArgumentsOf("C:\\SETUP\\SETUP.EXE /QUIET"), "/QUIET");
    EXPECT_EQ(ArgumentsOf("\"C:\\Program Files\\SETUP.EXE\"  /LOG=\"a b\""), "/LOG=\"a b\"");
    EXPECT_EQ(ArgumentsOf("SETUP.EXE"), "");
    EXPECT_EQ(ArgumentsOf("\"C:\\A B\\SETUP.EXE\" "), "");
    EXPECT_EQ(ArgumentsOf(""), "");
}

}  // namespace
}  // namespace setup
