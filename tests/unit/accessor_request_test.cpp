// Requests as they arrive: the AccessorRequest layout, what is refused before any command
// runs, exact names, the three magics and the control texts.
#include "commands.h"
#include "fake_system.h"
#include "protocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace accessor {
namespace {

using Bytes = std::vector<unsigned char>;

constexpr Value kForeground = 0x00010042;

Bytes Request(const std::string& name, const Bytes& block, std::uint16_t nameLength = 0) {
    return BuildRequest(name, block, nameLength);
}

// The shortest "GetForegroundWindow": nameLength 20, blockSize 4 at 22, the block at 26.
Bytes ShortestForeground() { return Request("GetForegroundWindow", MakeBlock({0})); }

TEST(AccessorRequest, ShortestForegroundLayoutIsThirtyBytes) {
    Bytes data = ShortestForeground();
    ASSERT_EQ(data.size(), 30u);
    const unsigned char header[] = {20, 0, 'G', 'e', 't', 'F', 'o', 'r', 'e', 'g', 'r', 'o', 'u', 'n', 'd',
                                    'W', 'i', 'n', 'd', 'o', 'w', 0, 4, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(data.data(), header, sizeof header));

    fake::System system;
    system.foreground = kForeground;
    const Served served = ServeRequest(system, ACCESSOR_MAGIC_DIRECT, data.data(), data.size());
    EXPECT_EQ(served.result, 1);
    EXPECT_TRUE(served.dispatched);
    EXPECT_EQ(served.size, 30u);
    EXPECT_EQ(LoadSlot(data.data() + 26), kForeground);
}

TEST(AccessorRequest, Layouts) {
    // A name field with bytes after its NUL; nameLength alone places the size field.
    Bytes padded = Request("GetForegroundWindow", MakeBlock({0}), 32);
    Bytes garbageAfterNul = padded;
    for (int i = 22; i < 34; ++i) garbageAfterNul[i] = 'x';
    Bytes noNul = Request("GetFocus", MakeBlock({0}), 8);
    Bytes emptyName = Request("", MakeBlock({0}), 9);
    Bytes zeroLengthName = Request("", MakeBlock({0}), 0);
    zeroLengthName[0] = 0;  // BuildRequest would count the NUL
    zeroLengthName.erase(zeroLengthName.begin() + 2);
    Bytes hugeBlock = ShortestForeground();
    StoreSlot(hugeBlock.data() + 22, 0xFFFFFFFF);
    Bytes hugeName = ShortestForeground();
    hugeName[0] = hugeName[1] = 0xFF;
    Bytes longer = ShortestForeground();
    longer.resize(64, 0xEE);
    Bytes emptyBlock = Request("GetForegroundWindow", Bytes{});

    struct Case {
        const char* name;
        Bytes data;
        bool parses;
        std::size_t blockOffset, size;
    };
    const Case cases[] = {
        {"padded name field", padded, true, 38, 42},
        {"bytes after the NUL", garbageAfterNul, true, 38, 42},
        {"data longer than the request", longer, true, 26, 30},
        {"empty argument block", emptyBlock, true, 26, 26},
        {"name without NUL in its field", noNul, false, 0, 0},
        {"empty name", emptyName, false, 0, 0},
        {"zero-length name field", zeroLengthName, false, 0, 0},
        {"block larger than the data", hugeBlock, false, 0, 0},
        {"name field larger than the data", hugeName, false, 0, 0},
    };
    for (const Case& c : cases) {
        Bytes data = c.data;
        AccessorRequest request;
        ASSERT_EQ(ParseRequest(data.data(), data.size(), request), c.parses) << c.name;
        if (!c.parses) continue;
        EXPECT_EQ(request.block - data.data(), static_cast<std::ptrdiff_t>(c.blockOffset)) << c.name;
        EXPECT_EQ(request.size, c.size) << c.name;
        EXPECT_STREQ(request.name, "GetForegroundWindow") << c.name;
    }
    // A command never runs on a block shorter than its arguments, the empty one included.
    fake::System system;
    EXPECT_EQ(ServeRequest(system, ACCESSOR_MAGIC_DIRECT, emptyBlock.data(), emptyBlock.size()).result, 0);
}

// Every length short of the request's own is refused, and nothing beyond it is read (the
// sanitizer sees each copy at its exact size).
TEST(AccessorRequest, ShortDataIsRefused) {
    const Bytes whole = ShortestForeground();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        Bytes data(whole.begin(), whole.begin() + size);
        fake::System system;
        const Served served = ServeRequest(system, ACCESSOR_MAGIC_DIRECT, data.empty() ? nullptr : data.data(), size);
        EXPECT_EQ(served.result, 0) << size;
        EXPECT_FALSE(served.dispatched) << size;
        EXPECT_EQ(system.TotalCalls(), 0) << size;
        EXPECT_EQ(data, Bytes(whole.begin(), whole.begin() + size)) << size;
    }
    AccessorRequest request;
    EXPECT_FALSE(ParseRequest(nullptr, 30, request));
}

