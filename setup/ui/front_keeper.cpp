#include "front_keeper.h"

FrontKeeper* FrontKeeper::s_armed = nullptr;

LRESULT CALLBACK FrontKeeper::KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN) && s_armed) s_armed->OnUserPressed();
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK FrontKeeper::MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    // Moves do not count: a window that opens under the pointer makes the system report one.
    if (code == HC_ACTION && s_armed &&
        (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN || wParam == WM_MBUTTONDOWN || wParam == WM_XBUTTONDOWN))
        s_armed->OnUserPressed();
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

FrontKeeper::~FrontKeeper() { Stop(); }

void FrontKeeper::Start(HWND dialog) {
    m_dialog = dialog;
    s_armed = this;
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_keyboard.Reset(::SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHook, instance, 0));
    m_mouse.Reset(::SetWindowsHookExA(WH_MOUSE_LL, MouseHook, instance, 0));
    // Topmost until the user's first press: above the shell's windows whatever has the foreground,
    // with no timer to run and no permission needed, which taking the foreground would need.
    ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetTimer(dialog, kTimer, kTimerMs, nullptr);
}

void FrontKeeper::OnDeactivated() {
    // Not during the change of activation itself: the system is still in the middle of it.
    if (!m_dialog) return;
    m_activationTaken = false;
    ::PostMessageA(m_dialog, kCheckMessage, 0, 0);
}

void FrontKeeper::OnUserPressed() {
    // Now, in the hook, before the press reaches its window: a window the user clicks comes up
    // above the dialog as any window does.
    s_armed = nullptr;
    ::SetWindowPos(m_dialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The hooks go once the hook has returned.
    ::PostMessageA(m_dialog, kCheckMessage, 0, 0);
}

void FrontKeeper::Check() {
    if (!m_dialog) return;
    if (s_armed != this) {
        Stop();
        return;
    }
    // Only a change of place makes a window system that shows another program's new window over
    // the dialog (as Wine's X11 desktop does) draw the order again: on the timer, the repair.
    ::SetWindowPos(m_dialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(m_dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The keys go to the question where the system allows it, once for each time it lost them.
    if (!m_activationTaken && ::GetForegroundWindow() != m_dialog) ::SetForegroundWindow(m_dialog);
    m_activationTaken = true;
}

void FrontKeeper::Stop() {
    if (s_armed == this) s_armed = nullptr;
    if (m_dialog) ::KillTimer(m_dialog, kTimer);
    m_dialog = nullptr;
    m_keyboard.Reset();
    m_mouse.Reset();
}
