// The accessor probe: looks at the hidden window of OSTREL.EXE for the scenarios, one
// command per run, every wait bounded.
//
//   accessor_probe wait-up [--timeout MS]     print the accessor's window once it answers
//   accessor_probe alive HWND                 the accessor's window is HWND and answers
//   accessor_probe absent                     no accessor window on the desktop
//   accessor_probe count                      print how many accessor windows there are
//   accessor_probe wait-gone [--timeout MS] HWND
//   accessor_probe alt-f4 HWND                Alt+F4 and the system menu's Close, then wait
//                                             until the accessor has had them
//   accessor_probe close HWND                 post WM_CLOSE, as any program may
//   accessor_probe thread-id                  ask the accessor for its thread id by request
//
// Exit codes: 0 done (or true), 1 not (or false), 2 usage.
#include "handles.h"
#include "ostrel_client.h"
#include "protocol.h"
#include "wait_idle.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

namespace client = accessor::client;

constexpr DWORD kDefaultTimeoutMs = 10000;
constexpr DWORD kPollMs = 25;

struct Args {
    DWORD timeoutMs = kDefaultTimeoutMs;
    std::vector<std::string> words;
};

Args ParseArgs(int argc, char** argv) {
    Args args;
    for (int i = 2; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--timeout" && i + 1 < argc) {
            args.timeoutMs = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
            continue;
        }
        args.words.push_back(word);
    }
    return args;
}

HWND ParseWindow(const std::string& text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoul(text.c_str(), nullptr, 0)));
}

void PrintWindow(HWND window) {
    std::printf("0x%08lX\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
}

bool Answers(HWND window) {
    return static_cast<std::uint32_t>(client::Ask(window, accessor::kQueryDirect, 2000)) ==
           accessor::ACCESSOR_MAGIC_DIRECT;
}

int CountAccessors() {
    int count = 0;
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, accessor::kClassName, accessor::kWindowTitle)) != nullptr) ++count;
    return count;
}

int AltF4(HWND window) {
    // Alt+F4 as the keyboard sends it (the context bit says Alt is down), then the system
    // command it becomes, posted and sent.
    ::PostMessageA(window, WM_SYSKEYDOWN, VK_F4, 0x203E0001);
    ::PostMessageA(window, WM_SYSKEYUP, VK_F4, 0xE03E0001);
    ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &result);
    return wine_test::WaitUntilIdle(window, kDefaultTimeoutMs) ? 0 : 1;
}

int Run(const std::string& command, const Args& args) {
    const auto& words = args.words;
    if (command == "wait-up" && words.empty()) {
        HWND window = client::WaitForAccessor(args.timeoutMs);
        if (!window) {
            std::printf("no accessor within %lu ms\n", static_cast<unsigned long>(args.timeoutMs));
            return 1;
        }
        PrintWindow(window);
        return 0;
    }
    if (command == "alive" && words.size() == 1) {
        HWND expected = ParseWindow(words[0]);
        HWND found = client::FindAccessor();
        if (found != expected || !Answers(found)) {
            std::printf("the accessor's window is ");
            PrintWindow(found);
            return 1;
        }
        return 0;
    }
    if (command == "absent" && words.empty()) return client::FindAccessor() ? 1 : 0;
    if (command == "count" && words.empty()) {
        std::printf("%d\n", CountAccessors());
        return 0;
    }
    if (command == "wait-gone" && words.size() == 1) {
        HWND window = ParseWindow(words[0]);
        const DWORD start = ::GetTickCount();
        while (::IsWindow(window)) {
            if (::GetTickCount() - start >= args.timeoutMs) {
                std::printf("window still there after %lu ms\n", static_cast<unsigned long>(args.timeoutMs));
                return 1;
            }
            ::Sleep(kPollMs);
        }
        return 0;
    }
    if (command == "alt-f4" && words.size() == 1) return AltF4(ParseWindow(words[0]));
    if (command == "close" && words.size() == 1) return ::PostMessageA(ParseWindow(words[0]), WM_CLOSE, 0, 0) ? 0 : 1;
    if (command == "thread-id" && words.empty()) {
        client::Client caller;
        std::vector<unsigned char> block = accessor::MakeBlock({0});
        const client::Outcome outcome =
            caller.Call(client::FindAccessor(), accessor::ACCESSOR_MAGIC_DIRECT, "GetCurrentThreadId", block);
        if (!outcome.delivered || outcome.result != 1 || !outcome.replied) return 1;
        std::printf("%lu\n", static_cast<unsigned long>(accessor::LoadSlot(block.data())));
        return 0;
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: accessor_probe wait-up|alive|absent|count|wait-gone|alt-f4|close|thread-id ...\n", stderr);
        return 2;
    }
    const int result = Run(argv[1], ParseArgs(argc, argv));
    std::fflush(stdout);
    if (result == 2) std::fputs("usage: accessor_probe wait-up|alive|absent|count|wait-gone|alt-f4|close|thread-id ...\n", stderr);
    return result;
}
