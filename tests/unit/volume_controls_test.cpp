#include "controls.h"
#include "volume_fixture.h"

#include <functional>
#include <vector>

namespace volume {
namespace {

using fake::MakeLine;
using fake::Mute;
using fake::Volume;

constexpr int kUntouched = -12345;

// One device: speakers with a volume (10..1000) and a mute; sources with one channel,
// four channels, mute alone, a uniform volume, no control, items, and no channel count.
class ControlsTest : public VolumeTest {
protected:
    void SetUp() override {
        fake::Control uniform = Volume(7, 0, 65535);
        uniform.flags = kControlUniform;
        fake::Control multipleVolume = Volume(8, 0, 100);
        multipleVolume.items = 3;
        fake::Control multipleMute = Mute(9);
        multipleMute.items = 2;
        fake::Line huge{109, 0x1009, 0xFFFFFFFF, {Volume(11)}};
        huge.controls[0].items = 0xFFFFFFFF;
        huge.controls[0].values = {0};
        mixer.devices = {{{MakeLine(100, kSpeakers, {Volume(1, 10, 1000, 99), Mute(2)}),
                           {MakeLine(101, kMicrophone, {Volume(3, 0, 100)}, 1),
                            MakeLine(102, kWaveOut, {Volume(5, 0, 500)}, 4),
                            MakeLine(103, kLineIn, {Mute(6)}),
                            MakeLine(104, kSynthesizer, {uniform}),
                            MakeLine(105, kCompactDisc),
                            MakeLine(106, kDigital, {multipleVolume, multipleMute}),
                            MakeLine(107, kTelephone, {Volume(10, 0, 100)}, 0),
                            huge}}}};
        ASSERT_EQ(Reset(mixer, state), 1);
    }

