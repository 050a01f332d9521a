#include "select_dlg.h"

#include <shellapi.h>

namespace {

constexpr UINT_PTR kAnimationTimer = 1000;
constexpr UINT kAnimationMs = 750;
constexpr int kTextId = 1012;
constexpr int kListId = 1005;
constexpr int kIconId = 1008;

// The first icon of an icon file, or an empty owner (ExtractIcon answers 1 for a file
// that holds no icons).
fw::Icon ExtractFirstIcon(HINSTANCE module, const std::string& file) {
    if (file.empty()) return fw::Icon();
    HICON icon = ::ExtractIconA(module, file.c_str(), 0);
    if (reinterpret_cast<UINT_PTR>(icon) <= 1) return fw::Icon();
    return fw::Icon(icon);
}

}  // namespace

const fw::MessageEntry<CSelectDlg> CSelectDlg::kMessageTable[2] = {
    fw::OnMessage(WM_TIMER, &CSelectDlg::OnTimer),
    fw::OnMessage(WM_DESTROY, &CSelectDlg::OnDestroy),
};

CSelectDlg::CSelectDlg(fw::Window* parent, const setup::SetupScript& script, const setup::SelectQuestion& question,
                       std::string iconDir) noexcept
    : CSetupDlg(kTemplateId, parent, script), m_question(question), m_iconDir(std::move(iconDir)) {}

CSelectDlg::~CSelectDlg() = default;

bool CSelectDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return fw::DispatchTable(*this, kMessageTable, message, wParam, lParam, result) ||
           CSetupDlg::OnMessage(message, wParam, lParam, result);
}

bool CSelectDlg::OnInitDialog() {
    CSetupDlg::OnInitDialog();
    ::SetWindowTextA(m_hwnd, m_question.title.c_str());
    char caption[16];
    if (GetFrameScriptString("Button Text", "OK", nullptr, caption, 10)) SetItemText(IDOK, caption);
    if (GetFrameScriptString("Button Text", "Cancel", nullptr, caption, 10)) SetItemText(IDCANCEL, caption);
    LayoutText();
    SetItemText(kTextId, m_question.info.c_str());
    for (const std::string& item : m_question.items)
        ::SendDlgItemMessageA(m_hwnd, kListId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    ::SendDlgItemMessageA(m_hwnd, kListId, CB_SETCURSEL, static_cast<WPARAM>(m_question.firstPosition), 0);
    StartAnimation();
    CenterWindow();
    return true;
}

// A text taller than its control grows the dialog downward: the list and the buttons move
// down as much, and the dialog is centred again.
void CSelectDlg::LayoutText() {
    RECT window{};
    ::GetWindowRect(m_hwnd, &window);
    const int width = window.right - window.left;
    const int left = (::GetSystemMetrics(SM_CXFULLSCREEN) - width) / 2;
    RECT text = GetItemRect(kTextId);
    RECT client{};
    ::GetClientRect(GetItem(kTextId), &client);
    const int growth =
        setup::TextGrowth(ToRect(text), MeasureTextRows(kTextId, m_question.info, client.right - client.left));
    if (growth <= 0) return;

    RECT icon = GetItemRect(kIconId), list = GetItemRect(kListId), ok = GetItemRect(IDOK), cancel = GetItemRect(IDCANCEL);
    text.bottom += growth;
    for (RECT* moved : {&icon, &list, &ok}) ::OffsetRect(moved, 0, growth);
    cancel.top = ok.top;
    cancel.bottom = ok.bottom;
    MoveItem(GetItem(kIconId), icon);
    MoveItem(GetItem(kTextId), text);
    MoveItem(GetItem(kListId), list);
    MoveItem(GetItem(IDCANCEL), cancel);
    MoveItem(GetItem(IDOK), ok);
    const int height = window.bottom - window.top + growth;
    ::MoveWindow(m_hwnd, left, (::GetSystemMetrics(SM_CYFULLSCREEN) - height) / 2, width, height, TRUE);
}

void CSelectDlg::StartAnimation() {
    if (m_question.animationIcon.empty()) return;
    m_iconPrefix = m_iconDir + m_question.animationIcon;
    m_iconCount = 0;
    for (int k = 1;; ++k) {
        fw::Icon icon = ExtractFirstIcon(ModuleOf(m_hwnd), setup::AnimationIconFile(m_iconPrefix, k));
        if (!icon) break;
        m_iconCount = k;
        if (k == 1) {
            ::SendDlgItemMessageA(m_hwnd, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
            m_hIcon = std::move(icon);
        }  // later icons are only counted; their owners destroy them here
    }
    if (m_iconCount == 0) return;
    m_iconIndex = 1;
    if (m_iconCount >= 2) ::SetTimer(m_hwnd, kAnimationTimer, kAnimationMs, nullptr);
}

void CSelectDlg::ShowAnimationIcon(int index) {
    // A file that has gone since leaves the control empty until the next one loads.
    fw::Icon icon = ExtractFirstIcon(ModuleOf(m_hwnd), setup::AnimationIconFile(m_iconPrefix, index));
    ::SendDlgItemMessageA(m_hwnd, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
    m_hIcon = std::move(icon);
}

LRESULT CSelectDlg::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == kAnimationTimer) {
        m_iconIndex = m_iconIndex >= m_iconCount ? 1 : m_iconIndex + 1;
        ShowAnimationIcon(m_iconIndex);
    }
    return 0;
}

LRESULT CSelectDlg::OnDestroy(WPARAM, LPARAM) {
    ::KillTimer(m_hwnd, kAnimationTimer);
    ::SendDlgItemMessageA(m_hwnd, kIconId, STM_SETICON, 0, 0);
    m_hIcon.Reset();
    return 0;
}

void CSelectDlg::OnOK() {
    const LRESULT selected = ::SendDlgItemMessageA(m_hwnd, kListId, CB_GETCURSEL, 0, 0);
    m_position = selected == CB_ERR ? 0 : static_cast<int>(selected);
    EndDialog(IDOK);
}
