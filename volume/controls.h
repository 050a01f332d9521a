// Reading and setting a slot's volume and mute. Each function first checks that the last
// reset found a device, that the slot is below kSlotCount and that the slot has the
// control it needs; if not, it returns 0 without a mixer call. Each mixer call works on a
// device handle and a value buffer of its own, both given back before it returns. Out
// arguments are written only when the result is 1.
#pragma once

#include "mixer_api.h"
#include "slots.h"

#include <cstdint>

namespace volume {

// The control's first two channel values as left and right (either pointer may be null).
// A one-channel line or a uniform control has one value, read as both.
int GetVolume(MixerApi& mixer, const LibraryState& state, std::uint32_t slot, int* left, int* right);

// Both values must lie in the slot's [minimum, maximum], checked before the device is
// opened. Left goes to the first channel, right to every further channel; a one-channel
// line or a uniform control takes left alone.
int SetVolume(MixerApi& mixer, const LibraryState& state, std::uint32_t slot, std::uint32_t left,
              std::uint32_t right);

// The volume control's range and step count as the reset found them; a null out is 0.
int GetMaximum(const LibraryState& state, std::uint32_t slot, int* out);
int GetMinimum(const LibraryState& state, std::uint32_t slot, int* out);
int GetStep(const LibraryState& state, std::uint32_t slot, int* out);

// 1 in out when the mute control holds any non-zero value, else 0; out may be null.
int IsMute(MixerApi& mixer, const LibraryState& state, std::uint32_t slot, int* out);

// Sets the mute control to 1 for any non-zero mute, else 0.
int SetMute(MixerApi& mixer, const LibraryState& state, std::uint32_t slot, int mute);

}  // namespace volume
