// Keeps a dialog in front of windows that another program opens by itself while the dialog
// is up: the shell shows a program group's window a while after the conversation that asked
// for it has ended, and would otherwise cover the installer's next question, which then waits
// for a user who cannot see it. The user's choice stands: once a key or a mouse button is
// pressed anywhere, whatever window the user brings to the front stays there.
#pragma once

#include "../../framework/handles.h"

#include <windows.h>

class FrontKeeper {
public:
    FrontKeeper() noexcept = default;
    ~FrontKeeper();
    FrontKeeper(const FrontKeeper&) = delete;
    FrontKeeper& operator=(const FrontKeeper&) = delete;

    // Starts keeping the dialog in front, until the user's first key or button press.
    void Start(HWND dialog);
    // The dialog lost the activation: another window came up, checked once the change is over.
    void OnDeactivated();
    // Tells the window system the dialog's place again, until the user pressed a key or a
    // button; once the user has, lets go of the front, the hooks and the timer. The activation
    // is not taken back: the system may refuse it, and it would bring the owner up with it.
    void Check();

    // The dialog's timer (each installer dialog has the one timer id 1000).
    static constexpr UINT_PTR kTimer = 1000;
    static constexpr UINT kTimerMs = 500;
    // Posted to the dialog for a check after an activation change or the user's press.
    static constexpr UINT kCheckMessage = WM_APP + 1;

private:
    // Called by the hooks at the user's first press, before the press reaches its window.
    void OnUserPressed();
    void Stop();
    // Without the hooks: whether a key or a button went down since the last call.
    static bool PressedSinceLastLook();

    static LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam);
    // The keeper that is armed: low-level hooks are called without any context of ours, and
    // one dialog keeps the front at a time.
    static FrontKeeper* s_armed;

    HWND m_dialog = nullptr;
    // Low-level hooks see every key and button the user presses, in whatever program.
    fw::Hook m_keyboard;
    fw::Hook m_mouse;
    bool m_polling = false;
    // A hidden topmost window, never shown, that the dialog changes places with.
    fw::OwnedWindow m_marker;
    bool m_aboveMarker = true;
};
