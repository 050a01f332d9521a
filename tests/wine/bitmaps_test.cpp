#include "app/main_frame.h"
#include "app/setup_app.h"
#include "bmp_writer.h"
#include "gdi_helpers.h"
#include "temp_files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using testing_bmp::BmpSpec;
using testing_bmp::Colour;
using testing_bmp::MakeBmp;
using testing_bmp::TestPalette;
using wine_test::Pixel;
using wine_test::ReadPixels;

std::string Bytes(const std::vector<std::uint8_t>& data) { return std::string(data.begin(), data.end()); }

Pixel ToPixel(const Colour& c) { return (Pixel{c.red} << 16) | (Pixel{c.green} << 8) | c.blue; }

// Colours every format shows exactly (components 0 or 255, so 5-bit ones too).
std::uint32_t TrueColour(int x, int y) {
    return ((x % 2) ? 0xFF0000u : 0u) | ((y % 2) ? 0x00FF00u : 0u) | (((x + y) % 3 == 0) ? 0xFFu : 0u);
}


class BitmapsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.SetInstance(::GetModuleHandleA(nullptr));
        app.m_programDir = folder.Path();
    }
    void TearDown() override {
        frame.reset();
        wine_test::DrainQueue();
    }

    bool CreateFrame(const std::string& background = "") {
        std::string script = "[Initiation]\r\nSet DefDir=1\r\n[Background]\r\n";
        if (!background.empty()) script += "Background Bitmap=" + background + "\r\n";
        app.m_scriptPath = folder.Write("SETUP.INF", script);
        frame = std::make_unique<CMainFrame>();
        if (!frame->Create(nullptr, "Bitmaps Test", WS_POPUP | WS_SYSMENU, RECT{0, 0, 1, 1}, nullptr, nullptr, 0))
            return false;
        frame->SetBillboardPause(0);
        return true;
    }

    std::vector<Pixel> Background() const {
        return ReadPixels(frame->BackgroundBitmap(), frame->ScreenWidth(), frame->ScreenHeight());
    }
    Pixel At(const std::vector<Pixel>& pixels, int x, int y) const {
        return pixels[static_cast<size_t>(y) * frame->ScreenWidth() + x];
    }
    bool Exists(const std::string& name) const {
        return ::GetFileAttributesA((folder.Path() + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    CSetupApp app;
    TempFolder folder;
    std::unique_ptr<CMainFrame> frame;
};

struct PictureCase {
    const char* name;
    BmpSpec spec;
};

TEST_F(BitmapsTest, LoadsEveryKindOfPicture) {
    const PictureCase cases[] = {
        {"8 bits, 16 colours used", {9, 5, 8, 40, 16, TestPalette(16)}},
        {"4 bits, core header", {9, 5, 4, 12, 0, TestPalette(16)}},
        {"1 bit", {9, 5, 1, 40, 0, TestPalette(2)}},
        {"8 bits, 108-byte header", {9, 5, 8, 108, 0, TestPalette(256)}},
        {"24 bits", {9, 5, 24, 40, 0, {}}},
        {"24 bits, core header", {9, 5, 24, 12, 0, {}}},
        {"16 bits", {9, 5, 16, 40, 0, {}}},
        {"32 bits, top-down", {9, -5, 32, 40, 0, {}}},
    };
    for (PictureCase c : cases) {
        const bool paletted = c.spec.bitCount <= 8;
        const std::vector<Colour> palette = c.spec.palette;
        if (paletted) c.spec.pixel = [&palette](int x, int y) { return static_cast<std::uint32_t>((x + 3 * y) % palette.size()); };
        else c.spec.pixel = TrueColour;
        const std::string path = folder.Write("PICTURE.BMP", Bytes(MakeBmp(c.spec)));

        fw::Bitmap bitmap;
        fw::Palette colours;
        CMainFrame loader;
        ASSERT_TRUE(loader.LoadDibFile(path.c_str(), bitmap, &colours)) << c.name;
        SIZE size = wine_test::BitmapSize(bitmap.Get());
        EXPECT_EQ(size.cx, 9) << c.name;
        EXPECT_EQ(size.cy, 5) << c.name;
        WORD entries = 0;
        if (colours) ::GetObjectA(colours.Get(), sizeof entries, &entries);
        EXPECT_EQ(entries, paletted ? palette.size() : 0u) << c.name;

        std::vector<Pixel> pixels = ReadPixels(bitmap.Get(), 9, 5);
        ASSERT_EQ(pixels.size(), 45u) << c.name;
        int wrong = 0;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x) {
                Pixel expected = paletted ? ToPixel(palette[static_cast<size_t>(c.spec.pixel(x, y))]) : TrueColour(x, y);
                if (pixels[static_cast<size_t>(y) * 9 + x] != expected) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << c.name;
    }
}

TEST_F(BitmapsTest, RefusesBrokenFilesWithoutLeaking) {
    BmpSpec cut{9, 5, 24, 40, 0, {}};
    cut.cutBits = 3;
    std::vector<std::uint8_t> wrongType = MakeBmp(BmpSpec{});
    wrongType[0] = 'M';
    wrongType[1] = 'B';
    const std::string files[] = {Bytes(MakeBmp(cut)), Bytes(wrongType), "", "BM", std::string(14, 'B')};
    const long before = fw::LiveGdiObjects();
    for (const std::string& bytes : files) {
        const std::string path = folder.Write("BROKEN.BMP", bytes);
        fw::Bitmap bitmap;
        fw::Palette palette;
        CMainFrame loader;
        EXPECT_FALSE(loader.LoadDibFile(path.c_str(), bitmap, &palette)) << bytes.size();
        EXPECT_FALSE(bitmap);
        EXPECT_FALSE(palette);
    }
    CMainFrame loader;
    fw::Bitmap bitmap;
    EXPECT_FALSE(loader.LoadDibFile((folder.Path() + "MISSING.BMP").c_str(), bitmap, nullptr));
    EXPECT_EQ(fw::LiveGdiObjects(), before);
}

TEST_F(BitmapsTest, BackgroundPictureStretchedOverTheScreen) {
    BmpSpec quarters{2, 2, 8, 40, 4, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}}};
    quarters.pixel = [](int x, int y) { return static_cast<std::uint32_t>(x + 2 * y); };
    folder.Write("PICTURE.BMP", Bytes(MakeBmp(quarters)));
    ASSERT_TRUE(CreateFrame("PICTURE.BMP"));
    EXPECT_NE(frame->BackgroundPalette(), nullptr) << "the picture's palette is kept for painting";
    std::vector<Pixel> pixels = Background();
    EXPECT_EQ(At(pixels, 100, 100), 0xFF0000u);
    EXPECT_EQ(At(pixels, 900, 100), 0x00FF00u);
    EXPECT_EQ(At(pixels, 100, 700), 0x0000FFu);
    EXPECT_EQ(At(pixels, 900, 700), 0xFFFF00u);
    EXPECT_EQ(ReadPixels(frame->CleanBackgroundBitmap(), 1024, 768), pixels);
}

