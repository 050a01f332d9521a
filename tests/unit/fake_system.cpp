#include "fake_system.h"

#include <cstring>
#include <numeric>

namespace accessor::fake {

void System::Fail(Call call, int occurrence) { m_failures[call].insert(occurrence); }

int System::TotalCalls() const { return std::accumulate(m_calls.begin(), m_calls.end(), 0); }

bool System::Enter(Call call) {
    const int count = ++m_calls[static_cast<int>(call)];
    auto failing = m_failures.find(call);
    if (failing == m_failures.end()) return true;
    return !failing->second.count(0) && !failing->second.count(count);
}

bool System::KnownThread(Value thread) const {
    if (thread == ownThread) return true;
    for (const auto& window : windows) {
        if (window.second.thread == thread) return true;
    }
    return false;
}

Value System::InputThread() const {
    for (const auto& attachment : attachments) {
        if (attachment.first == ownThread) return attachment.second;
        if (attachment.second == ownThread) return attachment.first;
    }
    return ownThread;
}

Value System::GetForegroundWindow() {
    log.push_back("GetForegroundWindow");
    return Enter(Call::GetForegroundWindow) ? foreground : 0;
}

Value System::SetForegroundWindow(Value window) {
    log.push_back("SetForegroundWindow");
    if (!Enter(Call::SetForegroundWindow) || !windows.count(window)) return 0;
    foreground = window;
    return 1;
}

Value System::GetActiveWindow() {
    log.push_back("GetActiveWindow");
    if (!Enter(Call::GetActiveWindow)) return 0;
    auto found = active.find(InputThread());
    return found == active.end() ? 0 : found->second;
}

// Only a window of the input state the thread sees can be made active or get the focus.
Value System::SetActiveWindow(Value window) {
    log.push_back("SetActiveWindow");
    if (!Enter(Call::SetActiveWindow)) return 0;
    auto found = windows.find(window);
    if (found == windows.end() || found->second.thread != InputThread()) return 0;
    const Value previous = active[found->second.thread];
    active[found->second.thread] = window;
    return previous;
}

Value System::GetFocus() {
    log.push_back("GetFocus");
    if (!Enter(Call::GetFocus)) return 0;
    auto found = focus.find(InputThread());
    return found == focus.end() ? 0 : found->second;
}

Value System::SetFocus(Value window) {
    log.push_back("SetFocus");
    if (!Enter(Call::SetFocus)) return 0;
    auto found = windows.find(window);
    if (found == windows.end() || found->second.thread != InputThread()) return 0;
    const Value previous = focus[found->second.thread];
    focus[found->second.thread] = window;
    return previous;
}

Value System::GetWindowThreadProcessId(Value window, Value* processId) {
    log.push_back(processId ? "GetWindowThreadProcessId+process" : "GetWindowThreadProcessId");
    if (!Enter(Call::GetWindowThreadProcessId)) return 0;
    auto found = windows.find(window);
    if (found == windows.end()) return 0;
    if (processId) *processId = found->second.process;
    return found->second.thread;
}

// A thread cannot be attached to itself, nor to a thread that does not exist, and only
// an attachment in force can be undone.
Value System::AttachThreadInput(Value thread, Value attachTo, Value attach) {
    log.push_back(attach ? "AttachThreadInput:attach" : "AttachThreadInput:detach");
    attachCalls.emplace_back(thread, attachTo, attach);
    if (!Enter(Call::AttachThreadInput)) return 0;
    if (thread == attachTo || !KnownThread(thread) || !KnownThread(attachTo)) return 0;
    const std::pair<Value, Value> attachment{thread, attachTo};
    if (attach) {
        attachments.insert(attachment);
        return 1;
    }
    return attachments.erase(attachment) ? 1 : 0;
}

Value System::SetSystemCursor(Value cursor, Value id) {
    log.push_back("SetSystemCursor");
    if (!Enter(Call::SetSystemCursor)) return 0;
    cursors.emplace_back(cursor, id);
    return cursorResult;
}

Value System::BroadcastSystemMessageA(Value flags, Value* recipients, Value message, Value wParam, Value lParam) {
    log.push_back("BroadcastSystemMessage");
    if (!Enter(Call::BroadcastSystemMessage)) return 0;
    broadcasts.push_back(Broadcast{flags, recipients != nullptr, recipients ? *recipients : 0, message, wParam, lParam});
    if (recipients) *recipients &= broadcastDelivered;
    return broadcastResult;
}

Value System::GetCurrentThreadId() {
    log.push_back("GetCurrentThreadId");
    return Enter(Call::GetCurrentThreadId) ? ownThread : 0;
}

// Like the system: an unknown root or a buffer too small for its text fails and writes
// nothing.
Value System::GetVolumeInformationA(const char* root, char* volumeName, Value volumeNameSize, Value* serial,
                                    Value* maximumComponentLength, Value* fileSystemFlags, char* fileSystemName,
                                    Value fileSystemNameSize) {
    log.push_back("GetVolumeInformation");
    volumeCalls.push_back(VolumeCall{root, volumeName, volumeNameSize, fileSystemName, fileSystemNameSize});
    if (!Enter(Call::GetVolumeInformation)) return 0;
    auto found = volumes.find(root ? root : "");
    if (found == volumes.end()) return 0;
    const Volume& volume = found->second;
    if (volumeName && volume.name.size() >= volumeNameSize) return 0;
    if (fileSystemName && volume.fileSystem.size() >= fileSystemNameSize) return 0;
    if (volumeName) std::memcpy(volumeName, volume.name.c_str(), volume.name.size() + 1);
    if (fileSystemName) std::memcpy(fileSystemName, volume.fileSystem.c_str(), volume.fileSystem.size() + 1);
    *serial = volume.serial;
    *maximumComponentLength = volume.maximumComponentLength;
    *fileSystemFlags = volume.flags;
    return 1;
}

const MixerSlot* System::Slot(Value slot, bool needsMute) const {
    if (slot >= mixer.size()) return nullptr;
    const MixerSlot& found = mixer[slot];
    return (needsMute ? found.mute : found.volume) ? &found : nullptr;
}

int System::MixerGetVolume(Value slot, int* left, int* right) {
    log.push_back("MixerGetVolume");
    const MixerSlot* found = Slot(slot, false);
    if (!Enter(Call::MixerGetVolume) || !found) return 0;
    if (left) *left = found->left;
    if (right) *right = found->right;
    return 1;
}

int System::MixerSetVolume(Value slot, Value left, Value right) {
    log.push_back("MixerSetVolume");
    volumeSets.emplace_back(slot, left, right);
    if (!Enter(Call::MixerSetVolume) || !Slot(slot, false)) return 0;
    mixer[slot].left = static_cast<int>(left);
    mixer[slot].right = static_cast<int>(right);
    return 1;
}

int System::MixerGetMaximum(Value slot, int* out) {
    log.push_back("MixerGetMaximum");
    const MixerSlot* found = Slot(slot, false);
    if (!Enter(Call::MixerGetMaximum) || !found || !out) return 0;
    *out = found->maximum;
    return 1;
}

int System::MixerGetMinimum(Value slot, int* out) {
    log.push_back("MixerGetMinimum");
    const MixerSlot* found = Slot(slot, false);
    if (!Enter(Call::MixerGetMinimum) || !found) return 0;
    *out = found->minimum;
    return 1;
}

int System::MixerGetStep(Value slot, int* out) {
    log.push_back("MixerGetStep");
    const MixerSlot* found = Slot(slot, false);
    if (!Enter(Call::MixerGetStep) || !found) return 0;
    *out = found->steps;
    return 1;
}

// Reports the mixer's raw value, so that a test can see what the command makes of it.
int System::MixerIsMute(Value slot, int* out) {
    log.push_back("MixerIsMute");
    const MixerSlot* found = Slot(slot, true);
    if (!Enter(Call::MixerIsMute) || !found) return 0;
    if (out) *out = found->muteValue;
    return 1;
}

int System::MixerSetMute(Value slot, int mute) {
    log.push_back("MixerSetMute");
    muteSets.emplace_back(slot, mute);
    if (!Enter(Call::MixerSetMute) || !Slot(slot, true)) return 0;
    mixer[slot].muteValue = mute ? 1 : 0;
    return 1;
}

}  // namespace accessor::fake
