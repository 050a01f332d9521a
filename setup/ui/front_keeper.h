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

    // Starts keeping the dialog in front: checked on its timer and whenever it loses the
    // activation.
    void Start(HWND dialog);
    // The dialog lost the activation: checked once the change is over.
    void OnDeactivated();
    // Takes the front back when another window took it and the user has not pressed a key
    // or a mouse button since the dialog started keeping it; stops once the user has.
    void Check();

    // The timer that checks (each installer dialog has the one timer id 1000).
    static constexpr UINT_PTR kTimer = 1000;
    static constexpr UINT kTimerMs = 250;
    // Posted to the dialog for a check after an activation change.
    static constexpr UINT kCheckMessage = WM_APP + 1;

private:
    bool InFront() const;
    void Stop();

    HWND m_dialog = nullptr;
    // Low-level hooks see every key and button the user presses, in whatever program.
    fw::Hook m_keyboard;
    fw::Hook m_mouse;
};
