// The owner of one of the machine's handles (a file, a folder listing, a search), neither
// copied nor moved, which its traits close unless the call that gave it failed. The traits
// name the Handle type, Failed(handle) and Close(handle).
#pragma once

namespace host {

template <class Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    explicit Owned(Handle handle) : m_handle(handle) {}
    ~Owned() {
        if (!Traits::Failed(m_handle)) Traits::Close(m_handle);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return !Traits::Failed(m_handle); }

private:
    Handle m_handle;
};

}  // namespace host
