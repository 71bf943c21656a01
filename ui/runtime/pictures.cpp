#include "runtime/pictures.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string_view>

namespace clearmark::runtime {
namespace {

std::map<std::string, std::vector<PixelImage>, std::less<>>& registered() {
    static std::map<std::string, std::vector<PixelImage>, std::less<>> pictures;
    return pictures;
}

[[noreturn]] void unreadable(const std::string& what) {
    throw std::invalid_argument("XPM image: " + what);
}

// White space as the C locale has it: space, tab, line feed, vertical tab, form feed,
// carriage return.
constexpr std::string_view kSpace = " \t\n\v\f\r";

// The words of a line: the runs of characters that are not white space.
std::vector<std::string_view> wordsOf(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::size_t start = text.find_first_not_of(kSpace); start != std::string_view::npos;) {
        const std::size_t end = std::min(text.find_first_of(kSpace, start), text.size());
        words.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(kSpace, end);
    }
    return words;
}

// A decimal int at the start of the text: white space skipped, an optional sign, at least
// one digit, within an int's range. Leaves the text after it.
bool readInt(std::string_view& text, int& value) {
    const std::size_t start = text.find_first_not_of(kSpace);
    if (start == std::string_view::npos)
        return false;
    const char* first = text.data() + start;
    const char* const last = text.data() + text.size();
    if (*first == '+' && last - first > 1 && first[1] != '-')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc())
        return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

// "#RRGGBB" or "None" after the "c" key of a colour line.
std::uint32_t colourOf(const std::string& line, std::size_t from) {
    const std::vector<std::string_view> words = wordsOf(std::string_view(line).substr(from));
    std::string value;
    for (std::size_t i = 0; i < words.size(); ++i)
        if (words[i] == "c") {
            if (i + 1 < words.size())
                value = words[i + 1];
            break;
        }
    if (value == "None")
        return 0;
    if (value.size() != 7 || value[0] != '#')
        unreadable("colour line \"" + line + "\"");
    char* end = nullptr;
    const unsigned long rgb = std::strtoul(value.c_str() + 1, &end, 16);
    if (*end != '\0')
        unreadable("colour line \"" + line + "\"");
    return 0xFF000000U | static_cast<std::uint32_t>(rgb);
}

} // namespace

PixelImage readXpm(XpmImage xpm) {
    if (xpm == nullptr || xpm[0] == nullptr)
        unreadable("no header");
    std::string_view header = xpm[0];
    int width = 0;
    int height = 0;
    int colours = 0;
    int perPixel = 0;
    if (!readInt(header, width) || !readInt(header, height) || !readInt(header, colours) ||
        !readInt(header, perPixel) || width <= 0 || height <= 0 || colours <= 0 || perPixel <= 0 ||
        perPixel > 4)
        unreadable(std::string("header \"") + xpm[0] + "\"");
    std::map<std::string, std::uint32_t> palette;
    for (int i = 1; i <= colours; ++i) {
        if (xpm[i] == nullptr)
            unreadable("too few colours");
        const std::string line = xpm[i];
        if (line.size() <= static_cast<std::size_t>(perPixel))
            unreadable("colour line \"" + line + "\"");
        palette[line.substr(0, static_cast<std::size_t>(perPixel))] =
            colourOf(line, static_cast<std::size_t>(perPixel));
    }
    PixelImage image{width, height, {}};
    const auto columns = static_cast<std::size_t>(width);
    const auto each = static_cast<std::size_t>(perPixel);
    image.argb.reserve(columns * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const char* row = xpm[1 + colours + y];
        if (row == nullptr || std::string_view(row).size() != columns * each)
            unreadable("row " + std::to_string(y + 1) + " of the wrong length");
        for (std::size_t x = 0; x < columns; ++x) {
            const auto colour = palette.find(std::string(row + x * each, each));
            if (colour == palette.end())
                unreadable("row " + std::to_string(y + 1) + " has a colour not in the list");
            image.argb.push_back(colour->second);
        }
    }
    return image;
}

void registerPicture(std::string_view name, const std::vector<XpmImage>& sizes) {
    std::vector<PixelImage> images;
    images.reserve(sizes.size());
    for (const XpmImage xpm : sizes)
        images.push_back(readXpm(xpm));
    registered()[std::string(name)] = std::move(images);
}

const std::vector<PixelImage>& pictureImages(std::string_view name) {
    static const std::vector<PixelImage> none;
    const auto it = registered().find(name);
    return it == registered().end() ? none : it->second;
}

const PixelImage* pictureImage(std::string_view name, int size) {
    // The smallest that is at least the size asked for; else the largest there is.
    const PixelImage* smallestLarger = nullptr;
    const PixelImage* largest = nullptr;
    for (const PixelImage& image : pictureImages(name)) {
        if (image.width >= size &&
            (smallestLarger == nullptr || image.width < smallestLarger->width))
            smallestLarger = &image;
        if (largest == nullptr || image.width > largest->width)
            largest = &image;
    }
    return smallestLarger != nullptr ? smallestLarger : largest;
}

} // namespace clearmark::runtime
