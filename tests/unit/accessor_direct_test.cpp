// The direct command set: block sizes, the calls with their in and out slots, the
// pointer-like slots taken as values, "GetVolumeInformation" with its texts inside the
// block, and the mixer commands.
#include "commands.h"
#include "fake_system.h"
#include "protocol.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace accessor {
namespace {

using Bytes = std::vector<unsigned char>;

constexpr Value X = 0xA5A5A5A5;  // an out slot's value before the command

// The desktop of these tests: window 0x100 of another program (thread 0x20, process 0x30)
// in the foreground; windows 0x200 and 0x201 of the accessor's own thread, 0x200 active
// and 0x201 with the focus.
fake::System Desktop() {
    fake::System system;
    system.windows[0x100] = {0x20, 0x30};
    system.windows[0x200] = {0x500, 0x40};
    system.windows[0x201] = {0x500, 0x40};
    system.foreground = 0x100;
    system.active[0x500] = 0x200;
    system.focus[0x500] = 0x201;
    return system;
}

std::vector<Value> Slots(const Bytes& block) {
    std::vector<Value> slots;
    for (std::size_t offset = 0; offset + 4 <= block.size(); offset += 4) slots.push_back(LoadSlot(&block[offset]));
    return slots;
}

Bytes FromSlots(const std::vector<Value>& slots) {
    Bytes block(slots.size() * 4);
    for (std::size_t i = 0; i < slots.size(); ++i) StoreSlot(&block[i * 4], slots[i]);
    return block;
}

struct Size {
    const char* name;
    std::uint32_t blockSize;
};
// Names with their bytes (NUL included) and block sizes.
const Size kSizes[] = {
    {"GetForegroundWindow", 4}, {"SetForegroundWindow", 8}, {"GetActiveWindow", 4},
    {"SetActiveWindow", 8},     {"GetFocus", 4},            {"SetFocus", 8},
    {"GetWindowThreadProcessId", 12}, {"GetCurrentThreadId", 4}, {"AttachThreadInput", 16},
    {"SetSystemCursor", 12},    {"BroadcastSystemMessage", 24}, {"mixerSetVolume", 16},
    {"mixerGetVolume", 16},     {"mixerGetMaximum", 12},    {"mixerGetMinimum", 12},
    {"mixerGetStep", 12},       {"mixerSetMute", 12},       {"mixerIsMute", 12},
};

TEST(DirectCommands, BlockSizeMustBeTheCommands) {
    for (const Size& command : kSizes) {
        for (std::int64_t change : {0, -4, -1, 1, 4, 8}) {
            const std::int64_t size = command.blockSize + change;
            if (size < 0) continue;
            fake::System system = Desktop();
            // One byte more than the block, so that even an empty block has an address.
            Bytes block(static_cast<std::size_t>(size) + 1, 0xA5);
            const Bytes before = block;
            const int result = DispatchDirect(system, command.name, static_cast<std::uint32_t>(size), block.data());
            if (change == 0) {
                EXPECT_EQ(result, 1) << command.name;
                continue;
            }
            EXPECT_EQ(result, 0) << command.name << " with " << size;
            EXPECT_EQ(system.TotalCalls(), 0) << command.name << " with " << size;
            EXPECT_EQ(block, before) << command.name << " with " << size;
        }
        fake::System system = Desktop();
        EXPECT_EQ(DispatchDirect(system, command.name, command.blockSize, nullptr), 0) << command.name;
        EXPECT_EQ(system.TotalCalls(), 0) << command.name;
    }
}

TEST(DirectCommands, CallsAndSlots) {
    struct Case {
        const char* description;
        const char* name;
        std::vector<Value> in;
        std::vector<Value> out;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"foreground", "GetForegroundWindow", {X}, {0x100}, {"GetForegroundWindow"}},
        {"to the foreground", "SetForegroundWindow", {0x200, X}, {0x200, 1}, {"SetForegroundWindow"}},
        {"no window to the foreground", "SetForegroundWindow", {0x999, X}, {0x999, 0}, {"SetForegroundWindow"}},
        {"own active window", "GetActiveWindow", {X}, {0x200}, {"GetActiveWindow"}},
        {"activate own window", "SetActiveWindow", {0x201, X}, {0x201, 0x200}, {"SetActiveWindow"}},
        {"another thread's window is not activated without attaching", "SetActiveWindow", {0x100, X},
         {0x100, 0}, {"SetActiveWindow"}},
        {"own focus", "GetFocus", {X}, {0x201}, {"GetFocus"}},
        {"focus to own window", "SetFocus", {0x200, X}, {0x200, 0x201}, {"SetFocus"}},
        {"thread only", "GetWindowThreadProcessId", {0x100, 0, X}, {0x100, 0, 0x20}, {"GetWindowThreadProcessId"}},
        {"thread and process", "GetWindowThreadProcessId", {0x100, 1, X}, {0x100, 0x30, 0x20},
         {"GetWindowThreadProcessId+process"}},
        {"a client's address asks for the process id", "GetWindowThreadProcessId", {0x100, 0x0012FF40, X},
         {0x100, 0x30, 0x20}, {"GetWindowThreadProcessId+process"}},
        {"no window: no thread, no process", "GetWindowThreadProcessId", {0x999, 1, X}, {0x999, 0, 0},
         {"GetWindowThreadProcessId+process"}},
        {"own thread", "GetCurrentThreadId", {X}, {0x500}, {"GetCurrentThreadId"}},
        {"attach", "AttachThreadInput", {0x500, 0x20, 1, X}, {0x500, 0x20, 1, 1}, {"AttachThreadInput:attach"}},
        {"detach what is not attached", "AttachThreadInput", {0x500, 0x20, 0, X}, {0x500, 0x20, 0, 0},
         {"AttachThreadInput:detach"}},
        {"attach to itself", "AttachThreadInput", {0x500, 0x500, 1, X}, {0x500, 0x500, 1, 0},
         {"AttachThreadInput:attach"}},
        {"system cursor", "SetSystemCursor", {0xC0C0, 32512, X}, {0xC0C0, 32512, 1}, {"SetSystemCursor"}},
        {"broadcast to the default recipients", "BroadcastSystemMessage", {0x10, 0, 0x1A, 5, 6, X},
         {0x10, 0, 0x1A, 5, 6, 1}, {"BroadcastSystemMessage"}},
    };
    for (const Case& c : cases) {
        fake::System system = Desktop();
        Bytes block = FromSlots(c.in);
        EXPECT_EQ(DispatchDirect(system, c.name, static_cast<std::uint32_t>(block.size()), block.data()), 1)
            << c.description;
        EXPECT_EQ(Slots(block), c.out) << c.description;
        EXPECT_EQ(system.log, c.log) << c.description;
    }
}

