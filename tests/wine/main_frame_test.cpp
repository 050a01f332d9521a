#include "app/main_frame.h"
#include "app/setup_app.h"
#include "gdi_helpers.h"
#include "temp_files.h"
#include "ui/background.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using wine_test::DrainQueue;
using wine_test::Pixel;
using wine_test::PumpUntilQuit;
using wine_test::ReadPixels;

Pixel ToPixel(const setup::Rgb& colour) {
    return (static_cast<Pixel>(colour.red) << 16) | (static_cast<Pixel>(colour.green) << 8) | colour.blue;
}

// What the gradient alone puts on each row for the default [Background] keys.
std::vector<Pixel> RowColours(int height) {
    std::vector<setup::GradientBand> bands = setup::GradientBands(setup::GradientSettings{}, height);
    std::vector<Pixel> rows;
    for (int y = 0; y < height; ++y) rows.push_back(ToPixel(bands[static_cast<size_t>(y / setup::kBandHeight)].colour));
    return rows;
}

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override { app.SetInstance(::GetModuleHandleA(nullptr)); }
    void TearDown() override {
        frame.reset();
        DrainQueue();
    }

    void UseScript(const std::string& text) { app.m_scriptPath = folder.Write("SETUP.INF", text); }

    bool CreateFrame() {
        frame = std::make_unique<CMainFrame>();
        return frame->Create(nullptr, "Main Frame Test", WS_POPUP | WS_SYSMENU, RECT{0, 0, 1, 1}, nullptr,
                             nullptr, 0);
    }

    CSetupApp app;
    TempFolder folder;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(MainFrameTest, LoadScriptResults) {
    struct Case {
        const char* name;
        const char* bytes;  // null: no file
        int result;
        int lines;
    };
    const Case cases[] = {
        {"missing", nullptr, 2, 0},
        {"empty", "", 2, 0},
        {"one byte", "x", 0, 1},
        {"two lines and the empty last", "[A]\r\nk=v\r\n", 0, 3},
    };
    for (const Case& c : cases) {
        app.m_scriptPath = folder.Path() + c.name + ".INF";
        if (c.bytes) folder.Write(std::string(c.name) + ".INF", c.bytes);
        CMainFrame loader;
        EXPECT_EQ(loader.LoadScript(), c.result) << c.name;
        EXPECT_EQ(loader.LineCount(), c.lines) << c.name;
    }
}

TEST_F(MainFrameTest, NoScriptNoWindow) {
    app.m_scriptPath = folder.Path() + "MISSING.INF";
    EXPECT_FALSE(CreateFrame());
    EXPECT_EQ(frame->Handle(), nullptr);
    EXPECT_EQ(frame->BackgroundBitmap(), nullptr);
}

TEST_F(MainFrameTest, CoversTheScreenWithTheGradient) {
    UseScript("[Initiation]\r\nInstall Name=Gradient\r\n");
    ASSERT_TRUE(CreateFrame());
    const int width = frame->ScreenWidth();
    const int height = frame->ScreenHeight();
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);

    RECT rect{};
    ::GetWindowRect(frame->Handle(), &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, width);
    EXPECT_EQ(rect.bottom, height);
    LONG style = ::GetWindowLongA(frame->Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_SYSMENU | WS_VISIBLE), WS_POPUP | WS_SYSMENU | WS_VISIBLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
    EXPECT_EQ(::GetWindowLongA(frame->Handle(), GWL_EXSTYLE), 0);

    std::vector<Pixel> pixels = ReadPixels(frame->BackgroundBitmap(), width, height);
    std::vector<Pixel> rows = RowColours(height);
    EXPECT_EQ(rows.front(), 0x0000FFu);
    EXPECT_EQ(rows[767], 0x000002u);  // band 95 of 96 full bands; band 96 starts below the screen
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (pixels[static_cast<size_t>(y) * width + x] != rows[static_cast<size_t>(y)]) ++wrong;
    EXPECT_EQ(wrong, 0) << "pixels that are not their band's colour";

    EXPECT_EQ(ReadPixels(frame->CleanBackgroundBitmap(), width, height), pixels);
}

// The extent of a title in the title font, measured as the frame measures it.
SIZE MeasureTitle(const std::string& title, bool italic, int width, int height) {
    setup::Size letter = setup::TitleFontSize(width, height);
    HFONT font = ::CreateFontA(letter.cy, letter.cx, 0, 0, FW_BOLD, italic, 0, 0, 0, 0, 0, 1, 18, "Times");
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, title.c_str(), static_cast<int>(title.size()), &extent);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(font);
    return extent;
}

