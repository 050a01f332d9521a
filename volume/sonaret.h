/* SONARET.DLL: volume and mute of the mixer's speaker output and ten kinds of source
 * line, each addressed by a component slot. Every function returns 1 on success and 0
 * on any failure, and writes its out arguments only on success. The library finds its
 * lines when it is loaded; SNR_VC_Reset searches the mixer devices again.
 *
 * Programs import these functions by ordinal (2..9) through the library's import
 * library; the names are exported as well. */
#ifndef SONARET_H
#define SONARET_H

#ifdef __cplusplus
extern "C" {
#endif

/* Component slots. */
enum {
    SNR_SLOT_SPEAKERS = 0,
    SNR_SLOT_DIGITAL = 1,
    SNR_SLOT_LINE = 2,
    SNR_SLOT_MICROPHONE = 3,
    SNR_SLOT_SYNTHESIZER = 4,
    SNR_SLOT_COMPACTDISC = 5,
    SNR_SLOT_TELEPHONE = 6,
    SNR_SLOT_PCSPEAKER = 7,
    SNR_SLOT_WAVEOUT = 8,
    SNR_SLOT_AUXILIARY = 9,
    SNR_SLOT_ANALOG = 10,
    SNR_SLOT_COUNT = 11
};

int __cdecl SNR_VC_Reset(void);
int __cdecl SNR_VC_GetVolume(unsigned int slot, int* left, int* right);
int __cdecl SNR_VC_SetVolume(unsigned int slot, unsigned int left, unsigned int right);
int __cdecl SNR_VC_GetMaximum(unsigned int slot, int* out);
int __cdecl SNR_VC_GetMinimum(unsigned int slot, int* out);
int __cdecl SNR_VC_GetStep(unsigned int slot, int* out);
int __cdecl SNR_VC_IsMute(unsigned int slot, int* out);
int __cdecl SNR_VC_SetMute(unsigned int slot, int mute);

#ifdef __cplusplus
}
#endif

#endif
