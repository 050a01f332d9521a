// Message tables: each window or dialog class keeps a static array that maps a window
// message (or, for WM_COMMAND, a command id, and for WM_SYSCOMMAND, a system command) to a
// member function. Messages that no row matches go on to the base class and finally to
// the default processing.
#pragma once

#include <windows.h>

#include <cstddef>

namespace fw {

// Matches every command id of a WM_COMMAND row.
constexpr UINT kAnyId = 0xFFFFFFFFu;

template <class T>
struct MessageEntry {
    UINT message;
    UINT id;  // WM_COMMAND: the command id (LOWORD of wParam); WM_SYSCOMMAND: the system
              // command (wParam without its low four bits); kAnyId matches all
    LRESULT (T::*handler)(WPARAM, LPARAM);
};

template <class T>
constexpr MessageEntry<T> OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return MessageEntry<T>{message, kAnyId, handler};
}

template <class T>
constexpr MessageEntry<T> OnCommand(UINT id, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return MessageEntry<T>{WM_COMMAND, id, handler};
}

template <class T>
constexpr MessageEntry<T> OnSysCommand(UINT command, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return MessageEntry<T>{WM_SYSCOMMAND, command, handler};
}

// The id a row is matched against: the command of WM_COMMAND and WM_SYSCOMMAND.
inline UINT MessageId(UINT message, WPARAM wParam) {
    if (message == WM_COMMAND) return LOWORD(wParam);
    // The system uses the low four bits of a system command internally.
    if (message == WM_SYSCOMMAND) return static_cast<UINT>(wParam & 0xFFF0);
    return kAnyId;
}

// Runs the first row of the table that matches the message. True when one did; its
// handler's value is then in result.
template <class T, std::size_t N>
bool DispatchTable(T& self, const MessageEntry<T> (&table)[N], UINT message, WPARAM wParam,
                   LPARAM lParam, LRESULT& result) {
    for (const MessageEntry<T>& entry : table) {
        if (entry.message != message) continue;
        if (entry.id != kAnyId && entry.id != MessageId(message, wParam)) continue;
        result = (self.*entry.handler)(wParam, lParam);
        return true;
    }
    return false;
}

}  // namespace fw
