// A scripted system for the accessor's commands: a desktop of windows on threads with a
// foreground window and each thread's active and focus window, thread input attachment
// that decides whose input state the accessor's thread sees, volumes by root path, the
// volume library's slots, and any call made to fail. Every call is logged and counted.
#pragma once

#include "system_calls.h"

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace accessor::fake {

enum class Call {
    GetForegroundWindow, SetForegroundWindow, GetActiveWindow, SetActiveWindow, GetFocus, SetFocus,
    GetWindowThreadProcessId, AttachThreadInput, SetSystemCursor, BroadcastSystemMessage, GetCurrentThreadId,
    GetVolumeInformation, MixerGetVolume, MixerSetVolume, MixerGetMaximum, MixerGetMinimum, MixerGetStep,
    MixerIsMute, MixerSetMute, kCount
};

struct Window {
    Value thread = 0;
    Value process = 0;
};

struct Volume {
    std::string name;
    Value serial = 0;
    Value maximumComponentLength = 0;
    Value flags = 0;
    std::string fileSystem;
};

// One slot of the volume library: what it has and the values it holds.
struct MixerSlot {
    bool volume = false;
    bool mute = false;
    int left = 0, right = 0;
    int minimum = 0, maximum = 65535, steps = 100;
    int muteValue = 0;  // as the mixer reports it: any non-zero value is muted
};

// What GetVolumeInformationA received.
struct VolumeCall {
    const char* root = nullptr;
    char* volumeName = nullptr;
    Value volumeNameSize = 0;
    char* fileSystemName = nullptr;
    Value fileSystemNameSize = 0;
};

struct Broadcast {
    Value flags = 0;
    bool withRecipients = false;
    Value recipients = 0;  // as the call received them
    Value message = 0, wParam = 0, lParam = 0;
};

class System final : public SystemCalls {
public:
    // The desktop.
    std::map<Value, Window> windows;
    Value foreground = 0;
    Value ownThread = 0x500;
    std::map<Value, Value> active;  // by thread
    std::map<Value, Value> focus;   // by thread

    std::map<std::string, Volume> volumes;  // by root path; "" stands for no root path
    std::array<MixerSlot, 11> mixer{};

    Value cursorResult = 1;
    std::vector<std::pair<Value, Value>> cursors;  // SetSystemCursor's arguments
    Value broadcastResult = 1;
    Value broadcastDelivered = 0xFFFFFFFF;  // the recipients a broadcast leaves of those asked for
    std::vector<Broadcast> broadcasts;
    std::vector<VolumeCall> volumeCalls;
    std::vector<std::tuple<Value, Value, Value>> volumeSets;  // MixerSetVolume's arguments
    std::vector<std::pair<Value, int>> muteSets;              // MixerSetMute's arguments

    // Every call in order, with its arguments where they tell calls apart.
    std::vector<std::string> log;
    std::vector<std::tuple<Value, Value, Value>> attachCalls;  // AttachThreadInput's arguments
    // Thread input attachments in force: {thread, attached to}.
    std::set<std::pair<Value, Value>> attachments;

    // Makes the occurrence-th call of a kind fail (counting from 1), or every one for 0. A
    // failing call does nothing and answers 0.
    void Fail(Call call, int occurrence = 0);
    int Calls(Call call) const { return m_calls[static_cast<int>(call)]; }
    int TotalCalls() const;

    // The thread whose input state the accessor's thread sees: the one it is attached to.
    Value InputThread() const;

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

private:
    // Counts the call; false when it is to fail.
    bool Enter(Call call);
    bool KnownThread(Value thread) const;
    const MixerSlot* Slot(Value slot, bool needsMute) const;

    std::array<int, static_cast<int>(Call::kCount)> m_calls{};
    std::map<Call, std::set<int>> m_failures;  // occurrence 0: every call
};

}  // namespace accessor::fake