TEST_F(BitmapsTest, BrokenBackgroundFallsBackToTheGradient) {
    folder.Write("PICTURE.BMP", "BM not a picture at all");
    ASSERT_TRUE(CreateFrame("PICTURE.BMP"));
    EXPECT_EQ(frame->BackgroundPalette(), nullptr);
    std::vector<Pixel> pixels = Background();
    EXPECT_EQ(At(pixels, 0, 0), 0x0000FFu);
    EXPECT_EQ(At(pixels, 1023, 767), 0x000002u);
}

std::string SolidPicture(int width, int height, std::uint32_t rgb) {
    BmpSpec spec{width, height, 24, 40, 0, {}};
    spec.pixel = [rgb](int, int) { return rgb; };
    return Bytes(MakeBmp(spec));
}

TEST_F(BitmapsTest, BillboardsInTheCorners) {
    ASSERT_TRUE(CreateFrame());
    const std::vector<Pixel> clean = Background();
    struct Case {
        int position;
        int left, top;  // where a 200 x 150 picture lands on a 1024 x 768 client area
    };
    for (Case c : {Case{1, 30, 20}, Case{2, 794, 20}, Case{3, 30, 598}, Case{4, 794, 598}}) {
        folder.Write("SLIDE.BMP", SolidPicture(200, 150, 0xFF8000));
        frame->ShowBillboard(c.position, folder.Path().c_str(), "SLIDE.BMP");
        std::vector<Pixel> pixels = Background();
        EXPECT_EQ(At(pixels, c.left, c.top), 0xFF8000u) << c.position;
        EXPECT_EQ(At(pixels, c.left + 199, c.top + 149), 0xFF8000u) << c.position;
        EXPECT_EQ(At(pixels, c.left - 1, c.top), At(clean, c.left - 1, c.top)) << c.position;
        EXPECT_EQ(At(pixels, c.left + 200, c.top + 149), At(clean, c.left + 200, c.top + 149)) << c.position;
        EXPECT_FALSE(Exists("SLIDE.BMP")) << "shown billboards are deleted";
    }
}

