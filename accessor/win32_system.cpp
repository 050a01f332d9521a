#include "win32_system.h"

#include "sonaret.h"

#include <windows.h>

namespace accessor {
namespace {

static_assert(sizeof(HWND) == sizeof(Value) && sizeof(DWORD) == sizeof(Value),
              "the accessor's slots hold the handles and ids of 32-bit Windows");

HWND AsWindow(Value value) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value)); }

Value FromWindow(HWND window) { return static_cast<Value>(reinterpret_cast<UINT_PTR>(window)); }

}  // namespace

Value Win32System::GetForegroundWindow() { return FromWindow(::GetForegroundWindow()); }

Value Win32System::SetForegroundWindow(Value window) { return static_cast<Value>(::SetForegroundWindow(AsWindow(window))); }

Value Win32System::GetActiveWindow() { return FromWindow(::GetActiveWindow()); }

Value Win32System::SetActiveWindow(Value window) { return FromWindow(::SetActiveWindow(AsWindow(window))); }

Value Win32System::GetFocus() { return FromWindow(::GetFocus()); }

Value Win32System::SetFocus(Value window) { return FromWindow(::SetFocus(AsWindow(window))); }

Value Win32System::GetWindowThreadProcessId(Value window, Value* processId) {
    DWORD process = 0;
    const DWORD thread = ::GetWindowThreadProcessId(AsWindow(window), processId ? &process : nullptr);
    if (processId) *processId = process;
    return thread;
}

Value Win32System::AttachThreadInput(Value thread, Value attachTo, Value attach) {
    return static_cast<Value>(::AttachThreadInput(thread, attachTo, static_cast<BOOL>(attach)));
}

Value Win32System::SetSystemCursor(Value cursor, Value id) {
    return static_cast<Value>(::SetSystemCursor(reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(cursor)), id));
}

Value Win32System::BroadcastSystemMessageA(Value flags, Value* recipients, Value message, Value wParam,
                                          Value lParam) {
    DWORD info = recipients ? *recipients : 0;
    const long result = ::BroadcastSystemMessageA(flags, recipients ? &info : nullptr, message,
                                                  static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
    if (recipients) *recipients = info;
    return static_cast<Value>(result);
}

Value Win32System::GetCurrentThreadId() { return ::GetCurrentThreadId(); }

Value Win32System::GetVolumeInformationA(const char* root, char* volumeName, Value volumeNameSize, Value* serial,
                                        Value* maximumComponentLength, Value* fileSystemFlags,
                                        char* fileSystemName, Value fileSystemNameSize) {
    DWORD serialNumber = *serial, componentLength = *maximumComponentLength, flags = *fileSystemFlags;
    const BOOL result = ::GetVolumeInformationA(root, volumeName, volumeNameSize, &serialNumber, &componentLength,
                                                &flags, fileSystemName, fileSystemNameSize);
    *serial = serialNumber;
    *maximumComponentLength = componentLength;
    *fileSystemFlags = flags;
    return static_cast<Value>(result);
}

int Win32System::MixerGetVolume(Value slot, int* left, int* right) { return SNR_VC_GetVolume(slot, left, right); }

int Win32System::MixerSetVolume(Value slot, Value left, Value right) { return SNR_VC_SetVolume(slot, left, right); }

int Win32System::MixerGetMaximum(Value slot, int* out) { return SNR_VC_GetMaximum(slot, out); }

int Win32System::MixerGetMinimum(Value slot, int* out) { return SNR_VC_GetMinimum(slot, out); }

int Win32System::MixerGetStep(Value slot, int* out) { return SNR_VC_GetStep(slot, out); }

int Win32System::MixerIsMute(Value slot, int* out) { return SNR_VC_IsMute(slot, out); }

int Win32System::MixerSetMute(Value slot, int mute) { return SNR_VC_SetMute(slot, mute); }

}  // namespace accessor
