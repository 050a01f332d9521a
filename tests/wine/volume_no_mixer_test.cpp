// SONARET.DLL on a Wine without any mixer device (an empty ALSA configuration): the
// program that imports it still starts, and every function fails without writing.
#include "sonaret.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

namespace {

constexpr int kUntouched = -12345;

void ExpectEveryFunctionFails() {
    for (unsigned slot = 0; slot <= SNR_SLOT_COUNT; ++slot) {
        int left = kUntouched, right = kUntouched, out = kUntouched;
        EXPECT_EQ(SNR_VC_GetVolume(slot, &left, &right), 0) << slot;
        EXPECT_EQ(SNR_VC_SetVolume(slot, 0, 0), 0) << slot;
        EXPECT_EQ(SNR_VC_GetMaximum(slot, &out), 0) << slot;
        EXPECT_EQ(SNR_VC_GetMinimum(slot, &out), 0) << slot;
        EXPECT_EQ(SNR_VC_GetStep(slot, &out), 0) << slot;
        EXPECT_EQ(SNR_VC_IsMute(slot, &out), 0) << slot;
        EXPECT_EQ(SNR_VC_SetMute(slot, 1), 0) << slot;
        EXPECT_EQ(left, kUntouched);
        EXPECT_EQ(right, kUntouched);
        EXPECT_EQ(out, kUntouched);
    }
}

TEST(NoMixer, LoadsAndEveryFunctionFails) {
    ASSERT_EQ(::mixerGetNumDevs(), 0u) << "this test needs a Wine without mixer devices";
    ASSERT_NE(::GetModuleHandleA("SONARET.DLL"), nullptr);
    ExpectEveryFunctionFails();
    EXPECT_EQ(SNR_VC_Reset(), 0);
    ExpectEveryFunctionFails();
}

}  // namespace
