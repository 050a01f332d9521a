// The accessor's system table on Windows: user32 and kernel32 calls, and the volume
// library SONARET.DLL, bound by ordinal.
#pragma once

#include "system_calls.h"

namespace accessor {

class Win32System final : public SystemCalls {
public:
    Value GetForegroundWindow() override;
    Value SetForegroundWindow(Value window) override;
    Value GetActiveWindow() override;
    Value SetActiveWindow(Value window) override;
    Value GetFocus() override;
    Value SetFocus(Value window) override;
    Value GetWindowThreadProcessId(Value window, Value* processId) override;
    Value AttachThreadInput(Value thread, Value attachTo, Value attach) override;
    Value SetSystemCursor(Value cursor, Value id) override;
    Value BroadcastSystemMessageA(Value flags, Value* recipients, Value message, Value wParam, Value lParam) override;
    Value GetCurrentThreadId() override;
    Value GetVolumeInformationA(const char* root, char* volumeName, Value volumeNameSize, Value* serial,
                               Value* maximumComponentLength, Value* fileSystemFlags, char* fileSystemName,
                               Value fileSystemNameSize) override;
    int MixerGetVolume(Value slot, int* left, int* right) override;
    int MixerSetVolume(Value slot, Value left, Value right) override;
    int MixerGetMaximum(Value slot, int* out) override;
    int MixerGetMinimum(Value slot, int* out) override;
    int MixerGetStep(Value slot, int* out) override;
    int MixerIsMute(Value slot, int* out) override;
    int MixerSetMute(Value slot, int mute) override;
};

}  // namespace accessor
