#include "message_dlg.h"

#include "../../framework/handles.h"
#include "../engine/answers.h"
#include "../engine/messages.h"
#include "../script/text.h"

namespace {

constexpr int kTextId = 1012;
constexpr int kIconId = 1008;

}  // namespace

const fw::MessageEntry<CMessageDlg> CMessageDlg::kMessageTable[6] = {
    fw::OnCommand(setup::kMessageButtonIds[0], &CMessageDlg::OnFirstButton),
    fw::OnCommand(setup::kMessageButtonIds[1], &CMessageDlg::OnSecondButton),
    fw::OnCommand(setup::kMessageButtonIds[2], &CMessageDlg::OnThirdButton),
    fw::OnSysCommand(SC_CLOSE, &CMessageDlg::OnClose),
    fw::OnMessage(WM_TIMER, &CMessageDlg::OnTimer),
    fw::OnMessage(FrontKeeper::kCheckMessage, &CMessageDlg::OnCheckFront),
};

CMessageDlg::CMessageDlg(fw::Window* parent, const setup::SetupScript& script, bool keepFront) noexcept
    : CSetupDlg(kTemplateId, parent, script), m_keepFront(keepFront) {}

CMessageDlg::~CMessageDlg() = default;

void CMessageDlg::SetMessage(const char* text, const char* title, const char* caption1, const char* caption2,
                             const char* caption3, int style) {
    m_text = setup::FitBuffer(text ? text : "", setup::kMessageTextSize);
    m_title = setup::FitBuffer(title ? title : "", setup::kMessageTitleSize);
    const char* captions[3] = {caption1, caption2, caption3};
    for (int i = 0; i < 3; ++i) m_captions[i] = setup::FitBuffer(captions[i] ? captions[i] : "", setup::kCaptionSize);
    m_style = style;
}

bool CMessageDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Seen, not handled: the dialog manager keeps its own focus rules on activation.
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) m_front.OnDeactivated();
    return fw::DispatchTable(*this, kMessageTable, message, wParam, lParam, result) ||
           CSetupDlg::OnMessage(message, wParam, lParam, result);
}

bool CMessageDlg::OnInitDialog() {
    CSetupDlg::OnInitDialog();
    if (!m_title.empty()) ::SetWindowTextA(m_hwnd, m_title.c_str());
    if (!m_text.empty()) SetItemText(kTextId, m_text.c_str());
    PlaceAndLayout();
    SetIcon();
    SetUpButtons();
    // After a conversation with the program manager the shell opens the groups' windows by
    // itself, and late: the messages that follow keep the front.
    if (m_keepFront) m_front.Start(m_hwnd);
    return true;
}

void CMessageDlg::PlaceAndLayout() {
    RECT window{};
    ::GetWindowRect(m_hwnd, &window);
    const int width = window.right - window.left;
    const int left = (::GetSystemMetrics(SM_CXFULLSCREEN) - width) / 2;
    if (m_text.empty()) {
        PlaceOnWorkArea();
        return;
    }
    const setup::Rect text = ToRect(GetItemRect(kTextId));
    const std::array<setup::Rect, 3> buttons = {ToRect(GetItemRect(setup::kMessageButtonIds[0])),
                                                ToRect(GetItemRect(setup::kMessageButtonIds[1])),
                                                ToRect(GetItemRect(setup::kMessageButtonIds[2]))};
    const setup::MessageLayout layout =
        setup::LayoutMessage(MeasureTextRows(kTextId, m_text, text.Width()), ToRect(GetItemRect(kIconId)), text, buttons);
    MoveItem(GetItem(kIconId), layout.icon);
    MoveItem(GetItem(kTextId), layout.text);
    for (int i = 2; i >= 0; --i) MoveItem(GetItem(setup::kMessageButtonIds[i]), layout.buttons[i]);

    const setup::DialogPlace place = setup::PlaceMessageDialog(
        layout.buttons[0].bottom, ::GetSystemMetrics(SM_CYCAPTION), ::GetSystemMetrics(SM_CYFULLSCREEN));
    ::MoveWindow(m_hwnd, left, place.top, width, place.height, TRUE);
}

void CMessageDlg::SetIcon() {
    LPCSTR icon = nullptr;
    switch (m_style & 0xF0) {
    case setup::style::kStopIcon: icon = IDI_HAND; break;
    case setup::style::kQuestionIcon: icon = IDI_QUESTION; break;
    case setup::style::kExclamationIcon: icon = IDI_EXCLAMATION; break;
    case setup::style::kInformationIcon: icon = IDI_ASTERISK; break;
    default: return;  // the template's application icon stays
    }
    // System icons are shared: they are never destroyed.
    ::SendDlgItemMessageA(m_hwnd, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconA(nullptr, icon)), 0);
}

void CMessageDlg::SetUpButtons() {
    m_plan = setup::PlanButtons(m_style, m_captions[0].c_str(), m_captions[1].c_str(), m_captions[2].c_str());
    if (m_plan.templateState) return;
    setup::ApplyButtonText(Script(), m_plan);
    for (int i = 0; i < 3; ++i) {
        m_captions[i] = m_plan.captions[i];
        SetItemText(setup::kMessageButtonIds[i], m_captions[i].c_str());
    }
    const int shown = m_plan.Shown();
    if (shown == 3) return;

    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    std::array<setup::Rect, 3> buttons;
    for (int i = 0; i < 3; ++i) buttons[i] = ToRect(GetItemRect(setup::kMessageButtonIds[i]));
    setup::ArrangeButtons(shown, client.right, buttons);
    for (int i = 0; i < 3; ++i) {
        HWND button = GetItem(setup::kMessageButtonIds[i]);
        if (i >= shown) {
            ::ShowWindow(button, SW_HIDE);
            continue;
        }
        MoveItem(button, buttons[i]);
        ::ShowWindow(button, SW_SHOW);
    }
}

LRESULT CMessageDlg::OnFirstButton(WPARAM, LPARAM) {
    EndDialog(m_plan.results[0]);
    return 0;
}

LRESULT CMessageDlg::OnSecondButton(WPARAM, LPARAM) {
    EndDialog(m_plan.results[1]);
    return 0;
}

LRESULT CMessageDlg::OnThirdButton(WPARAM, LPARAM) {
    EndDialog(m_plan.results[2]);
    return 0;
}

LRESULT CMessageDlg::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == FrontKeeper::kTimer) m_front.Check();
    return 0;
}

LRESULT CMessageDlg::OnCheckFront(WPARAM, LPARAM) {
    m_front.Check();
    return 0;
}

// Closing from the system menu (or Alt+F4) counts as the first button.
LRESULT CMessageDlg::OnClose(WPARAM, LPARAM) {
    EndDialog(m_plan.results[0]);
    return 0;
}
