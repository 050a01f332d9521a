// SONARET.DLL: the exported functions and the library entry, over the library's state
// and the winmm mixer table.
#include "sonaret.h"

#include "controls.h"
#include "slots.h"
#include "winmm_mixer.h"

#include <windows.h>

namespace {

// The exports are plain C functions, so the slot table, the device count and the module
// handle live here, for the whole process, and so do the mixer functions.
volume::LibraryState g_state;
volume::WinmmFunctions g_winmm;

}  // namespace

extern "C" {

int __cdecl SNR_VC_Reset(void) {
    volume::WinmmMixer mixer(g_winmm);
    return volume::Reset(mixer, g_state);
}

int __cdecl SNR_VC_GetVolume(unsigned int slot, int* left, int* right) {
    volume::WinmmMixer mixer(g_winmm);
    return volume::GetVolume(mixer, g_state, slot, left, right);
}

int __cdecl SNR_VC_SetVolume(unsigned int slot, unsigned int left, unsigned int right) {
    volume::WinmmMixer mixer(g_winmm);
    return volume::SetVolume(mixer, g_state, slot, left, right);
}

int __cdecl SNR_VC_GetMaximum(unsigned int slot, int* out) { return volume::GetMaximum(g_state, slot, out); }

int __cdecl SNR_VC_GetMinimum(unsigned int slot, int* out) { return volume::GetMinimum(g_state, slot, out); }

int __cdecl SNR_VC_GetStep(unsigned int slot, int* out) { return volume::GetStep(g_state, slot, out); }

int __cdecl SNR_VC_IsMute(unsigned int slot, int* out) {
    volume::WinmmMixer mixer(g_winmm);
    return volume::IsMute(mixer, g_state, slot, out);
}

int __cdecl SNR_VC_SetMute(unsigned int slot, int mute) {
    volume::WinmmMixer mixer(g_winmm);
    return volume::SetMute(mixer, g_state, slot, mute);
}

// The DLL entry calls DllMain by its C name. The library loads whatever the reset finds, so
// that a machine without a mixer (or without the mixer interface) still starts the programs
// that link it.
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_state.module = reinterpret_cast<std::uintptr_t>(module);
        g_winmm.Load();
        SNR_VC_Reset();
    } else if (reason == DLL_PROCESS_DETACH) {
        // Unloaded by FreeLibrary, the process goes on without it; at the process's end the
        // system unloads everything itself.
        if (!reserved) g_winmm.Unload();
        else g_winmm.library.Release();
    }
    return TRUE;
}

}  // extern "C"
