// RAII owners for every handle kind the programs use. Each owner is move-only and
// releases its handle with the call that matches how it was obtained; selection guards
// put the previous GDI object back into its device context.
#pragma once

#include <windows.h>
#include <ddeml.h>
#include <mmsystem.h>

#include <atomic>
#include <utility>

namespace fw {

namespace detail {
inline std::atomic<long>& GdiObjectCounter() noexcept {
    static std::atomic<long> counter{0};
    return counter;
}
}  // namespace detail

// GDI objects (bitmaps, palettes, fonts, brushes, pens, memory contexts) held by owners
// right now: the leak check of the tests, since the system's own count is not available
// everywhere.
inline long LiveGdiObjects() noexcept { return detail::GdiObjectCounter().load(); }

// A move-only owner of one handle. Traits names the handle type, its empty value and the
// call that releases it.
template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) { Count(m_handle, +1); }
    ~UniqueHandle() { Reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.m_handle) { other.m_handle = Traits::Empty(); }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != Traits::Empty(); }

    // Gives up ownership without releasing.
    Handle Release() noexcept {
        Handle handle = m_handle;
        Count(handle, -1);
        m_handle = Traits::Empty();
        return handle;
    }

    // Releases the handle held (if any) and takes ownership of another.
    void Reset(Handle handle = Traits::Empty()) noexcept {
        if (m_handle != Traits::Empty()) {
            Traits::Close(m_handle);
            Count(m_handle, -1);
        }
        m_handle = handle;
        Count(m_handle, +1);
    }

private:
    static void Count(Handle handle, long change) noexcept {
        if constexpr (Traits::kCounted) {
            if (handle != Traits::Empty()) detail::GdiObjectCounter() += change;
        }
    }

    Handle m_handle = Traits::Empty();
};

namespace traits {

// Handles whose empty value is null (or 0), released by one call; Counted ones are GDI
// objects that LiveGdiObjects counts.
template <class H, auto Release, bool Counted = false>
struct NullIsEmpty {
    using Handle = H;
    static constexpr bool kCounted = Counted;
    static Handle Empty() noexcept { return Handle(); }
    static void Close(Handle h) noexcept { Release(h); }
};

// CreateFileA returns INVALID_HANDLE_VALUE on failure, not null.
struct File {
    using Handle = HANDLE;
    static constexpr bool kCounted = false;
    static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

}  // namespace traits

using File = UniqueHandle<traits::File>;
// Processes, threads, events.
using KernelHandle = UniqueHandle<traits::NullIsEmpty<HANDLE, &::CloseHandle>>;
using Bitmap = UniqueHandle<traits::NullIsEmpty<HBITMAP, &::DeleteObject, true>>;
using Palette = UniqueHandle<traits::NullIsEmpty<HPALETTE, &::DeleteObject, true>>;
using Font = UniqueHandle<traits::NullIsEmpty<HFONT, &::DeleteObject, true>>;
using Brush = UniqueHandle<traits::NullIsEmpty<HBRUSH, &::DeleteObject, true>>;
using Pen = UniqueHandle<traits::NullIsEmpty<HPEN, &::DeleteObject, true>>;
// Only icons made by CreateIcon*, ExtractIcon or CopyIcon are destroyed; icons from
// LoadIcon are shared and must not be owned.
using Icon = UniqueHandle<traits::NullIsEmpty<HICON, &::DestroyIcon>>;
// A context from CreateCompatibleDC is deleted, not released.
using MemoryDc = UniqueHandle<traits::NullIsEmpty<HDC, &::DeleteDC, true>>;
using RegistryKey = UniqueHandle<traits::NullIsEmpty<HKEY, &::RegCloseKey>>;
using GlobalMemory = UniqueHandle<traits::NullIsEmpty<HGLOBAL, &::GlobalFree>>;
using DdeInstance = UniqueHandle<traits::NullIsEmpty<DWORD, &::DdeUninitialize>>;
using DdeConversation = UniqueHandle<traits::NullIsEmpty<HCONV, &::DdeDisconnect>>;
// A data handle that the application owns (the result of a client transaction).
using DdeData = UniqueHandle<traits::NullIsEmpty<HDDEDATA, &::DdeFreeDataHandle>>;
using Mixer = UniqueHandle<traits::NullIsEmpty<HMIXER, &::mixerClose>>;
using Hook = UniqueHandle<traits::NullIsEmpty<HHOOK, &::UnhookWindowsHookEx>>;
using Library = UniqueHandle<traits::NullIsEmpty<HMODULE, &::FreeLibrary>>;
// A window this code created and destroys itself (a window that destroys itself on a
// message is not owned).
using OwnedWindow = UniqueHandle<traits::NullIsEmpty<HWND, &::DestroyWindow>>;

// A window's device context from GetDC, released to that window with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : m_window(window), m_dc(::GetDC(window)) {}
    ~WindowDc() {
        if (m_dc) ::ReleaseDC(m_window, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr; }

private:
    HWND m_window;
    HDC m_dc;
};

// The context of one WM_PAINT: BeginPaint on construction, EndPaint on destruction.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : m_window(window), m_dc(::BeginPaint(window, &m_paint)) {}
    ~PaintDc() { ::EndPaint(m_window, &m_paint); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC Get() const noexcept { return m_dc; }
    const PAINTSTRUCT& Info() const noexcept { return m_paint; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

// Selects a GDI object into a context and puts the previous one back on destruction, so
// that an owned object is never deleted while selected.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept
        : m_dc(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() {
        if (m_previous) ::SelectObject(m_dc, m_previous);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

    bool Selected() const noexcept { return m_previous != nullptr; }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// SelectPalette with the palette put back (as a foreground palette) on destruction.
class PaletteGuard {
public:
    PaletteGuard(HDC dc, HPALETTE palette, BOOL background) noexcept
        : m_dc(dc), m_previous(palette ? ::SelectPalette(dc, palette, background) : nullptr) {}
    ~PaletteGuard() {
        if (m_previous) ::SelectPalette(m_dc, m_previous, FALSE);
    }
    PaletteGuard(const PaletteGuard&) = delete;
    PaletteGuard& operator=(const PaletteGuard&) = delete;

    bool Selected() const noexcept { return m_previous != nullptr; }

private:
    HDC m_dc;
    HPALETTE m_previous;
};

// GlobalLock for the guard's lifetime.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL memory) noexcept
        : m_memory(memory), m_data(memory ? ::GlobalLock(memory) : nullptr) {}
    ~GlobalLockGuard() {
        if (m_data) ::GlobalUnlock(m_memory);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    void* Data() const noexcept { return m_data; }

private:
    HGLOBAL m_memory;
    void* m_data;
};

// A string handle of a DDE instance, freed with DdeFreeStringHandle on that instance.
class DdeString {
public:
    DdeString(DWORD instance, const char* text) noexcept
        : m_instance(instance), m_handle(::DdeCreateStringHandleA(instance, text, CP_WINANSI)) {}
    ~DdeString() {
        if (m_handle) ::DdeFreeStringHandle(m_instance, m_handle);
    }
    DdeString(const DdeString&) = delete;
    DdeString& operator=(const DdeString&) = delete;

    HSZ Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != nullptr; }

private:
    DWORD m_instance;
    HSZ m_handle;
};

}  // namespace fw
