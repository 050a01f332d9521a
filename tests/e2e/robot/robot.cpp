// The robot: drives the windows of another program the way a user would, one command per
// run, for the end-to-end scenarios. Every wait is bounded.
//
//   robot launch [--timeout MS] [--stop NAME] [--watch-windows] [--dir DIR] EXE [ARGS...]
//                                                   start (in DIR, when given, as its current
//                                                   directory), wait, exit with the program's code;
//                                                   the program is ended by its process handle
//                                                   on timeout or when event NAME is set; with
//                                                   --watch-windows, poll every 25 ms for any
//                                                   visible top-level window of the program
//                                                   and print each one seen
//   robot stop NAME                                 set the event of a launch
//   robot wait-window [--timeout MS] CLASS CAPTION  print the handle of a visible top-level window
//   robot wait-gone [--timeout MS] HWND             wait until the window is gone; print the ms
//   robot front [--timeout MS] HWND [after MS]     wait until the window is the foreground window
//                                                   and the one at its centre ("after": from MS
//                                                   on)
//   robot uncovered --for MS HWND                   watch for MS that no other window covers the
//                                                   window's centre; fail at the first that does
//   robot uncovered [--timeout MS] --ticks N HWND   the same, until the dialog's front keeper has
//                                                   ticked N times
//   robot texts HWND                                the window and its controls, with their texts
//   robot set-text HWND ID TEXT                     set an edit's text
//   robot select HWND ID INDEX                      select a list or combo box entry
//   robot click HWND ID [HWND ID]...                click visible, enabled buttons, in this order
//   robot user-click [--timeout MS] HWND            a mouse click on the window's caption, by input;
//                                                   done when the foreground window has changed
//   robot close HWND                                the system menu's Close
//   robot key HWND escape|enter                     a key press in the dialog
//   robot position HWND ID                          a progress bar's position and range
//   robot hold-file [--timeout MS] [--stop NAME] PATH
//                                                   keep a file open without sharing (print "held")
//                                                   until event NAME is set or the time is up
//   robot icon HWND ID                              the icon handle an icon control shows
//   robot profile FILE SECTION KEY                  an INI entry, read with GetPrivateProfileString
//   robot set-profile FILE SECTION KEY VALUE        write one, with WritePrivateProfileString
//   robot reg HKLM|HKCU|HKCR|HKU SUBKEY NAME        a registry string value ("@": the default one)
//   robot reg-save HKLM|HKCU|HKU FILE               the root's keys and values into FILE, as
//                                                   RegSaveKey writes them (volatile keys, which
//                                                   the system makes anew each session, left out)
//   robot hold-window [--timeout MS] TITLE          keep a window of that title until another
//                                                   program brings it to the foreground
//
// CLASS or CAPTION "*" matches any. Exit codes: 0 done, 1 not done (timeout, not found, or
// the control cannot be used), 2 usage; launch: the program's exit code, 124 on timeout
// (the program is then ended by its process handle).
#include "../../../framework/handles.h"

#include <windows.h>
#include <sddl.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDefaultTimeoutMs = 10000;
constexpr DWORD kPollMs = 25;
constexpr UINT kSendTimeoutMs = 5000;
constexpr int kTimedOut = 124;

struct Args {
    DWORD timeoutMs = kDefaultTimeoutMs;
    std::string stopEvent;
    bool watchWindows = false;
    std::string directory;
    std::vector<std::string> words;
};

Args ParseArgs(int argc, char** argv, int first) {
    Args args;
    for (int i = first; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--timeout" && i + 1 < argc && args.words.empty()) {
            args.timeoutMs = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
            continue;
        }
        if (word == "--watch-windows" && args.words.empty()) {
            args.watchWindows = true;
            continue;
        }
        if (word == "--stop" && i + 1 < argc && args.words.empty()) {
            args.stopEvent = argv[++i];
            continue;
        }
        if (word == "--dir" && i + 1 < argc && args.words.empty()) {
            args.directory = argv[++i];
            continue;
        }
        args.words.push_back(word);
    }
    return args;
}

HWND ParseWindow(const std::string& text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoul(text.c_str(), nullptr, 0)));
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

// WM_GETTEXT reaches controls of other processes, which GetWindowText does not.
std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length))
        return std::string();
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                          SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied);
    text.resize(copied);
    return text;
}

