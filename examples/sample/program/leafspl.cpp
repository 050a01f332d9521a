// LEAFSPL.DLL, the sample product's shared library in the system directory: Brightleaf's
// word check (every word of letters only passes).
#include <windows.h>

extern "C" __declspec(dllexport) int __cdecl LeafCheckWord(const char* word) {
    if (!word || !*word) return 0;
    for (const char* c = word; *c; ++c)
        if (!::IsCharAlphaA(*c)) return 0;
    return 1;
}