TEST(AccessorRequest, UnknownMagicRunsNothing) {
    for (std::uint32_t magic : {0u, 0x73820000u, ACCESSOR_MAGIC_CONTROL, ACCESSOR_MAGIC_DIRECT + 1, 0xFFFFFFFFu}) {
        Bytes data = ShortestForeground();
        const Bytes before = data;
        fake::System system;
        system.foreground = kForeground;
        const Served served = ServeRequest(system, magic, data.data(), data.size());
        EXPECT_EQ(served.result, 0) << std::hex << magic;
        EXPECT_FALSE(served.dispatched) << std::hex << magic;
        EXPECT_EQ(system.TotalCalls(), 0) << std::hex << magic;
        EXPECT_EQ(data, before) << std::hex << magic;
    }
}

// An unknown name is dispatched (and answered) but runs nothing.
TEST(AccessorRequest, NamesMatchExactly) {
    const char* const wrong[] = {"getfocus", "GETFOCUS", "GetFocus ", "GetFocusX", "GetFocu", " GetFocus",
                                 "Get Focus", "getForegroundWindow", "MixerIsMute", "mixerismute"};
    for (const char* name : wrong) {
        for (std::uint32_t magic : {ACCESSOR_MAGIC_DIRECT, ACCESSOR_MAGIC_ATTACHED, ACCESSOR_MAGIC_FOCUS}) {
            Bytes data = Request(name, MakeBlock({0x11111111, 0x22222222, 0x33333333}));
            const Bytes before = data;
            fake::System system;
            const Served served = ServeRequest(system, magic, data.data(), data.size());
            EXPECT_EQ(served.result, 0) << name;
            EXPECT_EQ(system.TotalCalls(), 0) << name;
            EXPECT_EQ(data, before) << name;
        }
    }
}

// The same name in two sets is two commands; a name of one set is unknown in the others.
TEST(AccessorRequest, MagicPicksTheCommandSet) {
    struct Case {
        std::uint32_t magic;
        const char* name;
        int result;
        std::vector<std::string> log;
    };
    const std::vector<std::string> attachedFocus = {"GetForegroundWindow", "GetWindowThreadProcessId",
                                                    "GetCurrentThreadId",  "AttachThreadInput:attach",
                                                    "GetFocus",            "AttachThreadInput:detach"};
    const Case cases[] = {
        {ACCESSOR_MAGIC_DIRECT, "GetFocus", 1, {"GetFocus"}},
        {ACCESSOR_MAGIC_ATTACHED, "GetFocus", 1, attachedFocus},
        {ACCESSOR_MAGIC_FOCUS, "GetFocus", 0, {}},
        {ACCESSOR_MAGIC_FOCUS, "GetFocusOrActive", 1, attachedFocus},
        {ACCESSOR_MAGIC_DIRECT, "GetFocusOrActive", 0, {}},
        {ACCESSOR_MAGIC_ATTACHED, "GetFocusOrActive", 0, {}},
        {ACCESSOR_MAGIC_ATTACHED, "GetCurrentThreadId", 0, {}},
    };
    for (const Case& c : cases) {
        fake::System system;
        system.windows[0x100] = {0x20, 0x30};
        system.foreground = 0x100;
        system.focus[0x20] = 0x100;
        Bytes data = Request(c.name, MakeBlock({0}));
        EXPECT_EQ(ServeRequest(system, c.magic, data.data(), data.size()).result, c.result) << c.name;
        EXPECT_EQ(system.log, c.log) << c.name;
    }
}

TEST(AccessorRequest, QueryMessagesAnswerInTheirOrder) {
    EXPECT_EQ(QueryMagic(0x401), 0x73820478u);
    EXPECT_EQ(QueryMagic(0x402), 0x73827788u);
    EXPECT_EQ(QueryMagic(0x403), 0x73825408u);
    for (unsigned other : {0x400u, 0x404u, 0x464u, 0x4Au, 0u}) EXPECT_EQ(QueryMagic(other), 0u) << other;
}

TEST(AccessorControl, DestroyInAnyLetterCaseAndNothingElse) {
    struct Case {
        const char* text;
        bool destroys;
    };
    const Case cases[] = {
        {"Destroy", true},       {"destroy", true},   {"DESTROY", true},    {"dEsTrOy", true},
        {"Destroy now", false},  {" Destroy", false}, {"Destroy ", false},  {"Destro", false},
        {"Destroyy", false},     {"", false},         {"Destroy\t", false}, {"Dest\xD2oy", false},
        {"Destr\x8Fy", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsDestroyCommand(c.text), c.destroys) << '"' << c.text << '"';
    EXPECT_FALSE(IsDestroyCommand(nullptr));
}

TEST(AccessorControl, TextMustEndInsideTheData) {
    const unsigned char terminated[] = {'D', 'e', 's', 't', 'r', 'o', 'y', 0};
    EXPECT_STREQ(ControlText(terminated, sizeof terminated), "Destroy");
    EXPECT_EQ(ControlText(terminated, sizeof terminated - 1), nullptr);
    EXPECT_EQ(ControlText(terminated, 0), nullptr);
    EXPECT_EQ(ControlText(nullptr, 8), nullptr);
    const unsigned char empty[] = {0};
    EXPECT_STREQ(ControlText(empty, 1), "");
}

}  // namespace
}  // namespace accessor
