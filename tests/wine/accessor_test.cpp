// OSTREL.EXE across processes: this program starts the accessor that lies beside it, talks
// to it through the client library and ends it by its process handle if "Destroy" does not.
#include "ostrel_client.h"

#include "handles.h"
#include "protocol.h"
#include "wait_idle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using accessor::ACCESSOR_MAGIC_ATTACHED;
using accessor::ACCESSOR_MAGIC_DIRECT;
using accessor::ACCESSOR_MAGIC_FOCUS;
using accessor::LoadSlot;
using accessor::MakeBlock;
using Bytes = std::vector<unsigned char>;
namespace client = accessor::client;

// The bound of every wait for the accessor: it only limits how long a failure takes to show.
constexpr DWORD kWaitMs = 60000;
constexpr std::uint32_t X = 0xA5A5A5A5;

std::string BesideThisProgram(const char* name) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

std::vector<std::uint32_t> Slots(const Bytes& block) {
    std::vector<std::uint32_t> slots;
    for (std::size_t offset = 0; offset + 4 <= block.size(); offset += 4) slots.push_back(LoadSlot(&block[offset]));
    return slots;
}

std::uint32_t Handle(HWND window) { return static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(window)); }

// One accessor for all tests of this program.
class AccessorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(client::FindAccessor(), nullptr) << "an accessor is already running on this desktop";
        std::string line = "\"" + BesideThisProgram("OSTREL.EXE") + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
            << "cannot start " << line;
        s_process.Reset(info.hProcess);
        fw::KernelHandle thread(info.hThread);
        s_processId = info.dwProcessId;
        s_accessor = client::WaitForAccessor(kWaitMs);
        ASSERT_NE(s_accessor, nullptr) << "the accessor's window did not come up";
    }

    // "Destroy" ends the accessor with exit code 0; if it does not, it is ended by its handle.
    static void TearDownTestSuite() {
        if (!s_process) return;
        if (s_accessor) client::SendCommandLine(s_accessor, "Destroy");
        if (::WaitForSingleObject(s_process.Get(), kWaitMs) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the accessor did not end on \"Destroy\"";
            ::TerminateProcess(s_process.Get(), 1);
            ::WaitForSingleObject(s_process.Get(), kWaitMs);
        } else {
            DWORD code = 1;
            ::GetExitCodeProcess(s_process.Get(), &code);
            EXPECT_EQ(code, 0u) << "the accessor's exit code";
        }
        s_process.Reset();
        s_accessor = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(s_accessor, nullptr);
        ASSERT_TRUE(m_client.Ready());
    }

    // The accessor runs and answers: a request after a test shows that nothing broke it.
    void TearDown() override {
        ASSERT_EQ(::WaitForSingleObject(s_process.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the accessor ended";
        EXPECT_EQ(static_cast<std::uint32_t>(client::Ask(s_accessor, accessor::kQueryDirect)), ACCESSOR_MAGIC_DIRECT);
    }

    // A request that must run and be answered by reply.
    Bytes Call(std::uint32_t magic, const char* name, Bytes block) {
        const client::Outcome outcome = m_client.Call(s_accessor, magic, name, block);
        EXPECT_TRUE(outcome.delivered) << name;
        EXPECT_EQ(outcome.result, 1) << name;
        EXPECT_TRUE(outcome.replied) << name;
        return block;
    }

    static fw::KernelHandle s_process;
    static DWORD s_processId;
    static HWND s_accessor;
    client::Client m_client;
};

fw::KernelHandle AccessorTest::s_process;
DWORD AccessorTest::s_processId = 0;
HWND AccessorTest::s_accessor = nullptr;

TEST_F(AccessorTest, QueryMessagesReturnTheMagicsInTheirOrder) {
    EXPECT_EQ(static_cast<std::uint32_t>(client::Ask(s_accessor, WM_USER + 1)), 0x73820478u);
    EXPECT_EQ(static_cast<std::uint32_t>(client::Ask(s_accessor, WM_USER + 2)), 0x73827788u);
    EXPECT_EQ(static_cast<std::uint32_t>(client::Ask(s_accessor, WM_USER + 3)), 0x73825408u);
    EXPECT_EQ(client::Ask(s_accessor, WM_USER + 4), 0);
}

TEST_F(AccessorTest, WindowAndThreadResultsComeBackByReply) {
    DWORD accessorProcess = 0;
    const DWORD accessorThread = ::GetWindowThreadProcessId(s_accessor, &accessorProcess);
    ASSERT_EQ(accessorProcess, s_processId);

    EXPECT_EQ(Slots(Call(ACCESSOR_MAGIC_DIRECT, "GetCurrentThreadId", MakeBlock({X}))),
              (std::vector<std::uint32_t>{accessorThread}));

    const HWND foreground = ::GetForegroundWindow();
    const Bytes got = Call(ACCESSOR_MAGIC_DIRECT, "GetForegroundWindow", MakeBlock({X}));
    if (::GetForegroundWindow() == foreground) {
        EXPECT_EQ(Slots(got)[0], Handle(foreground));
    }

    // The process id is asked for with a non-zero +4 and comes back in +4.
    EXPECT_EQ(Slots(Call(ACCESSOR_MAGIC_DIRECT, "GetWindowThreadProcessId", MakeBlock({Handle(s_accessor), 1, X}))),
              (std::vector<std::uint32_t>{Handle(s_accessor), s_processId, accessorThread}));
    HWND own = m_client.ReplyWindow();
    EXPECT_EQ(Slots(Call(ACCESSOR_MAGIC_DIRECT, "GetWindowThreadProcessId", MakeBlock({Handle(own), 0, X}))),
              (std::vector<std::uint32_t>{Handle(own), 0, ::GetCurrentThreadId()}));
}

// The root path and both buffers inside the block, laid out as 3 + 1 + 32 + 16 after the
// fixed part: 88 bytes. The accessor sees the same drive C as this program.
TEST_F(AccessorTest, VolumeInformationOfDriveC) {
    char volumeName[32] = {}, fileSystem[16] = {};
    DWORD serial = 0, length = 0, flags = 0;
    ASSERT_TRUE(::GetVolumeInformationA("C:\\", volumeName, sizeof volumeName, &serial, &length, &flags, fileSystem,
                                        sizeof fileSystem));
    Bytes block = MakeBlock({36, 40, 32, X, X, X, 72, 16, X});
    block.resize(88, '#');
    std::memcpy(&block[36], "C:\\", 4);
    block = Call(ACCESSOR_MAGIC_DIRECT, "GetVolumeInformation", block);
    const std::vector<std::uint32_t> slots = Slots(block);
    EXPECT_EQ(slots[8], 1u);
    EXPECT_EQ(slots[3], serial);
    EXPECT_EQ(slots[4], length);
    EXPECT_EQ(slots[5], flags);
    EXPECT_STREQ(reinterpret_cast<const char*>(&block[40]), volumeName);
    EXPECT_STREQ(reinterpret_cast<const char*>(&block[72]), fileSystem);
    EXPECT_GT(std::strlen(fileSystem), 0u);
}

// The speakers (slot 0) of the accessor's own mixer: the volume reads back within one
// step, the mute reads back as set; both are put back as they were.
TEST_F(AccessorTest, MixerCommandsOnTheSpeakers) {
    const std::vector<std::uint32_t> range = Slots(Call(ACCESSOR_MAGIC_DIRECT, "mixerGetMaximum", MakeBlock({0, X, X})));
    ASSERT_EQ(range[2], 1u) << "no speakers slot in the accessor's mixer";
    const std::uint32_t maximum = range[1];
    const std::vector<std::uint32_t> steps = Slots(Call(ACCESSOR_MAGIC_DIRECT, "mixerGetStep", MakeBlock({0, X, X})));
    ASSERT_EQ(steps[2], 1u);
    ASSERT_GT(steps[1], 0u);
    const std::uint32_t step = maximum / steps[1];

    const std::vector<std::uint32_t> saved = Slots(Call(ACCESSOR_MAGIC_DIRECT, "mixerGetVolume", MakeBlock({0, X, X, X})));
    ASSERT_EQ(saved[3], 1u);
    const std::vector<std::uint32_t> mute = Slots(Call(ACCESSOR_MAGIC_DIRECT, "mixerIsMute", MakeBlock({0, X, X})));
    ASSERT_EQ(mute[2], 1u);
    ASSERT_LE(mute[1], 1u);

    const std::uint32_t wanted = maximum / 3;
    EXPECT_EQ(Slots(Call(ACCESSOR_MAGIC_DIRECT, "mixerSetVolume", MakeBlock({0, wanted, wanted, X})))[3], 1u);
    const std::vector<std::uint32_t> now = Slots(Call(ACCESSOR_MAGIC_DIRECT, "mixerGetVolume", MakeBlock({0, X, X, X})));
    EXPECT_EQ(now[3], 1u);
    EXPECT_LE(std::abs(static_cast<int>(now[1]) - static_cast<int>(wanted)), static_cast<int>(step));

    for (std::uint32_t muted : {1u, 0u}) {
        EXPECT_EQ(Slots(Call(ACCESSOR_MAGIC_DIRECT, "mixerSetMute", MakeBlock({0, muted, X})))[2], 1u);
        EXPECT_EQ(Slots(Call(ACCESSOR_MAGIC_DIRECT, "mixerIsMute", MakeBlock({0, X, X}))),
                  (std::vector<std::uint32_t>{0, muted, 1}));
    }

    Call(ACCESSOR_MAGIC_DIRECT, "mixerSetVolume", MakeBlock({0, saved[1], saved[2], X}));
    Call(ACCESSOR_MAGIC_DIRECT, "mixerSetMute", MakeBlock({0, mute[1], X}));
}

// Requests that run are answered by reply, also when they fail (the request comes back as
// it was); refused ones, and requests without a reply window, are not.
TEST_F(AccessorTest, WhatIsAnsweredByReply) {
    const Bytes padded = accessor::BuildRequest("GetCurrentThreadId", MakeBlock({X}), 40);
    client::Outcome outcome = m_client.Send(s_accessor, ACCESSOR_MAGIC_DIRECT, padded.data(), padded.size(), true);
    EXPECT_EQ(outcome.result, 1);
    ASSERT_TRUE(outcome.replied);
    ASSERT_EQ(m_client.LastReply().size(), padded.size());
    EXPECT_EQ(LoadSlot(&m_client.LastReply()[46]), ::GetWindowThreadProcessId(s_accessor, nullptr));

    const Bytes unknown = accessor::BuildRequest("getcurrentthreadid", MakeBlock({X}));
    outcome = m_client.Send(s_accessor, ACCESSOR_MAGIC_DIRECT, unknown.data(), unknown.size(), true);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_TRUE(outcome.replied);
    EXPECT_EQ(m_client.LastReply(), unknown);

    const Bytes request = accessor::BuildRequest("GetCurrentThreadId", MakeBlock({X}));
    outcome = m_client.Send(s_accessor, ACCESSOR_MAGIC_DIRECT, request.data(), request.size(), false);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_FALSE(outcome.replied);

    outcome = m_client.Send(s_accessor, 0x73820000, request.data(), request.size(), true);
    EXPECT_TRUE(outcome.delivered);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_FALSE(outcome.replied);
}

// A sender that names the accessor's own window, or no window at all, in wParam gets its
// result and no reply; the accessor does not answer itself.
TEST_F(AccessorTest, NoReplyToTheAccessorItself) {
    for (WPARAM sender : {reinterpret_cast<WPARAM>(s_accessor), WPARAM{0x0BADF00D}}) {
        Bytes request = accessor::BuildRequest("GetCurrentThreadId", MakeBlock({X}));
        COPYDATASTRUCT copy{ACCESSOR_MAGIC_DIRECT, static_cast<DWORD>(request.size()), request.data()};
        DWORD_PTR result = 0;
        ASSERT_TRUE(::SendMessageTimeoutA(s_accessor, WM_COPYDATA, sender, reinterpret_cast<LPARAM>(&copy),
                                          SMTO_ABORTIFHUNG, kWaitMs, &result));
        EXPECT_EQ(result, 1u);
    }
    COPYDATASTRUCT empty{ACCESSOR_MAGIC_DIRECT, 0, nullptr};
    DWORD_PTR result = 1;
    ASSERT_TRUE(::SendMessageTimeoutA(s_accessor, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty), SMTO_ABORTIFHUNG,
                                      kWaitMs, &result));
    EXPECT_EQ(result, 0u);
}

