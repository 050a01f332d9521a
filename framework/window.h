// Windows of the framework: the common base that binds a C++ object to its window
// handle and routes messages through the class's message table, and the frame window.
#pragma once

#include "message_table.h"

#include <windows.h>

namespace fw {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const noexcept { return m_hwnd; }

protected:
    // Every message of the window comes here first. A class dispatches its own table and
    // passes what it does not handle to its base class; false means "not handled" and
    // leads to DefaultProc.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // What happens to a message nobody handled: DefWindowProc for plain windows.
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Runs a message through OnMessage and DefaultProc. Nothing may throw across the
    // system's caller: the programs are built without exceptions, and an allocation that
    // fails ends the program (runtime.cpp).
    LRESULT Route(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) noexcept;

    HWND m_hwnd = nullptr;

    friend LRESULT CALLBACK FrameWindowProc(HWND, UINT, WPARAM, LPARAM);
};

// A top-level window of the framework's default frame class (or of a class the caller
// registered with FrameWindowProc as its procedure).
class FrameWindow : public Window {
public:
    static constexpr const char* kDefaultClassName = "fwFrame";

    FrameWindow() = default;
    ~FrameWindow() override;

    // Creates the window; className null selects the framework's default frame class.
    bool Create(const char* className, const char* title, DWORD style, const RECT& rect,
                HWND parent, HMENU menu, DWORD exStyle);

protected:
    // Called before the window is created; a class may change the creation values.
    virtual void PreCreateWindow(CREATESTRUCTA& create);

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The frame's own handling of WM_CREATE (0 continues, -1 fails the creation) and
    // WM_DESTROY; derived classes call them first from their handlers.
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

private:
    static bool RegisterDefaultClass(HINSTANCE instance);
};

// The window procedure of every framework window class.
LRESULT CALLBACK FrameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace fw
