#include "front_keeper.h"

#include "../../framework/platform.h"

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
    // Low-level hooks exist on the NT family alone (from NT 4.0 with its third service pack on).
    // Without them, the keys' and buttons' "pressed since the last look" bits tell on the timer.
    if (fw::IsNtPlatform()) {
        m_keyboard.Reset(::SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHook, instance, 0));
        m_mouse.Reset(::SetWindowsHookExA(WH_MOUSE_LL, MouseHook, instance, 0));
    }
    m_polling = !m_keyboard || !m_mouse;
    if (m_polling) {
        m_keyboard.Reset();
        m_mouse.Reset();
        PressedSinceLastLook();  // forgets what was pressed before the dialog came up
    }
    // Topmost until the user's first press: above the shell's windows whatever has the foreground,
    // needing no permission (taking the foreground would) and no timer (the one below only redraws).
    ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_marker.Reset(::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                     nullptr, instance, nullptr));
    m_aboveMarker = true;
    ::SetTimer(dialog, kTimer, kTimerMs, nullptr);
}

void FrontKeeper::OnDeactivated() {
    // Not during the change of activation itself: the system is still in the middle of it.
    if (m_dialog) ::PostMessageA(m_dialog, kCheckMessage, 0, 0);
}

void FrontKeeper::OnUserPressed() {
    // Nothing more in the hook, which holds the press until it returns: the dialog lets go of
    // the front once the press has reached its window.
    s_armed = nullptr;
    ::PostMessageA(m_dialog, kCheckMessage, 0, 0);
}

bool FrontKeeper::PressedSinceLastLook() {
    bool pressed = false;
    // Every key is asked, so that each one's bit starts again from here.
    for (int key = 1; key < 255; ++key)
        if (::GetAsyncKeyState(key) & 1) pressed = true;
    return pressed;
}

void FrontKeeper::Check() {
    if (!m_dialog) return;
    if (m_polling && s_armed == this && PressedSinceLastLook()) s_armed = nullptr;
    if (s_armed != this) {
        // Below the window the user brought to the front, which a topmost dialog would keep
        // below it; not topmost any more either way.
        const HWND front = ::GetForegroundWindow();
        const bool other = front && ::GetWindowThreadProcessId(front, nullptr) != ::GetCurrentThreadId();
        ::SetWindowPos(m_dialog, other ? front : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Stop();
        return;
    }
    // Only a change of place makes a window system that shows another program's new window over
    // the dialog (as Wine's X11 desktop does) draw the order again: on the timer, the repair. The
    // dialog changes places with a hidden topmost window, so that it stays the first one shown.
    m_aboveMarker = !m_aboveMarker;
    ::SetWindowPos(m_dialog, m_aboveMarker ? HWND_TOPMOST : m_marker.Get(), 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FrontKeeper::Stop() {
    if (s_armed == this) s_armed = nullptr;
    if (m_dialog) ::KillTimer(m_dialog, kTimer);
    m_dialog = nullptr;
    m_keyboard.Reset();
    m_mouse.Reset();
    m_marker.Reset();
}
