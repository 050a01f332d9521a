// OSTREL.EXE: a hidden window that makes Win32 calls on behalf of programs that cannot make
// them themselves. A client finds the window by class and title and sends it WM_COPYDATA
// requests; the accessor runs the request's command, sends the updated request back to
// the window in the message's wParam, and returns the command's 1 or 0. A second start
// hands its command line to the running accessor and ends; "Destroy" closes it.
#include "commands.h"
#include "protocol.h"
#include "resource.h"
#include "win32_system.h"

#include <windows.h>

namespace {

using namespace accessor;

// How long a reply may take the client's window before the accessor gives up on it.
constexpr UINT kReplyTimeoutMs = 5000;
// How long a second start waits for the running accessor to take its command line.
constexpr UINT kForwardTimeoutMs = 10000;
// A client that answers each reply with a new request nests them on the accessor's
// stack; beyond this depth such requests are refused.
constexpr int kMaxReplyDepth = 8;

// The program-wide state a window procedure forces: set at start-up, then left alone
// (the window until it is destroyed).
HINSTANCE g_instance = nullptr;
HWND g_window = nullptr;
// The program's own command line: the one control text whose address the accessor can
// vouch for.
const char* g_commandLine = nullptr;

Win32System g_system;
int g_replyDepth = 0;

// "Destroy" (any letter case) closes the accessor; every other text is ignored.
void OnControlText(HWND window, const char* text) {
    if (IsDestroyCommand(text)) ::PostMessageA(window, WM_CLOSE, 0, 0);
}

// The updated request goes back to the client's window, so that the results reach the
// client although the system handed the accessor a copy of its data.
void Reply(HWND own, WPARAM wParam, ULONG_PTR magic, void* data, std::size_t size) {
    HWND client = reinterpret_cast<HWND>(wParam);
    if (!client || client == own) return;
    COPYDATASTRUCT reply{magic, static_cast<DWORD>(size), data};
    DWORD_PTR ignored = 0;
    ++g_replyDepth;
    ::SendMessageTimeoutA(client, WM_COPYDATA, reinterpret_cast<WPARAM>(own), reinterpret_cast<LPARAM>(&reply),
                          SMTO_NORMAL | SMTO_ABORTIFHUNG, kReplyTimeoutMs, &ignored);
    --g_replyDepth;
}

LRESULT OnCopyData(HWND own, WPARAM wParam, LPARAM lParam) {
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!copy || !copy->lpData) return 0;
    auto* data = static_cast<unsigned char*>(copy->lpData);
    if (copy->dwData == ACCESSOR_MAGIC_CONTROL) {
        const char* text = ControlText(data, copy->cbData);
        if (!text) return 0;
        OnControlText(own, text);
        return 1;
    }
    if (g_replyDepth >= kMaxReplyDepth) return 0;
    const Served served = ServeRequest(g_system, static_cast<std::uint32_t>(copy->dwData), data, copy->cbData);
    if (served.dispatched) Reply(own, wParam, copy->dwData, data, served.size);
    return served.result;
}

LRESULT CALLBACK AccessorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        break;
    case WM_NCDESTROY:
        if (window == g_window) g_window = nullptr;
        break;
    case WM_COPYDATA:
        return OnCopyData(window, wParam, lParam);
    case WM_SYSCOMMAND:
        // The system menu's Close and Alt+F4 do not close the accessor.
        if (wParam == SC_CLOSE) return 0;
        break;
    case WM_ACCESSOR_CONTROL:
        // lParam is an address in this process: only the program's own command line is
        // read. Other programs forward theirs by WM_COPYDATA.
        if (lParam != 0 && reinterpret_cast<const char*>(lParam) == g_commandLine)
            OnControlText(window, g_commandLine);
        break;
    default:
        if (const std::uint32_t magic = QueryMagic(message)) return static_cast<LRESULT>(magic);
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// A second start: the command line goes to the running accessor (with its NUL), which
// has taken it when the call returns.
void ForwardCommandLine(HWND running, const char* commandLine) {
    COPYDATASTRUCT copy{ACCESSOR_MAGIC_CONTROL, static_cast<DWORD>(lstrlenA(commandLine) + 1),
                        const_cast<char*>(commandLine)};
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                          kForwardTimeoutMs, &ignored);
}

bool RegisterAccessorClass(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = AccessorWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_OSTREL));
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    return ::RegisterClassA(&windowClass) != 0;
}

// A window the loop leaves behind (the loop ended on an error) is destroyed on the way out.
struct LeftWindow {
    ~LeftWindow() {
        if (g_window) ::DestroyWindow(g_window);
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int) {
    const char* line = commandLine ? commandLine : "";
    if (HWND running = ::FindWindowA(kClassName, kWindowTitle)) {
        ForwardCommandLine(running, line);
        return 0;
    }
    if (!previous && !RegisterAccessorClass(instance)) return 0;

    g_instance = instance;
    // Never shown: the window exists only to receive messages.
    HWND window = ::CreateWindowExA(0, kClassName, kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!window) return 0;
    g_window = window;
    LeftWindow leftWindow;

    // A first start with "Destroy" closes again at once, the way a running accessor does.
    g_commandLine = line;
    ::SendMessageA(window, WM_ACCESSOR_CONTROL, 0, reinterpret_cast<LPARAM>(line));

    // The resources hold no accelerator table: the handle is null and nothing translates.
    HACCEL accelerators = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    MSG message{};
    BOOL got;
    while ((got = ::GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) return 0;
        if (!::TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
