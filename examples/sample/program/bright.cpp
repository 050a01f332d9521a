// Brightleaf, the sample product's program: a window with one leaf of notes. It is
// installed by the sample's setup script; it shows what was installed with it.
#include <windows.h>

namespace {

constexpr int kEditId = 100;

LRESULT CALLBACK LeafProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "Welcome to Brightleaf 2.1.\r\nOne leaf per thought.",
                          WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0, 0, 0, window,
                          reinterpret_cast<HMENU>(kEditId), nullptr, nullptr);
        return 0;
    case WM_SIZE:
        ::MoveWindow(::GetDlgItem(window, kEditId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    // Started with Windows (/tray), or with any other switch: nothing to show.
    if (commandLine && *commandLine == '/') return 0;
    WNDCLASSA leafClass{};
    leafClass.lpfnWndProc = LeafProc;
    leafClass.hInstance = instance;
    leafClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    leafClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    leafClass.lpszClassName = "BrightleafLeaf";
    ::RegisterClassA(&leafClass);
    HWND window = ::CreateWindowExA(0, leafClass.lpszClassName, "Brightleaf 2.1", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(window, show);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
