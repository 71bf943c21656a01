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
