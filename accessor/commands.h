// The accessor's three command sets and the request handling that picks one. Each
// dispatcher matches the request's name exactly (byte for byte with its NUL, so letter
// case counts and nothing may follow), checks the argument block's size, makes the call
// through the system table and writes the results into the block. It returns the
// request's result: 1 when the command ran, 0 when it was refused.
//
// Slot values are values, never addresses: no command writes or reads through a number a
// client put into a block, and a command writes only inside the block it was given.
#pragma once

#include "protocol.h"
#include "system_calls.h"

#include <cstddef>
#include <cstdint>

namespace accessor {

// 19 commands, each one call in the accessor's own thread. A null block or a block size
// other than the command's is refused (nothing written); otherwise the call's result goes
// to the result slot and the command returns 1, whether or not the call succeeded.
int DispatchDirect(SystemCalls& system, const char* name, std::uint32_t blockSize, unsigned char* block);

// "GetActiveWindow", "SetActiveWindow", "GetFocus" and "SetFocus" as seen from the
// foreground window's thread: the accessor's input is attached to that thread for the
// span of the command and detached again on every path on which the attach succeeded.
int DispatchAttached(SystemCalls& system, const char* name, std::uint32_t blockSize, unsigned char* block);

// "GetFocusOrActive": the foreground thread's focus window, or its active window.
int DispatchFocusOrActive(SystemCalls& system, const char* name, std::uint32_t blockSize, unsigned char* block);

// What became of one WM_COPYDATA request.
struct Served {
    int result = 0;          // the message's result
    bool dispatched = false; // a dispatcher ran (the request's data may have changed)
    std::size_t size = 0;    // the request's own length, when dispatched
};

// Parses the size bytes at data as an AccessorRequest and runs it with the dispatcher of
// the magic. A request that does not parse, or an unknown magic, is refused before any
// dispatcher runs.
Served ServeRequest(SystemCalls& system, std::uint32_t magic, unsigned char* data, std::size_t size);

}  // namespace accessor
