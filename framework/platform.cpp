#include "platform.h"

namespace fw {

bool IsNtPlatform() noexcept {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return ::GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

Library LoadSystemLibrary(const char* name) noexcept {
    char path[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(path, sizeof path);
    const std::size_t nameLength = ::lstrlenA(name);
    if (!length || length + 1 + nameLength >= sizeof path) return Library();
    path[length] = '\\';
    ::CopyMemory(path + length + 1, name, nameLength + 1);
    return Library(::LoadLibraryA(path));
}

void RestrictDllSearch() noexcept {
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    using SetDirectory = BOOL(WINAPI*)(const char*);
    constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    // Windows 8 and later, Vista and 7 with an update: the system directory alone.
    const auto setDefault = SystemFunction<SetDefaultDirectories>("KERNEL32.DLL", "SetDefaultDllDirectories");
    const bool restricted = setDefault && setDefault(kSearchSystem32);
    // XP with its first service pack and later: the current directory out of the search.
    if (const auto setDirectory = SystemFunction<SetDirectory>("KERNEL32.DLL", "SetDllDirectoryA")) setDirectory("");
    if (restricted) return;
    // Elsewhere the program's folder comes first in the search: what the system's DLLs load by
    // name is loaded from the system directory now, and stays for the program's life.
    static const char* const kLoadedByName[] = {"UXTHEME.DLL", "DWMAPI.DLL", "CRYPTBASE.DLL", "USERENV.DLL",
                                                 "APPHELP.DLL", "PROPSYS.DLL",  "OLEACC.DLL",    "NTMARTA.DLL",
                                                 "VERSION.DLL", "COMCTL32.DLL"};
    for (const char* name : kLoadedByName) LoadSystemLibrary(name).Release();
}

DWORD ShareDelete() noexcept { return IsNtPlatform() ? FILE_SHARE_DELETE : 0; }

HANDLE OpenForAppend(const char* path, DWORD share) noexcept {
    return ::CreateFileA(path, IsNtPlatform() ? FILE_APPEND_DATA : GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool AppendToFile(HANDLE file, const void* data, DWORD size) noexcept {
    DWORD written = 0;
    if (!IsNtPlatform() && ::SetFilePointer(file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) return false;
    return ::WriteFile(file, data, size, &written, nullptr) && written == size;
}

}  // namespace fw
