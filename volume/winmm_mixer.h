// The mixer table on the multimedia mixer interface of Windows (winmm).
#pragma once

#include "../framework/platform.h"
#include "mixer_api.h"

#include <windows.h>
#include <mmsystem.h>

namespace volume {

// The mixer functions of WINMM.DLL, loaded by its full path in the system directory rather
// than imported: a program's folder would come first in the search for an import. All null
// where the system has no such library: the library then finds no device.
struct WinmmFunctions {
    fw::Library library;
    UINT(WINAPI* getNumDevs)() = nullptr;
    MMRESULT(WINAPI* getDevCaps)(UINT_PTR, MIXERCAPSA*, UINT) = nullptr;
    MMRESULT(WINAPI* open)(HMIXER*, UINT, DWORD_PTR, DWORD_PTR, DWORD) = nullptr;
    MMRESULT(WINAPI* close)(HMIXER) = nullptr;
    MMRESULT(WINAPI* getLineInfo)(HMIXEROBJ, MIXERLINEA*, DWORD) = nullptr;
    MMRESULT(WINAPI* getLineControls)(HMIXEROBJ, MIXERLINECONTROLSA*, DWORD) = nullptr;
    MMRESULT(WINAPI* getControlDetails)(HMIXEROBJ, MIXERCONTROLDETAILS*, DWORD) = nullptr;
    MMRESULT(WINAPI* setControlDetails)(HMIXEROBJ, MIXERCONTROLDETAILS*, DWORD) = nullptr;

    // Loads the library and takes its functions; false (and nothing taken) when any is missing.
    bool Load();
    // Lets the library go; not at the process's end, when the system unloads everything itself.
    void Unload();
};

class WinmmMixer final : public MixerApi {
public:
    explicit WinmmMixer(const WinmmFunctions& winmm) noexcept : m_winmm(winmm) {}

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

private:
    const WinmmFunctions& m_winmm;
};

}  // namespace volume