TEST(DirectCommands, SetSystemCursorPassesHandleAndId) {
    fake::System system;
    system.cursorResult = 0;
    Bytes block = FromSlots({0x0001002B, 32514, X});
    EXPECT_EQ(DispatchDirect(system, "SetSystemCursor", 12, block.data()), 1);
    ASSERT_EQ(system.cursors.size(), 1u);
    EXPECT_EQ(system.cursors[0], std::make_pair(Value{0x0001002B}, Value{32514}));
    EXPECT_EQ(Slots(block)[2], 0u);
}

// The recipients slot is a value: the call gets a variable of the accessor's, and what
// the call leaves in it comes back. The accessor's own window is never a recipient.
TEST(DirectCommands, BroadcastRecipientsAreAValue) {
    fake::System system;
    system.broadcastDelivered = 0x08;
    system.broadcastResult = 0xFFFFFFFF;  // -1: the broadcast failed
    Bytes block = FromSlots({0x01, 0x08 | 0x10, 0x001A, 7, 0x00123456, X});
    EXPECT_EQ(DispatchDirect(system, "BroadcastSystemMessage", 24, block.data()), 1);
    ASSERT_EQ(system.broadcasts.size(), 1u);
    const fake::Broadcast& sent = system.broadcasts[0];
    EXPECT_TRUE(sent.withRecipients);
    EXPECT_EQ(sent.recipients, 0x18u);
    EXPECT_EQ(sent.flags, 0x01u | kBroadcastIgnoreCurrentTask);
    EXPECT_EQ(sent.message, 0x1Au);
    EXPECT_EQ(sent.wParam, 7u);
    EXPECT_EQ(sent.lParam, 0x00123456u);
    EXPECT_EQ(Slots(block), (std::vector<Value>{0x01, 0x08, 0x001A, 7, 0x00123456, 0xFFFFFFFF}));

    Bytes none = FromSlots({0, 0, 0x001A, 0, 0, X});
    EXPECT_EQ(DispatchDirect(system, "BroadcastSystemMessage", 24, none.data()), 1);
    EXPECT_FALSE(system.broadcasts[1].withRecipients);
    EXPECT_EQ(Slots(none)[1], 0u);
}

