// The accessor's benchmark (not a test): the round trip of "GetCurrentThreadId" requests
// with their replies, against a bare echo server in a process of its own that answers the
// same WM_COPYDATA with the same reply and does nothing else. Both are measured in one
// run, round by round side by side, and the ratio accessor / echo is printed.
//
//   accessor_bench [--requests N] [--rounds R]   (defaults: 10000 requests in 10 rounds)
//   accessor_bench --echo                        the echo server (started by the benchmark)
//
// OSTREL.EXE and SONARET.DLL lie beside the benchmark; an accessor that already runs is
// measured as it is and left running.
#include "handles.h"
#include "ostrel_client.h"
#include "protocol.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

namespace client = accessor::client;

constexpr const char* kEchoClass = "OstrelBenchEcho";
constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kEndTimeoutMs = 10000;
constexpr UINT kReplyTimeoutMs = 5000;
constexpr int kWarmUp = 200;
constexpr double kGoal = 1.2;

// ---- The echo server -------------------------------------------------------------------

LRESULT CALLBACK EchoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA: {
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        HWND sender = reinterpret_cast<HWND>(wParam);
        if (copy && sender && sender != window) {
            COPYDATASTRUCT reply{copy->dwData, copy->cbData, copy->lpData};
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutA(sender, WM_COPYDATA, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&reply),
                                  SMTO_NORMAL | SMTO_ABORTIFHUNG, kReplyTimeoutMs, &ignored);
        }
        return 1;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

int RunEcho() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = EchoWindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kEchoClass;
    if (!::RegisterClassA(&windowClass)) return 1;
    // Hidden like the accessor's.
    fw::OwnedWindow window(::CreateWindowExA(0, kEchoClass, kEchoClass, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, windowClass.hInstance, nullptr));
    if (!window) return 1;
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
    window.Release();  // destroyed by its WM_CLOSE
    return 0;
}

// ---- The benchmark -------------------------------------------------------------------

std::string ThisProgram() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

std::string Beside(const char* name) {
    const std::string self = ThisProgram();
    return self.substr(0, self.find_last_of('\\') + 1) + name;
}

fw::KernelHandle Start(const std::string& commandLine) {
    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        std::printf("cannot start %s (error %lu)\n", commandLine.c_str(), static_cast<unsigned long>(::GetLastError()));
        return fw::KernelHandle();
    }
    fw::KernelHandle thread(info.hThread);
    return fw::KernelHandle(info.hProcess);
}

// Ends a process the benchmark started: politely first, then by its handle.
void End(fw::KernelHandle& process) {
    if (!process) return;
    if (::WaitForSingleObject(process.Get(), kEndTimeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 1);
        ::WaitForSingleObject(process.Get(), kEndTimeoutMs);
    }
    process.Reset();
}

HWND WaitForWindow(const char* className, const char* title) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (HWND window = ::FindWindowA(className, title)) return window;
        if (::GetTickCount() - start >= kStartTimeoutMs) return nullptr;
        ::Sleep(20);
    }
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Server {
    const char* name;
    HWND window;
    std::uint32_t expected;  // the thread id in a reply; 0: the request comes back unchanged
    double seconds = 0;
    int failures = 0;
};

// count round trips of the same request; each must run and be answered by reply.
void Measure(client::Client& caller, Server& server, const std::vector<unsigned char>& request, int count) {
    const std::size_t slot = request.size() - 4;
    const double start = Now();
    for (int i = 0; i < count; ++i) {
        const client::Outcome outcome =
            caller.Send(server.window, accessor::ACCESSOR_MAGIC_DIRECT, request.data(), request.size(), true);
        const std::vector<unsigned char>& reply = caller.LastReply();
        const bool good = outcome.delivered && outcome.result == 1 && outcome.replied && reply.size() == request.size() &&
                          (server.expected ? accessor::LoadSlot(&reply[slot]) == server.expected
                                           : std::memcmp(reply.data(), request.data(), request.size()) == 0);
        if (!good) ++server.failures;
    }
    server.seconds += Now() - start;
}

int RunBenchmark(int requests, int rounds) {
    fw::KernelHandle accessorProcess;
    HWND accessorWindow = client::FindAccessor();
    if (accessorWindow) {
        std::printf("an accessor already runs: measuring it as it is\n");
    } else {
        accessorProcess = Start("\"" + Beside("OSTREL.EXE") + "\"");
        if (!accessorProcess) return 1;
        accessorWindow = client::WaitForAccessor(kStartTimeoutMs);
    }
    fw::KernelHandle echoProcess = Start("\"" + ThisProgram() + "\" --echo");
    HWND echoWindow = echoProcess ? WaitForWindow(kEchoClass, kEchoClass) : nullptr;

    int code = 1;
    client::Client caller;
    if (!accessorWindow || !echoWindow || !caller.Ready()) {
        std::printf("the accessor or the echo server did not come up\n");
    } else {
        const std::uint32_t thread = ::GetWindowThreadProcessId(accessorWindow, nullptr);
        const std::vector<unsigned char> request =
            accessor::BuildRequest("GetCurrentThreadId", accessor::MakeBlock({0}));
        Server ostrel{"accessor", accessorWindow, thread};
        Server echo{"echo", echoWindow, 0};
        Measure(caller, ostrel, request, kWarmUp);
        Measure(caller, echo, request, kWarmUp);
        ostrel.seconds = echo.seconds = 0;
        ostrel.failures = echo.failures = 0;

        // Side by side: each round measures both, in turns of who goes first.
        const int perRound = requests / rounds;
        for (int round = 0; round < rounds; ++round) {
            Server& first = round % 2 ? echo : ostrel;
            Server& second = round % 2 ? ostrel : echo;
            Measure(caller, first, request, perRound);
            Measure(caller, second, request, perRound);
        }
        const int measured = perRound * rounds;
        std::printf("%d \"GetCurrentThreadId\" requests of %u bytes with replies, in %d rounds side by side\n",
                    measured, static_cast<unsigned>(request.size()), rounds);
        for (const Server* server : {&ostrel, &echo}) {
            std::printf("%-9s %8.3f s  %8.1f us per round trip  (%d failed)\n", server->name, server->seconds,
                        server->seconds * 1e6 / measured, server->failures);
        }
        const double ratio = ostrel.seconds / echo.seconds;
        std::printf("ratio accessor / echo: %.3f (goal: at most %.1f): %s\n", ratio, kGoal,
                    ratio <= kGoal ? "met" : "not met");
        code = ostrel.failures || echo.failures ? 1 : 0;
    }

    if (echoWindow) ::PostMessageA(echoWindow, WM_CLOSE, 0, 0);
    End(echoProcess);
    if (accessorProcess && accessorWindow) client::SendCommandLine(accessorWindow, "Destroy");
    End(accessorProcess);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    int requests = 10000, rounds = 10;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--echo") return RunEcho();
        if (word == "--requests" && i + 1 < argc) requests = std::atoi(argv[++i]);
        else if (word == "--rounds" && i + 1 < argc) rounds = std::atoi(argv[++i]);
        else {
            std::fputs("usage: accessor_bench [--requests N] [--rounds R]\n", stderr);
            return 2;
        }
    }
    if (requests <= 0 || rounds <= 0 || requests < rounds) {
        std::fputs("accessor_bench: requests and rounds must be positive, requests at least rounds\n", stderr);
        return 2;
    }
    const int code = RunBenchmark(requests, rounds);
    std::fflush(stdout);
    return code;
}
