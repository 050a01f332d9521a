#include "background.h"

namespace setup {

namespace {

constexpr const char* kSection = "Background";

std::uint8_t LowByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

// The component's value after the fall d: start - d truncated towards zero; a result
// below zero wraps through its low 8 bits (-4 gives 252).
std::uint8_t Faded(std::uint8_t start, float fall) {
    return LowByte(static_cast<int>(static_cast<float>(start) - fall));
}

}  // namespace

GradientSettings ReadGradientSettings(const SetupScript& script) {
    GradientSettings settings;
    settings.useRed = script.GetScriptInt(kSection, "Use Red", 0) != 0;
    settings.useGreen = script.GetScriptInt(kSection, "Use Green", 0) != 0;
    settings.useBlue = script.GetScriptInt(kSection, "Use Blue", 1) != 0;
    settings.start.red = LowByte(script.GetScriptInt(kSection, "Red Color", 0));
    settings.start.green = LowByte(script.GetScriptInt(kSection, "Green Color", 0));
    settings.start.blue = LowByte(script.GetScriptInt(kSection, "Blue Color", 255));
    return settings;
}

std::vector<GradientBand> GradientBands(const GradientSettings& settings, int screenHeight) {
    std::vector<GradientBand> bands;
    if (screenHeight <= 0) return bands;
    const float step = 2040.0f / static_cast<float>(screenHeight);
    float fall = 0.0f;
    Rgb colour = settings.start;
    for (int top = 0; top <= screenHeight; top += kBandHeight) {
        bands.push_back(GradientBand{top, colour});
        fall += step;
        if (settings.useRed) colour.red = Faded(settings.start.red, fall);
        if (settings.useGreen) colour.green = Faded(settings.start.green, fall);
        if (settings.useBlue) colour.blue = Faded(settings.start.blue, fall);
    }
    return bands;
}

ProductTitles ReadProductTitles(const SetupScript& script) {
    ProductTitles titles;
    titles.company = script.GetScriptValue(kSection, "Product Company", nullptr, kTitleBufferSize);
    titles.name = script.GetScriptValue(kSection, "Product Name", nullptr, kTitleBufferSize);
    return titles;
}

Size TitleFontSize(int screenWidth, int screenHeight) {
    return Size{screenWidth / 20, (2 * screenHeight) / 10};
}

TitleRects ComputeTitleRects(Size company, Size name, int screenWidth) {
    TitleRects rects;
    rects.company = Rect{34, 24, 34 + company.cx + 4, 24 + company.cy + 4};
    int left = company.cx + 72;
    int top = 24;
    if (company.cx + name.cx > screenWidth - 60) {
        left = 34;
        top = company.cy + 52;
    }
    rects.name = Rect{left, top, left + name.cx + 4, top + name.cy + 4};
    return rects;
}

}  // namespace setup
