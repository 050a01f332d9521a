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
}

void FrontKeeper::OnDeactivated() {
    // Not during the change of activation itself: the system is still in the middle of it.
    if (m_dialog) ::PostMessageA(m_dialog, kCheckMessage, 0, 0);
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
    // The keys go to the question, where the system allows it; the question is in sight anyway.
    if (::GetForegroundWindow() != m_dialog) ::SetForegroundWindow(m_dialog);
}

void FrontKeeper::Stop() {
    if (s_armed == this) s_armed = nullptr;
    m_dialog = nullptr;
    m_keyboard.Reset();
    m_mouse.Reset();
}
