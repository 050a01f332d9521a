#include "front_keeper.h"

namespace {

// Set by the low-level hooks, which are called without any context of ours: one dialog
// keeps the front at a time, and it clears the flag when it starts.
bool g_userPressed = false;

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN)) g_userPressed = true;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    // Moves do not count: a window that opens under the pointer makes the system report one.
    if (code == HC_ACTION && (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN || wParam == WM_MBUTTONDOWN ||
                              wParam == WM_XBUTTONDOWN))
        g_userPressed = true;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

FrontKeeper::~FrontKeeper() { Stop(); }

void FrontKeeper::Start(HWND dialog) {
    m_dialog = dialog;
    g_userPressed = false;
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_keyboard.Reset(::SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHook, instance, 0));
    m_mouse.Reset(::SetWindowsHookExA(WH_MOUSE_LL, MouseHook, instance, 0));
    ::SetTimer(dialog, kTimer, kTimerMs, nullptr);
    // The first check once the dialog is shown: the other program's window may be up already.
    ::PostMessageA(dialog, kCheckMessage, 0, 0);
}

void FrontKeeper::OnDeactivated() {
    // Not during the change of activation itself: the system is still in the middle of it.
    if (m_dialog) ::PostMessageA(m_dialog, kCheckMessage, 0, 0);
}

// In front: the foreground window, and the window at its centre.
bool FrontKeeper::InFront() const {
    if (::GetForegroundWindow() != m_dialog) return false;
    RECT rect{};
    ::GetWindowRect(m_dialog, &rect);
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    const HWND atCentre = ::WindowFromPoint(centre);
    return atCentre && ::GetAncestor(atCentre, GA_ROOT) == m_dialog;
}

void FrontKeeper::Check() {
    if (!m_dialog) return;
    if (g_userPressed) {
        Stop();
        return;
    }
    if (InFront()) return;
    ::SetForegroundWindow(m_dialog);
    ::SetWindowPos(m_dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void FrontKeeper::Stop() {
    if (m_dialog) ::KillTimer(m_dialog, kTimer);
    m_dialog = nullptr;
    m_keyboard.Reset();
    m_mouse.Reset();
}
