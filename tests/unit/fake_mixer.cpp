#include "fake_mixer.h"

#include <algorithm>

namespace volume::fake {

Control Volume(std::uint32_t id, std::uint32_t minimum, std::uint32_t maximum, std::uint32_t steps) {
    Control control;
    control.type = kControlTypeVolume;
    control.id = id;
    control.minimum = minimum;
    control.maximum = maximum;
    control.steps = steps;
    return control;
}

Control Mute(std::uint32_t id) {
    Control control;
    control.type = kControlTypeMute;
    control.id = id;
    control.maximum = 1;
    control.steps = 0;
    return control;
}

Line MakeLine(std::uint32_t id, std::uint32_t type, std::vector<Control> controls, std::uint32_t channels) {
    for (Control& control : controls) {
        std::size_t count = std::size_t{std::max<std::uint32_t>(channels, 1)} * std::max<std::uint32_t>(control.items, 1);
        control.values.assign(count, control.minimum);
    }
    return {id, type, channels, std::move(controls)};
}

void Mixer::Fail(Call call, int occurrence) { m_failures[call] = occurrence; }

bool Mixer::Fails(Call call) {
    int count = ++m_calls[static_cast<int>(call)];
    auto failure = m_failures.find(call);
    return failure != m_failures.end() && (failure->second == 0 || failure->second == count);
}

const Device* Mixer::DeviceOf(MixerHandle handle, const char* what) {
    auto open = m_handles.find(handle);
    if (open == m_handles.end()) {
        m_faults.push_back(std::string(what) + " on a handle that is not open");
        return nullptr;
    }
    return &devices.at(open->second);
}

bool Mixer::GetDevCaps(std::uint32_t device, DeviceCaps& caps) {
    if (Fails(Call::GetDevCaps) || device >= devices.size()) return false;
    caps.destinations = static_cast<std::uint32_t>(devices[device].size());
    return true;
}

bool Mixer::Open(std::uint32_t device, std::uintptr_t instance, MixerHandle& handle) {
    m_lastInstance = instance;
    if (Fails(Call::Open) || device >= devices.size()) return false;
    handle = m_nextHandle++;
    m_handles[handle] = device;
    return true;
}

void Mixer::Close(MixerHandle handle) {
    if (m_handles.erase(handle) == 0) m_faults.push_back("close of a handle that is not open");
}

namespace {

void Describe(const Line& line, std::uint32_t connections, LineInfo& info) {
    info.lineId = line.id;
    info.componentType = line.type;
    info.channels = line.channels;
    info.connections = connections;
}

}  // namespace

bool Mixer::GetDestinationLine(MixerHandle handle, std::uint32_t destination, LineInfo& line) {
    const Device* device = DeviceOf(handle, "destination line");
    if (Fails(Call::GetDestinationLine) || !device || destination >= device->size()) return false;
    const Destination& found = (*device)[destination];
    Describe(found.line, static_cast<std::uint32_t>(found.sources.size()), line);
    return true;
}

bool Mixer::GetSourceLine(MixerHandle handle, std::uint32_t destination, std::uint32_t source, LineInfo& line) {
    const Device* device = DeviceOf(handle, "source line");
    if (Fails(Call::GetSourceLine) || !device || destination >= device->size()) return false;
    const Destination& found = (*device)[destination];
    if (source >= found.sources.size()) return false;
    Describe(found.sources[source], 0, line);
    return true;
}

bool Mixer::GetControlByType(MixerHandle handle, std::uint32_t lineId, std::uint32_t controlType,
                             ControlInfo& control) {
    const Device* device = DeviceOf(handle, "control lookup");
    if (Fails(Call::GetControlByType) || !device) return false;
    for (Line* line : LinesOf(m_handles.at(handle))) {
        if (line->id != lineId) continue;
        for (const Control& c : line->controls) {
            if (c.type != controlType) continue;
            control = {c.id, c.flags, c.items, c.minimum, c.maximum, c.steps};
            return true;
        }
        return false;
    }
    return false;
}

std::vector<Line*> Mixer::LinesOf(std::uint32_t device) {
    std::vector<Line*> lines;
    for (Destination& destination : devices.at(device)) {
        lines.push_back(&destination.line);
        for (Line& source : destination.sources) lines.push_back(&source);
    }
    return lines;
}

Control* Mixer::FindControl(std::uint32_t device, std::uint32_t controlId, const Line** line) {
    for (Line* candidate : LinesOf(device)) {
        for (Control& control : candidate->controls) {
            if (control.id != controlId) continue;
            if (line) *line = candidate;
            return &control;
        }
    }
    return nullptr;
}

// The control a details request names, once the request is one the mixer interface
// accepts: a uniform control takes one channel, any other one channel or all of the
// line's, cMultipleItems is the control's own, and the buffer holds every value.
Control* Mixer::CheckedControl(MixerHandle handle, const DetailsRequest& request, const std::uint32_t* values) {
    m_lastRequest = request;
    auto open = m_handles.find(handle);
    if (open == m_handles.end()) {
        m_faults.push_back("details call on a handle that is not open");
        return nullptr;
    }
    const Line* line = nullptr;
    Control* control = FindControl(open->second, request.controlId, &line);
    if (!control) return nullptr;
    bool channelsOk = request.channels == 1 || (!(control->flags & kControlUniform) && request.channels == line->channels);
    if (!channelsOk) m_faults.push_back("details call with " + std::to_string(request.channels) + " channels");
    if (request.items != control->items) m_faults.push_back("details call with the wrong item count");
    auto buffer = m_buffers.find(values);
    std::size_t needed = std::size_t{request.channels} * std::max<std::uint32_t>(request.items, 1);
    if (buffer == m_buffers.end() || buffer->second < needed) {
        m_faults.push_back("details buffer smaller than the call's values");
        return nullptr;
    }
    return channelsOk && request.items == control->items ? control : nullptr;
}

bool Mixer::GetDetails(MixerHandle handle, const DetailsRequest& request, std::uint32_t* values) {
    if (Fails(Call::GetDetails)) return false;
    Control* control = CheckedControl(handle, request, values);
    if (!control) return false;
    std::size_t count = std::size_t{request.channels} * std::max<std::uint32_t>(request.items, 1);
    for (std::size_t i = 0; i < count; ++i) values[i] = control->values[std::min(i, control->values.size() - 1)];
    return true;
}

// One channel sets every channel alike.
bool Mixer::SetDetails(MixerHandle handle, const DetailsRequest& request, const std::uint32_t* values) {
    if (Fails(Call::SetDetails)) return false;
    Control* control = CheckedControl(handle, request, values);
    if (!control) return false;
    for (std::size_t i = 0; i < control->values.size(); ++i) {
        control->values[i] = request.channels == 1 ? values[0] : values[i];
    }
    return true;
}

std::uint32_t* Mixer::Allocate(std::size_t count) {
    if (Fails(Call::Allocate)) return nullptr;
    auto* values = new std::uint32_t[count]();
    m_buffers[values] = count;
    return values;
}

void Mixer::Free(std::uint32_t* values) {
    if (m_buffers.erase(values) == 0) {
        m_faults.push_back("free of a buffer that is not live");
        return;
    }
    delete[] values;
}

}  // namespace volume::fake