// Prints text in double quotes with line breaks, tabs and quotes escaped, on one line.
void PrintQuoted(const std::string& text) {
    std::putchar('"');
    for (char c : text) {
        if (c == '\n') std::fputs("\\n", stdout);
        else if (c == '\r') std::fputs("\\r", stdout);
        else if (c == '\t') std::fputs("\\t", stdout);
        else if (c == '"' || c == '\\') std::printf("\\%c", c);
        else std::putchar(c);
    }
    std::putchar('"');
}

bool Matches(const std::string& pattern, const std::string& value) {
    return pattern == "*" || pattern == value;
}

struct WindowQuery {
    std::string className;
    std::string caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM lParam) {
    auto* query = reinterpret_cast<WindowQuery*>(lParam);
    if (!::IsWindowVisible(window)) return TRUE;
    if (!Matches(query->className, ClassOf(window))) return TRUE;
    char caption[512] = {};
    ::GetWindowTextA(window, caption, sizeof caption);
    if (!Matches(query->caption, caption)) return TRUE;
    query->found = window;
    return FALSE;
}

HWND FindWindowWithin(const std::string& className, const std::string& caption, DWORD timeoutMs) {
    WindowQuery query{className, caption};
    DWORD start = ::GetTickCount();
    do {
        ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&query));
        if (query.found) return query.found;
        ::Sleep(kPollMs);
    } while (::GetTickCount() - start < timeoutMs);
    std::printf("no window of class \"%s\" and caption \"%s\" within %lu ms\n", className.c_str(),
                caption.c_str(), static_cast<unsigned long>(timeoutMs));
    return nullptr;
}

int WaitWindow(const Args& args) {
    if (args.words.size() != 2) return 2;
    HWND found = FindWindowWithin(args.words[0], args.words[1], args.timeoutMs);
    if (!found) return 1;
    std::printf("0x%08lX\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(found)));
    return 0;
}

std::string Describe(HWND window) {
    if (!window) return "none";
    char caption[256] = {};
    ::GetWindowTextA(window, caption, sizeof caption);
    return ClassOf(window) + " \"" + caption + "\"";
}

// In front: the foreground window, and the top-level window at its centre.
bool InFront(HWND window, std::string& what) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    HWND atCentre = ::WindowFromPoint(centre);
    HWND top = atCentre ? ::GetAncestor(atCentre, GA_ROOT) : nullptr;
    HWND foreground = ::GetForegroundWindow();
    what = "the foreground window is " + Describe(foreground) + ", at its centre " + Describe(top);
    return ::IsWindow(window) && foreground == window && top == window;
}

// Waits (within the timeout) until the window is in front; "after MS" first lets that time
// pass.
int Front(const Args& args) {
    const std::vector<std::string>& words = args.words;
    if (words.size() != 1 && !(words.size() == 3 && words[1] == "after")) return 2;
    HWND window = ParseWindow(words[0]);
    if (words.size() == 3) ::Sleep(static_cast<DWORD>(std::strtoul(words[2].c_str(), nullptr, 10)));
    std::string what;
    const DWORD start = ::GetTickCount();
    while (!InFront(window, what)) {
        if (::GetTickCount() - start >= args.timeoutMs) {
            std::printf("not in front within %lu ms: %s\n", static_cast<unsigned long>(args.timeoutMs), what.c_str());
            return 1;
        }
        ::Sleep(kPollMs);
    }
    std::printf("in front\n");
    return 0;
}

// Watches for the whole time given that the window stays the one at its centre.
// Whether the dialog lies above the hidden topmost window of its own thread that its front
// keeper changes places with on every tick of its timer; none without such a window.
std::optional<bool> AboveMarker(HWND dialog) {
    const DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr);
    std::optional<bool> above;
    bool dialogSeen = false;
    for (HWND window = ::GetTopWindow(nullptr); window && !above; window = ::GetWindow(window, GW_HWNDNEXT)) {
        char className[16] = {};
        ::GetClassNameA(window, className, sizeof className);
        if (window == dialog) dialogSeen = true;
        else if (::GetWindowThreadProcessId(window, nullptr) == thread && !::IsWindowVisible(window) &&
                 (::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) && lstrcmpiA(className, "Static") == 0)
            above = dialogSeen;
    }
    return above;
}

