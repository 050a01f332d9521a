// Loading the setup script file into the main frame's line array.
#include "main_frame.h"
#include "setup_app.h"

namespace {

constexpr int kLoaded = 0;
constexpr int kCannotOpen = 2;
constexpr int kReadFailed = 3;
constexpr int kNoMemory = 4;

}  // namespace

int CMainFrame::LoadScript() {
    CSetupApp* app = GetSetupApp();
    if (!app) return kCannotOpen;
    fw::File file(::CreateFileA(app->m_scriptPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return kCannotOpen;

    DWORD size = ::GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size == 0) return kCannotOpen;

    ::SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN);
    fw::GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    fw::GlobalLockGuard lock(memory.Get());
    if (!lock.Data()) return kNoMemory;

    DWORD read = 0;
    if (!::ReadFile(file.Get(), lock.Data(), size, &read, nullptr) || read < size) return kReadFailed;

    AppendScriptText(static_cast<const char*>(lock.Data()), size);
    return kLoaded;
}
