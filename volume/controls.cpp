// The control-details calls behind the volume and mute functions.
#include "controls.h"

#include "mixer_handles.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace volume {
namespace {

const MixerSlot* VolumeSlot(const LibraryState& state, std::uint32_t slot) {
    if (state.deviceCount == 0 || slot >= kSlotCount) return nullptr;
    return state.slots[slot].volumeFound ? &state.slots[slot] : nullptr;
}

const MixerSlot* MuteSlot(const LibraryState& state, std::uint32_t slot) {
    if (state.deviceCount == 0 || slot >= kSlotCount) return nullptr;
    return state.slots[slot].muteFound ? &state.slots[slot] : nullptr;
}

// The mixer interface wants cChannels 1 for a uniform control; a line that reports no
// channel is served as one channel.
DetailsRequest VolumeRequest(const MixerSlot& slot) {
    std::uint32_t channels = slot.volumeUniform ? 1 : std::max<std::uint32_t>(slot.channels, 1);
    return {slot.volumeControlId, channels, slot.volumeItems};
}

// One value for all channels.
DetailsRequest MuteRequest(const MixerSlot& slot) { return {slot.muteControlId, 1, slot.muteItems}; }

// A details call writes one value per channel and per item (cMultipleItems 0 means one
// item). The buffer holds that many and never less than one value per channel of the
// line; 0 when the count does not fit in memory at all.
std::size_t BufferCount(const MixerSlot& slot, std::uint32_t items) {
    std::uint64_t count = std::uint64_t{std::max<std::uint32_t>(slot.channels, 1)} * std::max<std::uint32_t>(items, 1);
    return count <= SIZE_MAX / sizeof(std::uint32_t) ? static_cast<std::size_t>(count) : 0;
}

// Reads a control's values; first[0] and first[1] get the first two channel values (the
// one value twice when the request has one channel).
bool ReadFirstValues(MixerApi& mixer, const LibraryState& state, const MixerSlot& slot,
                     const DetailsRequest& request, std::uint32_t (&first)[2]) {
    std::size_t count = BufferCount(slot, request.items);
    if (count == 0) return false;
    OpenMixer open(mixer, slot.device, state.module);
    if (!open) return false;
    ValueBuffer values(mixer, count);
    if (!values.Data() || !mixer.GetDetails(open.Get(), request, values.Data())) return false;
    first[0] = values.Data()[0];
    first[1] = request.channels >= 2 ? values.Data()[1] : values.Data()[0];
    return true;
}

// Sets a control: left in the first channel value, right in every further one.
bool WriteValues(MixerApi& mixer, const LibraryState& state, const MixerSlot& slot,
                 const DetailsRequest& request, std::uint32_t left, std::uint32_t right) {
    std::size_t count = BufferCount(slot, request.items);
    if (count == 0) return false;
    OpenMixer open(mixer, slot.device, state.module);
    if (!open) return false;
    ValueBuffer values(mixer, count);
    if (!values.Data()) return false;
    values.Data()[0] = left;
    for (std::uint32_t channel = 1; channel < request.channels; ++channel) values.Data()[channel] = right;
    return mixer.SetDetails(open.Get(), request, values.Data());
}

int CopyOut(const MixerSlot* slot, std::uint32_t MixerSlot::*field, int* out) {
    if (!slot || !out) return 0;
    *out = static_cast<int>(slot->*field);
    return 1;
}

}  // namespace

int GetVolume(MixerApi& mixer, const LibraryState& state, std::uint32_t slot, int* left, int* right) {
    const MixerSlot* found = VolumeSlot(state, slot);
    std::uint32_t first[2] = {};
    if (!found || !ReadFirstValues(mixer, state, *found, VolumeRequest(*found), first)) return 0;
    if (left) *left = static_cast<int>(first[0]);
    if (right) *right = static_cast<int>(first[1]);
    return 1;
}

int SetVolume(MixerApi& mixer, const LibraryState& state, std::uint32_t slot, std::uint32_t left,
              std::uint32_t right) {
    const MixerSlot* found = VolumeSlot(state, slot);
    if (!found) return 0;
    if (left > found->maximum || left < found->minimum) return 0;
    if (right > found->maximum || right < found->minimum) return 0;
    return WriteValues(mixer, state, *found, VolumeRequest(*found), left, right) ? 1 : 0;
}

int GetMaximum(const LibraryState& state, std::uint32_t slot, int* out) {
    return CopyOut(VolumeSlot(state, slot), &MixerSlot::maximum, out);
}

int GetMinimum(const LibraryState& state, std::uint32_t slot, int* out) {
    return CopyOut(VolumeSlot(state, slot), &MixerSlot::minimum, out);
}

int GetStep(const LibraryState& state, std::uint32_t slot, int* out) {
    return CopyOut(VolumeSlot(state, slot), &MixerSlot::steps, out);
}

int IsMute(MixerApi& mixer, const LibraryState& state, std::uint32_t slot, int* out) {
    const MixerSlot* found = MuteSlot(state, slot);
    std::uint32_t first[2] = {};
    if (!found || !ReadFirstValues(mixer, state, *found, MuteRequest(*found), first)) return 0;
    if (out) *out = first[0] != 0 ? 1 : 0;
    return 1;
}

int SetMute(MixerApi& mixer, const LibraryState& state, std::uint32_t slot, int mute) {
    const MixerSlot* found = MuteSlot(state, slot);
    if (!found) return 0;
    std::uint32_t value = mute != 0 ? 1 : 0;
    return WriteValues(mixer, state, *found, MuteRequest(*found), value, value) ? 1 : 0;
}

}  // namespace volume