// uncovered --for MS HWND, or --ticks N HWND: the keeper's timer ticked N times (seen as N
// changes of place with its hidden window), within the launch-wide bound of --timeout.
int Uncovered(const Args& args) {
    const std::vector<std::string>& words = args.words;
    if (words.size() != 3 || (words[0] != "--for" && words[0] != "--ticks")) return 2;
    const bool byTicks = words[0] == "--ticks";
    const DWORD watchMs = byTicks ? args.timeoutMs : static_cast<DWORD>(std::strtoul(words[1].c_str(), nullptr, 10));
    const unsigned long ticks = byTicks ? std::strtoul(words[1].c_str(), nullptr, 10) : 0;
    unsigned long seen = 0;
    HWND window = ParseWindow(words[2]);
    std::optional<bool> place = AboveMarker(window);
    const DWORD start = ::GetTickCount();
    do {
        const std::optional<bool> now = AboveMarker(window);
        if (now && place && *now != *place && ++seen >= ticks && byTicks) {
            std::printf("uncovered for %lu ticks\n", ticks);
            return 0;
        }
        place = now;
        RECT rect{};
        ::GetWindowRect(window, &rect);
        const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        HWND atCentre = ::WindowFromPoint(centre);
        HWND top = atCentre ? ::GetAncestor(atCentre, GA_ROOT) : nullptr;
        if (!::IsWindow(window) || top != window) {
            std::printf("covered after %lu ms: at its centre %s\n", static_cast<unsigned long>(::GetTickCount() - start),
                        Describe(top).c_str());
            return 1;
        }
        ::Sleep(kPollMs);
    } while (::GetTickCount() - start < watchMs);
    if (byTicks) {
        std::printf("only %lu of %lu ticks within %lu ms\n", seen, ticks, static_cast<unsigned long>(watchMs));
        return 1;
    }
    std::printf("uncovered for %lu ms\n", static_cast<unsigned long>(watchMs));
    return 0;
}

int WaitGone(const Args& args) {
    if (args.words.size() != 1) return 2;
    HWND window = ParseWindow(args.words[0]);
    DWORD start = ::GetTickCount();
    while (::IsWindow(window)) {
        if (::GetTickCount() - start >= args.timeoutMs) {
            std::printf("window still there after %lu ms\n", static_cast<unsigned long>(args.timeoutMs));
            return 1;
        }
        ::Sleep(kPollMs);
    }
    std::printf("%lu\n", static_cast<unsigned long>(::GetTickCount() - start));
    return 0;
}

// List entries are read with the wide messages: marshalled across processes, the ANSI
// forms come back in the control's own (wide) characters.
void PrintListItems(HWND control, const std::string& className) {
    const bool list = className == "ListBox";
    const UINT countMessage = list ? LB_GETCOUNT : CB_GETCOUNT;
    const UINT lengthMessage = list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN;
    const UINT textMessage = list ? LB_GETTEXT : CB_GETLBTEXT;
    const UINT selectionMessage = list ? LB_GETCURSEL : CB_GETCURSEL;
    DWORD_PTR count = 0;
    DWORD_PTR selected = 0;
    ::SendMessageTimeoutW(control, countMessage, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &count);
    ::SendMessageTimeoutW(control, selectionMessage, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &selected);
    for (DWORD_PTR i = 0; static_cast<LONG_PTR>(count) > 0 && i < count; ++i) {
        DWORD_PTR length = 0;
        ::SendMessageTimeoutW(control, lengthMessage, i, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length);
        if (static_cast<LONG_PTR>(length) < 0) continue;
        std::wstring wide(length + 1, L'\0');
        DWORD_PTR copied = 0;
        ::SendMessageTimeoutW(control, textMessage, i, reinterpret_cast<LPARAM>(&wide[0]), SMTO_ABORTIFHUNG,
                              kSendTimeoutMs, &copied);
        wide.resize(static_cast<LONG_PTR>(copied) > 0 ? copied : 0);
        std::string text(wide.size() * 2 + 1, '\0');
        int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0],
                                          static_cast<int>(text.size()), nullptr, nullptr);
        text.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
        std::printf("  item %lu%s ", static_cast<unsigned long>(i), i == selected ? " selected" : "");
        PrintQuoted(text);
        std::putchar('\n');
    }
}

void PrintRect(HWND window, HWND relativeTo) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    if (relativeTo) ::MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("rect %ld %ld %ld %ld", rect.left, rect.top, rect.right, rect.bottom);
}

