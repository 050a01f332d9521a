#include "setup_dlg.h"

#include "../../framework/application.h"
#include "../core/main_frame.h"

CSetupDlg::CSetupDlg(UINT templateId, CMainFrame* frame) noexcept : fw::Dialog(templateId, frame) {}

CMainFrame* CSetupDlg::Frame() {
    fw::Application* app = fw::Application::Current();
    return app ? dynamic_cast<CMainFrame*>(app->MainWindow()) : nullptr;
}

int CSetupDlg::GetFrameScriptString(const char* section, const char* key, const char* defaultValue,
                                    char* buffer, std::size_t size) {
    if (CMainFrame* frame = Frame()) return frame->GetScriptString(section, key, defaultValue, buffer, size);
    return setup::SetupScript::CopyDefault(defaultValue, buffer, size);
}

int CSetupDlg::GetFrameScriptInt(const char* section, const char* key, int defaultValue) {
    if (CMainFrame* frame = Frame()) return frame->GetScriptInt(section, key, defaultValue);
    return defaultValue;
}

void CSetupDlg::PlaceOnWorkArea() const {
    RECT window{};
    ::GetWindowRect(m_hwnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    ::MoveWindow(m_hwnd, (::GetSystemMetrics(SM_CXFULLSCREEN) - width) / 2,
                 (::GetSystemMetrics(SM_CYFULLSCREEN) - height) / 2, width, height, TRUE);
}