// ---- GetVolumeInformation ---------------------------------------------------------------

constexpr Value kClientSerial = 0x5A5A0001, kClientLength = 0x5A5A0002, kClientFlags = 0x5A5A0003;

// A "GetVolumeInformation" block: the root path at 36, then the volume-name buffer, then
// the file-system-name buffer, unless the offsets are given; the block's size is the
// size rule's plus sizeChange, or blockSize when that is set.
struct VolumeBlock {
    const char* root = nullptr;
    Value volumeSize = 0, fileSystemSize = 0;
    bool volumeBuffer = true, fileSystemBuffer = true;
    std::int64_t sizeChange = 0;
    Value blockSize = 0;
    // Overrides of the laid-out offsets (0xFFFFFFFF: keep).
    Value rootOffset = 0xFFFFFFFF, volumeOffset = 0xFFFFFFFF, fileSystemOffset = 0xFFFFFFFF;
    bool terminateRoot = true;

    Bytes Build() const {
        const std::size_t rootLength = root ? std::strlen(root) : 0;
        const Value rootAt = root ? 36 : 0;
        const Value volumeAt = volumeBuffer ? static_cast<Value>(36 + (root ? rootLength + 1 : 0)) : 0;
        const Value fileSystemAt = fileSystemBuffer ? static_cast<Value>(36 + (root ? rootLength + 1 : 0) + volumeSize) : 0;
        const std::int64_t size =
            blockSize ? blockSize : 37 + static_cast<std::int64_t>(rootLength) + volumeSize + fileSystemSize + sizeChange;
        // The fixed part is written in full and cut back to a shorter size afterwards.
        Bytes block(static_cast<std::size_t>(size < 36 ? 36 : size), '#');
        StoreSlot(&block[0], rootOffset != 0xFFFFFFFF ? rootOffset : rootAt);
        StoreSlot(&block[4], volumeOffset != 0xFFFFFFFF ? volumeOffset : volumeAt);
        StoreSlot(&block[8], volumeSize);
        StoreSlot(&block[12], kClientSerial);
        StoreSlot(&block[16], kClientLength);
        StoreSlot(&block[20], kClientFlags);
        StoreSlot(&block[24], fileSystemOffset != 0xFFFFFFFF ? fileSystemOffset : fileSystemAt);
        StoreSlot(&block[28], fileSystemSize);
        StoreSlot(&block[32], X);
        if (root && 36 + rootLength < block.size()) {
            std::memcpy(&block[36], root, rootLength);
            if (terminateRoot) block[36 + rootLength] = '\0';
        }
        block.resize(static_cast<std::size_t>(size));
        return block;
    }
};

fake::System WithVolumes() {
    fake::System system;
    system.volumes["C:\\"] = {"SYSTEM", 0x12345678, 255, 0x000700FF, "NTFS"};
    system.volumes[""] = {"CURRENT", 0x0BADF00D, 128, 0x3, "FAT"};
    return system;
}

TEST(GetVolumeInformation, SizeRuleAndBufferPlaces) {
    struct Case {
        const char* description;
        VolumeBlock layout;
        bool runs;
    };
    const std::int64_t kLast = 88;  // "C:\" with 32 and 16 bytes of buffers
    const Case cases[] = {
        {"no root, no buffers: 37", {nullptr, 0, 0, false, false}, true},
        {"no root, no buffers: 36 refused", {nullptr, 0, 0, false, false, -1}, false},
        {"no root, no buffers: 38 refused", {nullptr, 0, 0, false, false, 1}, false},
        {"C:\\ with 32 and 16: 88", {"C:\\", 32, 16}, true},
        {"87 refused", {"C:\\", 32, 16, true, true, -1}, false},
        {"89 refused", {"C:\\", 32, 16, true, true, 1}, false},
        {"sizes counted without buffers", {nullptr, 32, 16, false, false}, true},
        {"block shorter than the fixed part", {nullptr, 0, 0, false, false, 0, 35}, false},
        {"root path not ended inside the block", {"C:\\", 0, 0, false, false, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF,
                                                   0xFFFFFFFF, false},
         false},
        {"root path beyond the block", {"C:\\", 32, 16, true, true, 0, 0, static_cast<Value>(kLast)}, false},
        {"root path in the fixed part", {"C:\\", 32, 16, true, true, 0, 0, 8}, false},
        {"volume-name buffer past the end", {"C:\\", 32, 16, true, true, 0, 0, 0xFFFFFFFF, 70}, false},
        {"volume-name buffer in the fixed part", {"C:\\", 32, 16, true, true, 0, 0, 0xFFFFFFFF, 12}, false},
        {"file-system-name buffer past the end", {"C:\\", 32, 16, true, true, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 73},
         false},
        {"file-system-name buffer ending at the end", {"C:\\", 32, 16, true, true, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 72},
         true},
        {"sizes that wrap around 32 bits", {nullptr, 0xFFFFFFFF, 2, false, false, 0, 38}, false},
    };
    for (const Case& c : cases) {
        fake::System system = WithVolumes();
        Bytes block = c.layout.Build();
        const Bytes before = block;
        const int result = DispatchDirect(system, "GetVolumeInformation", static_cast<std::uint32_t>(block.size()),
                                          block.data());
        EXPECT_EQ(result, c.runs ? 1 : 0) << c.description;
        if (c.runs) {
            ASSERT_EQ(system.volumeCalls.size(), 1u) << c.description;
            EXPECT_EQ(Slots(block)[8], 1u) << c.description;
        } else {
            EXPECT_EQ(system.TotalCalls(), 0) << c.description;
            EXPECT_EQ(block, before) << c.description;
        }
    }
}