// The control message carries an address of the sender's: from another program it is
// never read. A command line comes by WM_COPYDATA, and only with its NUL inside.
TEST_F(AccessorTest, ControlTextsFromOtherPrograms) {
    const char destroy[] = "Destroy";
    DWORD_PTR result = 0;
    ASSERT_TRUE(::SendMessageTimeoutA(s_accessor, accessor::WM_ACCESSOR_CONTROL, 0, reinterpret_cast<LPARAM>(destroy),
                                      SMTO_ABORTIFHUNG, kWaitMs, &result));
    ASSERT_TRUE(::SendMessageTimeoutA(s_accessor, accessor::WM_ACCESSOR_CONTROL, 0, 0x7FFE0000, SMTO_ABORTIFHUNG,
                                      kWaitMs, &result));
    COPYDATASTRUCT unterminated{accessor::ACCESSOR_MAGIC_CONTROL, 7, const_cast<char*>(destroy)};
    ASSERT_TRUE(::SendMessageTimeoutA(s_accessor, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&unterminated),
                                      SMTO_ABORTIFHUNG, kWaitMs, &result));
    EXPECT_EQ(result, 0u);
    EXPECT_TRUE(client::SendCommandLine(s_accessor, "Destroy later"));
    // Nothing of it closes the accessor: a query after the posted messages had their turn.
    ASSERT_TRUE(wine_test::WaitUntilIdle(s_accessor, kWaitMs));
    EXPECT_EQ(client::FindAccessor(), s_accessor);
}

