#include "security.h"

#include "platform.h"

#include <cstring>

namespace fw {

namespace {

// Appends an entry that allows `mask` to the SID made of the NT authority (5) and the given
// sub-authorities, passed on to files and folders inside; the ACL's header counts it.
void AddAllowed(ACL* acl, ACCESS_MASK mask, const DWORD* subAuthorities, BYTE count) {
    const WORD sidSize = static_cast<WORD>(8 + 4 * count);
    const WORD aceSize = static_cast<WORD>(sizeof(ACE_HEADER) + sizeof(ACCESS_MASK) + sidSize);
    BYTE* ace = reinterpret_cast<BYTE*>(acl) + acl->AclSize;
    ACE_HEADER header{ACCESS_ALLOWED_ACE_TYPE, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, aceSize};
    std::memcpy(ace, &header, sizeof header);
    std::memcpy(ace + sizeof header, &mask, sizeof mask);
    BYTE* sid = ace + sizeof header + sizeof mask;
    const BYTE start[8] = {SID_REVISION, count, 0, 0, 0, 0, 0, 5};
    std::memcpy(sid, start, sizeof start);
    std::memcpy(sid + 8, subAuthorities, 4 * count);
    acl->AclSize = static_cast<WORD>(acl->AclSize + aceSize);
    ++acl->AceCount;
}

using InitializeDescriptor = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, DWORD);
using SetDacl = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, BOOL, PACL, BOOL);
using SetControl = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, SECURITY_DESCRIPTOR_CONTROL, SECURITY_DESCRIPTOR_CONTROL);
using SetFileSecurity = BOOL(WINAPI*)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR);

}  // namespace

AdminOnlySecurity::AdminOnlySecurity() noexcept {
    // Looked up: Windows 95's advapi32 lacks the security functions.
    if (!IsNtPlatform()) return;
    const auto initialize = SystemFunction<InitializeDescriptor>("ADVAPI32.DLL", "InitializeSecurityDescriptor");
    const auto setDacl = SystemFunction<SetDacl>("ADVAPI32.DLL", "SetSecurityDescriptorDacl");
    if (!initialize || !setDacl) return;
    ACL* acl = reinterpret_cast<ACL*>(m_acl);
    acl->AclRevision = ACL_REVISION;
    acl->AclSize = sizeof(ACL);
    const DWORD administrators[] = {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS};
    const DWORD system[] = {SECURITY_LOCAL_SYSTEM_RID};
    const DWORD users[] = {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS};
    AddAllowed(acl, FILE_ALL_ACCESS, administrators, 2);
    AddAllowed(acl, FILE_ALL_ACCESS, system, 1);
    AddAllowed(acl, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, users, 2);
    if (!initialize(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) || !setDacl(&m_descriptor, TRUE, acl, FALSE)) return;
    // Windows 2000 and later pass a folder's rights on to what lies in it unless told not to.
    if (const auto setControl = SystemFunction<SetControl>("ADVAPI32.DLL", "SetSecurityDescriptorControl"))
        setControl(&m_descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    m_attributes = SECURITY_ATTRIBUTES{sizeof m_attributes, &m_descriptor, FALSE};
    m_ready = true;
}

bool AdminOnlySecurity::ApplyTo(const char* path) noexcept {
    const auto set = SystemFunction<SetFileSecurity>("ADVAPI32.DLL", "SetFileSecurityA");
    // The flag that keeps the folder's rights out is known to Windows 2000 and later only.
    const SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION |
        (SystemFunction<SetControl>("ADVAPI32.DLL", "SetSecurityDescriptorControl") ? PROTECTED_DACL_SECURITY_INFORMATION : 0);
    return m_ready && set && set(path, what, &m_descriptor);
}

}  // namespace fw
