// The reset: which line and which controls each slot serves.
#include "mixer_handles.h"
#include "slots.h"

namespace volume {

int SlotOfComponentType(std::uint32_t componentType) {
    for (std::uint32_t slot = 0; slot < kSlotCount; ++slot) {
        if (kComponentTypes[slot] == componentType) return static_cast<int>(slot);
    }
    return -1;
}

namespace {

// A line of a slot's type goes to the slot unless an earlier line already took it.
void RecordLine(LibraryState& state, std::uint32_t device, const LineInfo& line) {
    int index = SlotOfComponentType(line.componentType);
    if (index < 0) return;
    MixerSlot& slot = state.slots[index];
    if (slot.lineFound) return;
    slot.lineFound = true;
    slot.device = device;
    slot.lineId = line.lineId;
    slot.channels = line.channels;
}

// Every destination line of a device, each followed by its own source lines. A device,
// destination or source that cannot be read is passed over.
void SearchDevice(MixerApi& mixer, LibraryState& state, std::uint32_t device) {
    DeviceCaps caps;
    if (!mixer.GetDevCaps(device, caps)) return;
    OpenMixer open(mixer, device, state.module);
    if (!open) return;
    for (std::uint32_t destination = 0; destination < caps.destinations; ++destination) {
        LineInfo line;
        if (!mixer.GetDestinationLine(open.Get(), destination, line)) continue;
        RecordLine(state, device, line);
        for (std::uint32_t source = 0; source < line.connections; ++source) {
            LineInfo sourceLine;
            if (mixer.GetSourceLine(open.Get(), destination, source, sourceLine)) {
                RecordLine(state, device, sourceLine);
            }
        }
    }
}

// The slot line's first control of a type, on a device handle of its own.
bool FindControl(MixerApi& mixer, const LibraryState& state, const MixerSlot& slot,
                 std::uint32_t controlType, ControlInfo& control) {
    OpenMixer open(mixer, slot.device, state.module);
    return open && mixer.GetControlByType(open.Get(), slot.lineId, controlType, control);
}

void FindVolumeControls(MixerApi& mixer, LibraryState& state) {
    for (MixerSlot& slot : state.slots) {
        ControlInfo control;
        if (!slot.lineFound || !FindControl(mixer, state, slot, kControlTypeVolume, control)) continue;
        slot.volumeControlId = control.controlId;
        slot.volumeItems = control.items;
        slot.minimum = control.minimum;
        slot.maximum = control.maximum;
        slot.steps = control.steps;
        slot.volumeUniform = (control.flags & kControlUniform) != 0;
        slot.volumeFound = true;
    }
}

void FindMuteControls(MixerApi& mixer, LibraryState& state) {
    for (MixerSlot& slot : state.slots) {
        ControlInfo control;
        if (!slot.lineFound || !FindControl(mixer, state, slot, kControlTypeMute, control)) continue;
        slot.muteControlId = control.controlId;
        slot.muteItems = control.items;
        slot.muteFound = true;
    }
}

}  // namespace

int Reset(MixerApi& mixer, LibraryState& state) {
    for (MixerSlot& slot : state.slots) slot = MixerSlot{};
    state.deviceCount = mixer.GetNumDevs();
    if (state.deviceCount == 0) return 0;
    for (std::uint32_t device = 0; device < state.deviceCount; ++device) {
        SearchDevice(mixer, state, device);
    }
    FindVolumeControls(mixer, state);
    FindMuteControls(mixer, state);
    return 1;
}

}  // namespace volume
