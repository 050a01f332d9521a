#include "ui/billboard.h"
#include "ui/dib.h"

#include "bmp_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setup {
namespace {

using testing_bmp::BmpSpec;
using testing_bmp::MakeBmp;
using testing_bmp::TestPalette;

std::optional<DibInfo> Parse(const std::vector<std::uint8_t>& file) {
    EXPECT_TRUE(IsBitmapFileHeader(file.data(), file.size()));
    return ParseDib(file.data() + kBitmapFileHeaderSize, file.size() - kBitmapFileHeaderSize);
}

struct GoodCase {
    const char* name;
    BmpSpec spec;
    std::size_t colours;
    std::size_t bitsOffset;  // in the block after the file header
};

TEST(DibReader, ReadsEveryHeaderKindAndBitCount) {
    const GoodCase cases[] = {
        {"1 bit", {5, 3, 1, 40, 0, TestPalette(2)}, 2, 40 + 8},
        {"4 bits", {5, 3, 4, 40, 0, TestPalette(16)}, 16, 40 + 64},
        {"8 bits", {5, 3, 8, 40, 0, TestPalette(256)}, 256, 40 + 1024},
        {"8 bits, 16 colours used", {5, 3, 8, 40, 16, TestPalette(16)}, 16, 40 + 64},
        {"16 bits", {5, 3, 16, 40, 0, {}}, 0, 40},
        {"24 bits", {5, 3, 24, 40, 0, {}}, 0, 40},
        {"24 bits with colours used", {5, 3, 24, 40, 4, TestPalette(4)}, 4, 40 + 16},
        {"32 bits, top-down", {5, -3, 32, 40, 0, {}}, 0, 40},
        {"core 1 bit", {5, 3, 1, 12, 0, TestPalette(2)}, 2, 12 + 6},
        {"core 8 bits", {5, 3, 8, 12, 0, TestPalette(256)}, 256, 12 + 768},
        {"core 24 bits", {5, 3, 24, 12, 0, {}}, 0, 12},
        {"108-byte header", {5, 3, 4, 108, 0, TestPalette(16)}, 16, 108 + 64},
        {"124-byte header", {5, 3, 24, 124, 0, {}}, 0, 124},
    };
    for (const GoodCase& c : cases) {
        std::optional<DibInfo> info = Parse(MakeBmp(c.spec));
        ASSERT_TRUE(info) << c.name;
        EXPECT_EQ(info->colours.size(), c.colours) << c.name;
        EXPECT_EQ(info->bitsOffset, c.bitsOffset) << c.name;
        EXPECT_EQ(info->PictureSize().cx, 5) << c.name;
        EXPECT_EQ(info->PictureSize().cy, 3) << c.name;
        EXPECT_EQ(info->coreHeader, c.spec.headerSize == 12) << c.name;
    }
}

TEST(DibReader, ColourTableAndBitsRightAfterIt) {
    BmpSpec spec{2, 2, 4, 40, 16, TestPalette(16)};
    spec.gap = 24;  // the file's own bits offset points past the gap; it plays no part
    std::optional<DibInfo> info = Parse(MakeBmp(spec));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->bitsOffset, 40u + 64u);
    EXPECT_EQ(info->colours[15].red, 255);
    EXPECT_EQ(info->colours[15].green, 0);
    EXPECT_EQ(info->colours[0].green, 255);
    EXPECT_EQ(info->bitsSize, 2u * 4u);
}

TEST(DibReader, RefusesWhatItCannotShowInFull) {
    struct BadCase {
        const char* name;
        BmpSpec spec;
    };
    BmpSpec cut{7, 5, 24, 40, 0, {}};
    cut.cutBits = 1;
    BmpSpec cutCore{7, 5, 8, 12, 0, TestPalette(256)};
    cutCore.cutBits = 1;
    const BadCase cases[] = {
        {"bits one byte short", cut},
        {"core bits one byte short", cutCore},
        {"width 0", {0, 5, 24, 40, 0, {}}},
        {"height 0", {5, 0, 24, 40, 0, {}}},
        {"width beyond 32767", {32768, 1, 1, 40, 0, TestPalette(2)}},
        {"bit count 7", {5, 5, 7, 40, 0, {}}},
        {"bit count 2", {5, 5, 2, 40, 4, TestPalette(4)}},
        {"17 colours for 4 bits", {5, 5, 4, 40, 17, TestPalette(17)}},
        {"300 colours for 24 bits", {5, 5, 24, 40, 300, TestPalette(300)}},
        {"colour table cut", {5, 5, 8, 40, 0, TestPalette(100)}},
        {"header shorter than a core header", {5, 5, 24, 8, 0, {}}},
    };
    for (const BadCase& c : cases) {
        std::vector<std::uint8_t> file = MakeBmp(c.spec);
        EXPECT_FALSE(ParseDib(file.data() + 14, file.size() - 14)) << c.name;
    }
    std::vector<std::uint8_t> longHeader = MakeBmp(BmpSpec{5, 5, 24, 40, 0, {}});
    longHeader[14] = 0xA0;  // header size 4000: more than the file holds
    longHeader[15] = 0x0F;
    EXPECT_FALSE(ParseDib(longHeader.data() + 14, longHeader.size() - 14)) << "header longer than the file";
    EXPECT_FALSE(ParseDib(nullptr, 100));
    const std::uint8_t tiny[3] = {40, 0, 0};
    EXPECT_FALSE(ParseDib(tiny, sizeof tiny));
}