BOOL CALLBACK PrintControl(HWND control, LPARAM lParam) {
    HWND parent = reinterpret_cast<HWND>(lParam);
    if (::GetParent(control) != parent) return TRUE;
    std::string className = ClassOf(control);
    std::printf("control %d %s visible %d enabled %d ", ::GetDlgCtrlID(control), className.c_str(),
                ::IsWindowVisible(control) ? 1 : 0, ::IsWindowEnabled(control) ? 1 : 0);
    PrintRect(control, parent);
    std::putchar(' ');
    PrintQuoted(TextOf(control));
    std::putchar('\n');
    if (className == "ListBox" || className == "ComboBox") PrintListItems(control, className);
    return TRUE;
}

int Texts(const Args& args) {
    if (args.words.size() != 1) return 2;
    HWND window = ParseWindow(args.words[0]);
    if (!::IsWindow(window)) return 1;
    RECT client{};
    ::GetClientRect(window, &client);
    std::printf("window %s visible %d ", ClassOf(window).c_str(), ::IsWindowVisible(window) ? 1 : 0);
    PrintRect(window, nullptr);
    std::printf(" client %ld %ld style 0x%08lX exstyle 0x%08lX caption ", client.right, client.bottom,
                static_cast<unsigned long>(::GetWindowLongA(window, GWL_STYLE)),
                static_cast<unsigned long>(::GetWindowLongA(window, GWL_EXSTYLE)));
    PrintQuoted(TextOf(window));
    std::putchar('\n');
    ::EnumChildWindows(window, PrintControl, reinterpret_cast<LPARAM>(window));
    return 0;
}

HWND Control(const Args& args, size_t expectedWords) {
    if (args.words.size() != expectedWords) return nullptr;
    HWND window = ParseWindow(args.words[0]);
    HWND control = ::GetDlgItem(window, std::atoi(args.words[1].c_str()));
    if (!control) std::printf("no control %s in window %s\n", args.words[1].c_str(), args.words[0].c_str());
    return control;
}

int SetText(const Args& args) {
    HWND control = Control(args, 3);
    if (!control) return 1;
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args.words[2].c_str()),
                                 SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) && result
               ? 0
               : 1;
}

int Select(const Args& args) {
    HWND control = Control(args, 3);
    if (!control) return 1;
    const bool list = ClassOf(control) == "ListBox";
    WPARAM index = static_cast<WPARAM>(std::atoi(args.words[2].c_str()));
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(control, list ? LB_SETCURSEL : CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG,
                          kSendTimeoutMs, &result);
    if (static_cast<LONG_PTR>(result) != static_cast<LONG_PTR>(index)) {
        std::printf("entry %s cannot be selected\n", args.words[2].c_str());
        return 1;
    }
    // Selecting by message does not notify the parent; a user's selection would.
    WORD notification = list ? LBN_SELCHANGE : CBN_SELCHANGE;
    ::PostMessageA(::GetParent(control), WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(control), notification), reinterpret_cast<LPARAM>(control));
    return 0;
}

int Click(const Args& args) {
    if (args.words.size() < 2 || args.words.size() % 2 != 0) return 2;
    std::vector<HWND> buttons;
    for (size_t i = 0; i < args.words.size(); i += 2) {
        Args one;
        one.words = {args.words[i], args.words[i + 1]};
        HWND control = Control(one, 2);
        if (!control) return 1;
        if (!::IsWindowVisible(control) || !::IsWindowEnabled(control)) {
            std::printf("control %s cannot be clicked (hidden or disabled)\n", args.words[i + 1].c_str());
            return 1;
        }
        buttons.push_back(control);
    }
    // Posted, not sent: the click may open a modal dialog that would keep a sent message
    // from returning. Clicks of one command are posted together, so that they reach the
    // program in this order before it can move on by itself: a modal loop ends right after
    // the message that ended it, and the next click waits in the queue for the next loop.
    for (HWND button : buttons) {
        if (!::PostMessageA(button, BM_CLICK, 0, 0)) return 1;
    }
    return 0;
}

