// Helpers of the Wine tests that look at what the installer drew and run its messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace wine_test {

// 0x00RRGGBB, as a 32-bit top-down DIB holds it.
using Pixel = std::uint32_t;

// Every pixel of a bitmap, row by row from the top.
inline std::vector<Pixel> ReadPixels(HBITMAP bitmap, int width, int height) {
    std::vector<Pixel> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    int rows = ::GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != height) pixels.clear();
    for (Pixel& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

inline SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!::GetObjectA(bitmap, sizeof info, &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

// Removes what is waiting in the queue, a quit message included.
inline void DrainQueue() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) ::DispatchMessageA(&message);
    }
}

// Runs the thread's messages until WM_QUIT or the deadline; returns the quit code or -1.
inline int PumpUntilQuit(DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return -1;
}

}  // namespace wine_test
