// The attached-input and focus-or-active command sets: what they read and set from the
// foreground thread's input, what each failing step leaves in the block, and the detach
// that follows every successful attach.
#include "commands.h"
#include "fake_system.h"
#include "protocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace accessor {
namespace {

using Bytes = std::vector<unsigned char>;

constexpr Value X = 0xA5A5A5A5;

// Window 0x100 of thread 0x20 is in the foreground and active there; its child 0x101 has
// that thread's focus; 0x102 is another window of the thread. The accessor's own thread
// (0x500) has an active window and a focus of its own, which a command that forgets to
// attach would read.
fake::System Desktop() {
    fake::System system;
    system.windows[0x100] = {0x20, 0x30};
    system.windows[0x101] = {0x20, 0x30};
    system.windows[0x102] = {0x20, 0x30};
    system.windows[0x200] = {0x500, 0x40};
    system.foreground = 0x100;
    system.active[0x20] = 0x100;
    system.focus[0x20] = 0x101;
    system.active[0x500] = 0x200;
    system.focus[0x500] = 0x200;
    return system;
}

int Dispatch(fake::System& system, std::uint32_t magic, const char* name, Bytes& block) {
    const std::uint32_t size = static_cast<std::uint32_t>(block.size());
    return magic == ACCESSOR_MAGIC_FOCUS ? DispatchFocusOrActive(system, name, size, block.data())
                                         : DispatchAttached(system, name, size, block.data());
}

int Count(const std::vector<std::string>& log, const std::string& entry) {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

struct Query {
    std::uint32_t magic;
    const char* name;
    Value window;  // what it reads on the desktop above
    const char* read;
};
const Query kQueries[] = {
    {ACCESSOR_MAGIC_ATTACHED, "GetActiveWindow", 0x100, "GetActiveWindow"},
    {ACCESSOR_MAGIC_ATTACHED, "GetFocus", 0x101, "GetFocus"},
    {ACCESSOR_MAGIC_FOCUS, "GetFocusOrActive", 0x101, "GetFocus"},
};

TEST(AttachedQueries, ReadTheForegroundThreadsInput) {
    for (const Query& q : kQueries) {
        fake::System system = Desktop();
        Bytes block = MakeBlock({X});
        EXPECT_EQ(Dispatch(system, q.magic, q.name, block), 1) << q.name;
        EXPECT_EQ(LoadSlot(block.data()), q.window) << q.name;
        const std::vector<std::string> expected = {"GetForegroundWindow", "GetWindowThreadProcessId",
                                                   "GetCurrentThreadId",  "AttachThreadInput:attach",
                                                   q.read,                "AttachThreadInput:detach"};
        EXPECT_EQ(system.log, expected) << q.name;
        EXPECT_TRUE(system.attachments.empty()) << q.name;
    }
}

// The accessor's thread is the one attached, to the foreground window's thread.
TEST(AttachedCommands, TheAccessorsThreadIsAttached) {
    const std::vector<std::tuple<Value, Value, Value>> expected = {{0x500, 0x20, 1}, {0x500, 0x20, 0}};
    fake::System query = Desktop();
    Bytes block = MakeBlock({X});
    ASSERT_EQ(DispatchAttached(query, "GetFocus", 4, block.data()), 1);
    EXPECT_EQ(query.attachCalls, expected);
    fake::System set = Desktop();
    block = MakeBlock({0x102, X});
    ASSERT_EQ(DispatchAttached(set, "SetFocus", 8, block.data()), 1);
    EXPECT_EQ(set.attachCalls, expected);
}

TEST(AttachedQueries, FocusOrActiveFallsBackToTheActiveWindow) {
    fake::System system = Desktop();
    system.focus[0x20] = 0;
    Bytes block = MakeBlock({X});
    EXPECT_EQ(DispatchFocusOrActive(system, "GetFocusOrActive", 4, block.data()), 1);
    EXPECT_EQ(LoadSlot(block.data()), 0x100u);
    EXPECT_EQ(Count(system.log, "GetActiveWindow"), 1);
}

// Each step fails in turn. The block holds what the command had written by then: +0 is
// cleared first and takes the window once it is read. The input is detached exactly when
// it was attached.
TEST(AttachedQueries, EachFailingStep) {
    struct Step {
        const char* description;
        void (*fail)(fake::System&);
        bool attached;
        bool read;
    };
    const Step steps[] = {
        {"no foreground window", [](fake::System& s) { s.foreground = 0; }, false, false},
        {"foreground window not read", [](fake::System& s) { s.Fail(fake::Call::GetForegroundWindow); }, false, false},
        {"no thread", [](fake::System& s) { s.Fail(fake::Call::GetWindowThreadProcessId); }, false, false},
        {"no own thread id", [](fake::System& s) { s.Fail(fake::Call::GetCurrentThreadId); }, false, false},
        {"attach fails", [](fake::System& s) { s.Fail(fake::Call::AttachThreadInput, 1); }, false, false},
        {"nothing to read",
         [](fake::System& s) {
             s.Fail(fake::Call::GetActiveWindow);
             s.Fail(fake::Call::GetFocus);
         },
         true, false},
        {"detach fails", [](fake::System& s) { s.Fail(fake::Call::AttachThreadInput, 2); }, true, true},
    };
    for (const Query& q : kQueries) {
        for (const Step& step : steps) {
            fake::System system = Desktop();
            step.fail(system);
            Bytes block = MakeBlock({X});
            EXPECT_EQ(Dispatch(system, q.magic, q.name, block), 0) << q.name << ": " << step.description;
            EXPECT_EQ(LoadSlot(block.data()), step.read ? q.window : 0u) << q.name << ": " << step.description;
            EXPECT_EQ(Count(system.log, "AttachThreadInput:detach"), step.attached ? 1 : 0)
                << q.name << ": " << step.description;
            const bool stillAttached = step.attached && step.read;  // the detach itself failed
            EXPECT_EQ(system.attachments.empty(), !stillAttached) << q.name << ": " << step.description;
        }
    }
}

struct Setter {
    const char* name;
    Value previous;  // of window 0x102's thread on the desktop above
    const char* set;
};
const Setter kSetters[] = {
    {"SetActiveWindow", 0x100, "SetActiveWindow"},
    {"SetFocus", 0x101, "SetFocus"},
};

TEST(AttachedSetters, ActFromTheWindowsOwnThread) {
    for (const Setter& s : kSetters) {
        fake::System system = Desktop();
        Bytes block = MakeBlock({0x102, X});
        EXPECT_EQ(DispatchAttached(system, s.name, 8, block.data()), 1) << s.name;
        EXPECT_EQ(LoadSlot(block.data() + 4), s.previous) << s.name;
        EXPECT_EQ(system.foreground, 0x102u) << s.name;
        const std::vector<std::string> expected = {"SetForegroundWindow", "GetWindowThreadProcessId",
                                                   "GetCurrentThreadId", "AttachThreadInput:attach", s.set,
                                                   "AttachThreadInput:detach"};
        EXPECT_EQ(system.log, expected) << s.name;
        EXPECT_TRUE(system.attachments.empty()) << s.name;
    }
    fake::System system = Desktop();
    Bytes block = MakeBlock({0x102, X});
    ASSERT_EQ(DispatchAttached(system, "SetActiveWindow", 8, block.data()), 1);
    EXPECT_EQ(system.active[0x20], 0x102u);
}

TEST(AttachedSetters, EachFailingStep) {
    struct Step {
        const char* description;
        void (*fail)(fake::System&);
        Value window;
        bool attached;
        bool written;
    };
    const Step steps[] = {
        {"not a window", [](fake::System&) {}, 0x999, false, false},
        {"not brought to the foreground", [](fake::System& s) { s.Fail(fake::Call::SetForegroundWindow); }, 0x102,
         false, false},
        {"no thread", [](fake::System& s) { s.Fail(fake::Call::GetWindowThreadProcessId); }, 0x102, false, false},
        {"no own thread id", [](fake::System& s) { s.Fail(fake::Call::GetCurrentThreadId); }, 0x102, false, false},
        {"attach fails", [](fake::System& s) { s.Fail(fake::Call::AttachThreadInput, 1); }, 0x102, false, false},
        {"detach fails", [](fake::System& s) { s.Fail(fake::Call::AttachThreadInput, 2); }, 0x102, true, true},
    };
    for (const Setter& s : kSetters) {
        for (const Step& step : steps) {
            fake::System system = Desktop();
            step.fail(system);
            Bytes block = MakeBlock({step.window, X});
            EXPECT_EQ(DispatchAttached(system, s.name, 8, block.data()), 0) << s.name << ": " << step.description;
            EXPECT_EQ(LoadSlot(block.data()), step.window) << s.name << ": " << step.description;
            EXPECT_EQ(LoadSlot(block.data() + 4), step.written ? s.previous : X) << s.name << ": " << step.description;
            EXPECT_EQ(Count(system.log, "AttachThreadInput:detach"), step.attached ? 1 : 0)
                << s.name << ": " << step.description;
        }
    }
}

TEST(AttachedCommands, BlockSizeMustBeTheCommands) {
    struct Command {
        std::uint32_t magic;
        const char* name;
        std::uint32_t blockSize;
    };
    const Command commands[] = {
        {ACCESSOR_MAGIC_ATTACHED, "GetActiveWindow", 4}, {ACCESSOR_MAGIC_ATTACHED, "SetActiveWindow", 8},
        {ACCESSOR_MAGIC_ATTACHED, "GetFocus", 4},        {ACCESSOR_MAGIC_ATTACHED, "SetFocus", 8},
        {ACCESSOR_MAGIC_FOCUS, "GetFocusOrActive", 4},
    };
    for (const Command& c : commands) {
        for (std::uint32_t size : {0u, 1u, 3u, 4u, 5u, 8u, 12u}) {
            if (size == c.blockSize) continue;
            fake::System system = Desktop();
            Bytes block(size + 1, 0xA5);
            const Bytes before = block;
            const int result = c.magic == ACCESSOR_MAGIC_FOCUS
                                   ? DispatchFocusOrActive(system, c.name, size, block.data())
                                   : DispatchAttached(system, c.name, size, block.data());
            EXPECT_EQ(result, 0) << c.name << " with " << size;
            EXPECT_EQ(block, before) << c.name << " with " << size;
            EXPECT_EQ(system.TotalCalls(), 0) << c.name << " with " << size;
        }
        fake::System system = Desktop();
        const int result = c.magic == ACCESSOR_MAGIC_FOCUS ? DispatchFocusOrActive(system, c.name, c.blockSize, nullptr)
                                                           : DispatchAttached(system, c.name, c.blockSize, nullptr);
        EXPECT_EQ(result, 0) << c.name << " without a block";
        EXPECT_EQ(system.TotalCalls(), 0) << c.name << " without a block";
    }
}

}  // namespace
}  // namespace accessor