    std::vector<std::uint32_t>& Values(std::uint32_t controlId) { return mixer.FindControl(0, controlId)->values; }
};

// Every function, with two out arguments where it has them.
struct Function {
    const char* name;
    bool mute;  // needs the mute control rather than the volume control
    std::function<int(fake::Mixer&, const LibraryState&, std::uint32_t, int*, int*)> call;
};
const Function kFunctions[] = {
    {"GetVolume", false, [](auto& m, auto& s, std::uint32_t slot, int* a, int* b) { return GetVolume(m, s, slot, a, b); }},
    {"SetVolume", false, [](auto& m, auto& s, std::uint32_t slot, int*, int*) { return SetVolume(m, s, slot, 50, 50); }},
    {"GetMaximum", false, [](auto&, auto& s, std::uint32_t slot, int* a, int*) { return GetMaximum(s, slot, a); }},
    {"GetMinimum", false, [](auto&, auto& s, std::uint32_t slot, int* a, int*) { return GetMinimum(s, slot, a); }},
    {"GetStep", false, [](auto&, auto& s, std::uint32_t slot, int* a, int*) { return GetStep(s, slot, a); }},
    {"IsMute", true, [](auto& m, auto& s, std::uint32_t slot, int* a, int*) { return IsMute(m, s, slot, a); }},
    {"SetMute", true, [](auto& m, auto& s, std::uint32_t slot, int*, int*) { return SetMute(m, s, slot, 1); }},
};

TEST_F(ControlsTest, PreconditionsFailWithoutAMixerCall) {
    struct Case {
        const char* name;
        std::uint32_t slot;
        bool volumeWorks, muteWorks;
    };
    const Case cases[] = {
        {"slot 11", 11, false, false},
        {"negative slot", static_cast<std::uint32_t>(-1), false, false},
        {"no line of the slot's type", 7, false, false},
        {"a line without controls", 5, false, false},
        {"mute without volume", 2, false, true},
        {"volume without mute", 3, true, false},
    };
    for (const Case& c : cases) {
        for (const Function& f : kFunctions) {
            bool works = f.mute ? c.muteWorks : c.volumeWorks;
            int opens = mixer.Calls(fake::Call::Open);
            int a = kUntouched, b = kUntouched;
            EXPECT_EQ(f.call(mixer, state, c.slot, &a, &b), works ? 1 : 0) << c.name << ", " << f.name;
            if (works) continue;
            EXPECT_EQ(mixer.Calls(fake::Call::Open), opens) << c.name << ", " << f.name;
            EXPECT_EQ(a, kUntouched) << c.name << ", " << f.name;
            EXPECT_EQ(b, kUntouched) << c.name << ", " << f.name;
        }
    }
}

TEST_F(ControlsTest, AfterAResetWithoutDevicesEverythingFails) {
    mixer.devices.clear();
    ASSERT_EQ(Reset(mixer, state), 0);
    for (const Function& f : kFunctions) {
        int a = kUntouched, b = kUntouched;
        EXPECT_EQ(f.call(mixer, state, 0, &a, &b), 0) << f.name;
        EXPECT_EQ(a, kUntouched) << f.name;
    }
}

TEST_F(ControlsTest, NullOutputs) {
    EXPECT_EQ(GetMaximum(state, 0, nullptr), 0);
    EXPECT_EQ(GetMinimum(state, 0, nullptr), 0);
    EXPECT_EQ(GetStep(state, 0, nullptr), 0);

    // The reads still read the control.
    Values(1) = {300, 700};
    EXPECT_EQ(GetVolume(mixer, state, 0, nullptr, nullptr), 1);
    EXPECT_EQ(mixer.Calls(fake::Call::GetDetails), 1);
    int right = kUntouched;
    EXPECT_EQ(GetVolume(mixer, state, 0, nullptr, &right), 1);
    EXPECT_EQ(right, 700);
    EXPECT_EQ(IsMute(mixer, state, 0, nullptr), 1);
    EXPECT_EQ(mixer.Calls(fake::Call::GetDetails), 3);
}

TEST_F(ControlsTest, RangeAndStepCountAsFound) {
    int minimum = kUntouched, maximum = kUntouched, steps = kUntouched;
    EXPECT_EQ(GetMinimum(state, 0, &minimum), 1);
    EXPECT_EQ(GetMaximum(state, 0, &maximum), 1);
    EXPECT_EQ(GetStep(state, 0, &steps), 1);
    EXPECT_EQ(minimum, 10);
    EXPECT_EQ(maximum, 1000);
    EXPECT_EQ(steps, 99);
}

// Both values are checked before the device is opened; the bounds themselves are in.
TEST_F(ControlsTest, SetVolumeChecksTheRangeFirst) {
    struct Case {
        std::uint32_t slot, left, right;
        int result;
    };
    const Case cases[] = {
        {0, 1000, 10, 1}, {0, 1001, 500, 0}, {0, 9, 500, 0},         {0, 500, 1001, 0},
        {0, 500, 9, 0},   {0, 0xFFFFFFFF, 500, 0}, {3, 40, 101, 0},  // one channel: right checked too
    };
    for (const Case& c : cases) {
        std::uint32_t id = c.slot == 0 ? 1 : 3;
        std::vector<std::uint32_t> before = Values(id);
        int opens = mixer.Calls(fake::Call::Open);
        EXPECT_EQ(SetVolume(mixer, state, c.slot, c.left, c.right), c.result) << c.left << "/" << c.right;
        if (c.result == 1) {
            EXPECT_EQ(Values(id), (std::vector<std::uint32_t>{c.left, c.right}));
        } else {
            EXPECT_EQ(mixer.Calls(fake::Call::Open), opens) << c.left << "/" << c.right;
            EXPECT_EQ(Values(id), before) << c.left << "/" << c.right;
        }
    }
}

TEST_F(ControlsTest, ChannelsOfTheLine) {
    struct Case {
        const char* name;
        std::uint32_t slot, controlId, left, right;
        std::vector<std::uint32_t> stored;
        int readLeft, readRight;
        std::uint32_t requestChannels;
    };
    const Case cases[] = {
        {"two channels", 0, 1, 300, 700, {300, 700}, 300, 700, 2},
        {"one channel: left alone", 3, 3, 40, 60, {40}, 40, 40, 1},
        {"four channels: right fills the rest", 8, 5, 100, 200, {100, 200, 200, 200}, 100, 200, 4},
        {"uniform: one value for all", 4, 7, 111, 222, {111, 111}, 111, 111, 1},
        {"no channel count: served as one", 6, 10, 30, 40, {30}, 30, 30, 1},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(SetVolume(mixer, state, c.slot, c.left, c.right), 1) << c.name;
        EXPECT_EQ(mixer.LastRequest().channels, c.requestChannels) << c.name;
        EXPECT_EQ(mixer.LastRequest().controlId, c.controlId) << c.name;
        EXPECT_EQ(Values(c.controlId), c.stored) << c.name;
        int left = kUntouched, right = kUntouched;
        ASSERT_EQ(GetVolume(mixer, state, c.slot, &left, &right), 1) << c.name;
        EXPECT_EQ(mixer.LastRequest().channels, c.requestChannels) << c.name;
        EXPECT_EQ(left, c.readLeft) << c.name;
        EXPECT_EQ(right, c.readRight) << c.name;
    }
}

// A control with several items gets a buffer for all of them (the fake checks its size).
TEST_F(ControlsTest, ControlsWithItems) {
    Values(8) = {5, 6, 7, 8, 9, 10};
    int left = kUntouched, right = kUntouched;
    EXPECT_EQ(GetVolume(mixer, state, 1, &left, &right), 1);
    EXPECT_EQ(mixer.LastRequest().items, 3u);
    EXPECT_EQ(left, 5);
    EXPECT_EQ(right, 6);
    EXPECT_EQ(SetVolume(mixer, state, 1, 20, 30), 1);
    EXPECT_EQ(SetMute(mixer, state, 1, 1), 1);
    EXPECT_EQ(mixer.LastRequest().items, 2u);
    int mute = kUntouched;
    EXPECT_EQ(IsMute(mixer, state, 1, &mute), 1);
    EXPECT_EQ(mute, 1);
}

TEST_F(ControlsTest, AValueCountBeyondMemoryFailsWithoutACall) {
    int left = kUntouched;
    EXPECT_EQ(GetVolume(mixer, state, 9, &left, nullptr), 0);
    EXPECT_EQ(SetVolume(mixer, state, 9, 0, 0), 0);
    EXPECT_EQ(mixer.Calls(fake::Call::Allocate), 0);
    EXPECT_EQ(left, kUntouched);
}

TEST_F(ControlsTest, AnyNonZeroMuteValueReadsAsOne) {
    const std::uint32_t values[] = {0, 1, 2, 0x80000000, 0xFFFFFFFF};
    for (std::uint32_t value : values) {
        Values(2) = {value, value};
        int mute = kUntouched;
        ASSERT_EQ(IsMute(mixer, state, 0, &mute), 1) << value;
        EXPECT_EQ(mute, value != 0 ? 1 : 0) << value;
        EXPECT_EQ(mixer.LastRequest().channels, 1u);
        EXPECT_EQ(mixer.LastRequest().controlId, 2u);
    }
}

TEST_F(ControlsTest, SetMuteWritesOneOrZero) {
    const int requests[] = {1, 0, 7, -1, 0x7FFFFFFF};
    for (int request : requests) {
        ASSERT_EQ(SetMute(mixer, state, 0, request), 1) << request;
        std::uint32_t expected = request != 0 ? 1 : 0;
        EXPECT_EQ(Values(2), (std::vector<std::uint32_t>{expected, expected})) << request;
        EXPECT_EQ(mixer.LastRequest().channels, 1u);
    }
}

// A failing mixer call fails the function, writes no out argument and changes nothing.
TEST_F(ControlsTest, EveryFailingMixerCallFails) {
    struct Case {
        fake::Call call;
        const char* function;
        std::function<int(int*, int*)> run;
    };
    auto getVolume = [this](int* a, int* b) { return GetVolume(mixer, state, 0, a, b); };
    auto setVolume = [this](int*, int*) { return SetVolume(mixer, state, 0, 20, 30); };
    auto isMute = [this](int* a, int*) { return IsMute(mixer, state, 0, a); };
    auto setMute = [this](int*, int*) { return SetMute(mixer, state, 0, 1); };
    const Case cases[] = {
        {fake::Call::Open, "GetVolume", getVolume},      {fake::Call::Open, "SetVolume", setVolume},
        {fake::Call::Open, "IsMute", isMute},            {fake::Call::Open, "SetMute", setMute},
        {fake::Call::Allocate, "GetVolume", getVolume},  {fake::Call::Allocate, "SetVolume", setVolume},
        {fake::Call::Allocate, "IsMute", isMute},        {fake::Call::Allocate, "SetMute", setMute},
        {fake::Call::GetDetails, "GetVolume", getVolume}, {fake::Call::GetDetails, "IsMute", isMute},
        {fake::Call::SetDetails, "SetVolume", setVolume}, {fake::Call::SetDetails, "SetMute", setMute},
    };
    for (const Case& c : cases) {
        Values(1) = {400, 600};
        Values(2) = {0, 0};
        mixer.Fail(c.call);
        int a = kUntouched, b = kUntouched;
        EXPECT_EQ(c.run(&a, &b), 0) << c.function;
        mixer.ClearFailures();
        EXPECT_EQ(a, kUntouched) << c.function;
        EXPECT_EQ(b, kUntouched) << c.function;
        EXPECT_EQ(Values(1), (std::vector<std::uint32_t>{400, 600})) << c.function;
        EXPECT_EQ(Values(2), (std::vector<std::uint32_t>{0, 0})) << c.function;
        EXPECT_EQ(mixer.OpenHandles(), 0) << c.function;
        EXPECT_EQ(mixer.LiveBuffers(), 0) << c.function;
    }
}

}  // namespace
}  // namespace volume
