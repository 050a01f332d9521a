// The application object: start-up hook, message loop, wait cursor, and the accessors
// for the current application and its main window.
#pragma once

#include "handles.h"
#include "window.h"

#include <windows.h>

#include <memory>
#include <string>

namespace fw {

class Application {
public:
    Application() noexcept;
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The application object of this program; null outside its lifetime.
    static Application* Current() noexcept;

    // Runs the program: the start-up hook, then the message loop while it succeeded.
    // Returns the exit code: the quit message's code, or the start failure code (0 unless
    // set) when the start-up failed.
    int Main(HINSTANCE instance) noexcept;

    HINSTANCE Instance() const noexcept { return m_instance; }
    void SetInstance(HINSTANCE instance) noexcept { m_instance = instance; }

    Window* MainWindow() const noexcept { return m_mainWindow.get(); }
    void SetMainWindow(std::unique_ptr<Window> window) noexcept;

    // Full path of the program file (at most 255 characters).
    std::string ModulePath() const;

    // The wait cursor is shown while at least one Begin is not yet matched by an End.
    void BeginWaitCursor() noexcept;
    void EndWaitCursor() noexcept;
    bool WaitCursorShown() const noexcept { return m_waitCount > 0; }

    // Gives dialog controls the system's current look (the common controls).
    void Enable3dControls() noexcept;

    // The exit code when the start-up hook fails (0 unless set).
    void SetStartFailureCode(int code) noexcept { m_startFailureCode = code; }

protected:
    // Start-up hook: false ends the program at once.
    virtual bool InitInstance() = 0;

    // The message loop; returns the code of the quit message.
    virtual int Run() noexcept;

private:
    // The framework's one global: window and dialog procedures are plain callbacks and
    // reach the application only through it.
    static Application* s_current;

    // The common controls, loaded from the system directory for the program's life: their
    // window classes go with them.
    Library m_commonControls;
    HINSTANCE m_instance = nullptr;
    std::unique_ptr<Window> m_mainWindow;
    int m_waitCount = 0;
    int m_startFailureCode = 0;
    HCURSOR m_cursorBeforeWait = nullptr;
};

// RAII form of Begin/EndWaitCursor on the current application.
class WaitCursor {
public:
    WaitCursor() noexcept;
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace fw
