#include "window.h"

#include "application.h"

namespace fw {

Window::~Window() = default;

bool Window::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    // While the application shows the wait cursor, the class cursor must not replace it
    // each time the mouse moves over the window.
    if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT) {
        Application* app = Application::Current();
        if (app && app->WaitCursorShown()) {
            ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
            result = TRUE;
            return true;
        }
    }
    return false;
}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(m_hwnd, message, wParam, lParam);
}

LRESULT Window::Route(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) noexcept {
    LRESULT result = 0;
    handled = OnMessage(message, wParam, lParam, result);
    if (!handled) result = DefaultProc(message, wParam, lParam);
    return result;
}

LRESULT CALLBACK FrameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* self = static_cast<Window*>(create->lpCreateParams);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self) self->m_hwnd = hwnd;
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO) have no object yet.
    if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);

    bool handled = false;
    LRESULT result = self->Route(message, wParam, lParam, handled);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
    }
    return result;
}

bool FrameWindow::RegisterDefaultClass(HINSTANCE instance) {
    WNDCLASSA existing{};
    if (::GetClassInfoA(instance, kDefaultClassName, &existing)) return true;
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = FrameWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kDefaultClassName;
    return ::RegisterClassA(&windowClass) != 0;
}

bool FrameWindow::Create(const char* className, const char* title, DWORD style, const RECT& rect,
                         HWND parent, HMENU menu, DWORD exStyle) {
    Application* app = Application::Current();
    HINSTANCE instance = app ? app->Instance() : ::GetModuleHandleA(nullptr);
    if (!className) {
        if (!RegisterDefaultClass(instance)) return false;
        className = kDefaultClassName;
    }
    CREATESTRUCTA create{};
    create.lpCreateParams = this;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = parent;
    create.x = rect.left;
    create.y = rect.top;
    create.cx = rect.right - rect.left;
    create.cy = rect.bottom - rect.top;
    create.style = static_cast<LONG>(style);
    create.lpszName = title;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    PreCreateWindow(create);

    HWND hwnd = ::CreateWindowExA(create.dwExStyle, create.lpszClass, create.lpszName,
                                  static_cast<DWORD>(create.style), create.x, create.y, create.cx,
                                  create.cy, create.hwndParent, create.hMenu, create.hInstance,
                                  create.lpCreateParams);
    return hwnd != nullptr;
}

FrameWindow::~FrameWindow() {
    if (m_hwnd) {
        // The object goes first: detach it so that the destruction messages do not reach
        // a half-destroyed object.
        ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hwnd);
    }
}

void FrameWindow::PreCreateWindow(CREATESTRUCTA&) {}

bool FrameWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return Window::OnMessage(message, wParam, lParam, result);
}

LRESULT FrameWindow::OnCreate(WPARAM, LPARAM) { return 0; }

LRESULT FrameWindow::OnDestroy(WPARAM, LPARAM) { return 0; }

}  // namespace fw
