// The main frame's background bitmaps.
#include "../core/main_frame.h"

bool CMainFrame::BuildBackground() {
    if (!m_hBackground && !PaintGradientBackground()) return false;
    m_hCleanBackground = CopyBitmap(m_hBackground.Get());
    return true;
}

fw::Bitmap CMainFrame::CopyBitmap(HBITMAP source) {
    BITMAP info{};
    if (!source || !::GetObjectA(source, sizeof info, &info)) return fw::Bitmap();
    fw::WindowDc screen(nullptr);
    fw::MemoryDc from(::CreateCompatibleDC(screen.Get()));
    fw::MemoryDc to(::CreateCompatibleDC(screen.Get()));
    fw::Bitmap copy(::CreateCompatibleBitmap(screen.Get(), info.bmWidth, info.bmHeight));
    if (!from || !to || !copy) return fw::Bitmap();
    fw::SelectGuard selectFrom(from.Get(), source);
    fw::SelectGuard selectTo(to.Get(), copy.Get());
    ::BitBlt(to.Get(), 0, 0, info.bmWidth, info.bmHeight, from.Get(), 0, 0, SRCCOPY);
    return copy;
}
