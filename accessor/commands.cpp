#include "commands.h"

#include <cstring>

namespace accessor {
namespace {

// Size of the fixed part of a "GetVolumeInformation" block; its texts follow.
constexpr std::uint32_t kVolumeFixedSize = 36;

// The slots of one argument block. Every offset a command uses lies inside the size its
// table row demands, which the dispatcher has checked before the command runs.
class Block {
public:
    Block(unsigned char* data, std::uint32_t size) : m_data(data), m_size(size) {}
    Value Get(std::uint32_t offset) const { return LoadSlot(m_data + offset); }
    void Set(std::uint32_t offset, Value value) { StoreSlot(m_data + offset, value); }
    unsigned char* At(std::uint32_t offset) const { return m_data + offset; }
    std::uint32_t Size() const { return m_size; }

private:
    unsigned char* m_data;
    std::uint32_t m_size;
};

using Handler = int (*)(SystemCalls&, Block&);

// One row of a command table. A blockSize of 0 marks a command that checks its own size.
struct Command {
    const char* name;
    std::uint32_t blockSize;
    Handler run;
};

// Names match byte for byte, the terminating NUL included.
template <std::size_t N>
const Command* FindCommand(const Command (&table)[N], const char* name) {
    for (const Command& command : table) {
        if (std::strcmp(command.name, name) == 0) return &command;
    }
    return nullptr;
}

// ---- Direct command set ---------------------------------------------------------------

int GetForegroundWindow(SystemCalls& system, Block& block) {
    block.Set(0, system.GetForegroundWindow());
    return 1;
}

int SetForegroundWindow(SystemCalls& system, Block& block) {
    block.Set(4, system.SetForegroundWindow(block.Get(0)));
    return 1;
}

int GetActiveWindow(SystemCalls& system, Block& block) {
    block.Set(0, system.GetActiveWindow());
    return 1;
}

int SetActiveWindow(SystemCalls& system, Block& block) {
    block.Set(4, system.SetActiveWindow(block.Get(0)));
    return 1;
}

int GetFocus(SystemCalls& system, Block& block) {
    block.Set(0, system.GetFocus());
    return 1;
}

int SetFocus(SystemCalls& system, Block& block) {
    block.Set(4, system.SetFocus(block.Get(0)));
    return 1;
}

// A non-zero +4 asks for the process id, which goes into +4 itself: the id the call
// gives, or 0 when it gives none.
int GetWindowThreadProcessId(SystemCalls& system, Block& block) {
    const bool wantProcess = block.Get(4) != 0;
    Value process = 0;
    const Value thread = system.GetWindowThreadProcessId(block.Get(0), wantProcess ? &process : nullptr);
    if (wantProcess) block.Set(4, process);
    block.Set(8, thread);
    return 1;
}

int GetCurrentThreadId(SystemCalls& system, Block& block) {
    block.Set(0, system.GetCurrentThreadId());
    return 1;
}

int AttachThreadInput(SystemCalls& system, Block& block) {
    block.Set(12, system.AttachThreadInput(block.Get(0), block.Get(4), block.Get(8)));
    return 1;
}

int SetSystemCursor(SystemCalls& system, Block& block) {
    block.Set(8, system.SetSystemCursor(block.Get(0), block.Get(4)));
    return 1;
}

// One text region of a "GetVolumeInformation" block: where it starts and how long it is.
struct Region {
    std::uint32_t offset;
    std::uint64_t size;
};

// Texts lie in the room after the fixed part; a zero offset is none.
bool InsideRoom(const Region& region, std::uint32_t blockSize) {
    if (region.offset == 0) return true;
    return region.offset >= kVolumeFixedSize && region.offset + region.size <= blockSize;
}

// The block: +0 root path offset, +4 volume-name offset, +8 its size, +12 serial number,
// +16 maximum component length, +20 file system flags, +24 file-system-name offset, +28
// its size, +32 the call's result, texts from +36. The size must be exactly 37 plus the
// root path's length plus both buffer sizes; the root path must end inside the block and
// the buffers must lie inside it, in the room after the fixed part.
int GetVolumeInformation(SystemCalls& system, Block& block) {
    const std::uint32_t size = block.Size();
    if (size < kVolumeFixedSize) return 0;
    const std::uint32_t rootOffset = block.Get(0);
    const Region volumeName{block.Get(4), block.Get(8)};
    const Region fileSystemName{block.Get(24), block.Get(28)};

    std::uint64_t rootLength = 0;
    if (rootOffset != 0) {
        if (rootOffset < kVolumeFixedSize || rootOffset >= size) return 0;
        const void* end = std::memchr(block.At(rootOffset), '\0', size - rootOffset);
        if (!end) return 0;
        rootLength = static_cast<const unsigned char*>(end) - block.At(rootOffset);
    }
    if (std::uint64_t{kVolumeFixedSize} + 1 + rootLength + volumeName.size + fileSystemName.size != size) return 0;
    if (!InsideRoom(volumeName, size) || !InsideRoom(fileSystemName, size)) return 0;

    // The numeric outputs start from the block's values, as if the call wrote the block
    // itself, and are written back whatever the call did.
    Value serial = block.Get(12);
    Value maximumComponentLength = block.Get(16);
    Value fileSystemFlags = block.Get(20);
    const Value result = system.GetVolumeInformationA(
        rootOffset ? reinterpret_cast<const char*>(block.At(rootOffset)) : nullptr,
        volumeName.offset ? reinterpret_cast<char*>(block.At(volumeName.offset)) : nullptr,
        static_cast<Value>(volumeName.size), &serial, &maximumComponentLength, &fileSystemFlags,
        fileSystemName.offset ? reinterpret_cast<char*>(block.At(fileSystemName.offset)) : nullptr,
        static_cast<Value>(fileSystemName.size));
    block.Set(12, serial);
    block.Set(16, maximumComponentLength);
    block.Set(20, fileSystemFlags);
    block.Set(32, result);
    return 1;
}

// A non-zero +4 holds the recipient flags: the call gets them in a variable of the
// accessor's own, and what the call leaves there goes back into +4. The accessor's own
// window is never among the recipients: it would take the client's lParam for an
// address in the accessor's process.
int BroadcastSystemMessage(SystemCalls& system, Block& block) {
    Value recipients = block.Get(4);
    const bool withRecipients = recipients != 0;
    const Value result =
        system.BroadcastSystemMessageA(block.Get(0) | kBroadcastIgnoreCurrentTask, withRecipients ? &recipients : nullptr,
                                      block.Get(8), block.Get(12), block.Get(16));
    if (withRecipients) block.Set(4, recipients);
    block.Set(20, result);
    return 1;
}

// The mixer commands hand the library variables that start with the block's values; the
// library writes them only when it succeeds, so on failure the out slots keep what the
// client put there. The result slot always takes the library's 1 or 0.
int MixerSetVolume(SystemCalls& system, Block& block) {
    block.Set(12, system.MixerSetVolume(block.Get(0), block.Get(4), block.Get(8)) ? 1 : 0);
    return 1;
}

int MixerGetVolume(SystemCalls& system, Block& block) {
    int left = static_cast<int>(block.Get(4));
    int right = static_cast<int>(block.Get(8));
    const bool done = system.MixerGetVolume(block.Get(0), &left, &right) != 0;
    if (done) {
        block.Set(4, static_cast<Value>(left));
        block.Set(8, static_cast<Value>(right));
    }
    block.Set(12, done ? 1 : 0);
    return 1;
}

// The library's single-value reads: the value to +4, the result to +8.
int MixerGetValue(int (SystemCalls::*read)(Value, int*), SystemCalls& system, Block& block) {
    int value = static_cast<int>(block.Get(4));
    const bool done = (system.*read)(block.Get(0), &value) != 0;
    if (done) block.Set(4, static_cast<Value>(value));
    block.Set(8, done ? 1 : 0);
    return 1;
}

int MixerGetMaximum(SystemCalls& system, Block& block) {
    return MixerGetValue(&SystemCalls::MixerGetMaximum, system, block);
}

int MixerGetMinimum(SystemCalls& system, Block& block) {
    return MixerGetValue(&SystemCalls::MixerGetMinimum, system, block);
}

int MixerGetStep(SystemCalls& system, Block& block) { return MixerGetValue(&SystemCalls::MixerGetStep, system, block); }

int MixerSetMute(SystemCalls& system, Block& block) {
    block.Set(8, system.MixerSetMute(block.Get(0), static_cast<int>(block.Get(4))) ? 1 : 0);
    return 1;
}

// Muted is exactly 1, whatever non-zero value the library reports.
int MixerIsMute(SystemCalls& system, Block& block) {
    int muted = 0;
    const bool done = system.MixerIsMute(block.Get(0), &muted) != 0;
    if (done) block.Set(4, muted ? 1 : 0);
    block.Set(8, done ? 1 : 0);
    return 1;
}

const Command kDirectCommands[] = {
    {"GetForegroundWindow", 4, GetForegroundWindow},
    {"SetForegroundWindow", 8, SetForegroundWindow},
    {"GetActiveWindow", 4, GetActiveWindow},
    {"SetActiveWindow", 8, SetActiveWindow},
    {"GetFocus", 4, GetFocus},
    {"SetFocus", 8, SetFocus},
    {"GetWindowThreadProcessId", 12, GetWindowThreadProcessId},
    {"GetCurrentThreadId", 4, GetCurrentThreadId},
    {"AttachThreadInput", 16, AttachThreadInput},
    {"SetSystemCursor", 12, SetSystemCursor},
    {"GetVolumeInformation", 0, GetVolumeInformation},
    {"BroadcastSystemMessage", 24, BroadcastSystemMessage},
    {"mixerSetVolume", 16, MixerSetVolume},
    {"mixerGetVolume", 16, MixerGetVolume},
    {"mixerGetMaximum", 12, MixerGetMaximum},
    {"mixerGetMinimum", 12, MixerGetMinimum},
    {"mixerGetStep", 12, MixerGetStep},
    {"mixerSetMute", 12, MixerSetMute},
    {"mixerIsMute", 12, MixerIsMute},
};

// ---- Attached-input and focus-or-active command sets --------------------------------

// What a query command reads while the input is attached.
enum class Query { Active, Focus, FocusOrActive };

Value ReadAttached(SystemCalls& system, Query query) {
    switch (query) {
    case Query::Active:
        return system.GetActiveWindow();
    case Query::Focus:
        return system.GetFocus();
    case Query::FocusOrActive: {
        const Value focus = system.GetFocus();
        return focus ? focus : system.GetActiveWindow();
    }
    }
    return 0;
}

// The accessor's thread is attached to the other thread, not the other way round: both
// then share one input state either way, but a platform may give the thread that is
// attached a new input state when it is detached, and the foreground thread must keep
// its own (Wine, for one, leaves the desktop without a foreground window otherwise).

// +0 is cleared first; it takes the window read while attached to the foreground window's
// thread. 1 only when a window was read and the input was detached again.
int QueryAttached(SystemCalls& system, Block& block, Query query) {
    block.Set(0, 0);
    const Value foreground = system.GetForegroundWindow();
    if (!foreground) return 0;
    const Value thread = system.GetWindowThreadProcessId(foreground, nullptr);
    if (!thread) return 0;
    const Value own = system.GetCurrentThreadId();
    if (!own) return 0;
    if (!system.AttachThreadInput(own, thread, 1)) return 0;
    const Value window = ReadAttached(system, query);
    if (window) block.Set(0, window);
    if (!system.AttachThreadInput(own, thread, 0)) return 0;
    return window ? 1 : 0;
}

// The window in +0 is brought to the foreground, then made active (or given the focus)
// from its own thread's input; the previous window goes to +4.
int SetAttached(SystemCalls& system, Block& block, Value (SystemCalls::*set)(Value)) {
    const Value window = block.Get(0);
    if (!system.SetForegroundWindow(window)) return 0;
    const Value thread = system.GetWindowThreadProcessId(window, nullptr);
    if (!thread) return 0;
    const Value own = system.GetCurrentThreadId();
    if (!own) return 0;
    if (!system.AttachThreadInput(own, thread, 1)) return 0;
    block.Set(4, (system.*set)(window));
    return system.AttachThreadInput(own, thread, 0) ? 1 : 0;
}

int AttachedGetActiveWindow(SystemCalls& system, Block& block) { return QueryAttached(system, block, Query::Active); }
int AttachedGetFocus(SystemCalls& system, Block& block) { return QueryAttached(system, block, Query::Focus); }
int AttachedSetActiveWindow(SystemCalls& system, Block& block) {
    return SetAttached(system, block, &SystemCalls::SetActiveWindow);
}
int AttachedSetFocus(SystemCalls& system, Block& block) { return SetAttached(system, block, &SystemCalls::SetFocus); }
int GetFocusOrActive(SystemCalls& system, Block& block) { return QueryAttached(system, block, Query::FocusOrActive); }

const Command kAttachedCommands[] = {
    {"GetActiveWindow", 4, AttachedGetActiveWindow},
    {"SetActiveWindow", 8, AttachedSetActiveWindow},
    {"GetFocus", 4, AttachedGetFocus},
    {"SetFocus", 8, AttachedSetFocus},
};

const Command kFocusCommands[] = {
    {"GetFocusOrActive", 4, GetFocusOrActive},
};

// Finds the command and checks the block before the command runs.
template <std::size_t N>
int Dispatch(const Command (&table)[N], SystemCalls& system, const char* name, std::uint32_t blockSize,
             unsigned char* block) {
    if (!name || !block) return 0;
    const Command* command = FindCommand(table, name);
    if (!command) return 0;
    if (command->blockSize != 0 && blockSize != command->blockSize) return 0;
    Block slots(block, blockSize);
    return command->run(system, slots);
}

}  // namespace

int DispatchDirect(SystemCalls& system, const char* name, std::uint32_t blockSize, unsigned char* block) {
    return Dispatch(kDirectCommands, system, name, blockSize, block);
}

int DispatchAttached(SystemCalls& system, const char* name, std::uint32_t blockSize, unsigned char* block) {
    return Dispatch(kAttachedCommands, system, name, blockSize, block);
}

int DispatchFocusOrActive(SystemCalls& system, const char* name, std::uint32_t blockSize, unsigned char* block) {
    return Dispatch(kFocusCommands, system, name, blockSize, block);
}

Served ServeRequest(SystemCalls& system, std::uint32_t magic, unsigned char* data, std::size_t size) {
    int (*dispatcher)(SystemCalls&, const char*, std::uint32_t, unsigned char*) = nullptr;
    switch (magic) {
    case ACCESSOR_MAGIC_DIRECT:
        dispatcher = DispatchDirect;
        break;
    case ACCESSOR_MAGIC_ATTACHED:
        dispatcher = DispatchAttached;
        break;
    case ACCESSOR_MAGIC_FOCUS:
        dispatcher = DispatchFocusOrActive;
        break;
    default:
        return Served{};
    }
    AccessorRequest request;
    if (!ParseRequest(data, size, request)) return Served{};
    Served served;
    served.result = dispatcher(system, request.name, request.blockSize, request.block);
    served.dispatched = true;
    served.size = request.size;
    return served;
}

}  // namespace accessor
