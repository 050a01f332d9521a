// SONARET.DLL on Wine's mixer. This program imports the library by ordinal only and runs
// beside a copy of it. Wine's mixer here (null ALSA device) has two devices: an output
// device whose speakers destination has a wave-out source, and an input device whose
// wave-in destination has a microphone source. The speakers' volume (0..65535, 192
// steps) is uniform and may read back one lower; the source lines' controls accept every
// call but keep nothing.
#include "sonaret.h"
#include "temp_files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int kUntouched = -12345;

struct Export {
    const char* name;
    int ordinal;
};
const Export kExports[] = {
    {"SNR_VC_Reset", 2},     {"SNR_VC_GetVolume", 3}, {"SNR_VC_SetVolume", 4}, {"SNR_VC_GetMaximum", 5},
    {"SNR_VC_GetMinimum", 6}, {"SNR_VC_GetStep", 7},   {"SNR_VC_IsMute", 8},    {"SNR_VC_SetMute", 9},
};

TEST(SonaretExports, EachNameIsItsOrdinal) {
    HMODULE library = ::GetModuleHandleA("SONARET.DLL");
    ASSERT_NE(library, nullptr) << "the library was not loaded with the program";
    for (const Export& e : kExports) {
        FARPROC byName = ::GetProcAddress(library, e.name);
        EXPECT_NE(byName, nullptr) << e.name;
        EXPECT_EQ(byName, ::GetProcAddress(library, MAKEINTRESOURCEA(e.ordinal))) << e.name;
    }
    EXPECT_EQ(::GetProcAddress(library, MAKEINTRESOURCEA(1)), nullptr);
    EXPECT_EQ(::GetProcAddress(library, MAKEINTRESOURCEA(10)), nullptr);
}

// A second copy of the library under another name has a state of its own: whatever it
// answers before anyone calls its reset was found by its entry when it was loaded.
TEST(SonaretExports, LoadingFindsTheLines) {
    TempFolder folder;
    char own[MAX_PATH] = {};
    ::GetModuleFileNameA(::GetModuleHandleA("SONARET.DLL"), own, sizeof own);
    std::string copy = folder.Path() + "SONCOPY.DLL";
    ASSERT_TRUE(::CopyFileA(own, copy.c_str(), FALSE));
    HMODULE library = ::LoadLibraryA(copy.c_str());
    ASSERT_NE(library, nullptr);
    using GetMaximumFn = int(__cdecl*)(unsigned int, int*);
    // Through void*: FARPROC's own signature is not the export's.
    auto getMaximum = reinterpret_cast<GetMaximumFn>(
        reinterpret_cast<void*>(::GetProcAddress(library, MAKEINTRESOURCEA(5))));
    ASSERT_NE(getMaximum, nullptr);
    int maximum = kUntouched;
    EXPECT_EQ(getMaximum(SNR_SLOT_SPEAKERS, &maximum), 1);
    EXPECT_EQ(maximum, 65535);
    ::FreeLibrary(library);
}

TEST(WineMixer, SpeakersWaveOutAndMicrophoneAreFound) {
    ASSERT_EQ(SNR_VC_Reset(), 1);
    for (unsigned slot = 0; slot < SNR_SLOT_COUNT; ++slot) {
        bool expected = slot == SNR_SLOT_SPEAKERS || slot == SNR_SLOT_WAVEOUT || slot == SNR_SLOT_MICROPHONE;
        int maximum = kUntouched;
        int mute = kUntouched;
        EXPECT_EQ(SNR_VC_GetMaximum(slot, &maximum), expected ? 1 : 0) << "slot " << slot;
        EXPECT_EQ(SNR_VC_IsMute(slot, &mute), expected ? 1 : 0) << "slot " << slot;
        if (!expected) {
            EXPECT_EQ(maximum, kUntouched) << "slot " << slot;
        }
    }
    int minimum = kUntouched, maximum = kUntouched, steps = kUntouched;
    EXPECT_EQ(SNR_VC_GetMinimum(SNR_SLOT_SPEAKERS, &minimum), 1);
    EXPECT_EQ(SNR_VC_GetMaximum(SNR_SLOT_SPEAKERS, &maximum), 1);
    EXPECT_EQ(SNR_VC_GetStep(SNR_SLOT_SPEAKERS, &steps), 1);
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(maximum, 65535);
    EXPECT_EQ(steps, 192);
}

class SpeakersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SNR_VC_GetVolume(SNR_SLOT_SPEAKERS, &m_left, &m_right), 1);
        ASSERT_EQ(SNR_VC_IsMute(SNR_SLOT_SPEAKERS, &m_mute), 1);
        ASSERT_EQ(SNR_VC_GetMinimum(SNR_SLOT_SPEAKERS, &m_minimum), 1);
        ASSERT_EQ(SNR_VC_GetMaximum(SNR_SLOT_SPEAKERS, &m_maximum), 1);
        ASSERT_EQ(SNR_VC_GetStep(SNR_SLOT_SPEAKERS, &m_steps), 1);
        ASSERT_GT(m_steps, 0);
    }
    void TearDown() override {
        SNR_VC_SetVolume(SNR_SLOT_SPEAKERS, m_left, m_right);
        SNR_VC_SetMute(SNR_SLOT_SPEAKERS, m_mute);
    }
    int Step() const { return (m_maximum - m_minimum) / m_steps; }

    int m_left = 0, m_right = 0, m_mute = 0, m_minimum = 0, m_maximum = 0, m_steps = 0;
};

TEST_F(SpeakersTest, VolumeReadsBackWithinOneStep) {
    const unsigned values[] = {0, 1, 12345, 30000, 65534, 65535};
    for (unsigned value : values) {
        ASSERT_EQ(SNR_VC_SetVolume(SNR_SLOT_SPEAKERS, value, value), 1) << value;
        int left = kUntouched, right = kUntouched;
        ASSERT_EQ(SNR_VC_GetVolume(SNR_SLOT_SPEAKERS, &left, &right), 1) << value;
        EXPECT_LE(std::abs(left - static_cast<int>(value)), Step()) << value;
        EXPECT_EQ(right, left) << value;
    }
}

// One value serves both channels of a uniform control: the left one.
TEST_F(SpeakersTest, UniformVolumeTakesLeft) {
    ASSERT_EQ(SNR_VC_SetVolume(SNR_SLOT_SPEAKERS, 40000, 20000), 1);
    int left = kUntouched, right = kUntouched;
    ASSERT_EQ(SNR_VC_GetVolume(SNR_SLOT_SPEAKERS, &left, &right), 1);
    EXPECT_LE(std::abs(left - 40000), Step());
    EXPECT_EQ(right, left);
}

TEST_F(SpeakersTest, MuteReadsBack) {
    const struct {
        int set;
        int read;
    } cases[] = {{1, 1}, {0, 0}, {7, 1}, {-1, 1}, {0, 0}};
    for (const auto& c : cases) {
        ASSERT_EQ(SNR_VC_SetMute(SNR_SLOT_SPEAKERS, c.set), 1) << c.set;
        int mute = kUntouched;
        ASSERT_EQ(SNR_VC_IsMute(SNR_SLOT_SPEAKERS, &mute), 1) << c.set;
        EXPECT_EQ(mute, c.read) << c.set;
    }
}

// The source lines' controls answer without keeping anything; the library serves them
// like any other and reads values inside the control's range.
TEST(WineMixer, SourceLinesAnswer) {
    for (unsigned slot : {unsigned{SNR_SLOT_WAVEOUT}, unsigned{SNR_SLOT_MICROPHONE}}) {
        int maximum = 0;
        ASSERT_EQ(SNR_VC_GetMaximum(slot, &maximum), 1) << slot;
        EXPECT_EQ(SNR_VC_SetVolume(slot, maximum / 2, maximum / 2), 1) << slot;
        int left = kUntouched, right = kUntouched;
        EXPECT_EQ(SNR_VC_GetVolume(slot, &left, &right), 1) << slot;
        EXPECT_GE(left, 0) << slot;
        EXPECT_LE(left, maximum) << slot;
        EXPECT_EQ(SNR_VC_SetMute(slot, 0), 1) << slot;
    }
}

}  // namespace