// 10,000 malformed requests in a row, of every kind the parser refuses; each is refused
// without a reply and the accessor goes on serving.
TEST_F(AccessorTest, TenThousandMalformedRequests) {
    const Bytes good = accessor::BuildRequest("GetCurrentThreadId", MakeBlock({X}));
    std::uint32_t seed = 12345;
    auto next = [&seed]() { return seed = seed * 1103515245u + 12345u; };
    int refused = 0, replies = 0;
    for (int i = 0; i < 10000; ++i) {
        Bytes bad = good;
        std::uint32_t magic = ACCESSOR_MAGIC_DIRECT;
        switch (i % 6) {
        case 0:  // cut short
            bad.resize(next() % good.size());
            break;
        case 1:  // no NUL in the name field
            bad[2 + 18] = 'X';
            break;
        case 2:  // a block larger than the data
            accessor::StoreSlot(&bad[2 + 19], 4 + (next() | 1));
            break;
        case 3:  // a name field larger than the data
            bad[0] = static_cast<unsigned char>(next() | 0x80);
            bad[1] = static_cast<unsigned char>(next());
            break;
        case 4:  // empty name
            bad[2] = '\0';
            break;
        case 5:  // unknown magic
            magic = next() | 1;
            break;
        }
        const client::Outcome outcome = m_client.Send(s_accessor, magic, bad.data(), bad.size(), true, kWaitMs);
        if (outcome.delivered && outcome.result == 0) ++refused;
        if (outcome.replied) ++replies;
    }
    EXPECT_EQ(refused, 10000);
    EXPECT_EQ(replies, 0);
    EXPECT_EQ(Slots(Call(ACCESSOR_MAGIC_DIRECT, "GetCurrentThreadId", MakeBlock({X})))[0],
              ::GetWindowThreadProcessId(s_accessor, nullptr));
}

}  // namespace