TEST(GetVolumeInformation, TextsAndNumbersGoIntoTheBlock) {
    fake::System system = WithVolumes();
    Bytes block = VolumeBlock{"C:\\", 32, 16}.Build();
    ASSERT_EQ(block.size(), 88u);
    ASSERT_EQ(DispatchDirect(system, "GetVolumeInformation", 88, block.data()), 1);

    const fake::VolumeCall& call = system.volumeCalls.at(0);
    EXPECT_EQ(call.root, reinterpret_cast<const char*>(&block[36]));
    EXPECT_EQ(call.volumeName, reinterpret_cast<char*>(&block[40]));
    EXPECT_EQ(call.volumeNameSize, 32u);
    EXPECT_EQ(call.fileSystemName, reinterpret_cast<char*>(&block[72]));
    EXPECT_EQ(call.fileSystemNameSize, 16u);
    EXPECT_STREQ(reinterpret_cast<const char*>(&block[40]), "SYSTEM");
    EXPECT_STREQ(reinterpret_cast<const char*>(&block[72]), "NTFS");
    const std::vector<Value> slots = Slots(block);
    EXPECT_EQ(slots[3], 0x12345678u);
    EXPECT_EQ(slots[4], 255u);
    EXPECT_EQ(slots[5], 0x000700FFu);
    EXPECT_EQ(slots[8], 1u);
}

TEST(GetVolumeInformation, NoRootAndNoBuffersPassNull) {
    fake::System system = WithVolumes();
    Bytes block = VolumeBlock{nullptr, 32, 16, false, false}.Build();
    ASSERT_EQ(DispatchDirect(system, "GetVolumeInformation", static_cast<std::uint32_t>(block.size()), block.data()), 1);
    const fake::VolumeCall& call = system.volumeCalls.at(0);
    EXPECT_EQ(call.root, nullptr);
    EXPECT_EQ(call.volumeName, nullptr);
    EXPECT_EQ(call.volumeNameSize, 32u);
    EXPECT_EQ(call.fileSystemName, nullptr);
    EXPECT_EQ(Slots(block)[3], 0x0BADF00Du);
}

// A failing call is no refusal: the command runs, the result slot says FALSE, and the
// numbers keep what the call left in them (here: the client's).
TEST(GetVolumeInformation, FailingCallKeepsTheClientsNumbers) {
    fake::System system = WithVolumes();
    Bytes block = VolumeBlock{"Q:\\", 32, 16}.Build();
    ASSERT_EQ(DispatchDirect(system, "GetVolumeInformation", 88, block.data()), 1);
    const std::vector<Value> slots = Slots(block);
    EXPECT_EQ(slots[3], kClientSerial);
    EXPECT_EQ(slots[4], kClientLength);
    EXPECT_EQ(slots[5], kClientFlags);
    EXPECT_EQ(slots[8], 0u);
}

// ---- Mixer commands ---------------------------------------------------------------------

// Slot 0 has volume and mute, slot 2 mute only, slot 3 volume only; the others nothing.
fake::System WithMixer() {
    fake::System system;
    system.mixer[0] = {true, true, 300, 400, 0, 65535, 192, 7};
    system.mixer[2] = {false, true};
    system.mixer[3] = {true, false, 10, 20, 5, 100, 20, 0};
    return system;
}

