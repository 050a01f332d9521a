#include "set_dir_dlg.h"

#include "../engine/choices.h"
#include "../engine/set_dir.h"

namespace {

constexpr UINT_PTR kBlinkTimer = 1000;
constexpr UINT kBlinkMs = 750;
constexpr int kTextId = 1012;
constexpr int kLabelId = 1010;
constexpr int kDirectoryId = 1011;
constexpr int kIconId = 1008;
constexpr int kFirstIcon = 139;

}  // namespace

const fw::MessageEntry<CSetDirDlg> CSetDirDlg::kMessageTable[1] = {
    fw::OnMessage(WM_TIMER, &CSetDirDlg::OnTimer),
};

CSetDirDlg::CSetDirDlg(fw::Window* parent, const setup::SetupScript& script) noexcept
    : CSetupDlg(kTemplateId, parent, script) {}

CSetDirDlg::~CSetDirDlg() = default;

bool CSetDirDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return fw::DispatchTable(*this, kMessageTable, message, wParam, lParam, result) ||
           CSetupDlg::OnMessage(message, wParam, lParam, result);
}

bool CSetDirDlg::OnInitDialog() {
    CSetupDlg::OnInitDialog();
    m_frameNumber = 0;
    PlaceOnWorkArea();
    char value[256];
    if (GetFrameScriptString("Initiation", "Dialog Name", nullptr, value, 200))
        ::SetWindowTextA(m_hwnd, (std::string(value) + " Installation").c_str());
    const std::string text = setup::ComposeSetDirText(Script());
    GrowForText(text);
    SetItemText(kTextId, text.c_str());
    if (GetFrameScriptString("Static Text", "Copy To :", nullptr, value, 100)) SetItemText(kLabelId, value);
    // A fresh run shows the script's directory again, not what was typed before.
    SetItemText(kDirectoryId, GetFrameScriptString("Initiation", "DefDir", nullptr, value, 100) ? value : "");
    if (GetFrameScriptString("Button Text", "OK", nullptr, value, 10)) SetItemText(IDOK, value);
    if (GetFrameScriptString("Button Text", "Cancel", nullptr, value, 10)) SetItemText(IDCANCEL, value);
    ::SetTimer(m_hwnd, kBlinkTimer, kBlinkMs, nullptr);
    return true;
}

// The default text names the product twice: with a long name it needs more rows than the
// text field has. The dialog then grows downward and everything below the text moves down
// with it, so that no line of the text is cut.
void CSetDirDlg::GrowForText(const std::string& text) {
    RECT field = GetItemRect(kTextId);
    RECT client{};
    ::GetClientRect(GetItem(kTextId), &client);
    const int growth = setup::TextGrowth(ToRect(field), MeasureTextRows(kTextId, text, client.right - client.left));
    if (growth <= 0) return;
    field.bottom += growth;
    MoveItem(GetItem(kTextId), field);
    for (int id : {kLabelId, kDirectoryId, static_cast<int>(IDOK), static_cast<int>(IDCANCEL)}) {
        RECT item = GetItemRect(id);
        ::MoveWindow(GetItem(id), item.left, item.top + growth, item.right - item.left, item.bottom - item.top, TRUE);
    }
    RECT window{};
    ::GetWindowRect(m_hwnd, &window);
    ::MoveWindow(m_hwnd, window.left, window.top, window.right - window.left, window.bottom - window.top + growth, TRUE);
    PlaceOnWorkArea();
}

LRESULT CSetDirDlg::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == kBlinkTimer) {
        m_frameNumber = m_frameNumber ? 0 : 1;
        m_icon.Show(m_hwnd, kIconId, kFirstIcon + static_cast<int>(m_frameNumber));
    }
    return 0;
}

void CSetDirDlg::OnOK() {
    const std::optional<std::string> directory = setup::NormalizeInstallDir(GetItemText(kDirectoryId));
    if (!directory) return;  // not a drive path: the dialog stays as it is
    m_directory = *directory;
    ::KillTimer(m_hwnd, kBlinkTimer);
    EndDialog(IDOK);
}

void CSetDirDlg::OnCancel() {
    ::KillTimer(m_hwnd, kBlinkTimer);
    EndDialog(IDCANCEL);
}
