// Painting the gradient background and the product titles into the main frame's bitmap.
#include "../ui/background.h"
#include "main_frame.h"

namespace {

struct TitleFont {
    fw::Font font;
    setup::Size extent;
};

// Creates the title's font and measures the title with it; an empty title has no font
// and measures 0 x 0. A font that cannot be made leaves the title undrawn; it is then
// measured with the context's current font.
TitleFont MakeTitleFont(HDC dc, const std::string& title, setup::Size letter, bool italic) {
    TitleFont result;
    if (title.empty()) return result;
    result.font.Reset(::CreateFontA(letter.cy, letter.cx, 0, 0, FW_BOLD, italic ? TRUE : FALSE,
                                    FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DRAFT_QUALITY,
                                    VARIABLE_PITCH | FF_ROMAN, "Times"));
    fw::SelectGuard select(dc, result.font.Get());
    SIZE extent{};
    if (::GetTextExtentPoint32A(dc, title.c_str(), static_cast<int>(title.size()), &extent))
        result.extent = setup::Size{extent.cx, extent.cy};
    return result;
}

// Black text, then white text 4 pixels up and left of it: the black copy is the shadow.
void DrawShadowedTitle(HDC dc, const std::string& title, HFONT font, setup::Rect place) {
    if (!font) return;
    fw::SelectGuard select(dc, font);
    RECT rect{place.left, place.top, place.right, place.bottom};
    const UINT format = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &rect, format);
    ::OffsetRect(&rect, -4, -4);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &rect, format);
}

}  // namespace

bool CMainFrame::PaintGradientBackground() {
    fw::WindowDc window(m_hwnd);
    fw::MemoryDc memory(::CreateCompatibleDC(window.Get()));
    fw::Bitmap bitmap(::CreateCompatibleBitmap(window.Get(), m_screenWidth, m_screenHeight));
    if (!memory || !bitmap) return false;
    {
        fw::SelectGuard selectBitmap(memory.Get(), bitmap.Get());
        fw::SelectGuard selectPen(memory.Get(), ::GetStockObject(NULL_PEN));
        const setup::GradientSettings settings = setup::ReadGradientSettings(*this);
        for (const setup::GradientBand& band : setup::GradientBands(settings, m_screenHeight)) {
            fw::Brush brush(::CreateSolidBrush(RGB(band.colour.red, band.colour.green, band.colour.blue)));
            fw::SelectGuard selectBrush(memory.Get(), brush.Get());
            // With the null pen, Rectangle fills one pixel less than its right and bottom
            // edges: exactly the band's rows across the whole width.
            ::Rectangle(memory.Get(), 0, band.top, m_screenWidth + 1, band.top + setup::kBandHeight + 1);
        }
        DrawProductTitles(memory.Get());
    }
    m_hBackground = std::move(bitmap);
    return true;
}

void CMainFrame::DrawProductTitles(HDC dc) {
    const setup::ProductTitles titles = setup::ReadProductTitles(*this);
    if (titles.company.empty() && titles.name.empty()) return;
    ::SetBkMode(dc, TRANSPARENT);

    const setup::Size letter = setup::TitleFontSize(m_screenWidth, m_screenHeight);
    TitleFont company = MakeTitleFont(dc, titles.company, letter, false);
    TitleFont name = MakeTitleFont(dc, titles.name, letter, true);
    const setup::TitleRects rects = setup::ComputeTitleRects(company.extent, name.extent, m_screenWidth);

    DrawShadowedTitle(dc, titles.company, company.font.Get(), rects.company);
    DrawShadowedTitle(dc, titles.name, name.font.Get(), rects.name);
}
