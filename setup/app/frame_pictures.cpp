// The main frame's pictures: bitmap files read into device-dependent bitmaps, the
// background (a picture or the painted gradient) and the billboards shown on it.
#include "../ui/billboard.h"
#include "../ui/dib.h"
#include "main_frame.h"
#include "setup_app.h"

#include <cstring>
#include <vector>

namespace {

// A BITMAPINFO with room for the largest colour table or the three bit-field masks.
struct DibHeader {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

// The picture as the system wants it: always a 40-byte info header, the colours as
// RGBQUADs (core headers store three bytes each), or the masks of a bit-fields picture.
void FillHeader(const setup::DibInfo& info, DibHeader& out) {
    std::memset(&out, 0, sizeof out);
    out.header.biSize = sizeof out.header;
    out.header.biWidth = info.width;
    out.header.biHeight = info.height;
    out.header.biPlanes = 1;
    out.header.biBitCount = info.bitCount;
    out.header.biCompression = info.compression;
    out.header.biSizeImage = static_cast<DWORD>(info.bitsSize);
    out.header.biClrUsed = static_cast<DWORD>(info.colours.size());
    if (info.compression == setup::dib::kBitFields) {
        std::memcpy(out.colours, info.masks.data(), sizeof info.masks);
        return;
    }
    for (std::size_t i = 0; i < info.colours.size(); ++i)
        out.colours[i] = RGBQUAD{info.colours[i].blue, info.colours[i].green, info.colours[i].red, 0};
}

fw::Palette MakePalette(const setup::DibInfo& info) {
    if (info.colours.empty()) return fw::Palette();
    std::vector<std::uint8_t> memory(sizeof(LOGPALETTE) + info.colours.size() * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(memory.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(info.colours.size());
    for (std::size_t i = 0; i < info.colours.size(); ++i)
        palette->palPalEntry[i] = PALETTEENTRY{info.colours[i].red, info.colours[i].green, info.colours[i].blue, 0};
    return fw::Palette(::CreatePalette(palette));
}

// The whole file after its 14-byte header, in a movable global block (the pixel bits of a
// large picture are handed to the system from it).
bool ReadBitmapFile(const char* path, fw::GlobalMemory& block, DWORD& blockSize) {
    fw::File file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return false;
    const DWORD size = ::GetFileSize(file.Get(), nullptr);
    std::uint8_t fileHeader[setup::kBitmapFileHeaderSize];
    DWORD read = 0;
    if (size == INVALID_FILE_SIZE || size <= sizeof fileHeader ||
        !::ReadFile(file.Get(), fileHeader, sizeof fileHeader, &read, nullptr) ||
        !setup::IsBitmapFileHeader(fileHeader, read))
        return false;
    blockSize = size - static_cast<DWORD>(sizeof fileHeader);
    block.Reset(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, blockSize));
    fw::GlobalLockGuard lock(block.Get());
    return lock.Data() && ::ReadFile(file.Get(), lock.Data(), blockSize, &read, nullptr) && read == blockSize;
}

// Selects a bitmap into a new memory context compatible with the screen.
struct BitmapContext {
    explicit BitmapContext(HBITMAP bitmap)
        : dc(::CreateCompatibleDC(nullptr)), select(dc.Get(), dc ? bitmap : nullptr) {}
    fw::MemoryDc dc;
    fw::SelectGuard select;
};

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

bool CMainFrame::LoadDibFile(const char* path, fw::Bitmap& bitmap, fw::Palette* palette) {
    fw::GlobalMemory block;
    DWORD blockSize = 0;
    if (!path || !ReadBitmapFile(path, block, blockSize)) return false;
    fw::GlobalLockGuard lock(block.Get());
    const auto* bytes = static_cast<const std::uint8_t*>(lock.Data());
    const std::optional<setup::DibInfo> info = setup::ParseDib(bytes, blockSize);
    if (!info) return false;

    DibHeader header;
    FillHeader(*info, header);
    fw::Palette colours = MakePalette(*info);
    {
        fw::WindowDc screen(nullptr);
        fw::PaletteGuard select(screen.Get(), colours.Get(), FALSE);
        if (select.Selected()) ::RealizePalette(screen.Get());
        bitmap.Reset(::CreateDIBitmap(screen.Get(), &header.header, CBM_INIT, bytes + info->bitsOffset,
                                      reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS));
    }
    if (!bitmap) return false;
    if (palette) *palette = std::move(colours);
    return true;
}

bool CMainFrame::LoadStretchedBitmap(const char* path, fw::Bitmap& bitmap, fw::Palette* palette) {
    fw::Bitmap picture;
    if (!LoadDibFile(path, picture, palette)) return false;
    const SIZE size = BitmapSize(picture.Get());
    BitmapContext from(picture.Get());
    fw::Bitmap stretched(::CreateCompatibleBitmap(from.dc.Get(), m_screenWidth, m_screenHeight));
    if (!from.dc || !stretched) return false;
    {
        BitmapContext to(stretched.Get());
        ::StretchBlt(to.dc.Get(), 0, 0, m_screenWidth, m_screenHeight, from.dc.Get(), 0, 0, size.cx, size.cy,
                     SRCCOPY);
    }
    bitmap = std::move(stretched);
    return true;
}

fw::Bitmap CMainFrame::CopyBitmap(HBITMAP source) {
    const SIZE size = BitmapSize(source);
    if (!size.cx) return fw::Bitmap();
    fw::WindowDc screen(nullptr);
    fw::Bitmap copy(::CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    if (!copy) return fw::Bitmap();
    DrawBitmapAt(copy.Get(), source, 0, 0, size.cx, size.cy);
    return copy;
}

void CMainFrame::DrawBitmapAt(HBITMAP destination, HBITMAP source, int left, int top, int right, int bottom) {
    BitmapContext to(destination);
    BitmapContext from(source);
    if (!to.dc || !from.dc) return;
    ::BitBlt(to.dc.Get(), left, top, right - left, bottom - top, from.dc.Get(), 0, 0, SRCCOPY);
}

bool CMainFrame::BuildBackground() {
    const std::string picture = GetScriptValue("Background", "Background Bitmap", nullptr, 20);
    CSetupApp* app = GetSetupApp();
    if (!picture.empty() && app) LoadStretchedBitmap((app->m_programDir + picture).c_str(), m_hBackground, &m_hPalette);
    if (!m_hBackground && !PaintGradientBackground()) return false;
    m_hCleanBackground = CopyBitmap(m_hBackground.Get());
    return true;
}

void CMainFrame::RemoveBillboard() {
    m_hBackground = CopyBitmap(m_hCleanBackground.Get());
    Repaint();
}

void CMainFrame::ShowBillboard(int position, const char* directory, const char* name) {
    const std::string path = setup::BillboardPath(directory, name);
    if (path.empty()) return;
    fw::Bitmap picture;
    if (position == setup::billboard::kFullScreen) {
        if (!LoadStretchedBitmap(path.c_str(), picture, nullptr)) return;
        m_hBackground = std::move(picture);
    } else {
        RECT client{};
        ::GetClientRect(m_hwnd, &client);
        if (!LoadDibFile(path.c_str(), picture, nullptr)) return;
        const SIZE size = BitmapSize(picture.Get());
        const std::optional<setup::Rect> place = setup::BillboardRect(
            position, setup::Rect{client.left, client.top, client.right, client.bottom}, setup::Size{size.cx, size.cy});
        if (!place) return;
        // Always from the clean background: a billboard replaces the one before it.
        m_hBackground = CopyBitmap(m_hCleanBackground.Get());
        DrawBitmapAt(m_hBackground.Get(), picture.Get(), place->left, place->top, place->right, place->bottom);
    }
    // The picture was copied only to be shown: it does not stay in the installation.
    ::DeleteFileA(path.c_str());
    Repaint();
    ::Sleep(m_billboardPauseMs);
}

void CMainFrame::Repaint() {
    ::InvalidateRect(m_hwnd, nullptr, FALSE);
    ::UpdateWindow(m_hwnd);
}