TEST_F(BitmapsTest, FullScreenBillboardThenACornerOneOnTheCleanBackground) {
    ASSERT_TRUE(CreateFrame());
    const std::vector<Pixel> clean = Background();
    folder.Write("FULL.BMP", SolidPicture(4, 3, 0x00FF00));
    frame->ShowBillboard(0, folder.Path().c_str(), "FULL.BMP");
    std::vector<Pixel> pixels = Background();
    EXPECT_EQ(At(pixels, 0, 0), 0x00FF00u);
    EXPECT_EQ(At(pixels, 1023, 767), 0x00FF00u);

    folder.Write("CORNER.BMP", SolidPicture(10, 10, 0xFF0000));
    frame->ShowBillboard(1, folder.Path().c_str(), "CORNER.BMP");
    pixels = Background();
    EXPECT_EQ(At(pixels, 30, 20), 0xFF0000u);
    EXPECT_EQ(At(pixels, 500, 500), At(clean, 500, 500)) << "the full-screen picture is gone";

    frame->RemoveBillboard();
    EXPECT_EQ(Background(), clean);
}

TEST_F(BitmapsTest, UnreadableBillboardIsSkippedAndKept) {
    ASSERT_TRUE(CreateFrame());
    const std::vector<Pixel> before = Background();
    folder.Write("SLIDE.BMP", "not a picture");
    for (int position : {0, 3}) {
        frame->ShowBillboard(position, folder.Path().c_str(), "SLIDE.BMP");
        EXPECT_TRUE(Exists("SLIDE.BMP")) << position;
        EXPECT_EQ(Background(), before) << position;
    }
    frame->ShowBillboard(2, folder.Path().c_str(), "MISSING.BMP");
    EXPECT_EQ(Background(), before);
}

TEST_F(BitmapsTest, AThousandBillboardsLeaveNoGdiObjectBehind) {
    ASSERT_TRUE(CreateFrame());
    const std::string picture = SolidPicture(16, 16, 0x123456);
    const long before = fw::LiveGdiObjects();
    for (int i = 0; i < 1000; ++i) {
        folder.Write("SLIDE.BMP", picture);
        frame->ShowBillboard(i % 5, folder.Path().c_str(), "SLIDE.BMP");
        if (i % 7 == 0) frame->RemoveBillboard();
    }
    EXPECT_EQ(fw::LiveGdiObjects(), before);
    EXPECT_FALSE(Exists("SLIDE.BMP"));
}

}  // namespace
