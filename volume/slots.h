// The library's state: one slot per kind of mixer line it serves, filled by a reset that
// searches every mixer device, and the device count of that reset.
#pragma once

#include "mixer_api.h"

#include <array>
#include <cstdint>

namespace volume {

constexpr std::uint32_t kSlotCount = 11;

// The mixer line component type that each slot serves: slot 0 the speakers destination,
// slots 1..10 the source types from digital (0x1001) to analog (0x100A).
constexpr std::array<std::uint32_t, kSlotCount> kComponentTypes = {
    0x0004,  // MIXERLINE_COMPONENTTYPE_DST_SPEAKERS
    0x1001,  // MIXERLINE_COMPONENTTYPE_SRC_DIGITAL
    0x1002,  // MIXERLINE_COMPONENTTYPE_SRC_LINE
    0x1003,  // MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE
    0x1004,  // MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER
    0x1005,  // MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC
    0x1006,  // MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE
    0x1007,  // MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER
    0x1008,  // MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT
    0x1009,  // MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY
    0x100A,  // MIXERLINE_COMPONENTTYPE_SRC_ANALOG
};

// What a reset found for one slot. The fields after each flag are valid only while the
// flag is set.
struct MixerSlot {
    bool lineFound = false;
    std::uint32_t device = 0;  // mixer device id that holds the line
    std::uint32_t lineId = 0;
    std::uint32_t channels = 0;

    bool volumeFound = false;
    std::uint32_t volumeControlId = 0;
    std::uint32_t volumeItems = 0;
    std::uint32_t minimum = 0;
    std::uint32_t maximum = 0;
    std::uint32_t steps = 0;  // the number of steps the control reports, not a step size
    bool volumeUniform = false;  // one value serves all channels

    bool muteFound = false;
    std::uint32_t muteControlId = 0;
    std::uint32_t muteItems = 0;
};

struct LibraryState {
    std::array<MixerSlot, kSlotCount> slots{};
    std::uint32_t deviceCount = 0;  // of the last reset; 0 until one found a device
    std::uintptr_t module = 0;      // the library's module handle, the mixers' callback instance
};

// The slot that serves a component type, or -1 when none does.
int SlotOfComponentType(std::uint32_t componentType);

// Rebuilds the slot table from every mixer device: the first line of each slot's type
// wins, in the order device, destination, the destination line before its own sources,
// source; then each slot's volume and mute controls. 1 when there is at least one
// mixer device, else 0 (and every other function fails until a later reset succeeds).
int Reset(MixerApi& mixer, LibraryState& state);

}  // namespace volume
