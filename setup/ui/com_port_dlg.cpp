#include "com_port_dlg.h"

namespace {

constexpr UINT_PTR kBlinkTimer = 1000;
constexpr UINT kBlinkMs = 750;
constexpr int kTextId = 1012;
constexpr int kListId = 1005;
constexpr int kIconId = 1008;
constexpr int kFirstIcon = 136;

}  // namespace

const fw::MessageEntry<CComPortDlg> CComPortDlg::kMessageTable[1] = {
    fw::OnMessage(WM_TIMER, &CComPortDlg::OnTimer),
};

CComPortDlg::CComPortDlg(fw::Window* parent, const setup::SetupScript& script,
                         const setup::PortQuestion& question) noexcept
    : CSetupDlg(kTemplateId, parent, script), m_question(question) {}

CComPortDlg::~CComPortDlg() = default;

bool CComPortDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return fw::DispatchTable(*this, kMessageTable, message, wParam, lParam, result) ||
           CSetupDlg::OnMessage(message, wParam, lParam, result);
}

bool CComPortDlg::OnInitDialog() {
    CSetupDlg::OnInitDialog();
    m_iconPhase = 0;
    PlaceOnWorkArea();
    // Listed in port order (the list does not sort), so that position P is port base + P.
    for (const std::string& name : setup::PortNames(m_question))
        ::SendDlgItemMessageA(m_hwnd, kListId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    ::SendDlgItemMessageA(m_hwnd, kListId, CB_SETCURSEL, static_cast<WPARAM>(setup::PortPreselection(m_question)), 0);
    if (!m_question.title.empty()) ::SetWindowTextA(m_hwnd, m_question.title.c_str());
    if (!m_question.info.empty()) SetItemText(kTextId, m_question.info.c_str());
    char caption[16];
    if (GetFrameScriptString("Button Text", "OK", nullptr, caption, 10)) SetItemText(IDOK, caption);
    if (GetFrameScriptString("Button Text", "Cancel", nullptr, caption, 10)) SetItemText(IDCANCEL, caption);
    ::SetTimer(m_hwnd, kBlinkTimer, kBlinkMs, nullptr);
    return true;
}

LRESULT CComPortDlg::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == kBlinkTimer) {
        m_iconPhase = m_iconPhase ? 0 : 1;
        m_icon.Show(m_hwnd, kIconId, kFirstIcon + static_cast<int>(m_iconPhase));
    }
    return 0;
}

void CComPortDlg::OnOK() {
    ::KillTimer(m_hwnd, kBlinkTimer);
    const LRESULT selected = ::SendDlgItemMessageA(m_hwnd, kListId, CB_GETCURSEL, 0, 0);
    m_position = selected == CB_ERR ? 0 : static_cast<int>(selected);
    EndDialog(IDOK);
}

void CComPortDlg::OnCancel() {
    ::KillTimer(m_hwnd, kBlinkTimer);
    EndDialog(IDCANCEL);
}
