#include "ui/background.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setup {
namespace {

class TestScript : public SetupScript {
public:
    explicit TestScript(const std::string& text) { AppendScriptText(text.data(), text.size()); }
};

std::vector<GradientBand> Bands(const std::string& keys, int height) {
    TestScript script("[Background]\r\n" + keys);
    return GradientBands(ReadGradientSettings(script), height);
}

TEST(Gradient, DefaultBlueToBlackOn480Rows) {
    std::vector<GradientBand> bands = Bands("", 480);
    ASSERT_EQ(bands.size(), 61u);  // tops 0, 8, ..., 480
    EXPECT_EQ(bands[0].top, 0);
    EXPECT_EQ(bands[60].top, 480);
    struct Expect {
        int band;
        int blue;
    };
    for (Expect e : {Expect{0, 255}, Expect{1, 250}, Expect{2, 246}, Expect{30, 127}, Expect{59, 4},
                     Expect{60, 0}}) {
        EXPECT_EQ(bands[e.band].colour.blue, e.blue) << "band " << e.band;
    }
    for (const GradientBand& band : bands) {
        EXPECT_EQ(band.colour.red, 0);
        EXPECT_EQ(band.colour.green, 0);
    }
}

TEST(Gradient, FallsSteadilyToZeroOnCommonScreens) {
    for (int height : {480, 600, 768, 1024, 1200}) {
        std::vector<GradientBand> bands = Bands("", height);
        ASSERT_EQ(bands.size(), static_cast<size_t>(height / kBandHeight + 1)) << height;
        EXPECT_EQ(bands.front().colour, (Rgb{0, 0, 255})) << height;
        EXPECT_EQ(bands.back().colour.blue, 0) << height;
        for (size_t i = 1; i < bands.size(); ++i) {
            EXPECT_EQ(bands[i].top, bands[i - 1].top + kBandHeight);
            EXPECT_LE(bands[i].colour.blue, bands[i - 1].colour.blue) << height << " band " << i;
        }
    }
}

TEST(Gradient, RedAndBlueFallTogether) {
    for (const GradientBand& band : Bands("Use Red=1\r\nRed Color=255\r\n", 480)) {
        EXPECT_EQ(band.colour.red, band.colour.blue) << band.top;
        EXPECT_EQ(band.colour.green, 0);
    }
}

TEST(Gradient, StartValuesUseTheLowEightBits) {
    std::vector<GradientBand> bands = Bands("Blue Color=300\r\nUse Blue=0\r\nRed Color=256\r\n", 480);
    for (const GradientBand& band : bands) EXPECT_EQ(band.colour, (Rgb{0, 0, 44}));
    EXPECT_EQ(Bands("Blue Color=300\r\n", 480)[0].colour.blue, 44);
}

TEST(Gradient, FallBelowZeroWrapsFrom255) {
    std::vector<GradientBand> bands = Bands("Use Green=1\r\nGreen Color=100\r\nUse Blue=0\r\n", 480);
    EXPECT_EQ(bands[23].colour.green, 2);
    EXPECT_EQ(bands[24].colour.green, 254);  // 100 - 102 = -2
    EXPECT_EQ(bands[25].colour.green, 250);  // 100 - 106.25 = -6.25, truncated to -6
    EXPECT_EQ(bands[24].colour.blue, 255);   // blue keeps its start value
}

TEST(Gradient, NoBandsWithoutAScreen) {
    EXPECT_TRUE(Bands("", 0).empty());
    EXPECT_TRUE(Bands("", -5).empty());
    EXPECT_EQ(Bands("", 1).size(), 1u);
}

TEST(Titles, FontSizeFollowsTheScreen) {
    Size letter = TitleFontSize(640, 480);
    EXPECT_EQ(letter.cy, 96);
    EXPECT_EQ(letter.cx, 32);
    letter = TitleFontSize(1024, 768);
    EXPECT_EQ(letter.cy, 153);
    EXPECT_EQ(letter.cx, 51);
}

TEST(Titles, ReadAndCutTo24Characters) {
    TestScript script(
        "[Background]\r\nProduct Company=" + std::string(30, 'c') + "\r\nProduct Name=Name\r\n");
    ProductTitles titles = ReadProductTitles(script);
    EXPECT_EQ(titles.company, std::string(24, 'c'));
    EXPECT_EQ(titles.name, "Name");
    EXPECT_TRUE(ReadProductTitles(TestScript("")).company.empty());
}

struct TitleCase {
    const char* name;
    Size company;
    Size title;
    int screenWidth;
    Rect expectCompany;
    Rect expectName;
};

TEST(Titles, Rectangles) {
    const std::vector<TitleCase> cases = {
        {"both beside", {200, 90}, {300, 95}, 640, {34, 24, 238, 118}, {272, 24, 576, 123}},
        {"exactly fitting stays beside", {200, 90}, {380, 95}, 640, {34, 24, 238, 118}, {272, 24, 656, 123}},
        {"too wide goes below", {200, 90}, {381, 95}, 640, {34, 24, 238, 118}, {34, 142, 419, 241}},
        {"only the name, fits", {0, 0}, {300, 95}, 640, {34, 24, 38, 28}, {72, 24, 376, 123}},
        {"only the name, too wide", {0, 0}, {600, 95}, 640, {34, 24, 38, 28}, {34, 52, 638, 151}},
        {"only the company", {200, 90}, {0, 0}, 640, {34, 24, 238, 118}, {272, 24, 276, 28}},
    };
    for (const TitleCase& c : cases) {
        TitleRects rects = ComputeTitleRects(c.company, c.title, c.screenWidth);
        EXPECT_EQ(rects.company, c.expectCompany) << c.name;
        EXPECT_EQ(rects.name, c.expectName) << c.name;
    }
}

}  // namespace
}  // namespace setup