namespace {

// A visible window of this program with an edit control, brought to the foreground, and a
// count of a registered message that reaches it.
class ForegroundWindow {
public:
    ForegroundWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "AccessorTestForeground";
        ::RegisterClassA(&windowClass);
        m_window.Reset(::CreateWindowExA(0, windowClass.lpszClassName, "Accessor test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                         100, 100, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr));
        m_edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, m_window.Get(), nullptr,
                                   windowClass.hInstance, nullptr);
        ::SetForegroundWindow(m_window.Get());
        ::SetFocus(m_edit);
        Pump();
    }
    static void Pump() {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    }
    HWND Window() const { return m_window.Get(); }
    HWND Edit() const { return m_edit; }

    static UINT s_message;
    static int s_received;
    static WPARAM s_wParam;
    static LPARAM s_lParam;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (s_message && message == s_message) {
            ++s_received;
            s_wParam = wParam;
            s_lParam = lParam;
            return 1;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }

    fw::OwnedWindow m_window;
    HWND m_edit = nullptr;
};

UINT ForegroundWindow::s_message = 0;
int ForegroundWindow::s_received = 0;
WPARAM ForegroundWindow::s_wParam = 0;
LPARAM ForegroundWindow::s_lParam = 0;

// The foreground thread's focus and active window, read and set from the accessor; the
// foreground window is still there afterwards.
TEST_F(AccessorTest, AttachedInputOfTheForegroundThread) {
    ForegroundWindow front;
    ASSERT_EQ(::GetForegroundWindow(), front.Window()) << "this program's window did not come to the foreground";
    ASSERT_EQ(::GetFocus(), front.Edit());
    EXPECT_EQ(Slots(Call(ACCESSOR_MAGIC_ATTACHED, "GetFocus", MakeBlock({X})))[0], Handle(front.Edit()));
    EXPECT_EQ(Slots(Call(ACCESSOR_MAGIC_ATTACHED, "GetActiveWindow", MakeBlock({X})))[0], Handle(front.Window()));
    EXPECT_EQ(Slots(Call(ACCESSOR_MAGIC_FOCUS, "GetFocusOrActive", MakeBlock({X})))[0], Handle(front.Edit()));
    // Without attaching, the accessor's own thread has no focus.
    EXPECT_EQ(Slots(Call(ACCESSOR_MAGIC_DIRECT, "GetFocus", MakeBlock({X})))[0], 0u);
    EXPECT_EQ(::GetForegroundWindow(), front.Window());
    EXPECT_EQ(Slots(Call(ACCESSOR_MAGIC_DIRECT, "GetForegroundWindow", MakeBlock({X})))[0], Handle(front.Window()));

    // Another window takes the foreground; the accessor brings this one back, active and
    // with the focus.
    fw::OwnedWindow other(::CreateWindowExA(0, "STATIC", "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 100,
                                            nullptr, nullptr, nullptr, nullptr));
    ::SetForegroundWindow(other.Get());
    ForegroundWindow::Pump();
    ASSERT_EQ(::GetForegroundWindow(), other.Get());
    Call(ACCESSOR_MAGIC_ATTACHED, "SetActiveWindow", MakeBlock({Handle(front.Window()), X}));
    ForegroundWindow::Pump();
    EXPECT_EQ(::GetForegroundWindow(), front.Window());
    EXPECT_EQ(::GetActiveWindow(), front.Window());
    ::SetFocus(front.Edit());
    ASSERT_EQ(::GetFocus(), front.Edit());
    const std::vector<std::uint32_t> focus =
        Slots(Call(ACCESSOR_MAGIC_ATTACHED, "SetFocus", MakeBlock({Handle(front.Window()), X})));
    EXPECT_EQ(focus[1], Handle(front.Edit()));
    EXPECT_EQ(::GetFocus(), front.Window());
}

// A registered message broadcast to the applications reaches this program's window with
// its parameters; the recipient flags come back in +4.
TEST_F(AccessorTest, BroadcastReachesThisProgram) {
    ForegroundWindow front;
    ForegroundWindow::s_message = ::RegisterWindowMessageA("AccessorTestBroadcast");
    ForegroundWindow::s_received = 0;
    const std::vector<std::uint32_t> slots = Slots(Call(
        ACCESSOR_MAGIC_DIRECT, "BroadcastSystemMessage", MakeBlock({0, BSM_APPLICATIONS, ForegroundWindow::s_message, 11, 22, X})));
    EXPECT_EQ(slots[1], static_cast<std::uint32_t>(BSM_APPLICATIONS));
    EXPECT_GT(static_cast<std::int32_t>(slots[5]), 0);
    EXPECT_EQ(ForegroundWindow::s_received, 1);
    EXPECT_EQ(ForegroundWindow::s_wParam, 11u);
    EXPECT_EQ(ForegroundWindow::s_lParam, 22);
    ForegroundWindow::s_message = 0;
}

// A client that answers every reply with a new request nests the requests on the
// accessor's stack. The accessor serves eight such levels and refuses the ninth, which
// ends the chain; it goes on serving afterwards.
class NestingClient {
public:
    NestingClient() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "AccessorTestNesting";
        ::RegisterClassA(&windowClass);
        m_window.Reset(::CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         windowClass.hInstance, nullptr));
    }
    // Sends the first request; every reply sends the next, up to kMostSends.
    LRESULT Start(HWND accessorWindow) {
        s_accessor = accessorWindow;
        s_replies = 0;
        s_results.clear();
        return Send(m_window.Get());
    }

    static constexpr int kMostSends = 50;
    static int s_replies;
    static std::vector<LRESULT> s_results;  // of the nested requests, in order