// A click of the mouse's left button on a window's caption, as input from the device (not
// a message to one window): the system activates the window, and every program sees a
// button pressed.
int UserClick(const Args& args) {
    if (args.words.size() != 1) return 2;
    HWND window = ParseWindow(args.words[0]);
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) return 1;
    const POINT point{(rect.left + rect.right) / 2, rect.top + ::GetSystemMetrics(SM_CYCAPTION) / 2 + 2};
    if (!::SetCursorPos(point.x, point.y)) return 1;
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    HWND before = ::GetForegroundWindow();
    HWND clicked = ::GetAncestor(::WindowFromPoint(point), GA_ROOT);
    if (::SendInput(2, input, sizeof input[0]) != 2) return 1;
    if (clicked == before) return 0;
    // The click is done when the window it activates has taken the foreground: a busy
    // machine may take its time to deliver it.
    const DWORD start = ::GetTickCount();
    while (::GetForegroundWindow() == before) {
        if (::GetTickCount() - start >= args.timeoutMs) {
            std::printf("the foreground window is still %s after %lu ms\n", Describe(before).c_str(),
                        static_cast<unsigned long>(args.timeoutMs));
            return 1;
        }
        ::Sleep(kPollMs);
    }
    return 0;
}

int Close(const Args& args) {
    if (args.words.size() != 1) return 2;
    return ::PostMessageA(ParseWindow(args.words[0]), WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
}

int Key(const Args& args) {
    if (args.words.size() != 2) return 2;
    HWND window = ParseWindow(args.words[0]);
    WPARAM key = args.words[1] == "escape" ? VK_ESCAPE : args.words[1] == "enter" ? VK_RETURN : 0;
    if (!key) return 2;
    // Sent to the control that has the focus, as a key press would be; the dialog's message
    // loop turns it into IDCANCEL or a press of the default button.
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    HWND target = ::GetGUIThreadInfo(thread, &gui) && gui.hwndFocus ? gui.hwndFocus : window;
    ::PostMessageA(target, WM_KEYDOWN, key, 1);
    ::PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    return 0;
}

std::string CommandLine(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) line += ' ';
        if (word.find(' ') != std::string::npos) line += '"' + word + '"';
        else line += word;
    }
    return line;
}

// The visible top-level windows of one process, each printed once when first seen.
struct WindowWatch {
    DWORD processId = 0;
    std::vector<HWND> seen;
};

BOOL CALLBACK WatchTopLevel(HWND window, LPARAM lParam) {
    WindowWatch& watch = *reinterpret_cast<WindowWatch*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != watch.processId || !::IsWindowVisible(window) ||
        std::find(watch.seen.begin(), watch.seen.end(), window) != watch.seen.end())
        return TRUE;
    watch.seen.push_back(window);
    char className[128] = {}, caption[256] = {};
    ::GetClassNameA(window, className, sizeof className);
    ::GetWindowTextA(window, caption, sizeof caption);
    std::printf("visible window %s \"%s\"\n", className, caption);
    std::fflush(stdout);
    return TRUE;
}

// Waits like WaitForMultipleObjects, looking for the process's visible windows meanwhile.
DWORD WaitWatching(DWORD count, const HANDLE* waits, DWORD timeoutMs, DWORD processId) {
    WindowWatch watch;
    watch.processId = processId;
    const DWORD start = ::GetTickCount();
    for (;;) {
        ::EnumWindows(WatchTopLevel, reinterpret_cast<LPARAM>(&watch));
        const DWORD waited = ::WaitForMultipleObjects(count, waits, FALSE, kPollMs);
        if (waited != WAIT_TIMEOUT) return waited;
        if (::GetTickCount() - start >= timeoutMs) return WAIT_TIMEOUT;
    }
}

int Launch(const Args& args) {
    if (args.words.empty()) return 2;
    std::string line = CommandLine(args.words);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const char* directory = args.directory.empty() ? nullptr : args.directory.c_str();
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, &info)) {
        std::printf("cannot start %s (error %lu)\n", line.c_str(), static_cast<unsigned long>(::GetLastError()));
        return 1;
    }
    fw::KernelHandle process(info.hProcess);
    fw::KernelHandle thread(info.hThread);
    fw::KernelHandle stop(args.stopEvent.empty()
                              ? nullptr
                              : ::CreateEventA(nullptr, TRUE, FALSE, args.stopEvent.c_str()));
    HANDLE waits[2] = {process.Get(), stop.Get()};
    DWORD waited = args.watchWindows ? WaitWatching(stop ? 2 : 1, waits, args.timeoutMs, info.dwProcessId)
                                     : ::WaitForMultipleObjects(stop ? 2 : 1, waits, FALSE, args.timeoutMs);
    if (waited != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), kTimedOut);
        ::WaitForSingleObject(process.Get(), kSendTimeoutMs);
        if (waited == WAIT_OBJECT_0 + 1) std::printf("stopped: ended %s\n", line.c_str());
        else std::printf("timeout after %lu ms: ended %s\n", static_cast<unsigned long>(args.timeoutMs), line.c_str());
        std::fflush(stdout);
        return kTimedOut;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.Get(), &code);
    std::printf("exit %lu\n", static_cast<unsigned long>(code));
    return static_cast<int>(code);
}

