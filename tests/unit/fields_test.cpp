#include "fake_engine.h"
#include "script/fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace setup {
namespace {

std::vector<std::string> Fields(const char* text, char separator, std::size_t size = 128) {
    std::vector<std::string> fields;
    int position = 0;
    std::vector<char> buffer(size);
    while (NextField(text, &position, separator, buffer.data(), size)) fields.push_back(buffer.data());
    return fields;
}

TEST(NextField, ListsEndAtTheFirstEmptyField) {
    EXPECT_EQ(Fields("A, B,, C", ','), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(Fields("  in ner  ,\tta\tbs\t,last", ','), (std::vector<std::string>{"in ner", "tabs", "last"}));
    EXPECT_EQ(Fields("one", ','), (std::vector<std::string>{"one"}));
    EXPECT_EQ(Fields("   ,x", ','), (std::vector<std::string>{}));
    EXPECT_EQ(Fields("", ','), (std::vector<std::string>{}));
    EXPECT_EQ(Fields("a:b:c", ':'), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(NextField, LongFieldsComeBackInPieces) {
    EXPECT_EQ(Fields("1234", ',', 4), (std::vector<std::string>{"123", "4"}));
    EXPECT_EQ(Fields("1234,56", ',', 4), (std::vector<std::string>{"123", "4", "56"}));
}

TEST(NextField, PositionAndBadArguments) {
    char buffer[16];
    int position = 0;
    EXPECT_EQ(NextField("a,,b", &position, ',', buffer, sizeof buffer), 1);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(NextField("a,,b", &position, ',', buffer, sizeof buffer), 0);
    EXPECT_EQ(position, 3);  // moved past the empty field's separator
    EXPECT_EQ(NextField("a,,b", &position, ',', buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "b");
    EXPECT_EQ(position, 4);
    EXPECT_EQ(NextField("a,,b", &position, ',', buffer, sizeof buffer), 0);
    EXPECT_EQ(NextField(nullptr, &position, ',', buffer, sizeof buffer), 0);
    EXPECT_EQ(NextField("a", nullptr, ',', buffer, sizeof buffer), 0);
    EXPECT_EQ(NextField("a", &position, ',', nullptr, sizeof buffer), 0);
    position = -1;
    EXPECT_EQ(NextField("a", &position, ',', buffer, sizeof buffer), 0);
}

struct RefCase {
    const char* reference;
    const char* defaultDir;
    int result;
    const char* path;
};

TEST(ResolvePathRef, Codes) {
    const RefCase cases[] = {
        {"SETUP.INI:0", nullptr, 1, "C:\\APP\\SETUP.INI"},
        {"SETUP.INI:00", nullptr, 1, "C:\\APP\\SETUP.INI"},
        {"SETUP.INI:01", nullptr, 1, "C:\\APP\\SETUP.INI"},
        {"WIN.INI:@", nullptr, 1, "C:\\WINDOWS\\WIN.INI"},
        {"ACME.DLL:#", nullptr, 1, "C:\\WINDOWS\\SYSTEM\\ACME.DLL"},
        {"DATA\\A.DAT:2", nullptr, 1, "C:\\APP\\DATA2\\DATA\\A.DAT"},
        {" spaced name : 0 ", nullptr, 1, "C:\\APP\\spaced name"},
        {"A.DAT:1:ignored", nullptr, 1, "C:\\APP\\SUB1\\A.DAT"},
        {"A.DAT:2X", nullptr, 0, "A.DAT:2X"},
        {"A.DAT:5", nullptr, 0, "A.DAT:5"},  // no "SubDir 5"
        {"A.DAT:X", nullptr, 0, "A.DAT:X"},
        {":0", nullptr, 0, ":0"},
        {"README.TXT", "D:\\DOCS", 1, "D:\\DOCS\\README.TXT"},
        {"README.TXT:  ", "D:\\DOCS\\", 1, "D:\\DOCS\\README.TXT"},
        {" README.TXT\t", nullptr, 1, " README.TXT\t"},  // unchanged without a default
    };
    for (const RefCase& c : cases) {
        FakeEngine engine("[Initiation]\r\nSubDir 1=SUB1\r\nSubDir 2=DATA2\r\n");
        engine.SetInstallDir("C:\\APP");
        char buffer[256];
        std::strcpy(buffer, c.reference);
        EXPECT_EQ(engine.ResolvePathRef(buffer, sizeof buffer, c.defaultDir), c.result) << c.reference;
        EXPECT_STREQ(buffer, c.path) << c.reference;
    }
}

TEST(ResolvePathRef, InstallDirectoryWithOrWithoutBackslash) {
    for (const char* directory : {"C:\\APP", "C:\\APP\\"}) {
        FakeEngine engine;
        engine.SetInstallDir(directory);
        char buffer[256] = "SETUP.INI:0";
        EXPECT_EQ(engine.ResolvePathRef(buffer, sizeof buffer, nullptr), 1);
        EXPECT_STREQ(buffer, "C:\\APP\\SETUP.INI");
    }
}

TEST(ResolvePathRef, PathThatWouldNotFitIsRefused) {
    FakeEngine engine;
    engine.SetInstallDir(("C:\\" + std::string(240, 'd') + "\\").c_str());
    char buffer[256] = "NAME-OF-FIFTEEN:0";  // 244 + 15 = 259 characters
    EXPECT_EQ(engine.ResolvePathRef(buffer, sizeof buffer, nullptr), 0);
    EXPECT_STREQ(buffer, "NAME-OF-FIFTEEN:0");
    std::strcpy(buffer, "TWELVE-CHARS:0");
    EXPECT_EQ(engine.ResolvePathRef(buffer, sizeof buffer, nullptr), 0);  // 256: no room for the NUL
    EXPECT_STREQ(buffer, "TWELVE-CHARS:0");
    std::strcpy(buffer, "ELEVEN-CHAR:0");
    EXPECT_EQ(engine.ResolvePathRef(buffer, sizeof buffer, nullptr), 1);  // 255 characters
    EXPECT_EQ(std::strlen(buffer), 255u);
    EXPECT_EQ(engine.ResolvePathRef(nullptr, 256, nullptr), 0);
}

}  // namespace
}  // namespace setup
