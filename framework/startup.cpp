#include "startup.h"

#include <windows.h>

using Function = void (*)();

// The lists the linker makes of the compiler's .ctors and .dtors entries: a count (or -1),
// the functions, a null.
extern "C" Function __CTOR_LIST__[];
extern "C" Function __DTOR_LIST__[];

namespace {

// The C library's exit list has no context to live in: atexit takes a bare function.
struct ExitList {
    Function* functions = nullptr;
    int count = 0;
    int room = 0;
};
ExitList g_exitList;
bool g_constructed = false;

void RunDestructorList() {
    for (Function* at = __DTOR_LIST__ + 1; *at; ++at) (*at)();
}

}  // namespace

extern "C" int atexit(Function function) {
    ExitList& list = g_exitList;
    if (list.count == list.room) {
        const int room = list.room ? list.room * 2 : 16;
        void* grown = list.functions ? ::HeapReAlloc(::GetProcessHeap(), 0, list.functions, room * sizeof(Function))
                                     : ::HeapAlloc(::GetProcessHeap(), 0, room * sizeof(Function));
        if (!grown) return -1;
        list.functions = static_cast<Function*>(grown);
        list.room = room;
    }
    list.functions[list.count++] = function;
    return 0;
}

// The compiler calls this at the start of main() on this platform.
extern "C" void __main() { fw::startup::RunConstructors(); }

namespace fw::startup {

void RunConstructors() noexcept {
    if (g_constructed) return;
    g_constructed = true;
    unsigned count = 0;
    if (reinterpret_cast<long>(__CTOR_LIST__[0]) != -1) count = reinterpret_cast<unsigned long>(__CTOR_LIST__[0]);
    else while (__CTOR_LIST__[count + 1]) ++count;
    // The list holds them last first.
    for (unsigned i = count; i >= 1; --i) __CTOR_LIST__[i]();
    atexit(RunDestructorList);
}

void RunExitFunctions() noexcept {
    ExitList& list = g_exitList;
    while (list.count > 0) list.functions[--list.count]();
    if (list.functions) ::HeapFree(::GetProcessHeap(), 0, list.functions);
    list = ExitList{};
}

void Exit(int status) noexcept {
    RunExitFunctions();
    ::ExitProcess(static_cast<UINT>(status));
}

}  // namespace fw::startup

extern "C" void exit(int status) { fw::startup::Exit(status); }
