// Fuzzes the accessor's request handling on the scripted system: the input's first byte
// picks the magic, its second the system calls that fail, the rest is the request's data,
// handed over in a buffer of exactly its size. Requests that do not run leave the data as
// it was; requests that run write inside their argument block only; the attached-input
// and focus-or-active commands detach the input again whenever no detach was made to
// fail (the direct set's "AttachThreadInput" attaches for good: that is what it is for).
// The same bytes also go to each dispatcher directly and through the control-text path.
#include "commands.h"
#include "fake_system.h"
#include "protocol.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using accessor::fake::Call;

const std::uint32_t kMagics[] = {accessor::ACCESSOR_MAGIC_DIRECT, accessor::ACCESSOR_MAGIC_ATTACHED,
                                 accessor::ACCESSOR_MAGIC_FOCUS, accessor::ACCESSOR_MAGIC_CONTROL, 0x73820479};

// A desktop with a foreground window on another thread, volumes and mixer slots; the
// failures bits make calls fail (bit 7: the detach, the second AttachThreadInput).
accessor::fake::System MakeSystem(std::uint8_t failures) {
    accessor::fake::System system;
    system.windows[0x100] = {0x20, 0x30};
    system.windows[0x101] = {0x20, 0x30};
    system.foreground = 0x100;
    system.active[0x20] = 0x100;
    system.focus[0x20] = 0x101;
    system.volumes["C:\\"] = {"SYSTEM", 1, 255, 7, "NTFS"};
    system.volumes[""] = {"CURRENT", 2, 255, 7, "FAT"};
    system.mixer[0] = {true, true, 1, 2, 0, 65535, 192, 5};
    system.mixer[3] = {false, true};
    const Call calls[] = {Call::GetForegroundWindow, Call::GetWindowThreadProcessId, Call::GetCurrentThreadId,
                          Call::GetFocus,            Call::SetForegroundWindow,      Call::GetVolumeInformation,
                          Call::MixerGetVolume};
    for (int bit = 0; bit < 7; ++bit) {
        if (failures & (1u << bit)) system.Fail(calls[bit]);
    }
    if (failures & 0x80) system.Fail(Call::AttachThreadInput, 2);
    return system;
}

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    if (size < 2) return 0;
    const std::uint32_t magic = kMagics[input[0] % (sizeof kMagics / sizeof kMagics[0])];
    const std::uint8_t failures = input[1];
    const std::vector<unsigned char> original(input + 2, input + size);

    {
        accessor::fake::System system = MakeSystem(failures);
        // Exactly the request's bytes on the heap, so that any read beyond them is seen.
        std::unique_ptr<unsigned char[]> data(new unsigned char[original.size() ? original.size() : 1]);
        if (!original.empty()) std::memcpy(data.get(), original.data(), original.size());
        const accessor::Served served = accessor::ServeRequest(system, magic, original.empty() ? nullptr : data.get(),
                                                               original.size());
        Check(served.result == 0 || served.result == 1);
        if (!served.dispatched) {
            Check(served.result == 0);
            Check(original.empty() || std::memcmp(data.get(), original.data(), original.size()) == 0);
        } else {
            accessor::AccessorRequest request;
            Check(accessor::ParseRequest(const_cast<unsigned char*>(original.data()), original.size(), request));
            Check(served.size == request.size && served.size <= original.size());
            const std::size_t blockStart = request.block - original.data();
            Check(std::memcmp(data.get(), original.data(), blockStart) == 0);
            const std::size_t blockEnd = blockStart + request.blockSize;
            Check(std::memcmp(data.get() + blockEnd, original.data() + blockEnd, original.size() - blockEnd) == 0);
        }
        if (magic != accessor::ACCESSOR_MAGIC_DIRECT && !(failures & 0x80)) Check(system.attachments.empty());
    }

    // The dispatchers directly: the data as a name (cut at its NUL), the same bytes as block.
    for (auto dispatch : {accessor::DispatchDirect, accessor::DispatchAttached, accessor::DispatchFocusOrActive}) {
        const bool detaches = dispatch != accessor::DispatchDirect;
        accessor::fake::System system = MakeSystem(failures);
        std::vector<char> name(original.begin(), original.end());
        name.push_back('\0');
        std::vector<unsigned char> block(original.begin(), original.end());
        block.push_back(0);  // an address even for an empty block
        const int result = dispatch(system, name.data(), static_cast<std::uint32_t>(original.size()), block.data());
        Check(result == 0 || result == 1);
        Check(block.back() == 0);
        if (detaches && !(failures & 0x80)) Check(system.attachments.empty());
    }

    const char* text = accessor::ControlText(original.empty() ? nullptr : original.data(), original.size());
    if (text) accessor::IsDestroyCommand(text);
    return 0;
}