LRESULT CALLBACK HeldWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(window, message, wParam, lParam);
}

int HoldWindow(const Args& args) {
    if (args.words.size() != 1) return 2;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HeldWindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "RobotHeldWindow";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassA(&windowClass);
    HWND held = ::CreateWindowExA(0, windowClass.lpszClassName, args.words[0].c_str(), WS_OVERLAPPEDWINDOW,
                                  40, 40, 300, 120, nullptr, nullptr, windowClass.hInstance, nullptr);
    // A second window in front, so that only the other program can make the held one the
    // foreground window.
    HWND decoy = ::CreateWindowExA(0, windowClass.lpszClassName, "Robot decoy", WS_OVERLAPPEDWINDOW, 80, 80,
                                   300, 120, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!held || !decoy) return 1;
    ::ShowWindow(held, SW_SHOW);
    ::ShowWindow(decoy, SW_SHOW);
    ::SetForegroundWindow(decoy);
    std::printf("ready\n");
    std::fflush(stdout);

    DWORD start = ::GetTickCount();
    int result = 1;
    while (::GetTickCount() - start < args.timeoutMs) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
        if (::GetForegroundWindow() == held) {
            std::printf("foreground\n");
            result = 0;
            break;
        }
        ::Sleep(kPollMs);
    }
    if (result != 0) std::printf("never brought to the foreground\n");
    ::DestroyWindow(decoy);
    ::DestroyWindow(held);
    return result;
}

int Stop(const Args& args) {
    if (args.words.size() != 1) return 2;
    fw::KernelHandle event(::OpenEventA(EVENT_MODIFY_STATE, FALSE, args.words[0].c_str()));
    return event && ::SetEvent(event.Get()) ? 0 : 1;
}

// The range comes back as results (TRUE the low limit, FALSE the high): a structure would
// not cross the process boundary.
int Position(const Args& args) {
    HWND bar = Control(args, 2);
    if (!bar) return 1;
    DWORD_PTR low = 0, high = 0, position = 0;
    if (!::SendMessageTimeoutA(bar, PBM_GETRANGE, TRUE, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &low) ||
        !::SendMessageTimeoutA(bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &high) ||
        !::SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &position))
        return 1;
    std::printf("position %ld range %ld %ld\n", static_cast<long>(position), static_cast<long>(low),
                static_cast<long>(high));
    return 0;
}

int HoldFile(const Args& args) {
    if (args.words.size() != 1) return 2;
    fw::File file(::CreateFileA(args.words[0].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        std::printf("cannot open %s (error %lu)\n", args.words[0].c_str(), static_cast<unsigned long>(::GetLastError()));
        return 1;
    }
    fw::KernelHandle stop(args.stopEvent.empty() ? nullptr
                                                 : ::CreateEventA(nullptr, TRUE, FALSE, args.stopEvent.c_str()));
    std::printf("held\n");
    std::fflush(stdout);
    if (stop) ::WaitForSingleObject(stop.Get(), args.timeoutMs);
    else ::Sleep(args.timeoutMs);
    return 0;
}

int IconOf(const Args& args) {
    HWND control = Control(args, 2);
    if (!control) return 1;
    DWORD_PTR icon = 0;
    if (!::SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &icon)) return 1;
    std::printf("0x%08lX\n", static_cast<unsigned long>(icon));
    return 0;
}

int Profile(const Args& args) {
    if (args.words.size() != 3) return 2;
    char value[1024] = {};
    ::GetPrivateProfileStringA(args.words[1].c_str(), args.words[2].c_str(), "<absent>", value, sizeof value,
                               args.words[0].c_str());
    std::printf("%s\n", value);
    return 0;
}

int SetProfile(const Args& args) {
    if (args.words.size() != 4) return 2;
    return ::WritePrivateProfileStringA(args.words[1].c_str(), args.words[2].c_str(), args.words[3].c_str(),
                                        args.words[0].c_str())
               ? 0
               : 1;
}

