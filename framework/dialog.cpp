#include "dialog.h"

#include "application.h"

namespace fw {

namespace {

// Messages whose dialog-procedure return value is the result itself rather than a
// handled flag with the result in DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

}  // namespace

Dialog::Dialog(UINT templateId, Window* parent) noexcept
    : m_templateId(templateId), m_parent(parent) {}

INT_PTR Dialog::DoModal() noexcept {
    Application* app = Application::Current();
    HINSTANCE instance = app ? app->Instance() : ::GetModuleHandleA(nullptr);
    // The owner is the parent's last active popup (a dialog of the parent that is up now,
    // or the parent itself): closing this one gives the activation back to the window the
    // user was in, which stays above the parent.
    HWND owner = m_parent && m_parent->Handle() ? ::GetLastActivePopup(m_parent->Handle()) : nullptr;
    return ::DialogBoxParamA(instance, MAKEINTRESOURCEA(m_templateId), owner, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

void Dialog::EndDialog(INT_PTR result) noexcept { ::EndDialog(m_hwnd, result); }

std::string Dialog::GetItemText(int id) const {
    HWND item = GetItem(id);
    int length = item ? ::GetWindowTextLengthA(item) : 0;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = item ? ::GetWindowTextA(item, &text[0], length + 1) : 0;
    text.resize(static_cast<size_t>(copied));
    return text;
}

RECT Dialog::GetItemRect(int id) const noexcept {
    RECT rect{};
    HWND item = GetItem(id);
    if (!item) return rect;
    ::GetWindowRect(item, &rect);
    ::MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Dialog::CenterWindow() const noexcept {
    RECT own{};
    ::GetWindowRect(m_hwnd, &own);
    RECT area{};
    HWND owner = ::GetWindow(m_hwnd, GW_OWNER);
    if (!owner || !::GetWindowRect(owner, &area)) {
        area = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    int width = own.right - own.left;
    int height = own.bottom - own.top;
    int left = area.left + ((area.right - area.left) - width) / 2;
    int top = area.top + ((area.bottom - area.top) - height) / 2;
    ::SetWindowPos(m_hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Dialog::OnInitDialog() { return true; }

void Dialog::OnOK() { EndDialog(IDOK); }

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        // IDOK also comes from Enter and IDCANCEL from Escape, through the dialog manager.
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            result = 0;
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            result = 0;
            return true;
        }
    }
    return Window::OnMessage(message, wParam, lParam, result);
}

LRESULT Dialog::DefaultProc(UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        if (!self) return TRUE;
        self->m_hwnd = hwnd;
        return self->OnInitDialog() ? TRUE : FALSE;
    }
    auto* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self) return FALSE;

    bool handled = false;
    LRESULT result = self->Route(message, wParam, lParam, handled);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->m_hwnd = nullptr;
    }
    if (!handled) return FALSE;
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace fw
