#include "script/script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setup {
namespace {

class TestScript : public SetupScript {
public:
    explicit TestScript(const std::string& text) { AppendScriptText(text.data(), text.size()); }
    const std::vector<std::string>& Lines() const { return m_scriptLines; }
};

std::string Get(const TestScript& script, const char* section, const char* key,
                const char* defaultValue = nullptr, std::size_t size = 256, int* result = nullptr) {
    std::vector<char> buffer(size + 1, 'X');
    int count = script.GetScriptString(section, key, defaultValue, buffer.data(), size);
    if (result) *result = count;
    EXPECT_EQ(buffer[size], 'X') << "wrote past the buffer";
    return size ? std::string(buffer.data()) : std::string();
}

struct SplitCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(ScriptSplit, LinesAsStored) {
    const std::vector<SplitCase> cases = {
        {"CR LF ends, final empty line", "[A]\r\nk=v\r\n", {"[A]", "k=v", ""}},
        {"no end on the last line", "[A]\r\nk=v", {"[A]", "k=v"}},
        {"bare LF keeps the last character", "[A]\nk=v\n", {"[A]", "k=v", ""}},
        {"one-character line with bare LF", "x\ny", {"x", "y"}},
        {"empty CR LF line stores nothing", "a\r\n\r\nb", {"a", "b"}},
        {"empty LF line stores nothing", "a\n\nb", {"a", "b"}},
        {"only CR LF", "\r\n", {""}},
        {"final CR stays", "abc\r", {"abc\r"}},
        {"CR inside a line stays", "a\rb\r\n", {"a\rb", ""}},
        {"NUL ends the line's text", std::string("ab\0cd\r\nef", 9), {"ab", "ef"}},
        {"long line cut to 255", std::string(300, 'x') + "\r\nnext", {std::string(255, 'x'), "next"}},
        {"255 characters kept whole", std::string(255, 'y') + "\r\n", {std::string(255, 'y'), ""}},
        {"256 characters cut to 255", std::string(256, 'z') + "\r\nnext", {std::string(255, 'z'), "next"}},
    };
    for (const SplitCase& c : cases) {
        TestScript script(c.bytes);
        EXPECT_EQ(script.Lines(), c.lines) << c.name;
        EXPECT_EQ(script.LineCount(), static_cast<int>(c.lines.size())) << c.name;
    }
}

TEST(ScriptSplit, AppendsToWhatIsThere) {
    TestScript script("a\r\n");
    script.AppendScriptText("b", 1);
    EXPECT_EQ(script.Lines(), (std::vector<std::string>{"a", "", "b"}));
    script.ClearScript();
    EXPECT_EQ(script.LineCount(), 0);
    EXPECT_EQ(script.GetScriptLine(0), "");
}

TEST(ScriptLines, FileLineOfEachStoredLine) {
    TestScript script("[A]\r\n\r\n; remark\n\nk=v\r\nlast");
    const std::vector<int> expected = {1, 3, 5, 6};  // empty lines are not stored
    for (int i = 0; i < script.LineCount(); ++i) EXPECT_EQ(script.SourceLine(i), expected[static_cast<size_t>(i)]);
    EXPECT_EQ(script.SourceLine(4), 0);
}

TEST(ScriptLines, CopyByIndex) {
    TestScript script("one\r\ntwo");
    EXPECT_EQ(script.GetScriptLine(0), "one");
    EXPECT_EQ(script.GetScriptLine(1), "two");
    EXPECT_EQ(script.GetScriptLine(2), "");
    EXPECT_EQ(script.GetScriptLine(-1), "");
}

struct HeaderCase {
    const char* line;
    bool opens;  // opens the section "Initiation"
};

TEST(ScriptSections, HeaderForms) {
    const std::vector<HeaderCase> cases = {
        {"[Initiation]", true},
        {"[ Initiation ]", true},
        {"[  Initiation]", true},
        {"[initiation]", true},
        {"[INITIATION]", true},
        {"   [Initiation]", true},
        {"[Initiation] ; remark", true},
        {"[Initiation]trailing]", false},  // the name runs to the last "]"
        {"[Initiation", false},
        {"Initiation]", false},
        {"[\tInitiation]", false},  // a tab is part of the name
        {"[Init iation]", false},
        {"x[Initiation]", false},
    };
    for (const HeaderCase& c : cases) {
        TestScript script(std::string(c.line) + "\r\nkey=1\r\n");
        EXPECT_EQ(script.FindSection("Initiation"), c.opens) << c.line;
        EXPECT_EQ(script.GetScriptInt("Initiation", "key", 0), c.opens ? 1 : 0) << c.line;
    }
}

TEST(ScriptSections, HeaderNames) {
    EXPECT_EQ(SetupScript::HeaderName("[A]"), std::optional<std::string_view>("A"));
    EXPECT_EQ(SetupScript::HeaderName("[A ] x ]"), std::optional<std::string_view>("A ] x"));
    for (const char* line : {"[]", "[ ]", "[  ]", "[", "[A", "", "   ", "[ ]x"}) {
        EXPECT_FALSE(SetupScript::HeaderName(line).has_value()) << line;
    }
    EXPECT_EQ(SetupScript::HeaderName("[]]"), std::optional<std::string_view>("]"));
}

TEST(ScriptSections, HeaderLineIndexAndMisses) {
    TestScript script("; top\r\n[One]\r\na=1\r\n[Two]\r\nb=2\r\n");
    int index = -1;
    EXPECT_TRUE(script.FindSection("two", &index));
    EXPECT_EQ(index, 3);
    EXPECT_TRUE(script.FindSection("One"));
    EXPECT_FALSE(script.FindSection("Three"));
    EXPECT_FALSE(script.FindSection(""));
    EXPECT_FALSE(script.FindSection(nullptr));
}

TEST(ScriptSections, BodyEndsAtAnyBracketLine) {
    for (const char* separator : {"[", "[ ]", "[]", "  [junk", "[Other]"}) {
        TestScript script(std::string("[A]\r\nbefore=1\r\n") + separator + "\r\nafter=2\r\n");
        EXPECT_EQ(script.GetScriptInt("A", "before", 0), 1) << separator;
        EXPECT_EQ(script.GetScriptInt("A", "after", 0), 0) << separator;
    }
}

TEST(ScriptSections, FirstOfTwoSectionsWins) {
    TestScript script("[A]\r\nx=1\r\n[B]\r\n[a]\r\nx=2\r\ny=3\r\n");
    EXPECT_EQ(script.GetScriptInt("A", "x", 0), 1);
    EXPECT_EQ(script.GetScriptInt("A", "y", 0), 0);
}

TEST(ScriptKeys, KeyLineForms) {
    TestScript script(
        "early=0\r\n"
        "[Initiation]\r\n"
        "  Set DefDir  =  0\r\n"
        "Padded=value  \r\n"
        ";Commented=1\r\n"
        "  ; Also=1\r\n"
        "NoEquals\r\n"
        "Quoted=\"a;b\" ; c\r\n"
        "Twice=first\r\n"
        "twice=second\r\n"
        "Blank=   \r\n"
        "Empty=\r\n"
        "a=b=c\r\n"
        "Tab\t=x\r\n");
    struct Case {
        const char* key;
        const char* expected;  // null: absent
    };
    const std::vector<Case> cases = {
        {"Set DefDir", "0"},
        {"set defdir", "0"},
        {"Padded", "value  "},
        {"Commented", nullptr},
        {";Commented", nullptr},
        {"Also", nullptr},
        {"NoEquals", nullptr},
        {"Quoted", "\"a;b\" ; c"},
        {"TWICE", "first"},
        {"Blank", nullptr},
        {"Empty", nullptr},
        {"a", "b=c"},
        {"Tab\t", "x"},
        {"Tab", nullptr},
        {"early", nullptr},
    };
    for (const Case& c : cases) {
        int result = -1;
        std::string value = Get(script, "Initiation", c.key, nullptr, 256, &result);
        if (c.expected) {
            EXPECT_EQ(value, c.expected) << c.key;
            EXPECT_EQ(result, static_cast<int>(value.size()) + 1) << c.key;
        } else {
            EXPECT_EQ(result, 0) << c.key;
            EXPECT_EQ(value, "") << c.key;
        }
    }
}

TEST(ScriptKeys, FindKeyLineIndexAndBounds) {
    TestScript script("[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
    int line = -1;
    EXPECT_TRUE(script.FindKey("y", 1, &line));
    EXPECT_EQ(line, 2);
    EXPECT_FALSE(script.FindKey("x", 2));  // starts after x
    EXPECT_FALSE(script.FindKey("z", 1));  // stops at [B]
    EXPECT_TRUE(script.FindKey("z", 4));
    EXPECT_FALSE(script.FindKey("", 1));
    EXPECT_FALSE(script.FindKey(nullptr, 1));
    EXPECT_FALSE(script.FindKey("x", 99));
}

TEST(ScriptKeys, EqualsFirstOnTheLine) {
    // A line that starts with "=" has no key before its first "="; the value is taken
    // after the first "=" of the line.
    TestScript script("[A]\r\n=k=v\r\n");
    EXPECT_EQ(Get(script, "A", "=k"), "k=v");
    EXPECT_EQ(Get(script, "A", "="), "");
}

struct BufferCase {
    const char* name;
    std::string value;  // empty: the key is absent
    const char* defaultValue;
    std::size_t size;
    std::string stored;
    int result;
};

TEST(ScriptStrings, BufferCutsAndResults) {
    const std::string v25(25, 'v');
    const std::vector<BufferCase> cases = {
        {"value fits", "abc", nullptr, 20, "abc", 4},
        {"value of size - 2", std::string(18, 'a'), nullptr, 20, std::string(18, 'a'), 19},
        {"value of size - 1 fills the buffer", std::string(19, 'a'), nullptr, 20, std::string(19, 'a'), 19},
        {"25 characters into 20 bytes", v25, nullptr, 20, std::string(19, 'v'), 19},
        {"one-byte buffer", "abc", nullptr, 1, "", 0},
        {"zero-byte buffer", "abc", nullptr, 0, "", 0},
        {"value wins over default", "abc", "dflt", 20, "abc", 4},
        {"absent: default", "", "dflt", 20, "dflt", 5},
        {"absent: default fills buffer", "", "abcd", 5, "abcd", 5},
        {"absent: default cut", "", "abcdef", 5, "abcd", 5},
        {"absent: empty default", "", "", 20, "", 0},
        {"absent: no default", "", nullptr, 20, "", 0},
    };
    for (const BufferCase& c : cases) {
        TestScript script("[S]\r\n" + (c.value.empty() ? std::string() : "K=" + c.value) + "\r\n");
        int result = -1;
        std::string stored = Get(script, "S", "K", c.defaultValue, c.size, &result);
        EXPECT_EQ(stored, c.stored) << c.name;
        EXPECT_EQ(result, c.result) << c.name;
    }
}

TEST(ScriptStrings, MissingSectionOrKeyTakesDefault) {
    TestScript script("[S]\r\nK=v\r\n");
    EXPECT_EQ(Get(script, nullptr, "K", "d"), "d");
    EXPECT_EQ(Get(script, "", "K", "d"), "d");
    EXPECT_EQ(Get(script, "S", nullptr, "d"), "d");
    EXPECT_EQ(Get(script, "S", "", "d"), "d");
    EXPECT_EQ(Get(script, "T", "K", "d"), "d");
    EXPECT_EQ(script.GetScriptString("S", "K", "d", nullptr, 10), 0);
    EXPECT_EQ(script.GetScriptValue("S", "K", nullptr, 256), "v");
    EXPECT_EQ(script.GetScriptValue("S", "K", nullptr, 0), "");
}

TEST(ScriptStrings, CopyDefault) {
    char buffer[8] = "garbage";
    EXPECT_EQ(SetupScript::CopyDefault(nullptr, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(SetupScript::CopyDefault("abc", buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(SetupScript::CopyDefault("abcdefghij", buffer, sizeof buffer), 8);
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_EQ(SetupScript::CopyDefault("abc", nullptr, 8), 0);
}

struct IntCase {
    const char* value;
    int expected;  // with the default 77
};

TEST(ScriptIntegers, Values) {
    const std::vector<IntCase> cases = {
        {"12", 12},
        {"12 words", 12},
        {"12  ", 12},
        {"007", 7},
        {"0", 0},
        {"12abc", 77},
        {"-5", 77},
        {"+5", 77},
        {"0x1F", 77},
        {"1;2", 77},
        {"1.5", 77},
        {"\t3", 77},
        {"12345678901", 1234567890},  // only the first 10 characters count
        {"2147483647", 2147483647},
        {"4294967295", -1},  // beyond the format: wraps as 32-bit arithmetic
    };
    for (const IntCase& c : cases) {
        TestScript script(std::string("[S]\r\nN=") + c.value + "\r\n");
        EXPECT_EQ(script.GetScriptInt("S", "N", 77), c.expected) << c.value;
    }
    TestScript empty("[S]\r\nN=\r\n");
    EXPECT_EQ(empty.GetScriptInt("S", "N", 77), 77);
    EXPECT_EQ(empty.GetScriptInt("S", "Missing", -3), -3);
}

TEST(ScriptIntegers, Parse) {
    int value = 5;
    EXPECT_EQ(SetupScript::ParseScriptInt("   ", &value), 1);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(SetupScript::ParseScriptInt("  42 x", &value), 1);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(SetupScript::ParseScriptInt("", &value), 0);
    EXPECT_EQ(SetupScript::ParseScriptInt(nullptr, &value), 0);
    EXPECT_EQ(SetupScript::ParseScriptInt("1", nullptr), 0);
    EXPECT_EQ(SetupScript::ParseScriptInt("4x", &value), 0);
}

TEST(ScriptNames, CompareWithoutCaseInTheAnsiCodePage) {
    TestScript script("[Caf\xE9]\r\nStra\xDF" "e=1\r\n\xC9t\xE9=2\r\n");
    EXPECT_TRUE(script.FindSection("CAF\xC9"));
    EXPECT_EQ(script.GetScriptInt("caf\xE9", "STRA\xDF" "E", 0), 1);
    EXPECT_EQ(script.GetScriptInt("Caf\xE9", "\xE9t\xC9", 0), 2);
    EXPECT_FALSE(script.FindSection("Cafe"));
    // Signs are not letters, and a letter without a capital has no other case.
    const struct {
        const char* stored;
        const char* asked;
        bool found;
    } cases[] = {
        {"A\xF7", "A\xD7", false},  // the division and the multiplication sign
        {"A\xD7", "A\xF7", false},
        {"a\xF7", "A\xF7", true},
        {"\xFF", "\x9F", true},  // y with diaeresis, whose capital lies elsewhere
        {"\x9A\x9C\x9E", "\x8A\x8C\x8E", true},
        {"\xDF", "\xFF", false},  // sharp s
    };
    for (const auto& c : cases) {
        TestScript names(std::string("[") + c.stored + "]\r\n");
        EXPECT_EQ(names.FindSection(c.asked), c.found) << c.stored << " asked as " << c.asked;
    }
}

}  // namespace
}  // namespace setup
