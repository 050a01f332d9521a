// RAII owners for every handle kind the programs use. Each owner is move-only and
// releases its handle with the call that matches how it was obtained; selection guards
// put the previous GDI object back into its device context.
#pragma once

#include <windows.h>
#include <ddeml.h>
#include <mmsystem.h>

#include <utility>

namespace fw {

// A move-only owner of one handle. Traits names the handle type, its empty value and the
// call that releases it.
template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
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
        m_handle = Traits::Empty();
        return handle;
    }

    // Releases the handle held (if any) and takes ownership of another.
    void Reset(Handle handle = Traits::Empty()) noexcept {
        if (m_handle != Traits::Empty()) Traits::Close(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle = Traits::Empty();
};

namespace traits {

// CreateFileA returns INVALID_HANDLE_VALUE on failure, not null.
struct File {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

// Processes, threads, events: null on failure.
struct Kernel {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

template <class T>
struct GdiObject {
    using Handle = T;
    static Handle Empty() { return nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};

// Only icons made by CreateIcon*, ExtractIcon or CopyIcon may be destroyed; icons from
// LoadIcon are shared and must not be owned by this type.
struct Icon {
    using Handle = HICON;
    static Handle Empty() { return nullptr; }
    static void Close(Handle h) { ::DestroyIcon(h); }
};

// A context from CreateCompatibleDC is deleted, not released.
struct MemoryDc {
    using Handle = HDC;
    static Handle Empty() { return nullptr; }
    static void Close(Handle h) { ::DeleteDC(h); }
};

struct RegistryKey {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static void Close(Handle h) { ::RegCloseKey(h); }
};

struct GlobalMemory {
    using Handle = HGLOBAL;
    static Handle Empty() { return nullptr; }
    static void Close(Handle h) { ::GlobalFree(h); }
};

struct DdeInstance {
    using Handle = DWORD;
    static Handle Empty() { return 0; }
    static void Close(Handle h) { ::DdeUninitialize(h); }
};

struct DdeConversation {
    using Handle = HCONV;
    static Handle Empty() { return nullptr; }
    static void Close(Handle h) { ::DdeDisconnect(h); }
};

// A data handle that the application owns (the result of a client transaction).
struct DdeData {
    using Handle = HDDEDATA;
    static Handle Empty() { return nullptr; }
    static void Close(Handle h) { ::DdeFreeDataHandle(h); }
};

struct Mixer {
    using Handle = HMIXER;
    static Handle Empty() { return nullptr; }
    static void Close(Handle h) { ::mixerClose(h); }
};

}  // namespace traits

using File = UniqueHandle<traits::File>;
using KernelHandle = UniqueHandle<traits::Kernel>;
using Bitmap = UniqueHandle<traits::GdiObject<HBITMAP>>;
using Palette = UniqueHandle<traits::GdiObject<HPALETTE>>;
using Font = UniqueHandle<traits::GdiObject<HFONT>>;
using Brush = UniqueHandle<traits::GdiObject<HBRUSH>>;
using Pen = UniqueHandle<traits::GdiObject<HPEN>>;
using Icon = UniqueHandle<traits::Icon>;
using MemoryDc = UniqueHandle<traits::MemoryDc>;
using RegistryKey = UniqueHandle<traits::RegistryKey>;
using GlobalMemory = UniqueHandle<traits::GlobalMemory>;
using DdeInstance = UniqueHandle<traits::DdeInstance>;
using DdeConversation = UniqueHandle<traits::DdeConversation>;
using DdeData = UniqueHandle<traits::DdeData>;
using Mixer = UniqueHandle<traits::Mixer>;

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
