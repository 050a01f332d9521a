// A scripted mixer for the volume library's tests: devices with destinations, source
// lines and controls, any call made to fail, and a count of every call. It checks what
// the mixer interface demands of its callers (open handles, one channel for a uniform
// control, a value buffer large enough for the call) and keeps every open handle and
// buffer, so that a test can see that all were given back.
#pragma once

#include "mixer_api.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace volume::fake {

struct Control {
    std::uint32_t type = kControlTypeVolume;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t items = 0;
    std::uint32_t minimum = 0;
    std::uint32_t maximum = 65535;
    std::uint32_t steps = 100;
    std::vector<std::uint32_t> values;  // per channel (times items); filled in by MakeLine
};

struct Line {
    std::uint32_t id = 0;
    std::uint32_t type = 0;
    std::uint32_t channels = 2;
    std::vector<Control> controls;
};

struct Destination {
    Line line;
    std::vector<Line> sources;
};

using Device = std::vector<Destination>;

Control Volume(std::uint32_t id, std::uint32_t minimum = 0, std::uint32_t maximum = 65535,
               std::uint32_t steps = 100);
Control Mute(std::uint32_t id);
// A line whose controls start at their minimum on every channel.
Line MakeLine(std::uint32_t id, std::uint32_t type, std::vector<Control> controls = {},
              std::uint32_t channels = 2);

enum class Call { GetDevCaps, Open, GetDestinationLine, GetSourceLine, GetControlByType, GetDetails,
                  SetDetails, Allocate, kCount };

class Mixer final : public MixerApi {
public:
    std::vector<Device> devices;

    // Makes the occurrence-th call of a kind fail (counting from 1), or every one for 0.
    void Fail(Call call, int occurrence = 0);
    void ClearFailures() { m_failures.clear(); }
    int Calls(Call call) const { return m_calls[static_cast<int>(call)]; }

    int OpenHandles() const { return static_cast<int>(m_handles.size()); }
    int LiveBuffers() const { return static_cast<int>(m_buffers.size()); }
    // What a caller did that the mixer interface does not allow.
    const std::vector<std::string>& Faults() const { return m_faults; }

    const DetailsRequest& LastRequest() const { return m_lastRequest; }
    std::uintptr_t LastInstance() const { return m_lastInstance; }
    // The control of a device by id; null when there is none.
    Control* FindControl(std::uint32_t device, std::uint32_t controlId, const Line** line = nullptr);

    std::uint32_t GetNumDevs() override { return static_cast<std::uint32_t>(devices.size()); }
    bool GetDevCaps(std::uint32_t device, DeviceCaps& caps) override;
    bool Open(std::uint32_t device, std::uintptr_t instance, MixerHandle& handle) override;
    void Close(MixerHandle handle) override;
    bool GetDestinationLine(MixerHandle handle, std::uint32_t destination, LineInfo& line) override;
    bool GetSourceLine(MixerHandle handle, std::uint32_t destination, std::uint32_t source,
                       LineInfo& line) override;
    bool GetControlByType(MixerHandle handle, std::uint32_t lineId, std::uint32_t controlType,
                          ControlInfo& control) override;
    bool GetDetails(MixerHandle handle, const DetailsRequest& request, std::uint32_t* values) override;
    bool SetDetails(MixerHandle handle, const DetailsRequest& request, const std::uint32_t* values) override;
    std::uint32_t* Allocate(std::size_t count) override;
    void Free(std::uint32_t* values) override;

private:
    bool Fails(Call call);
    const Device* DeviceOf(MixerHandle handle, const char* what);
    std::vector<Line*> LinesOf(std::uint32_t device);
    Control* CheckedControl(MixerHandle handle, const DetailsRequest& request, const std::uint32_t* values);

    std::array<int, static_cast<int>(Call::kCount)> m_calls{};
    std::map<Call, int> m_failures;
    std::map<MixerHandle, std::uint32_t> m_handles;  // open handle -> device
    MixerHandle m_nextHandle = 0x100;
    std::map<const std::uint32_t*, std::size_t> m_buffers;  // live buffer -> value count
    std::vector<std::string> m_faults;
    DetailsRequest m_lastRequest;
    std::uintptr_t m_lastInstance = 0;
};

}  // namespace volume::fake