HKEY RootOf(const std::string& name) {
    return name == "HKLM"   ? HKEY_LOCAL_MACHINE
           : name == "HKCU" ? HKEY_CURRENT_USER
           : name == "HKCR" ? HKEY_CLASSES_ROOT
           : name == "HKU"  ? HKEY_USERS
                            : nullptr;
}

int Registry(const Args& args) {
    if (args.words.size() != 3) return 2;
    HKEY root = RootOf(args.words[0]);
    if (!root) return 2;
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, args.words[1].c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        std::printf("<no key>\n");
        return 1;
    }
    fw::UniqueHandle<fw::traits::NullIsEmpty<HKEY, &::RegCloseKey>> key(opened);
    char value[1024] = {};
    DWORD type = 0, size = sizeof value - 1;
    const char* name = args.words[2] == "@" ? nullptr : args.words[2].c_str();
    if (::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS) {
        std::printf("<absent>\n");
        return 1;
    }
    std::printf("%s%s\n", type == REG_SZ ? "" : "<not a string> ", value);
    return 0;
}

int RegistrySave(const Args& args) {
    if (args.words.size() != 2) return 2;
    HKEY root = RootOf(args.words[0]);
    if (!root) return 2;
    // RegSaveKey needs the backup privilege enabled, and writes a new file only.
    HANDLE opened = nullptr;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &opened)) {
        fw::KernelHandle token(opened);
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (::LookupPrivilegeValueA(nullptr, SE_BACKUP_NAME, &privileges.Privileges[0].Luid))
            ::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
    }
    ::DeleteFileA(args.words[1].c_str());
    const LONG result = ::RegSaveKeyA(root, args.words[1].c_str(), nullptr);
    if (result != ERROR_SUCCESS) std::printf("RegSaveKey failed: %ld\n", static_cast<long>(result));
    return result == ERROR_SUCCESS ? 0 : 1;
}

// rights PATH: the file's access rights as the system keeps them, in the security descriptor
// language (ConvertSecurityDescriptorToStringSecurityDescriptorA): "D:P(A;OICI;FA;;;BA)...".
int Rights(const Args& args) {
    if (args.words.size() != 1) return 2;
    DWORD size = 0;
    const SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION;
    ::GetFileSecurityA(args.words[0].c_str(), what, nullptr, 0, &size);
    std::vector<BYTE> descriptor(size ? size : 1);
    if (!size || !::GetFileSecurityA(args.words[0].c_str(), what, descriptor.data(), size, &size)) {
        std::printf("GetFileSecurity failed: %lu\n", ::GetLastError());
        return 1;
    }
    char* text = nullptr;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor.data(), SDDL_REVISION_1, what, &text, nullptr))
        return 1;
    std::printf("%s\n", text);
    ::LocalFree(text);
    return 0;
}

int Usage() {
    std::fputs("usage: robot launch|stop|wait-window|wait-gone|front|uncovered|texts|set-text|select|click|user-click|close|key|position|\n"
               "hold-file|icon|profile|set-profile|reg|reg-save|rights|hold-window ...\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    const Args args = ParseArgs(argc, argv, 2);
    int result = 2;
    if (command == "launch") result = Launch(args);
    else if (command == "wait-window") result = WaitWindow(args);
    else if (command == "wait-gone") result = WaitGone(args);
    else if (command == "front") result = Front(args);
    else if (command == "uncovered") result = Uncovered(args);
    else if (command == "texts") result = Texts(args);
    else if (command == "set-text") result = SetText(args);
    else if (command == "select") result = Select(args);
    else if (command == "click") result = Click(args);
    else if (command == "user-click") result = UserClick(args);
    else if (command == "close") result = Close(args);
    else if (command == "key") result = Key(args);
    else if (command == "hold-window") result = HoldWindow(args);
    else if (command == "stop") result = Stop(args);
    else if (command == "position") result = Position(args);
    else if (command == "hold-file") result = HoldFile(args);
    else if (command == "icon") result = IconOf(args);
    else if (command == "profile") result = Profile(args);
    else if (command == "set-profile") result = SetProfile(args);
    else if (command == "reg") result = Registry(args);
    else if (command == "reg-save") result = RegistrySave(args);
    else if (command == "rights") result = Rights(args);
    std::fflush(stdout);
    if (result == 2 && command != "launch") return Usage();
    return result;
}
