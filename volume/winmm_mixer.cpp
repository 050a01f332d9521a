#include "winmm_mixer.h"

namespace volume {
namespace {

// The record sizes the mixer interface expects in cbStruct (ANSI records, 32-bit).
static_assert(sizeof(MIXERCAPSA) == 48, "MIXERCAPSA");
static_assert(sizeof(MIXERLINEA) == 168, "MIXERLINEA");
static_assert(sizeof(MIXERLINECONTROLSA) == 24, "MIXERLINECONTROLSA");
static_assert(sizeof(MIXERCONTROLA) == 148, "MIXERCONTROLA");
static_assert(sizeof(MIXERCONTROLDETAILS) == 24, "MIXERCONTROLDETAILS");
static_assert(MIXERCONTROL_CONTROLTYPE_VOLUME == kControlTypeVolume, "volume control type");
static_assert(MIXERCONTROL_CONTROLTYPE_MUTE == kControlTypeMute, "mute control type");
static_assert(MIXERCONTROL_CONTROLF_UNIFORM == kControlUniform, "uniform flag");

// The handle is an open mixer, said so by MIXER_OBJECTF_HMIXER: without the flag the
// value would be taken for a device id.
HMIXEROBJ Object(MixerHandle handle) { return reinterpret_cast<HMIXEROBJ>(handle); }

bool GetLine(const WinmmFunctions& winmm, MixerHandle handle, MIXERLINEA& record, DWORD flags, LineInfo& line) {
    record.cbStruct = sizeof record;
    if (winmm.getLineInfo(Object(handle), &record, flags | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
        return false;
    }
    line.lineId = record.dwLineID;
    line.componentType = record.dwComponentType;
    line.channels = record.cChannels;
    line.connections = record.cConnections;
    return true;
}

MIXERCONTROLDETAILS Details(const DetailsRequest& request, const std::uint32_t* values) {
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = request.controlId;
    details.cChannels = request.channels;
    details.cMultipleItems = request.items;
    details.cbDetails = sizeof(DWORD);
    details.paDetails = const_cast<std::uint32_t*>(values);
    return details;
}

template <class Function>
bool Take(const fw::Library& library, const char* name, Function& function) {
    function = fw::LibraryFunction<Function>(library, name);
    return function != nullptr;
}

}  // namespace

bool WinmmFunctions::Load() {
    library = fw::LoadSystemLibrary("WINMM.DLL");
    if (Take(library, "mixerGetNumDevs", getNumDevs) && Take(library, "mixerGetDevCapsA", getDevCaps) &&
        Take(library, "mixerOpen", open) && Take(library, "mixerClose", close) &&
        Take(library, "mixerGetLineInfoA", getLineInfo) && Take(library, "mixerGetLineControlsA", getLineControls) &&
        Take(library, "mixerGetControlDetailsA", getControlDetails) &&
        Take(library, "mixerSetControlDetails", setControlDetails))
        return true;
    Unload();
    return false;
}

void WinmmFunctions::Unload() { *this = WinmmFunctions{}; }

std::uint32_t WinmmMixer::GetNumDevs() { return m_winmm.getNumDevs ? m_winmm.getNumDevs() : 0; }

bool WinmmMixer::GetDevCaps(std::uint32_t device, DeviceCaps& caps) {
    MIXERCAPSA record{};
    if (m_winmm.getDevCaps(device, &record, sizeof record) != MMSYSERR_NOERROR) return false;
    caps.destinations = record.cDestinations;
    return true;
}

bool WinmmMixer::Open(std::uint32_t device, std::uintptr_t instance, MixerHandle& handle) {
    HMIXER mixer = nullptr;
    if (m_winmm.open(&mixer, device, 0, instance, CALLBACK_NULL) != MMSYSERR_NOERROR) return false;
    handle = reinterpret_cast<MixerHandle>(mixer);
    return true;
}

void WinmmMixer::Close(MixerHandle handle) { m_winmm.close(reinterpret_cast<HMIXER>(handle)); }

bool WinmmMixer::GetDestinationLine(MixerHandle handle, std::uint32_t destination, LineInfo& line) {
    MIXERLINEA record{};
    record.dwDestination = destination;
    return GetLine(m_winmm, handle, record, MIXER_GETLINEINFOF_DESTINATION, line);
}

bool WinmmMixer::GetSourceLine(MixerHandle handle, std::uint32_t destination, std::uint32_t source,
                               LineInfo& line) {
    MIXERLINEA record{};
    record.dwDestination = destination;
    record.dwSource = source;
    return GetLine(m_winmm, handle, record, MIXER_GETLINEINFOF_SOURCE, line);
}

bool WinmmMixer::GetControlByType(MixerHandle handle, std::uint32_t lineId, std::uint32_t controlType,
                                  ControlInfo& control) {
    MIXERCONTROLA record{};
    record.cbStruct = sizeof record;
    MIXERLINECONTROLSA query{};
    query.cbStruct = sizeof query;
    query.dwLineID = lineId;
    query.dwControlType = controlType;
    query.cControls = 1;
    query.cbmxctrl = sizeof record;
    query.pamxctrl = &record;
    if (m_winmm.getLineControls(Object(handle), &query, MIXER_GETLINECONTROLSF_ONEBYTYPE | MIXER_OBJECTF_HMIXER) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    control.controlId = record.dwControlID;
    control.flags = record.fdwControl;
    control.items = record.cMultipleItems;
    control.minimum = record.Bounds.dwMinimum;
    control.maximum = record.Bounds.dwMaximum;
    control.steps = record.Metrics.cSteps;
    return true;
}

bool WinmmMixer::GetDetails(MixerHandle handle, const DetailsRequest& request, std::uint32_t* values) {
    MIXERCONTROLDETAILS details = Details(request, values);
    return m_winmm.getControlDetails(Object(handle), &details,
                                     MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR;
}

bool WinmmMixer::SetDetails(MixerHandle handle, const DetailsRequest& request, const std::uint32_t* values) {
    MIXERCONTROLDETAILS details = Details(request, values);
    return m_winmm.setControlDetails(Object(handle), &details,
                                    MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR;
}

// Fixed, zero-filled global memory: a driver that answers without writing every value
// (Wine's source-line controls do) leaves zeros, not stale memory.
std::uint32_t* WinmmMixer::Allocate(std::size_t count) {
    if (count > MAXDWORD / sizeof(std::uint32_t)) return nullptr;
    return static_cast<std::uint32_t*>(::GlobalAlloc(GPTR, count * sizeof(std::uint32_t)));
}

void WinmmMixer::Free(std::uint32_t* values) { ::GlobalFree(values); }

}  // namespace volume
