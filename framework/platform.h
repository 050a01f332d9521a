// What differs between the two families of 32-bit Windows the programs run on, and the
// functions only newer systems export, which the programs look up instead of importing: a
// loader refuses to start a program whose import table names a function it lacks.
#pragma once

#include "handles.h"

#include <windows.h>

namespace fw {

// The Windows NT family (NT, 2000 and later) as GetVersionEx reports the platform; false on
// Windows 95, 98 and ME.
bool IsNtPlatform() noexcept;

// The function `name` of a loaded module, typed; null without the module or the function.
template <class Function>
Function ModuleFunction(HMODULE module, const char* name) noexcept {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// The function `name` of a DLL that the program already imports (and so has loaded), or null
// where this system's DLL does not export it.
template <class Function>
Function SystemFunction(const char* dll, const char* name) noexcept {
    return ModuleFunction<Function>(::GetModuleHandleA(dll), name);
}

// A DLL loaded by its full path in the system directory, never one of that name that someone
// left in the program's folder or the current directory; empty where the system has none.
Library LoadSystemLibrary(const char* name) noexcept;

// The function `name` of a library loaded by LoadSystemLibrary, or null.
template <class Function>
Function LibraryFunction(const Library& library, const char* name) noexcept {
    return ModuleFunction<Function>(library.Get(), name);
}

// Keeps this process's DLLs to the system directory: a DLL that a program running with an
// administrator's rights loads by name from its own folder, or from the current directory, may
// be anyone's. To be called first, before any window and any other DLL. Where the system
// cannot restrict the search to the system directory, the DLLs that its own DLLs load by name
// (to draw windows and themes) are loaded now by full path, so that no later load by name
// finds another file.
void RestrictDllSearch() noexcept;

// FILE_SHARE_DELETE where the system knows it: Windows 95, 98 and ME refuse to open a file
// with it.
DWORD ShareDelete() noexcept;

// Opens (or creates) a file to append to. On the NT family with FILE_APPEND_DATA alone, so
// that every write goes to the end whoever else writes; Windows 95, 98 and ME know only the
// generic rights, and AppendToFile moves to the end before each write there.
HANDLE OpenForAppend(const char* path, DWORD share) noexcept;
bool AppendToFile(HANDLE file, const void* data, DWORD size) noexcept;

}  // namespace fw
