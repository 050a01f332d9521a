// The start-up benchmark: how long a program takes from its start until its full-screen
// window is on the screen (visible, and painted: nothing left in its update region),
// SETUP.EXE against a yardstick that only shows one full-screen window, side by side in one
// run. For SETUP.EXE also how long after that its first dialog is up and painted: the main
// window's half-second start timer and whatever the installation does before it asks.
//   STARTBENCH ROUNDS SETUP_EXE YARDSTICK_EXE
// Each program starts once uncounted, then ROUNDS times, the two in turn (each round in the
// other order); a program is ended by its process handle as soon as it has been measured.
// The figure is the median of the rounds' own ratios: a round's two starts follow each other
// closely, so a spell of other work on the machine weighs on both or, now and then, on one
// side only, which the median leaves out. The ratio of the best times is printed beside it.
#include "../../framework/handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double kTimeoutMs = 30000;
// The watcher's pause between looks: short against the times measured, long enough to
// leave the Wine server to the program under test.
constexpr DWORD kPollMs = 2;
// The installer's main window starts the installation on its first timer tick, after this.
constexpr double kStartTimerMs = 500;

double MsBetween(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return now;
}

BOOL CALLBACK FindUnpaintedChild(HWND child, LPARAM unpainted) {
    if (!::IsWindowVisible(child) || !::GetUpdateRect(child, nullptr, FALSE)) return TRUE;
    *reinterpret_cast<bool*>(unpainted) = true;
    return FALSE;
}

// On the screen: visible, with no update region left in the window or its controls.
bool ShownAndPainted(HWND window) {
    if (!::IsWindowVisible(window) || ::GetUpdateRect(window, nullptr, FALSE)) return false;
    bool unpainted = false;
    ::EnumChildWindows(window, FindUnpaintedChild, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

bool CoversScreen(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect.left == 0 && rect.top == 0 && rect.right == ::GetSystemMetrics(SM_CXSCREEN) &&
           rect.bottom == ::GetSystemMetrics(SM_CYSCREEN);
}

bool IsDialog(HWND window) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    return std::strcmp(className, "#32770") == 0;
}

// What a search looks for: a top-level window of the process, full-screen or a dialog.
struct Search {
    DWORD processId;
    bool dialog;
    bool found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId) return TRUE;
    if (search->dialog ? !IsDialog(window) : !CoversScreen(window)) return TRUE;
    if (!ShownAndPainted(window)) return TRUE;
    search->found = true;
    return FALSE;
}

class Run {
public:
    // Starts the program in its own folder; the clock starts just before.
    explicit Run(const std::string& program) : m_start(Now()) {
        std::string line = "\"" + program + "\"";
        const std::string folder = program.substr(0, program.find_last_of("\\/") + 1);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                              folder.empty() ? nullptr : folder.c_str(), &startup, &info))
            return;
        m_process = fw::KernelHandle(info.hProcess);
        ::CloseHandle(info.hThread);
        m_processId = info.dwProcessId;
    }

    ~Run() {
        if (!m_process) return;
        ::TerminateProcess(m_process.Get(), 0);
        ::WaitForSingleObject(m_process.Get(), 5000);
    }

    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // Polls until the process shows such a window; returns the milliseconds since its
    // start, or a negative number when it ended or the time ran out first.
    double WaitFor(bool dialog) const {
        if (!m_process) return -1;
        for (;;) {
            Search search{m_processId, dialog, false};
            ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
            const double elapsed = MsBetween(m_start, Now());
            if (search.found) return elapsed;
            if (elapsed > kTimeoutMs) return -1;
            // Waiting on the process doubles as the poll's pause.
            if (::WaitForSingleObject(m_process.Get(), kPollMs) != WAIT_TIMEOUT) return -1;
        }
    }

private:
    LARGE_INTEGER m_start;
    fw::KernelHandle m_process;
    DWORD m_processId = 0;
};

struct Round {
    double yardstick = -1;
    double setup = -1;
    double firstDialog = -1;  // after the background was on the screen
};

Round Measure(const std::string& setupExe, const std::string& yardstickExe, bool setupFirst) {
    Round round;
    auto yardstick = [&] { round.yardstick = Run(yardstickExe).WaitFor(false); };
    auto setup = [&] {
        Run run(setupExe);
        round.setup = run.WaitFor(false);
        if (round.setup >= 0) {
            const double dialog = run.WaitFor(true);
            if (dialog >= 0) round.firstDialog = dialog - round.setup;
        }
    };
    if (setupFirst) {
        setup();
        yardstick();
    } else {
        yardstick();
        setup();
    }
    return round;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Best(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc == 4 ? std::atoi(argv[1]) : 0;
    if (rounds < 1) {
        std::fprintf(stderr, "usage: STARTBENCH ROUNDS SETUP_EXE YARDSTICK_EXE\n");
        return 2;
    }
    const std::string setupExe = argv[2];
    const std::string yardstickExe = argv[3];
    Measure(setupExe, yardstickExe, true);  // uncounted: the first start of each loads more

    std::printf("start-up: milliseconds from process start until shown and painted (%d rounds)\n", rounds);
    std::printf("%6s %16s %16s %7s %22s\n", "round", "yardstick shown", "SETUP.EXE shown", "ratio",
                "first dialog after it");
    std::vector<double> yardstick, setup, ratio, firstDialog;
    for (int i = 1; i <= rounds; ++i) {
        const Round round = Measure(setupExe, yardstickExe, i % 2 == 0);
        if (round.yardstick <= 0 || round.setup < 0 || round.firstDialog < 0) {
            std::printf("round %d: a window never showed (within %.0f ms)\n", i, kTimeoutMs);
            return 1;
        }
        yardstick.push_back(round.yardstick);
        setup.push_back(round.setup);
        ratio.push_back(round.setup / round.yardstick);
        firstDialog.push_back(round.firstDialog);
        std::printf("%6d %16.1f %16.1f %7.2f %22.1f\n", i, round.yardstick, round.setup, ratio.back(),
                    round.firstDialog);
    }
    const double medianDialog = Median(firstDialog);
    std::printf("%6s %16.1f %16.1f %7.2f %22.1f\n", "median", Median(yardstick), Median(setup), Median(ratio),
                medianDialog);
    std::printf("%6s %16.1f %16.1f %7.2f %22.1f\n", "best", Best(yardstick), Best(setup),
                Best(setup) / Best(yardstick), Best(firstDialog));
    std::printf("ratio SETUP.EXE / yardstick: %.2f, the rounds' median (goal: at most 1.20); %.2f of the best times\n",
                Median(ratio), Best(setup) / Best(yardstick));
    std::printf("first dialog after the background: %.0f ms = the start timer's %.0f ms + %.0f ms\n", medianDialog,
                kStartTimerMs, medianDialog - kStartTimerMs);
    return 0;
}
