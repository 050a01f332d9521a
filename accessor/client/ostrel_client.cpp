#include "ostrel_client.h"

#include <cstring>

namespace accessor::client {
namespace {

constexpr const char* kReplyClassName = "OstrelClientReply";
constexpr DWORD kPollMs = 20;

// The reply windows' class, registered once per process and given back at its end.
class ReplyClass {
public:
    explicit ReplyClass(WNDPROC procedure) : m_instance(::GetModuleHandleA(nullptr)) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = m_instance;
        windowClass.lpszClassName = kReplyClassName;
        m_registered = ::RegisterClassA(&windowClass) != 0;
    }
    ~ReplyClass() {
        if (m_registered) ::UnregisterClassA(kReplyClassName, m_instance);
    }
    ReplyClass(const ReplyClass&) = delete;
    ReplyClass& operator=(const ReplyClass&) = delete;

    bool Registered() const { return m_registered; }
    HINSTANCE Instance() const { return m_instance; }

private:
    HINSTANCE m_instance;
    bool m_registered = false;
};

struct Sent {
    bool delivered = false;
    LRESULT result = 0;
};

Sent SendCopyData(HWND window, WPARAM sender, std::uint32_t magic, const void* data, std::size_t size,
                  DWORD timeoutMs) {
    COPYDATASTRUCT copy{magic, static_cast<DWORD>(size), const_cast<void*>(data)};
    DWORD_PTR result = 0;
    Sent sent;
    sent.delivered = ::SendMessageTimeoutA(window, WM_COPYDATA, sender, reinterpret_cast<LPARAM>(&copy),
                                           SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
    sent.result = sent.delivered ? static_cast<LRESULT>(result) : 0;
    return sent;
}

}  // namespace

HWND FindAccessor() { return ::FindWindowA(kClassName, kWindowTitle); }

HWND WaitForAccessor(DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        HWND window = FindAccessor();
        if (window && static_cast<std::uint32_t>(Ask(window, kQueryDirect, timeoutMs)) == ACCESSOR_MAGIC_DIRECT)
            return window;
        if (::GetTickCount() - start >= timeoutMs) return nullptr;
        ::Sleep(kPollMs);
    }
}

LRESULT Ask(HWND window, UINT message, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &result)) return 0;
    return static_cast<LRESULT>(result);
}

bool SendCommandLine(HWND accessor, const std::string& commandLine, DWORD timeoutMs) {
    const Sent sent = SendCopyData(accessor, 0, ACCESSOR_MAGIC_CONTROL, commandLine.c_str(), commandLine.size() + 1,
                                   timeoutMs);
    return sent.delivered && sent.result == 1;
}

Client::Client() {
    static ReplyClass replyClass(ReplyWindowProc);
    if (!replyClass.Registered()) return;
    m_window.Reset(::CreateWindowExA(0, kReplyClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     replyClass.Instance(), this));
}

LRESULT CALLBACK Client::ReplyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_COPYDATA) {
        auto* client = reinterpret_cast<Client*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        // Only the accessor of the request in flight answers it.
        if (!client || !copy || !client->m_pendingAccessor || reinterpret_cast<HWND>(wParam) != client->m_pendingAccessor ||
            copy->dwData != client->m_pendingMagic)
            return 0;
        const auto* bytes = static_cast<const unsigned char*>(copy->lpData);
        client->m_reply.assign(bytes, bytes + (bytes ? copy->cbData : 0));
        client->m_replied = true;
        return 1;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

Outcome Client::Send(HWND accessor, std::uint32_t magic, const void* data, std::size_t size, bool withReplyWindow,
                     DWORD timeoutMs) {
    m_pendingAccessor = accessor;
    m_pendingMagic = magic;
    m_replied = false;
    m_reply.clear();
    const WPARAM sender = withReplyWindow ? reinterpret_cast<WPARAM>(m_window.Get()) : 0;
    const Sent sent = SendCopyData(accessor, sender, magic, data, size, timeoutMs);
    m_pendingAccessor = nullptr;

    Outcome outcome;
    outcome.delivered = sent.delivered;
    outcome.result = static_cast<int>(sent.result);
    outcome.replied = m_replied;
    return outcome;
}

Outcome Client::Call(HWND accessor, std::uint32_t magic, const std::string& name, std::vector<unsigned char>& block,
                     DWORD timeoutMs) {
    const std::vector<unsigned char> request = BuildRequest(name, block);
    Outcome outcome = Send(accessor, magic, request.data(), request.size(), true, timeoutMs);
    if (!outcome.replied) return outcome;
    // The reply is the same request, updated: same name, same block size.
    std::vector<unsigned char> reply = m_reply;
    AccessorRequest parsed;
    if (!ParseRequest(reply.data(), reply.size(), parsed) || parsed.size != request.size() ||
        std::strcmp(parsed.name, name.c_str()) != 0 || parsed.blockSize != block.size()) {
        outcome.replied = false;
        return outcome;
    }
    if (!block.empty()) std::memcpy(block.data(), parsed.block, block.size());
    return outcome;
}

}  // namespace accessor::client
