// The start and the end of a shipped program or library, in place of a C run-time DLL's:
// static constructors first, the functions registered with atexit (static destructors among
// them) last, in the reverse order.
#pragma once

namespace fw::startup {

// Runs the static constructors, once.
void RunConstructors() noexcept;
// Runs the registered functions, last first, once.
void RunExitFunctions() noexcept;
// Runs the registered functions and ends the process with `status`.
[[noreturn]] void Exit(int status) noexcept;

}  // namespace fw::startup
