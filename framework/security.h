// Access rights that let only administrators and the system change or delete a file or a
// folder: what a program running with an administrator's rights reads again later (a record of
// what it did, the copies it kept, the program it starts) must be out of an ordinary user's
// reach. Only the NT family keeps access rights; on Windows 95, 98 and ME there is nothing to
// set.
#pragma once

#include <windows.h>

namespace fw {

class AdminOnlySecurity {
public:
    // Full control for the administrators and the system, reading and running for the users,
    // passed on to files and folders made inside; no rights inherited from the folder above.
    AdminOnlySecurity() noexcept;
    AdminOnlySecurity(const AdminOnlySecurity&) = delete;
    AdminOnlySecurity& operator=(const AdminOnlySecurity&) = delete;

    // For CreateDirectoryA and CreateFileA; null where the system keeps no access rights.
    SECURITY_ATTRIBUTES* Attributes() noexcept { return m_ready ? &m_attributes : nullptr; }
    // Gives an existing file or folder these rights; false where it cannot (the system or the
    // file system keeps none, or the caller may not).
    bool ApplyTo(const char* path) noexcept;

private:
    // Three access-allowed entries: the administrators' group (S-1-5-32-544), the system
    // (S-1-5-18) and the users' group (S-1-5-32-545), each of a header, a mask and its SID.
    DWORD m_acl[32] = {};
    SECURITY_DESCRIPTOR m_descriptor{};
    SECURITY_ATTRIBUTES m_attributes{};
    bool m_ready = false;
};

}  // namespace fw
