// The pictures the program registers: XPM read into pixels, and the size an implementation
// is given for the size it asks for.
#include "runtime/pictures.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace clearmark::runtime {
namespace {

constexpr const char* const kTwoByTwo[] = {"2 2 3 1",     "  c None", "r c #FF0000",
                                           "b c #0000ff", "r ",       " b"};
constexpr const char* const kOneByOne[] = {"1 1 1 2", "ab c #123456", "ab"};

TEST(Pictures, ReadsColoursTransparencyAndSeveralCharactersPerPixel) {
    EXPECT_EQ(readXpm(kTwoByTwo),
              (PixelImage{2, 2, {0xFFFF0000U, 0x00000000U, 0x00000000U, 0xFF0000FFU}}));
    EXPECT_EQ(readXpm(kOneByOne), (PixelImage{1, 1, {0xFF123456U}}));

    const struct {
        const char* what;
        std::vector<const char*> lines;
    } bad[] = {
        {"no header", {nullptr}},
        {"header without sizes", {"two by two", nullptr}},
        {"colour without a value", {"1 1 1 1", "r c", "r", nullptr}},
        {"named colour", {"1 1 1 1", "r c red", "r", nullptr}},
        {"row too short", {"2 1 1 1", "r c #FF0000", "r", nullptr}},
        {"pixel of no colour", {"1 1 1 1", "r c #FF0000", "x", nullptr}},
        {"rows missing", {"1 2 1 1", "r c #FF0000", "r", nullptr}},
    };
    for (const auto& c : bad)
        EXPECT_THROW(readXpm(c.lines.data()), std::invalid_argument) << c.what;
}

TEST(Pictures, ReadsTheHeaderAndTheColourLinesWordByWord) {
    // clang-format off
    const struct {
        const char* what;
        std::vector<const char*> lines;
        std::uint32_t pixel; // 0 when the image is refused
    } cases[] = {
        {"tabs and runs of spaces",   {" 1\t1  1 \t1 ", "r\tc\t#00FF00 ", "r"},         0xFF00FF00U},
        {"a plus sign",               {"+1 1 1 1", "r c #00FF00", "r"},                 0xFF00FF00U},
        {"a hot spot after the four", {"1 1 1 1 0 0", "r c #00FF00", "r"},              0xFF00FF00U},
        {"other keys before c",       {"1 1 1 1", "r s edge m #FFFFFF c #00FF00", "r"}, 0xFF00FF00U},
        {"c as another key's value",  {"1 1 1 1", "r s c c #00FF00", "r"},              0},
        {"three numbers",             {"1 1 1", "r c #00FF00", "r"},                    0},
        {"numbers run together",      {"1 1 1,1", "r c #00FF00", "r"},                  0},
        {"two signs",                 {"+-1 1 1 1", "r c #00FF00", "r"},                0},
        {"a sign alone",              {"1 + 1 1 1", "r c #00FF00", "r"},                0},
        {"beyond an int",             {"4294967297 1 1 1", "r c #00FF00", "r"},         0},
        {"no pixels",                 {"0 1 1 1", "r c #00FF00", "r"},                  0},
        {"five characters a pixel",   {"1 1 1 5", "abcde c #00FF00", "abcde"},          0},
        {"a key with no c",           {"1 1 1 1", "r m #00FF00", "r"},                  0},
    };
    // clang-format on
    for (const auto& c : cases) {
        if (c.pixel == 0) {
            EXPECT_THROW(readXpm(c.lines.data()), std::invalid_argument) << c.what;
            continue;
        }
        EXPECT_EQ(readXpm(c.lines.data()), (PixelImage{1, 1, {c.pixel}})) << c.what;
    }
}

TEST(Pictures, GivesTheSmallestImageThatIsLargeEnough) {
    constexpr const char* const kFour[] = {"4 4 1 1", "k c #000000", "kkkk",
                                           "kkkk",    "kkkk",        "kkkk"};
    registerPicture("test", {kFour, kOneByOne, kTwoByTwo});
    ASSERT_EQ(pictureImages("test").size(), 3u);
    const struct {
        int asked;
        int given;
    } sizes[] = {{1, 1}, {2, 2}, {3, 4}, {4, 4}, {48, 4}};
    for (const auto& [asked, given] : sizes)
        EXPECT_EQ(pictureImage("test", asked)->width, given) << asked;
    EXPECT_TRUE(pictureImages("not registered").empty());
    EXPECT_EQ(pictureImage("not registered", 16), nullptr);
}

} // namespace
} // namespace clearmark::runtime
