// The calls the accessor's commands make, as a table that the commands are written over:
// user32, kernel32 and SONARET.DLL on Windows (win32_system.h), a scripted system in the
// tests. Handles, thread and process ids, flags and results are the 32-bit values the
// system uses; a call answers exactly what the system call of the same name answers.
#pragma once

#include <cstdint>

namespace accessor {

using Value = std::uint32_t;

class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    // Windows and input state (user32).
    virtual Value GetForegroundWindow() = 0;
    virtual Value SetForegroundWindow(Value window) = 0;
    virtual Value GetActiveWindow() = 0;
    virtual Value SetActiveWindow(Value window) = 0;
    virtual Value GetFocus() = 0;
    virtual Value SetFocus(Value window) = 0;
    // The window's thread id; its process id goes to processId when that is not null.
    virtual Value GetWindowThreadProcessId(Value window, Value* processId) = 0;
    virtual Value AttachThreadInput(Value thread, Value attachTo, Value attach) = 0;
    virtual Value SetSystemCursor(Value cursor, Value id) = 0;
    // recipients may be null (the call's default recipients); the call may change it.
    virtual Value BroadcastSystemMessageA(Value flags, Value* recipients, Value message, Value wParam,
                                         Value lParam) = 0;

    // kernel32.
    virtual Value GetCurrentThreadId() = 0;
    // root and the two buffers may be null; the three numbers are in/out, as the call has them.
    virtual Value GetVolumeInformationA(const char* root, char* volumeName, Value volumeNameSize, Value* serial,
                                       Value* maximumComponentLength, Value* fileSystemFlags,
                                       char* fileSystemName, Value fileSystemNameSize) = 0;

    // The volume library, by component slot: 1 on success, 0 on failure; out arguments
    // are written only on success.
    virtual int MixerGetVolume(Value slot, int* left, int* right) = 0;
    virtual int MixerSetVolume(Value slot, Value left, Value right) = 0;
    virtual int MixerGetMaximum(Value slot, int* out) = 0;
    virtual int MixerGetMinimum(Value slot, int* out) = 0;
    virtual int MixerGetStep(Value slot, int* out) = 0;
    virtual int MixerIsMute(Value slot, int* out) = 0;
    virtual int MixerSetMute(Value slot, int mute) = 0;
};

// BroadcastSystemMessage's flag that keeps a broadcast away from the caller's own windows.
constexpr Value kBroadcastIgnoreCurrentTask = 0x00000002;  // BSF_IGNORECURRENTTASK

}  // namespace accessor