private:
    static LRESULT Send(HWND window) {
        Bytes request = accessor::BuildRequest("GetCurrentThreadId", MakeBlock({X}));
        COPYDATASTRUCT copy{ACCESSOR_MAGIC_DIRECT, static_cast<DWORD>(request.size()), request.data()};
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(s_accessor, WM_COPYDATA, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&copy),
                              SMTO_NORMAL, kWaitMs, &result);
        return static_cast<LRESULT>(result);
    }
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_COPYDATA) return ::DefWindowProcA(window, message, wParam, lParam);
        ++s_replies;
        if (static_cast<int>(s_results.size()) < kMostSends) {
            s_results.push_back(-1);
            const std::size_t at = s_results.size() - 1;
            s_results[at] = Send(window);
        }
        return 1;
    }

    static HWND s_accessor;
    fw::OwnedWindow m_window;
};

HWND NestingClient::s_accessor = nullptr;
int NestingClient::s_replies = 0;
std::vector<LRESULT> NestingClient::s_results;

TEST_F(AccessorTest, RepliesAnsweredWithRequestsNestOnlySoDeep) {
    NestingClient nesting;
    EXPECT_EQ(nesting.Start(s_accessor), 1);
    EXPECT_EQ(NestingClient::s_replies, 8);
    EXPECT_EQ(NestingClient::s_results, (std::vector<LRESULT>{1, 1, 1, 1, 1, 1, 1, 0}));
}

}  // namespace
