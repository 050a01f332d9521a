// The mixer table on the multimedia mixer interface of Windows (winmm).
#pragma once

#include "mixer_api.h"

namespace volume {

class WinmmMixer final : public MixerApi {
public:
    std::uint32_t GetNumDevs() override;
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
};

}  // namespace volume
