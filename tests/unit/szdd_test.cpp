#include "szdd.h"
#include "szdd_expand.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>

namespace disks {
namespace {

std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// Lines of words with indentation, as text files have them.
std::vector<std::uint8_t> Text(std::size_t size) {
    static const char* const kWords[] = {"setup", "disk", "file", "the", "window", "copy", "of", "installer", "script"};
    std::mt19937 random(3);
    std::string text;
    while (text.size() < size) {
        text += std::string(random() % 3 * 4, ' ');
        for (int word = 0; word < 8; ++word) text += std::string(kWords[random() % 9]) + (word < 7 ? " " : "\r\n");
    }
    text.resize(size);
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

struct Sample {
    const char* name;
    std::vector<std::uint8_t> bytes;
};

// The files every check of the writer runs on: the edges of the format and of the window.
std::vector<Sample> Samples() {
    return {
        {"empty", {}},
        {"one byte", {'A'}},
        {"two spaces", {' ', ' '}},
        {"all one value", std::vector<std::uint8_t>(100000, 0x5A)},
        {"all spaces", std::vector<std::uint8_t>(9000, ' ')},
        {"random", RandomBytes(70000, 1)},
        {"text of 1 MB", Text(1 << 20)},
        {"just under the window", RandomBytes(kSzddWindow - 1, 2)},
        {"window size", Text(kSzddWindow)},
        {"just over the window", RandomBytes(kSzddWindow + 1, 3)},
        // A repeat exactly one window back: the match's source is the byte it overwrites.
        {"repeat at the window's distance", [] {
             std::vector<std::uint8_t> bytes = RandomBytes(kSzddWindow, 4);
             bytes.insert(bytes.end(), bytes.begin(), bytes.begin() + 100);
             return bytes;
         }()},
    };
}

TEST(SzddWriter, ExpandsBackToEveryInput) {
    for (const Sample& sample : Samples()) {
        const std::vector<std::uint8_t> packed = CompressSzdd(sample.bytes.data(), sample.bytes.size(), 'E');
        const std::optional<testing_szdd::Expanded> expanded = testing_szdd::Expand(packed);
        ASSERT_TRUE(expanded) << sample.name;
        EXPECT_EQ(expanded->lastCharacter, 'E') << sample.name;
        EXPECT_EQ(expanded->declaredSize, sample.bytes.size()) << sample.name;
        EXPECT_TRUE(expanded->bytes == sample.bytes) << sample.name;
    }
}

// The window's first spaces and long repeats are used: the sizes a parse that misses them
// would not reach.
TEST(SzddWriter, CompressesRepeatsAndTheWindowsSpaces) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::size_t atMost;
    } cases[] = {
        // 18 spaces in one match from the window's fill: a flag byte and two bytes.
        {"18 spaces", std::vector<std::uint8_t>(18, ' '), kSzddHeaderSize + 3},
        // 100000 equal bytes: a literal, then matches of 18 (17 bits each).
        {"all one value", std::vector<std::uint8_t>(100000, 0x5A), kSzddHeaderSize + 100000 / 18 * 17 / 8 + 8},
        {"text of 1 MB", Text(1 << 20), (1 << 20) / 3},
    };
    for (const auto& c : cases)
        EXPECT_LE(CompressSzdd(c.bytes.data(), c.bytes.size(), 'X').size(), c.atMost) << c.name;
}

TEST(SzddWriter, RecognisesItsOwnFiles) {
    const std::vector<std::uint8_t> packed = CompressSzdd(nullptr, 0, 0);
    EXPECT_EQ(packed.size(), kSzddHeaderSize);
    EXPECT_TRUE(IsSzdd(packed.data(), packed.size()));
    EXPECT_FALSE(IsSzdd(packed.data(), 7));
    const std::vector<std::uint8_t> plain = {'M', 'Z', 0x90, 0, 3, 0, 0, 0, 4};
    EXPECT_FALSE(IsSzdd(plain.data(), plain.size()));
}

// The signature at its exact length: a file of the eight bytes alone starts like a
// compressed file; seven of them, or one of them changed, do not.
TEST(SzddWriter, TheSignatureAtItsExactLength) {
    const std::vector<std::uint8_t> magic = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
    std::vector<std::uint8_t> first = magic, last = magic;
    first[0] = 's';
    last[7] = 0x34;
    const std::pair<std::vector<std::uint8_t>, bool> cases[] = {
        {magic, true}, {{magic.begin(), magic.end() - 1}, false}, {first, false}, {last, false}};
    for (const auto& [bytes, compressed] : cases)
        EXPECT_EQ(IsSzdd(bytes.data(), bytes.size()), compressed) << bytes.size() << " bytes, " << bytes[0] << bytes.back();
}

// Debian's msexpand, an expander we did not write, gives every file back as well.
TEST(SzddWriter, IndependentExpanderAgrees) {
    if (std::system("command -v msexpand >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "msexpand is not installed (Debian package mscompress; ./run installs it)";
    char folder[] = "/tmp/szdd_test.XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    for (const Sample& sample : Samples()) {
        const std::string packedPath = std::string(folder) + "/in.sz", expandedPath = std::string(folder) + "/out";
        const std::vector<std::uint8_t> packed = CompressSzdd(sample.bytes.data(), sample.bytes.size(), 'E');
        std::ofstream(packedPath, std::ios::binary).write(reinterpret_cast<const char*>(packed.data()),
                                                          static_cast<std::streamsize>(packed.size()));
        const std::string command = "msexpand <" + packedPath + " >" + expandedPath + " 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << sample.name;
        std::ifstream file(expandedPath, std::ios::binary);
        const std::vector<std::uint8_t> expanded((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(expanded == sample.bytes) << sample.name << ": " << expanded.size() << " bytes back of "
                                              << sample.bytes.size();
        std::remove(packedPath.c_str());
        std::remove(expandedPath.c_str());
    }
    rmdir(folder);
}

}  // namespace
}  // namespace disks
