// Owners of what the library takes from the mixer table: an open device and a value
// buffer, each given back on every path.
#pragma once

#include "mixer_api.h"

#include <cstddef>
#include <cstdint>

namespace volume {

class OpenMixer {
public:
    OpenMixer(MixerApi& mixer, std::uint32_t device, std::uintptr_t instance) : m_mixer(mixer) {
        m_open = mixer.Open(device, instance, m_handle);
    }
    ~OpenMixer() {
        if (m_open) m_mixer.Close(m_handle);
    }
    OpenMixer(const OpenMixer&) = delete;
    OpenMixer& operator=(const OpenMixer&) = delete;

    explicit operator bool() const { return m_open; }
    MixerHandle Get() const { return m_handle; }

private:
    MixerApi& m_mixer;
    MixerHandle m_handle = 0;
    bool m_open = false;
};

class ValueBuffer {
public:
    ValueBuffer(MixerApi& mixer, std::size_t count) : m_mixer(mixer), m_values(mixer.Allocate(count)) {}
    ~ValueBuffer() {
        if (m_values) m_mixer.Free(m_values);
    }
    ValueBuffer(const ValueBuffer&) = delete;
    ValueBuffer& operator=(const ValueBuffer&) = delete;

    std::uint32_t* Data() const { return m_values; }

private:
    MixerApi& m_mixer;
    std::uint32_t* m_values;
};

}  // namespace volume
