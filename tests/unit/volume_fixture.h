// A fake mixer and the library state it fills, checked after every test: no handle left
// open, no buffer left allocated, nothing done that the mixer interface forbids.
#pragma once

#include "fake_mixer.h"
#include "slots.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace volume {

class VolumeTest : public ::testing::Test {
protected:
    void TearDown() override { ExpectClean(mixer, "the test's mixer"); }

    static void ExpectClean(const fake::Mixer& used, const std::string& context) {
        EXPECT_EQ(used.OpenHandles(), 0) << context << ": mixer handles left open";
        EXPECT_EQ(used.LiveBuffers(), 0) << context << ": value buffers not freed";
        for (const std::string& fault : used.Faults()) ADD_FAILURE() << context << ": " << fault;
    }

    // Where a slot's line was found, for comparisons: {device, line id}, or {-1, 0}.
    std::pair<int, std::uint32_t> LineOf(int slot) const {
        const MixerSlot& found = state.slots[slot];
        return found.lineFound ? std::pair<int, std::uint32_t>{static_cast<int>(found.device), found.lineId}
                               : std::pair<int, std::uint32_t>{-1, 0};
    }

    fake::Mixer mixer;
    LibraryState state;
};

// Component types of the mixer interface that the tests use by name.
constexpr std::uint32_t kSpeakers = 0x0004;
constexpr std::uint32_t kHeadphones = 0x0005;
constexpr std::uint32_t kWaveIn = 0x0007;
constexpr std::uint32_t kUndefinedSource = 0x1000;
constexpr std::uint32_t kDigital = 0x1001;
constexpr std::uint32_t kLineIn = 0x1002;
constexpr std::uint32_t kMicrophone = 0x1003;
constexpr std::uint32_t kSynthesizer = 0x1004;
constexpr std::uint32_t kCompactDisc = 0x1005;
constexpr std::uint32_t kTelephone = 0x1006;
constexpr std::uint32_t kWaveOut = 0x1008;

}  // namespace volume
