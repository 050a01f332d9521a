// How a run of the installer ends, as its exit code.
#pragma once

namespace setup {

// Exit codes. A run with a window keeps the installer's code; a quiet run uses the codes
// that deployment tools read from the system's own installer service.
namespace exit_code {
constexpr int kInteractive = 18;
constexpr int kSuccess = 0;
constexpr int kRestartNeeded = 3010;   // completed; a restart or reboot was held back
constexpr int kRestartStarted = 1641;  // completed; a restart or reboot was begun
constexpr int kStopped = 1603;         // stopped by a rule, the reason in the log
constexpr int kBadArguments = 1639;    // the command line or the answer file is wrong
}  // namespace exit_code

}  // namespace setup