TEST(MixerCommands, ResultSlotAndOutSlots) {
    struct Case {
        const char* name;
        std::vector<Value> in;
        std::vector<Value> out;
    };
    const Case cases[] = {
        {"mixerGetVolume", {0, X, X, X}, {0, 300, 400, 1}},
        {"mixerGetVolume", {2, X, X, X}, {2, X, X, 0}},
        {"mixerGetVolume", {11, X, X, X}, {11, X, X, 0}},
        {"mixerGetVolume", {0xFFFFFFFF, X, X, X}, {0xFFFFFFFF, X, X, 0}},
        {"mixerSetVolume", {0, 1000, 2000, X}, {0, 1000, 2000, 1}},
        {"mixerSetVolume", {2, 1, 2, X}, {2, 1, 2, 0}},
        {"mixerGetMaximum", {0, X, X}, {0, 65535, 1}},
        {"mixerGetMaximum", {2, X, X}, {2, X, 0}},
        {"mixerGetMinimum", {3, X, X}, {3, 5, 1}},
        {"mixerGetMinimum", {5, X, X}, {5, X, 0}},
        {"mixerGetStep", {0, X, X}, {0, 192, 1}},
        {"mixerGetStep", {2, X, X}, {2, X, 0}},
        {"mixerIsMute", {0, X, X}, {0, 1, 1}},  // the mixer's 7 is muted: exactly 1
        {"mixerIsMute", {2, X, X}, {2, 0, 1}},
        {"mixerIsMute", {3, X, X}, {3, X, 0}},
        {"mixerSetMute", {2, 5, X}, {2, 5, 1}},
        {"mixerSetMute", {3, 1, X}, {3, 1, 0}},
    };
    for (const Case& c : cases) {
        fake::System system = WithMixer();
        Bytes block = FromSlots(c.in);
        EXPECT_EQ(DispatchDirect(system, c.name, static_cast<std::uint32_t>(block.size()), block.data()), 1)
            << c.name << " slot " << c.in[0];
        EXPECT_EQ(Slots(block), c.out) << c.name << " slot " << c.in[0];
    }
}

TEST(MixerCommands, ArgumentsReachTheLibrary) {
    fake::System system = WithMixer();
    Bytes volume = FromSlots({0, 0xFFFF, 0x8000, X});
    Bytes mute = FromSlots({2, 0x100, X});
    ASSERT_EQ(DispatchDirect(system, "mixerSetVolume", 16, volume.data()), 1);
    ASSERT_EQ(DispatchDirect(system, "mixerSetMute", 12, mute.data()), 1);
    ASSERT_EQ(system.volumeSets.size(), 1u);
    EXPECT_EQ(system.volumeSets[0], std::make_tuple(Value{0}, Value{0xFFFF}, Value{0x8000}));
    ASSERT_EQ(system.muteSets.size(), 1u);
    EXPECT_EQ(system.muteSets[0], std::make_pair(Value{2}, 0x100));
    EXPECT_EQ(system.mixer[0].left, 0xFFFF);
    EXPECT_EQ(system.mixer[2].muteValue, 1);
}

// A failing library call on a slot that has the control: out slots untouched, result 0.
TEST(MixerCommands, FailingCallsLeaveOutSlots) {
    struct Case {
        const char* name;
        fake::Call call;
        std::vector<Value> in;
    };
    const Case cases[] = {
        {"mixerGetVolume", fake::Call::MixerGetVolume, {0, X, X, X}},
        {"mixerGetMaximum", fake::Call::MixerGetMaximum, {0, X, X}},
        {"mixerGetMinimum", fake::Call::MixerGetMinimum, {0, X, X}},
        {"mixerGetStep", fake::Call::MixerGetStep, {0, X, X}},
        {"mixerIsMute", fake::Call::MixerIsMute, {0, X, X}},
    };
    for (const Case& c : cases) {
        fake::System system = WithMixer();
        system.Fail(c.call);
        Bytes block = FromSlots(c.in);
        EXPECT_EQ(DispatchDirect(system, c.name, static_cast<std::uint32_t>(block.size()), block.data()), 1) << c.name;
        std::vector<Value> expected = c.in;
        expected.back() = 0;
        EXPECT_EQ(Slots(block), expected) << c.name;
    }
}

}  // namespace
}  // namespace accessor
