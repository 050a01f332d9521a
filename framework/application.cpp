#include "application.h"

#include "platform.h"

#include <commctrl.h>

namespace fw {

Application* Application::s_current = nullptr;

Application::Application() noexcept { s_current = this; }

Application::~Application() {
    m_mainWindow.reset();
    if (s_current == this) s_current = nullptr;
}

Application* Application::Current() noexcept { return s_current; }

int Application::Main(HINSTANCE instance) noexcept {
    m_instance = instance;
    if (!InitInstance()) {
        m_mainWindow.reset();
        return m_startFailureCode;
    }
    return Run();
}

int Application::Run() noexcept {
    MSG message{};
    // GetMessage returns 0 for WM_QUIT and -1 on an error; both end the loop.
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

void Application::SetMainWindow(std::unique_ptr<Window> window) noexcept {
    m_mainWindow = std::move(window);
}

std::string Application::ModulePath() const {
    char path[256] = {};
    DWORD length = ::GetModuleFileNameA(m_instance, path, sizeof path);
    // A path that filled the buffer was cut; the terminator is then not guaranteed.
    path[sizeof path - 1] = '\0';
    return std::string(path, length < sizeof path ? length : sizeof path - 1);
}

void Application::BeginWaitCursor() noexcept {
    HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    if (m_waitCount++ == 0) m_cursorBeforeWait = previous;
}

void Application::EndWaitCursor() noexcept {
    if (m_waitCount == 0) return;
    if (--m_waitCount == 0) {
        ::SetCursor(m_cursorBeforeWait ? m_cursorBeforeWait : ::LoadCursorA(nullptr, IDC_ARROW));
        m_cursorBeforeWait = nullptr;
    }
}

void Application::Enable3dControls() noexcept {
    // Loaded by full path, not imported: the program's folder would come first. The common
    // controls of Windows 95 and NT 4.0 as they shipped have no InitCommonControlsEx; their
    // InitCommonControls registers the same classes.
    using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    using Init = void(WINAPI*)();
    if (!m_commonControls) m_commonControls = LoadSystemLibrary("COMCTL32.DLL");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    if (const auto initEx = LibraryFunction<InitEx>(m_commonControls, "InitCommonControlsEx")) initEx(&controls);
    else if (const auto init = LibraryFunction<Init>(m_commonControls, "InitCommonControls")) init();
}

WaitCursor::WaitCursor() noexcept {
    if (Application* app = Application::Current()) app->BeginWaitCursor();
}

WaitCursor::~WaitCursor() {
    if (Application* app = Application::Current()) app->EndWaitCursor();
}

}  // namespace fw
