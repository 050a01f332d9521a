// The mixer functions the volume library calls, as a table that the library is written
// over: the multimedia mixer interface on Windows (winmm_mixer.h), a scripted mixer in the
// tests. The records carry only the fields the library reads, in the mixer interface's
// own units; every call answers true on success and false on any failure.
#pragma once

#include <cstddef>
#include <cstdint>

namespace volume {

// An open mixer device; 0 is no device.
using MixerHandle = std::uintptr_t;

struct DeviceCaps {
    std::uint32_t destinations = 0;  // cDestinations
};

struct LineInfo {
    std::uint32_t lineId = 0;         // dwLineID
    std::uint32_t componentType = 0;  // dwComponentType
    std::uint32_t channels = 0;       // cChannels
    std::uint32_t connections = 0;    // cConnections (sources of a destination line)
};

struct ControlInfo {
    std::uint32_t controlId = 0;  // dwControlID
    std::uint32_t flags = 0;      // fdwControl
    std::uint32_t items = 0;      // cMultipleItems
    std::uint32_t minimum = 0;    // Bounds.dwMinimum
    std::uint32_t maximum = 0;    // Bounds.dwMaximum
    std::uint32_t steps = 0;      // Metrics.cSteps
};

// One control-details call: the values of one control, one 32-bit value per channel and
// item, in a buffer that the library allocates through the table.
struct DetailsRequest {
    std::uint32_t controlId = 0;
    std::uint32_t channels = 0;  // cChannels
    std::uint32_t items = 0;     // cMultipleItems
};

// Control types and flags of the mixer interface.
constexpr std::uint32_t kControlTypeVolume = 0x50030001;  // MIXERCONTROL_CONTROLTYPE_VOLUME
constexpr std::uint32_t kControlTypeMute = 0x20010002;    // MIXERCONTROL_CONTROLTYPE_MUTE
constexpr std::uint32_t kControlUniform = 0x00000001;     // MIXERCONTROL_CONTROLF_UNIFORM

class MixerApi {
public:
    virtual ~MixerApi() = default;

    virtual std::uint32_t GetNumDevs() = 0;
    virtual bool GetDevCaps(std::uint32_t device, DeviceCaps& caps) = 0;
    // Opens a device without a callback; instance goes as the callback instance value.
    virtual bool Open(std::uint32_t device, std::uintptr_t instance, MixerHandle& handle) = 0;
    virtual void Close(MixerHandle handle) = 0;
    virtual bool GetDestinationLine(MixerHandle handle, std::uint32_t destination, LineInfo& line) = 0;
    virtual bool GetSourceLine(MixerHandle handle, std::uint32_t destination, std::uint32_t source,
                               LineInfo& line) = 0;
    // The line's first control of the given type.
    virtual bool GetControlByType(MixerHandle handle, std::uint32_t lineId, std::uint32_t controlType,
                                  ControlInfo& control) = 0;
    virtual bool GetDetails(MixerHandle handle, const DetailsRequest& request, std::uint32_t* values) = 0;
    virtual bool SetDetails(MixerHandle handle, const DetailsRequest& request, const std::uint32_t* values) = 0;

    // A zero-filled buffer of count values for one details call, or null when memory is
    // exhausted; given back with Free.
    virtual std::uint32_t* Allocate(std::size_t count) = 0;
    virtual void Free(std::uint32_t* values) = 0;
};

}  // namespace volume