struct Box {
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;  // right, bottom inclusive
    int count = 0;
    void Add(int x, int y) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
        ++count;
    }
};

struct TitleCase {
    const char* name;
    const char* keys;
    const char* title;
    bool italic;
    POINT place;  // top left of the title's rectangle
};

TEST_F(MainFrameTest, TitlesAreWhiteWithABlackShadow) {
    const TitleCase cases[] = {
        {"company", "Product Company=Varnel\r\n", "Varnel", false, {34, 24}},
        {"name beside an empty company", "Product Name=Acme\r\n", "Acme", true, {72, 24}},
        {"name too wide goes below", "Product Name=Acme Tools for Everybody\r\n", "Acme Tools for Everybody",
         true, {34, 52}},
    };
    for (const TitleCase& c : cases) {
        UseScript(std::string("[Initiation]\r\nInstall Name=T\r\n[Background]\r\n") + c.keys);
        ASSERT_TRUE(CreateFrame()) << c.name;
        const int width = frame->ScreenWidth();
        const int height = frame->ScreenHeight();
        SIZE extent = MeasureTitle(c.title, c.italic, width, height);
        RECT rect{c.place.x, c.place.y, c.place.x + extent.cx + 4, c.place.y + extent.cy + 4};

        std::vector<Pixel> pixels = ReadPixels(frame->BackgroundBitmap(), width, height);
        std::vector<Pixel> rows = RowColours(height);
        Box white, black, outside;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                Pixel pixel = pixels[static_cast<size_t>(y) * width + x];
                if (pixel == rows[static_cast<size_t>(y)]) continue;
                // Title pixels lie in the rectangle or in its copy 4 pixels up and left.
                if (x < rect.left - 4 || x >= rect.right || y < rect.top - 4 || y >= rect.bottom) outside.Add(x, y);
                if (pixel == 0xFFFFFF) white.Add(x, y);
                if (pixel == 0x000000) black.Add(x, y);
            }
        }
        EXPECT_EQ(outside.count, 0) << c.name << ": title pixels outside the title's rectangle";
        EXPECT_GT(white.count, 100) << c.name;
        EXPECT_GT(black.count, 100) << c.name;
        // The shadow shows below and right of the white text, 4 pixels further.
        EXPECT_EQ(black.right, white.right + 4) << c.name;
        EXPECT_EQ(black.bottom, white.bottom + 4) << c.name;
        // Centred in the rectangle (the white copy is 4 up and left of it).
        EXPECT_NEAR((white.left + white.right + 1) / 2.0 + 4, (rect.left + rect.right) / 2.0, extent.cx / 4.0)
            << c.name;
        frame.reset();
        DrainQueue();
    }
}

TEST_F(MainFrameTest, FirstTickRunsTheInstallationAndEndsWith18) {
    // No product named: the installation ends at once, without a message.
    UseScript("[Initiation]\r\nSet DefDir=1\r\n");
    DWORD start = ::GetTickCount();
    ASSERT_TRUE(CreateFrame());
    HWND hwnd = frame->Handle();
    HBITMAP background = frame->BackgroundBitmap();
    ASSERT_NE(background, nullptr);

    EXPECT_EQ(PumpUntilQuit(60000), CMainFrame::kExitCode);
    EXPECT_GE(::GetTickCount() - start, 450u) << "the installation starts on the 500 ms tick";
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(::GetObjectType(background), 0u) << "the background bitmap was released";
    EXPECT_EQ(frame->BackgroundBitmap(), nullptr);
    EXPECT_EQ(frame->LineCount(), 0);
}

TEST_F(MainFrameTest, OtherTimersOnlyGetDefaultProcessing) {
    UseScript("[Initiation]\r\nInstall Name=Timers\r\n");
    ASSERT_TRUE(CreateFrame());
    ::SendMessageA(frame->Handle(), WM_TIMER, 5, 0);
    EXPECT_TRUE(::IsWindow(frame->Handle()));
    MSG message;
    EXPECT_FALSE(::PeekMessageA(&message, frame->Handle(), WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
    EXPECT_EQ(frame->LineCount(), 3);  // the script is still there: nothing ran
}

}  // namespace