TEST(DibReader, CompressionKinds) {
    std::vector<std::uint8_t> file = MakeBmp(BmpSpec{4, 2, 8, 40, 0, TestPalette(256)});
    auto compress = [&file](std::uint32_t kind, std::uint32_t imageSize) {
        std::vector<std::uint8_t> changed = file;
        for (int i = 0; i < 4; ++i) {
            changed[14 + 16 + i] = static_cast<std::uint8_t>(kind >> (8 * i));
            changed[14 + 20 + i] = static_cast<std::uint8_t>(imageSize >> (8 * i));
        }
        return ParseDib(changed.data() + 14, changed.size() - 14);
    };
    ASSERT_TRUE(compress(dib::kRle8, 8));
    EXPECT_EQ(compress(dib::kRle8, 8)->bitsSize, 8u);
    EXPECT_FALSE(compress(dib::kRle8, 0)) << "run-length data needs its size";
    EXPECT_FALSE(compress(dib::kRle8, 9)) << "more than the file holds";
    EXPECT_FALSE(compress(dib::kRle4, 8)) << "4-bit runs in an 8-bit picture";
    EXPECT_FALSE(compress(dib::kBitFields, 0)) << "bit fields in an 8-bit picture";
    EXPECT_FALSE(compress(9, 0));
}

TEST(DibReader, FileType) {
    std::vector<std::uint8_t> file = MakeBmp(BmpSpec{});
    EXPECT_TRUE(IsBitmapFileHeader(file.data(), file.size()));
    for (const char* type : {"MB", "BA", "bm"}) {
        file[0] = static_cast<std::uint8_t>(type[0]);
        file[1] = static_cast<std::uint8_t>(type[1]);
        EXPECT_FALSE(IsBitmapFileHeader(file.data(), file.size())) << type;
    }
    EXPECT_FALSE(IsBitmapFileHeader(reinterpret_cast<const std::uint8_t*>("BM"), 2));
}

TEST(Billboards, Corners) {
    const Rect client{0, 0, 640, 480};
    const Size picture{200, 150};
    struct Case {
        int position;
        Rect expected;
    };
    for (Case c : {Case{1, {30, 20, 230, 170}}, Case{2, {410, 20, 610, 170}}, Case{3, {30, 310, 230, 460}},
                   Case{4, {410, 310, 610, 460}}}) {
        EXPECT_EQ(BillboardRect(c.position, client, picture), std::optional<Rect>(c.expected)) << c.position;
    }
    for (int position : {0, 5, -1}) EXPECT_FALSE(BillboardRect(position, client, picture)) << position;
}

TEST(Billboards, Paths) {
    EXPECT_EQ(BillboardPath("C:\\APP", "SLIDE1.BMP"), "C:\\APP\\SLIDE1.BMP");
    EXPECT_EQ(BillboardPath("C:\\APP\\", "SLIDE1.BMP"), "C:\\APP\\SLIDE1.BMP");
    EXPECT_EQ(BillboardPath("", "SLIDE1.BMP"), "SLIDE1.BMP");
    EXPECT_EQ(BillboardPath(nullptr, "SLIDE1.BMP"), "SLIDE1.BMP");
    EXPECT_EQ(BillboardPath(std::string(250, 'd').c_str(), "SLIDE1.BMP"), "");
    EXPECT_EQ(BillboardPath(std::string(245, 'd').c_str(), "SLIDE1.BMP"), "") << "256 characters";
    EXPECT_EQ(BillboardPath(std::string(244, 'd').c_str(), "SLIDE1.BMP").size(), 255u);
}

}  // namespace
}  // namespace setup
