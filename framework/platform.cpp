#include "platform.h"

namespace fw {

bool IsNtPlatform() noexcept {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return ::GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
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
