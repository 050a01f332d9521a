#include "copy_dlg.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kStartTimer = 1000;
constexpr UINT kStartDelayMs = 250;
constexpr int kIconId = 1008;
constexpr int kProgressId = 1016;
constexpr int kFromLabelId = 1018;
constexpr int kToLabelId = 1019;
constexpr int kSourceId = 1020;
constexpr int kDestinationId = 1021;
constexpr int kFirstFrameIcon = 143;
constexpr DWORD kPaintIntervalMs = 40;

}  // namespace

const fw::MessageEntry<CCopyDlg> CCopyDlg::kMessageTable[2] = {
    fw::OnMessage(WM_TIMER, &CCopyDlg::OnTimer),
    fw::OnSysCommand(SC_CLOSE, &CCopyDlg::OnClose),
};

CCopyDlg::CCopyDlg(fw::Window* parent, setup::SetupEngine& engine) noexcept
    : CSetupDlg(kTemplateId, parent, engine), m_engine(engine) {}

CCopyDlg::~CCopyDlg() = default;

void CCopyDlg::SetCopyParameters(const setup::CopyParameters& parameters, std::uint32_t totalEntries) {
    m_parameters = parameters;
    m_total = totalEntries;
}

bool CCopyDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return fw::DispatchTable(*this, kMessageTable, message, wParam, lParam, result) ||
           CSetupDlg::OnMessage(message, wParam, lParam, result);
}

bool CCopyDlg::OnInitDialog() {
    CSetupDlg::OnInitDialog();
    m_progress = 0;
    m_iconFrame = 0;
    m_cancelled = 0;
    PlaceOnWorkArea();
    char value[256];
    if (GetFrameScriptString("Initiation", "Install Name", nullptr, value, 200) ||
        GetFrameScriptString("Background", "Product Name", nullptr, value, 200))
        ::SetWindowTextA(m_hwnd, value);
    if (GetFrameScriptString("Static Text", "From :", nullptr, value, 200)) SetItemText(kFromLabelId, value);
    if (GetFrameScriptString("Static Text", "To :", nullptr, value, 200)) SetItemText(kToLabelId, value);
    if (GetFrameScriptString("Button Text", "Cancel", nullptr, value, 10)) SetItemText(IDCANCEL, value);

    if (m_parameters.sourceDir.empty() || m_parameters.installDir.empty() || m_total == 0) {
        EndDialog(IDOK);  // nothing to copy
        return true;
    }
    // A range beyond 16 bits needs the 32-bit message.
    if (m_total <= 0xFFFF) ::SendDlgItemMessageA(m_hwnd, kProgressId, PBM_SETRANGE, 0, MAKELPARAM(0, m_total));
    else ::SendDlgItemMessageA(m_hwnd, kProgressId, PBM_SETRANGE32, 0, static_cast<LPARAM>(m_total));
    ::SetTimer(m_hwnd, kStartTimer, kStartDelayMs, nullptr);
    return true;
}

LRESULT CCopyDlg::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam != kStartTimer) return 0;
    // Killed first: the copy drains messages, which would deliver further ticks.
    ::KillTimer(m_hwnd, kStartTimer);
    setup::CopyWalk walk(m_engine, *this, m_parameters);
    EndDialog(walk.CopyAllDisks() ? IDOK : IDCANCEL);
    return 0;
}

// The close box and the system menu's Close do nothing while files are copied.
LRESULT CCopyDlg::OnClose(WPARAM, LPARAM) { return 0; }

void CCopyDlg::OnCancel() {
    if (!m_engine.ConfirmStop()) return;  // the copy goes on
    m_cancelled = 1;
    EndDialog(IDCANCEL);
}

void CCopyDlg::ShowCopyPaths(const std::string& name, const std::string& source, const std::string& destination) {
    SetItemText(kSourceId, (source + name).c_str());
    SetItemText(kDestinationId, (destination + name).c_str());
}

void CCopyDlg::StepProgress() {
    ++m_progress;
    ::SendDlgItemMessageA(m_hwnd, kProgressId, PBM_SETPOS, m_progress, 0);
    MoveIconAlongTheBar();
    m_iconFrame = m_iconFrame >= 4 ? 1 : m_iconFrame + 1;
    // The four frames are loaded once, when the first is wanted, and owned by the dialog.
    fw::Icon& frame = m_frames[m_iconFrame - 1];
    if (!frame) {
        frame.Reset(static_cast<HICON>(::LoadImageA(ModuleOf(m_hwnd), MAKEINTRESOURCEA(kFirstFrameIcon + m_iconFrame),
                                                    IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR)));
    }
    if (frame) ::SendDlgItemMessageA(m_hwnd, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(frame.Get()), 0);
}

// The icon's left edge goes from the bar's left edge to where its right edge meets the
// bar's, in proportion to the entries done.
void CCopyDlg::MoveIconAlongTheBar() {
    const RECT icon = GetItemRect(kIconId);
    const RECT bar = GetItemRect(kProgressId);
    const double done = m_total ? static_cast<double>(m_progress) / m_total : 0.0;
    const int travel = (bar.right - bar.left) - (icon.right - icon.left);
    const int x = bar.left + static_cast<int>(done * travel);
    ::SetWindowPos(GetItem(kIconId), nullptr, x, icon.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void CCopyDlg::DrainMessages() {
    // Clicks and other input are served after every file; painting at most every 40 ms,
    // since a screen redrawn for every small file costs more than copying it.
    const DWORD now = ::GetTickCount();
    UINT filter = PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE;
    if (now - m_lastPaint >= kPaintIntervalMs) {
        filter |= PM_QS_PAINT;
        m_lastPaint = now;
    }
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | filter)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (message.message == WM_SYSCOMMAND && (message.wParam & 0xFFF0) == SC_CLOSE) continue;
        if (::IsDialogMessageA(m_hwnd, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}
