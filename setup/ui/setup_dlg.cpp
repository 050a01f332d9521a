#include "setup_dlg.h"

CSetupDlg::CSetupDlg(UINT templateId, fw::Window* parent, const setup::SetupScript& script) noexcept
    : fw::Dialog(templateId, parent), m_script(script) {}

int CSetupDlg::GetFrameScriptString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                    std::size_t size) const {
    return m_script.GetScriptString(section, key, defaultValue, buffer, size);
}

int CSetupDlg::GetFrameScriptInt(const char* section, const char* key, int defaultValue) const {
    return m_script.GetScriptInt(section, key, defaultValue);
}

void CSetupDlg::MoveItem(HWND item, const RECT& r) {
    ::MoveWindow(item, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void CSetupDlg::MoveItem(HWND item, const setup::Rect& r) { MoveItem(item, RECT{r.left, r.top, r.right, r.bottom}); }

void CSetupDlg::PlaceOnWorkArea() const {
    RECT window{};
    ::GetWindowRect(m_hwnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    ::MoveWindow(m_hwnd, (::GetSystemMetrics(SM_CXFULLSCREEN) - width) / 2,
                 (::GetSystemMetrics(SM_CYFULLSCREEN) - height) / 2, width, height, TRUE);
}

setup::TextRows CSetupDlg::MeasureTextRows(int controlId, const std::string& text, int width) const {
    fw::WindowDc dc(GetItem(controlId));
    fw::Font font(::CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_STRING_PRECIS,
                                CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"));
    fw::SelectGuard select(dc.Get(), font.Get());
    return setup::CountTextRows(
        setup::SplitMessageLines(text), width, [&dc](const std::string& line) -> std::optional<setup::Size> {
            SIZE extent{};
            if (!dc || !::GetTextExtentPoint32A(dc.Get(), line.c_str(), static_cast<int>(line.size()), &extent))
                return std::nullopt;
            return setup::Size{extent.cx, extent.cy};
        });
}

void ResourceIcon::Show(HWND dialog, int controlId, int resourceId) {
    // A private copy (not the shared icon LoadIcon gives), so that it can be destroyed.
    fw::Icon next(static_cast<HICON>(::LoadImageA(CSetupDlg::ModuleOf(dialog), MAKEINTRESOURCEA(resourceId),
                                                  IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR)));
    if (!next) return;
    ::SendDlgItemMessageA(dialog, controlId, STM_SETICON, reinterpret_cast<WPARAM>(next.Get()), 0);
    m_icon = std::move(next);  // the one it replaces is destroyed
}
