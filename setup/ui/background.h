// The painted background: the colour bands of the gradient and the places of the two
// product titles, computed without any drawing.
#pragma once

#include "../engine/geometry.h"
#include "../script/script.h"

#include <cstdint>
#include <string>
#include <vector>

namespace setup {

// Height of one band of the gradient in pixels.
constexpr int kBandHeight = 8;
// Titles are read into buffers of this size (at most 24 characters).
constexpr std::size_t kTitleBufferSize = 25;

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

// [Background] colour keys: which components fade, and the start colour.
struct GradientSettings {
    bool useRed = false;
    bool useGreen = false;
    bool useBlue = true;
    Rgb start{0, 0, 255};
};

GradientSettings ReadGradientSettings(const SetupScript& script);

struct GradientBand {
    int top = 0;  // first row; the band covers kBandHeight rows
    Rgb colour;
};

// Bands from row 0 down to the last band that starts at or above screenHeight. Every
// fading component falls by 255 over the screen height: band k has the start value
// less k * 2040 / screenHeight (summed in single precision, truncated, low 8 bits).
std::vector<GradientBand> GradientBands(const GradientSettings& settings, int screenHeight);

struct ProductTitles {
    std::string company;
    std::string name;
};

ProductTitles ReadProductTitles(const SetupScript& script);

// Size of the title font's letters for a screen: a fifth of its height, a twentieth of
// its width.
Size TitleFontSize(int screenWidth, int screenHeight);

struct TitleRects {
    Rect company;
    Rect name;
};

// Where the titles go, from their measured extents (an absent title measures 0 x 0): the
// company at the top left, the name beside it, or below it when both do not fit.
TitleRects ComputeTitleRects(Size company, Size name, int screenWidth);

}  // namespace setup
