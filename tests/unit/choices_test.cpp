#include "engine/choices.h"
#include "fake_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setup {
namespace {

class Script : public SetupScript {
public:
    explicit Script(const std::string& text) { AppendScriptText(text.data(), text.size()); }
};

const std::string kQuestion = "[Dialog 2]\r\nTitle Name=Edition\r\nInfo Line 1=Which edition?\r\nInfo Line 2=Pick one.\r\n"
                              "Select Item 1=Home\r\nSelect Item 2=Office\r\nSelect Item 3=Studio\r\n";

TEST(SelectQuestions, RequiredKeysAndTexts) {
    std::optional<SelectQuestion> question = LoadSelectQuestion(Script(kQuestion), 2);
    ASSERT_TRUE(question);
    EXPECT_EQ(question->title, "Edition");
    EXPECT_EQ(question->info, "Which edition?\nPick one.");
    EXPECT_EQ(question->items, (std::vector<std::string>{"Home", "Office", "Studio"}));
    EXPECT_FALSE(LoadSelectQuestion(Script(kQuestion), 1)) << "no [Dialog 1]";
    for (const char* missing : {"Title Name", "Info Line 1", "Select Item 1"}) {
        std::string script = kQuestion;
        script.replace(script.find(missing), std::string(missing).size(), "Removed");
        EXPECT_FALSE(LoadSelectQuestion(Script(script), 2)) << missing;
    }
}

TEST(SelectQuestions, ValuesAndFirstSelection) {
    struct Case {
        const char* keys;
        int firstPosition;
        int chosen;
        const char* value;
    };
    const Case cases[] = {
        {"DefSelect=3\r\n", 2, 2, "Studio"},
        {"DefSelect=4\r\n", 0, 1, "Office"},
        {"DefSelect=0\r\n", 0, 0, "Home"},
        {"WriteValueType=integer\r\nBaseValue=10\r\n", 0, 2, "12"},
        {"WriteValueType=Integer\r\n", 0, 2, "2"},
        {"WriteValueType=Text\r\nBaseValue=10\r\n", 0, 2, "Studio"},
    };
    for (const Case& c : cases) {
        std::optional<SelectQuestion> question = LoadSelectQuestion(Script(kQuestion + c.keys), 2);
        ASSERT_TRUE(question) << c.keys;
        EXPECT_EQ(question->firstPosition, c.firstPosition) << c.keys;
        EXPECT_EQ(SelectionValue(*question, c.chosen), c.value) << c.keys;
    }
    std::optional<SelectQuestion> long_item =
        LoadSelectQuestion(Script(kQuestion + "Select Item 4=" + std::string(120, 'v') + "\r\n"), 2);
    EXPECT_EQ(SelectionValue(*long_item, 3), std::string(99, 'v')) << "values are cut to 99 characters";
}

TEST(SelectQuestions, GrowthAndIconFiles) {
    const Rect text{16, 14, 258, 31};  // 17 pixels high
    EXPECT_EQ(TextGrowth(text, TextRows{1, 13}), 0);
    EXPECT_EQ(TextGrowth(text, TextRows{3, 13}), 14 + 39 - 31);
    EXPECT_EQ(AnimationIconFile("C:\\ICONS\\DISK", 2), "C:\\ICONS\\DISK2.ICO");
    EXPECT_EQ(AnimationIconFile(std::string(250, 'p'), 1).size(), 255u);
    EXPECT_EQ(AnimationIconFile(std::string(251, 'p'), 1), "");
}

TEST(PortQuestion, ListAndPreselection) {
    const std::string needed = "[ComPort]\r\nFile 1=PORT.INI:0\r\nItem 1.1=Remote,Port\r\n";
    EXPECT_FALSE(LoadPortQuestion(Script("[ComPort]\r\nFile 1=PORT.INI:0\r\n")));
    EXPECT_FALSE(LoadPortQuestion(Script("[ComPort]\r\nItem 1.1=Remote,Port\r\n")));
    struct Case {
        const char* keys;
        std::size_t ports;
        int preselected;
        int recordedForCom3;
    };
    const Case cases[] = {
        {"", 4, 1, 3},
        {"BaseValue=0\r\nDefComPort=2\r\n", 4, 2, 2},
        {"MaxComPort=12\r\nDefComPort=10\r\n", 12, 9, 3},
        {"DefComPort=4\r\n", 4, 3, 3},   // the last port of the list
        {"DefComPort=5\r\n", 4, 0, 3},   // one past the list: the first entry
        {"DefComPort=9\r\n", 4, 0, 3},
        {"DefComPort=0\r\n", 4, 0, 3},
    };
    for (const Case& c : cases) {
        std::optional<PortQuestion> question = LoadPortQuestion(Script(needed + c.keys));
        ASSERT_TRUE(question) << c.keys;
        std::vector<std::string> names = PortNames(*question);
        ASSERT_EQ(names.size(), c.ports) << c.keys;
        EXPECT_EQ(names[2], "COM3");
        if (c.ports > 10) {
            EXPECT_EQ(names[9], "COM10") << "port order, not text order";
        }
        EXPECT_EQ(PortPreselection(*question), c.preselected) << c.keys;
        EXPECT_EQ(question->baseValue + 2, c.recordedForCom3) << c.keys;
    }
}

TEST(ResultWriters, PortSelectionsAndVersions) {
    FakeMachine engine(
        "[ComPort]\r\nFile 1=SETTINGS.INI:0\r\nItem 1.1=Remote,Port\r\nItem 1.2= Remote , Again \r\n"
        "File 2=WIN.INI:@\r\nItem 2.1=Acme\r\nItem 2.2=Acme,Lost\r\nFile 4=LOST.INI:0\r\nItem 4.1=A,B\r\n"
        "[Dialog 1]\r\nFile 1=FIRST.INI:0\r\nItem 1.1=Choice,Edition\r\n"
        "[Dialog 2]\r\nFile 1=BAD.INI:9\r\nItem 1.1=X,Y\r\n"
        "[Dialog 3]\r\nFile 1=THIRD.INI:0\r\nItem 1.1=Choice,Never\r\n"
        "[Version]\r\nFile 1=ACME.INI:0\r\nItem 1.1=Version,Major,2\r\nItem 1.2=Version,Minor\r\nItem 1.3=V,Late,3\r\n"
        "File 2=OTHER.INI\r\nItem 2.1=Build,Number,  41 \r\n");
    engine.SetInstallDir("C:\\ACME\\");
    engine.WriteComPortResults(-1);  // 65535 as a 16-bit value
    engine.AddSelection(2, "Office");
    engine.AddSelection(1, "12");
    engine.WriteDialogResults();
    engine.WriteVersionEntries();
    EXPECT_EQ(engine.profileWrites, (std::vector<std::string>{
                                        "C:\\ACME\\SETTINGS.INI|Remote|Port=65535",
                                        "C:\\ACME\\SETTINGS.INI|Remote|Again=65535",
                                        "C:\\ACME\\FIRST.INI|Choice|Edition=Office",
                                        "C:\\ACME\\ACME.INI|Version|Major=2",
                                        "C:\\ACME\\OTHER.INI|Build|Number=41",
                                    }));
}

TEST(ResultWriters, NothingWithoutSelections) {
    FakeMachine engine("[Dialog 1]\r\nFile 1=FIRST.INI:0\r\nItem 1.1=Choice,Edition\r\n");
    engine.WriteDialogResults();
    EXPECT_TRUE(engine.profileWrites.empty());
}

}  // namespace
}  // namespace setup
