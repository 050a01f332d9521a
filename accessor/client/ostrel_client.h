// A client of the accessor: finds its window, builds a request, sends it and receives the
// accessor's reply. A Client owns a hidden message-only window whose handle goes with each
// request as the message's wParam; the accessor sends the updated request back to that
// window before the request's SendMessage returns, and the Client copies the reply's
// argument block back into the caller's block.
//
//   accessor::client::Client client;
//   HWND ostrel = accessor::client::FindAccessor();
//   std::vector<unsigned char> block = accessor::MakeBlock({0});
//   auto outcome = client.Call(ostrel, accessor::ACCESSOR_MAGIC_DIRECT, "GetCurrentThreadId", block);
//   // outcome.result == 1, block holds the accessor's thread id
#pragma once

#include "handles.h"
#include "protocol.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace accessor::client {

constexpr DWORD kDefaultTimeoutMs = 5000;

// The accessor's window, or null when no accessor runs.
HWND FindAccessor();

// Waits up to timeoutMs for an accessor's window that answers the first query message.
HWND WaitForAccessor(DWORD timeoutMs);

// What the window answers to a message (a query message, for one), or 0 when it does not
// answer within the time.
LRESULT Ask(HWND window, UINT message, DWORD timeoutMs = kDefaultTimeoutMs);

// Forwards a command line to a running accessor the way a second start does. False when
// the accessor did not take it within the time.
bool SendCommandLine(HWND accessor, const std::string& commandLine, DWORD timeoutMs = kDefaultTimeoutMs);

// What became of one request.
struct Outcome {
    bool delivered = false;  // the accessor handled the message within the time
    int result = 0;          // the message's result: 1 when the command ran, else 0
    bool replied = false;    // a reply to this request came back
};

class Client {
public:
    Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // False when the reply window could not be made.
    bool Ready() const { return static_cast<bool>(m_window); }
    HWND ReplyWindow() const { return m_window.Get(); }

    // Sends name and block under a command set's magic. When the accessor replies, block
    // takes the reply's argument block; without a reply it keeps what it held.
    Outcome Call(HWND accessor, std::uint32_t magic, const std::string& name, std::vector<unsigned char>& block,
                 DWORD timeoutMs = kDefaultTimeoutMs);

    // Sends any bytes as a request (malformed ones too), with this client's reply window in
    // wParam or without any. The reply's bytes, if one came, are in LastReply().
    Outcome Send(HWND accessor, std::uint32_t magic, const void* data, std::size_t size, bool withReplyWindow,
                 DWORD timeoutMs = kDefaultTimeoutMs);

    const std::vector<unsigned char>& LastReply() const { return m_reply; }

private:
    static LRESULT CALLBACK ReplyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    fw::OwnedWindow m_window;
    // The request in flight: replies are taken only from its accessor and for its magic.
    HWND m_pendingAccessor = nullptr;
    std::uint32_t m_pendingMagic = 0;
    bool m_replied = false;
    std::vector<unsigned char> m_reply;
};

}  // namespace accessor::client
