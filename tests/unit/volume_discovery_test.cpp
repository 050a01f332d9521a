#include "volume_fixture.h"

#include <string>
#include <utility>
#include <vector>

namespace volume {
namespace {

using fake::Destination;
using fake::MakeLine;
using fake::Mute;
using fake::Volume;
using Found = std::pair<int, std::uint32_t>;  // device, line id

TEST_F(VolumeTest, EachComponentTypeHasItsSlot) {
    // Sources listed from the last type to the first, among types that have no slot.
    Destination speakers{MakeLine(100, kSpeakers), {MakeLine(50, kUndefinedSource)}};
    for (std::uint32_t slot = kSlotCount - 1; slot >= 1; --slot) {
        speakers.sources.push_back(MakeLine(100 + slot, kComponentTypes[slot]));
    }
    mixer.devices = {{Destination{MakeLine(60, kHeadphones), {}}, speakers, Destination{MakeLine(70, kWaveIn), {}}}};

    ASSERT_EQ(Reset(mixer, state), 1);
    EXPECT_EQ(state.deviceCount, 1u);
    for (int slot = 0; slot < static_cast<int>(kSlotCount); ++slot) {
        EXPECT_EQ(LineOf(slot), Found(0, 100 + slot)) << "slot " << slot;
        EXPECT_EQ(SlotOfComponentType(kComponentTypes[slot]), slot);
    }
    for (std::uint32_t other : {kHeadphones, kWaveIn, kUndefinedSource, 0x100Bu}) {
        EXPECT_EQ(SlotOfComponentType(other), -1) << other;
    }
}

TEST_F(VolumeTest, FirstLineInSearchOrderWins) {
    struct Case {
        const char* name;
        std::vector<fake::Device> devices;
        int slot;
        Found expected;
    };
    const Case cases[] = {
        {"two devices with speakers: the first device's",
         {{{MakeLine(1, kSpeakers), {}}}, {{MakeLine(2, kSpeakers), {}}}}, 0, {0, 1}},
        {"a destination line before its own sources",
         {{{MakeLine(1, kSpeakers), {MakeLine(2, kSpeakers)}}}}, 0, {0, 1}},
        {"a destination's sources before the next destination",
         {{{MakeLine(1, kWaveIn), {MakeLine(11, kMicrophone)}}, {MakeLine(2, kSpeakers), {MakeLine(21, kMicrophone)}}}},
         3, {0, 11}},
        {"a destination's sources before the next destination's line",
         {{{MakeLine(1, kWaveIn), {MakeLine(11, kSpeakers)}}, {MakeLine(2, kSpeakers), {}}}}, 0, {0, 11}},
        {"sources in their order",
         {{{MakeLine(1, kSpeakers), {MakeLine(11, kWaveOut), MakeLine(12, kWaveOut)}}}}, 8, {0, 11}},
        {"a later device's first line after an earlier device's last",
         {{{MakeLine(1, kWaveIn), {}}, {MakeLine(2, kWaveIn), {MakeLine(21, kMicrophone)}}},
          {{MakeLine(1, kWaveIn), {MakeLine(11, kMicrophone)}}}},
         3, {0, 21}},
    };
    for (const Case& c : cases) {
        mixer.devices = c.devices;
        ASSERT_EQ(Reset(mixer, state), 1) << c.name;
        EXPECT_EQ(LineOf(c.slot), c.expected) << c.name;
    }
}

// Two devices alike: a speakers destination with two microphones, and a wave-in
// destination with a third one. Ids: device * 100 + destination * 10 + source.
TEST_F(VolumeTest, UnreadablePartsArePassedOver) {
    struct Case {
        const char* name;
        fake::Call call;
        int occurrence;
        Found speakers;
        Found microphone;
    };
    const Case cases[] = {
        {"nothing fails", fake::Call::kCount, 0, {0, 100}, {0, 101}},
        {"the first device's caps", fake::Call::GetDevCaps, 1, {1, 200}, {1, 201}},
        {"the first device does not open", fake::Call::Open, 1, {1, 200}, {1, 201}},
        {"a destination line, and so its sources", fake::Call::GetDestinationLine, 1, {1, 200}, {0, 111}},
        {"a source line", fake::Call::GetSourceLine, 1, {0, 100}, {0, 102}},
    };
    for (const Case& c : cases) {
        fake::Mixer fresh;
        for (std::uint32_t device = 0; device < 2; ++device) {
            std::uint32_t base = (device + 1) * 100;
            fresh.devices.push_back({{MakeLine(base, kSpeakers), {MakeLine(base + 1, kMicrophone), MakeLine(base + 2, kMicrophone)}},
                                     {MakeLine(base + 10, kWaveIn), {MakeLine(base + 11, kMicrophone)}}});
        }
        if (c.call != fake::Call::kCount) fresh.Fail(c.call, c.occurrence);
        ASSERT_EQ(Reset(fresh, state), 1) << c.name;
        EXPECT_EQ(LineOf(0), c.speakers) << c.name;
        EXPECT_EQ(LineOf(3), c.microphone) << c.name;
        ExpectClean(fresh, c.name);
    }
}

TEST_F(VolumeTest, EachSlotKeepsItsLineAndControls) {
    fake::Control speakerVolume = Volume(5, 10, 1000, 33);
    speakerVolume.flags = kControlUniform;
    fake::Control speakerMute = Mute(6);
    speakerMute.items = 2;
    mixer.devices = {{{MakeLine(100, kSpeakers, {speakerVolume, speakerMute}, 2),
                       {MakeLine(101, kMicrophone, {Volume(7, 0, 255, 16)}, 1),
                        MakeLine(102, kWaveOut, {Mute(8)}, 4), MakeLine(103, kLineIn)}}}};
    state.module = 0x10000000;

    ASSERT_EQ(Reset(mixer, state), 1);
    EXPECT_EQ(mixer.LastInstance(), 0x10000000u) << "the module handle is the callback instance";

    const MixerSlot& speakers = state.slots[0];
    EXPECT_EQ(speakers.channels, 2u);
    EXPECT_TRUE(speakers.volumeFound);
    EXPECT_EQ(speakers.volumeControlId, 5u);
    EXPECT_EQ(speakers.minimum, 10u);
    EXPECT_EQ(speakers.maximum, 1000u);
    EXPECT_EQ(speakers.steps, 33u);
    EXPECT_TRUE(speakers.volumeUniform);
    EXPECT_TRUE(speakers.muteFound);
    EXPECT_EQ(speakers.muteControlId, 6u);
    EXPECT_EQ(speakers.muteItems, 2u);

    const MixerSlot& microphone = state.slots[3];  // volume without mute
    EXPECT_EQ(microphone.channels, 1u);
    EXPECT_TRUE(microphone.volumeFound);
    EXPECT_EQ(microphone.volumeControlId, 7u);
    EXPECT_FALSE(microphone.volumeUniform);
    EXPECT_FALSE(microphone.muteFound);

    const MixerSlot& waveOut = state.slots[8];  // mute without volume
    EXPECT_EQ(waveOut.channels, 4u);
    EXPECT_FALSE(waveOut.volumeFound);
    EXPECT_TRUE(waveOut.muteFound);
    EXPECT_EQ(waveOut.muteControlId, 8u);

    const MixerSlot& lineIn = state.slots[2];  // no control at all
    EXPECT_TRUE(lineIn.lineFound);
    EXPECT_FALSE(lineIn.volumeFound);
    EXPECT_FALSE(lineIn.muteFound);
}

// One device, so the first open is the line search's; the lookups follow slot by slot,
// every volume control before any mute control.
TEST_F(VolumeTest, AFailedControlLookupLeavesTheSlotWithoutThatControl) {
    struct Case {
        const char* name;
        fake::Call call;
        int occurrence;
        bool speakerVolume, speakerMute, microphoneVolume, microphoneMute;
    };
    const Case cases[] = {
        {"the speakers' volume lookup", fake::Call::GetControlByType, 1, false, true, true, true},
        {"the microphone's mute lookup", fake::Call::GetControlByType, 4, true, true, true, false},
        {"the open for the speakers' volume", fake::Call::Open, 2, false, true, true, true},
        {"the open for the speakers' mute", fake::Call::Open, 4, true, false, true, true},
    };
    for (const Case& c : cases) {
        fake::Mixer fresh;
        fresh.devices = {{{MakeLine(100, kSpeakers, {Volume(1), Mute(2)}),
                           {MakeLine(101, kMicrophone, {Volume(3), Mute(4)})}}}};
        fresh.Fail(c.call, c.occurrence);
        ASSERT_EQ(Reset(fresh, state), 1) << c.name;
        EXPECT_EQ(state.slots[0].volumeFound, c.speakerVolume) << c.name;
        EXPECT_EQ(state.slots[0].muteFound, c.speakerMute) << c.name;
        EXPECT_EQ(state.slots[3].volumeFound, c.microphoneVolume) << c.name;
        EXPECT_EQ(state.slots[3].muteFound, c.microphoneMute) << c.name;
        ExpectClean(fresh, c.name);
    }
}

TEST_F(VolumeTest, NoDeviceFailsTheReset) {
    EXPECT_EQ(Reset(mixer, state), 0);
    EXPECT_EQ(state.deviceCount, 0u);
}

TEST_F(VolumeTest, AResetAfterADeviceDisappears) {
    mixer.devices = {
        {{MakeLine(100, kSpeakers, {Volume(1), Mute(2)}), {MakeLine(101, kMicrophone, {Volume(3)})}}},
        {{MakeLine(200, kSpeakers, {Volume(1)}), {MakeLine(201, kWaveOut, {Mute(2)})}}},
    };
    ASSERT_EQ(Reset(mixer, state), 1);
    EXPECT_EQ(LineOf(0), Found(0, 100));
    EXPECT_EQ(LineOf(3), Found(0, 101));
    EXPECT_EQ(LineOf(8), Found(1, 201));
    EXPECT_TRUE(state.slots[0].muteFound);

    mixer.devices.erase(mixer.devices.begin());
    ASSERT_EQ(Reset(mixer, state), 1);
    EXPECT_EQ(state.deviceCount, 1u);
    EXPECT_EQ(LineOf(0), Found(0, 200));
    EXPECT_TRUE(state.slots[0].volumeFound);
    EXPECT_FALSE(state.slots[0].muteFound) << "the remaining speakers have no mute";
    EXPECT_EQ(LineOf(3), Found(-1, 0)) << "the microphone went with its device";
    EXPECT_FALSE(state.slots[3].volumeFound);
    EXPECT_EQ(LineOf(8), Found(0, 201));

    mixer.devices.clear();
    EXPECT_EQ(Reset(mixer, state), 0);
    for (const MixerSlot& slot : state.slots) {
        EXPECT_FALSE(slot.lineFound || slot.volumeFound || slot.muteFound);
    }
}

}  // namespace
}  // namespace volume
