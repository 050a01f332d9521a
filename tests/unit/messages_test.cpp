#include "engine/messages.h"
#include "fake_engine.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace setup {
namespace {

struct MessageCase {
    const char* name;
    std::function<void(FakeEngine&)> show;
    ShownMessage expected;
};

TEST(Messages, DefaultTitlesTextsAndStyles) {
    const MessageCase cases[] = {
        {"previous version", [](FakeEngine& e) { e.AskPreviousVersion(); },
         {"Installation",
          "The Setup program found the previous Version of Acme\n\nThe Setup program will restart windows to "
          "continue.\n\nDo you wish to continue ?",
          "", "", "", "PrevVersion Message", 0x24}},
        {"reboot", [](FakeEngine& e) { e.AskReboot(); },
         {"End of Installation",
          "Acme installation complete.\n\nThe Setup program will reboot System\nso that the Acme can take "
          "effect.\n\nDo you wish to reboot System now ?",
          "", "", "", "ReBoot Message", 0x24}},
        {"restart", [](FakeEngine& e) { e.AskRestart(); },
         {"End of Installation",
          "Acme installation complete.\n\nThe Setup program will restart Windows\nso that the Acme can take "
          "effect.\n\nDo you wish to restart Windows now ?",
          "", "", "", "Restart Message", 0x24}},
        {"reboot failure", [](FakeEngine& e) { e.ReportRebootFailure(); },
         {"End of Installation", "Can't reboot System. \n\nYou need to reboot System then the Acme can take effect.",
          "", "", "", "Reboot Error Message", 0}},
        {"restart failure", [](FakeEngine& e) { e.ReportRestartFailure(); },
         {"End of Installation",
          "Can't restart Window. \n\nYou need to restart Window then the Acme can take effect.", "", "", "",
          "Restart Error Message", 0}},
        {"self restart failure", [](FakeEngine& e) { e.ReportSelfRestartFailure(); },
         {"End of Installation", "Can't restart Window. \n\nYou need to reboot system then run Setup program again !",
          "", "", "", "Self Restart Error Message", 0}},
        {"end", [](FakeEngine& e) { e.ShowEndMessage(); },
         {"End of Installation", "Acme installation is complete.", "", "", "", "End Message", 0}},
        {"stop", [](FakeEngine& e) { e.ConfirmStop(); },
         {"Terminate Installation",
          "Acme installation is not yet complete.\n\nAre you sure you want to exit installation ?", "", "", "",
          "Stop Message", 0x24}},
        {"low space above 2 GiB", [](FakeEngine& e) { e.ReportLowDiskSpace(3000000000u, 2500000000u, 3); },
         {"Installation Error",
          "Acme installation need 3000000000 bytes.\n\nThe D drive only have 2500000000 bytes of free "
          "space.\n\nInsufficient disk space !\n\nExit installation and increase available disk space.",
          "", "", "", "Space Message", 0x10}},
        {"retype directory", [](FakeEngine& e) { e.AskRetypeDirectory(); },
         {"Installation Error",
          "The directory of C:\\APP can not be created.\n\nDo you want to type the name of the directory again ?", "",
          "", "", "Dir Message", 0x24}},
        {"file not found", [](FakeEngine& e) { e.AskFileNotFound("A:\\README.TXT"); },
         {"Installation Error", "A:\\README.TXT can not be found !\n\nDo you want to try again ?", "Retry", "Ignore",
          "Exit", "File Lose Message", 0x32}},
        {"copy error", [](FakeEngine& e) { e.AskCopyError("README.TXT"); },
         {"Installation Error", "To copy the file ( README.TXT ) is error !\n\nDo you want to try again ?", "Retry",
          "Ignore", "Exit", "Copy Error Message", 0x32}},
        {"group retry", [](FakeEngine& e) { e.AskRetryGroup(); },
         {"Installation Error", "To create the group is error !!\n\nDo you want to try again ?", "", "", "",
          "Dir Message", 0x24}},
        {"disk change", [](FakeEngine& e) { e.PromptDiskChange(3); },
         {"Insert Disk", "Please change Disk-2 to Disk-3", "", "", "", "Disk Message", 0}},
    };
    for (const MessageCase& c : cases) {
        FakeEngine engine("[Initiation]\r\nInstall Name=Acme\r\n");
        engine.ReadInitiation();
        engine.SetInstallDir("C:\\APP\\");
        c.show(engine);
        ASSERT_EQ(engine.shown.size(), 1u) << c.name;
        const ShownMessage& shown = engine.shown[0];
        EXPECT_EQ(shown.title, c.expected.title) << c.name;
        EXPECT_EQ(shown.text, c.expected.text) << c.name;
        EXPECT_EQ(shown.section, c.expected.section) << c.name;
        EXPECT_EQ(shown.style, c.expected.style) << c.name;
        EXPECT_EQ(shown.caption1 + "|" + shown.caption2 + "|" + shown.caption3,
                  c.expected.caption1 + "|" + c.expected.caption2 + "|" + c.expected.caption3)
            << c.name;
    }
}

TEST(Messages, YesNoAnswers) {
    // Every answer but No is yes (Escape gives 2).
    const std::vector<std::function<bool(FakeEngine&)>> questions = {
        [](FakeEngine& e) { return e.AskPreviousVersion(); }, [](FakeEngine& e) { return e.AskReboot(); },
        [](FakeEngine& e) { return e.AskRestart(); },         [](FakeEngine& e) { return e.ConfirmStop(); },
        [](FakeEngine& e) { return e.AskRetypeDirectory(); }, [](FakeEngine& e) { return e.AskRetryGroup(); },
    };
    for (const auto& ask : questions) {
        for (int answer : {result::kYes, result::kNo, result::kCancel, result::kOk}) {
            FakeEngine engine;
            engine.defaultAnswer = answer;
            EXPECT_EQ(ask(engine), answer != result::kNo) << engine.shown[0].section << " " << answer;
        }
    }
}

TEST(Messages, FileQuestionsAnswerAsTheirCaptionsSay) {
    // The buttons, left to right, are "Retry", "Ignore", "Exit"; the dialog reports them
    // as abort, retry, ignore by place. Escape (2) and anything else is "Exit".
    struct Case {
        int button;
        int meaning;
    };
    for (Case c : {Case{result::kAbort, result::kRetry}, Case{result::kRetry, result::kIgnore},
                   Case{result::kIgnore, result::kAbort}, Case{result::kCancel, result::kAbort},
                   Case{result::kOk, result::kAbort}, Case{-1, result::kAbort}}) {
        FakeEngine engine;
        engine.defaultAnswer = c.button;
        EXPECT_EQ(engine.AskFileNotFound("X"), c.meaning) << c.button;
        EXPECT_EQ(engine.AskCopyError("X"), c.meaning) << c.button;
    }
}

class Script : public SetupScript {
public:
    explicit Script(const std::string& text) { AppendScriptText(text.data(), text.size()); }
};

TEST(ScriptMessages, OverrideRules) {
    struct Case {
        const char* name;
        std::string section;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"title and one line: no placeholder filled", "Title=Stop?\r\nLine 1=Really stop %s?\r\n", "Stop?",
         "Really stop %s?\n"},
        {"lines without a title have no effect", "Line 1=a\r\nLine 2=b\r\nLine 3=c\r\n", "Default title",
         "Default text"},
        {"empty title has no effect", "Title=\r\nLine 1=a\r\n", "Default title", "Default text"},
        {"NULL gives an empty line", "Title=T\r\nLine 1=first\r\nLine 2=null\r\nLine 3=third\r\n", "T",
         "first\n\nthird\n"},
        {"an empty line ends the text", "Title=T\r\nLine 1=first\r\nLine 2=\r\nLine 3=third\r\n", "T", "first\n"},
        {"a gap ends the text", "Title=T\r\nLine 1=first\r\nLine 3=third\r\n", "T", "first\n"},
        {"title only", "Title=T\r\n", "T", ""},
    };
    for (const Case& c : cases) {
        Script script("[Stop Message]\r\n" + c.section);
        ScriptMessage message = ComposeScriptMessage(script, "Stop Message", "Default title", "Default text");
        EXPECT_EQ(message.title, c.title) << c.name;
        EXPECT_EQ(message.text, c.text) << c.name;
    }
    EXPECT_EQ(ComposeScriptMessage(Script(""), "Stop Message", nullptr, nullptr).text, "");
}

TEST(ScriptMessages, LinesThatWouldOverflowTheTextAreDropped) {
    // Five lines of 201 characters (with their line ends) make 1005; the text holds 1023.
    for (const auto& [last, kept] : {std::pair{17, 1023u}, {18, 1005u}, {200, 1005u}}) {
        std::string section = "[M]\r\nTitle=T\r\n";
        for (int i = 1; i <= 5; ++i) section += "Line " + std::to_string(i) + "=" + std::string(200, 'x') + "\r\n";
        section += "Line 6=" + std::string(static_cast<std::size_t>(last), 'y') + "\r\n";
        ScriptMessage message = ComposeScriptMessage(Script(section), "M", nullptr, nullptr);
        EXPECT_EQ(message.text.size(), kept) << "a last line that would make the text " << 1005 + last + 1;
        EXPECT_EQ(message.text.back(), '\n');
    }
}

TEST(ScriptMessages, DefaultsAreCutToTheirBuffers) {
    ScriptMessage message =
        ComposeScriptMessage(Script(""), "M", std::string(300, 't').c_str(), std::string(2000, 'x').c_str());
    EXPECT_EQ(message.title.size(), 255u);
    EXPECT_EQ(message.text.size(), 1023u);
}

}  // namespace
}  // namespace setup
