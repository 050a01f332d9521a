// The shipped programs' own run-time, under Wine: the C library functions against what the
// C standard gives for hand-worked inputs, the command-line split against the examples the
// platform documentation publishes, static constructors before main and the exit list and
// static destructors after it. No test framework: it would bring the toolchain's run-time.
#include "command_line.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Write(const std::string& text) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

struct Tally {
    int passed = 0, failed = 0;
    void Check(bool ok, const std::string& what) {
        ok ? ++passed : ++failed;
        if (!ok) Write("FAIL: " + what + "\n");
    }
};

// Static construction and destruction; the object lives as long as the program.
struct Witness {
    int value = 0;
    Witness() { value = 42; }
    ~Witness() { Write("static destructors ran\n"); }
};
Witness g_witness;

void OnExit() { Write("exit list ran\n"); }

void Numbers(Tally& t) {
    struct Case {
        const char* text;
        int base;
        unsigned long value;
        int consumed;
    };
    const Case unsignedCases[] = {
        {"123", 10, 123, 3},
        {"  -1", 10, 4294967295ul, 4},   // negated in unsigned arithmetic
        {"0x1A", 16, 26, 4},
        {"0x1A", 0, 26, 4},
        {"0x", 16, 0, 1},                // no hex digit after the prefix: "0" alone
        {"017", 0, 15, 3},               // octal by its leading 0
        {"4294967296", 10, 4294967295ul, 10},  // out of range: the largest value
        {"z", 36, 35, 1},
        {"abc", 10, 0, 0},               // no digits: nothing consumed
    };
    for (const Case& c : unsignedCases) {
        char* end = nullptr;
        const unsigned long value = std::strtoul(c.text, &end, c.base);
        t.Check(value == c.value && end - c.text == c.consumed, std::string("strtoul ") + c.text);
    }
    struct SignedCase {
        const char* text;
        long value;
    };
    const SignedCase signedCases[] = {
        {"-2147483648", -2147483647L - 1}, {"2147483648", 2147483647L}, {"-2147483649", -2147483647L - 1}, {"+7", 7},
    };
    for (const SignedCase& c : signedCases) t.Check(std::strtol(c.text, nullptr, 10) == c.value, std::string("strtol ") + c.text);
}

void Bytes(Tally& t) {
    char forward[] = "abcdef", backward[] = "abcdef";
    std::memmove(forward + 2, forward, 4);
    std::memmove(backward, backward + 2, 4);
    t.Check(std::string(forward) == "ababcd", "memmove onto a later place");
    t.Check(std::string(backward) == "cdefef", "memmove onto an earlier place");
    for (std::size_t size = 0; size < 10; ++size) {
        char from[10] = "012345678", to[11] = "__________";
        std::memcpy(to, from, size);
        t.Check(std::string(to) == std::string(from, size) + std::string(10 - size, '_'), "memcpy of " + std::to_string(size));
    }
    char filled[6] = "xxxxx";
    std::memset(filled + 1, 'y', 3);
    t.Check(std::string(filled) == "xyyyx", "memset");
    t.Check(std::memcmp("\x80", "\x01", 1) > 0 && std::strcmp("\x80", "\x01") > 0, "bytes compare unsigned");
    t.Check(std::strncmp("abc", "abd", 2) == 0 && std::strncmp("abc", "abd", 3) < 0, "strncmp");
    const char* text = "a/b/c";
    t.Check(std::strchr(text, '\0') == text + 5 && std::strrchr(text, '/') == text + 3, "strchr and strrchr");
    t.Check(std::strstr("hello", "ll") == std::strstr("hello", "l") && std::strstr("a", "") != nullptr, "strstr");
}

void Characters(Tally& t) {
    t.Check(std::toupper('a') == 'A' && std::toupper(0xE9) == 0xE9 && std::tolower('Z') == 'z', "case in the C locale");
    t.Check(std::isspace('\v') && !std::isspace(0xA0) && std::isxdigit('F') && !std::isxdigit('g'), "classes");
}

void Memory(Tally& t) {
    auto* zeroed = static_cast<unsigned char*>(std::calloc(100, 4));
    bool allZero = zeroed != nullptr;
    for (int i = 0; zeroed && i < 400; ++i) allZero = allZero && zeroed[i] == 0;
    t.Check(allZero, "calloc gives zeroed memory");
    auto* grown = static_cast<unsigned char*>(std::realloc(zeroed, 100000));
    t.Check(grown && grown[399] == 0, "realloc keeps the contents");
    std::free(grown);
    volatile std::size_t count = 0x10000, size = 0x10001;  // unknown to the compiler, as at run time
    t.Check(std::calloc(count, size) == nullptr, "calloc refuses a size that overflows");
}

void CommandLines(Tally& t) {
    using Strings = std::vector<std::string>;
    struct Case {
        const char* line;
        Strings arguments;
    };
    const Case cases[] = {
        {R"(P "a b c" d e)", {"P", "a b c", "d", "e"}},
        {R"(P "ab\"c" "\\" d)", {"P", "ab\"c", "\\", "d"}},
        {R"(P a\\\b d"e f"g h)", {"P", R"(a\\\b)", "de fg", "h"}},
        {R"(P a\\\"b c d)", {"P", R"(a\"b)", "c", "d"}},
        {R"(P a\\\\"b c" d e)", {"P", R"(a\\b c)", "d", "e"}},
        {R"(P a"b"" c d)", {"P", "ab\" c d"}},
        {R"("C:\Program Files\S.EXE"  /QUIET )", {R"(C:\Program Files\S.EXE)", "/QUIET"}},
    };
    for (const Case& c : cases) t.Check(fw::SplitCommandLine(c.line) == c.arguments, std::string("split ") + c.line);
    t.Check(std::string(fw::SkipProgramName(R"("C:\Program Files\S.EXE"   /QUIET)")) == "/QUIET", "WinMain's line");
    t.Check(std::string(fw::SkipProgramName("S.EXE")).empty(), "WinMain's line without arguments");
}

}  // namespace

int main(int, char**) {
    Tally t;
    t.Check(g_witness.value == 42, "static constructors ran before main");
    Numbers(t);
    Bytes(t);
    Characters(t);
    Memory(t);
    CommandLines(t);
    std::atexit(OnExit);
    Write(std::to_string(t.passed) + " passed, " + std::to_string(t.failed) + " failed\n");
    return t.failed ? 1 : 0;
}
