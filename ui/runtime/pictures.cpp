#include "runtime/pictures.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <stdexcept>

namespace clearmark::runtime {
namespace {

std::map<std::string, std::vector<PixelImage>, std::less<>>& registered() {
    static std::map<std::string, std::vector<PixelImage>, std::less<>> pictures;
    return pictures;
}

[[noreturn]] void unreadable(const std::string& what) {
    throw std::invalid_argument("XPM image: " + what);
}

// "#RRGGBB" or "None" after the "c" key of a colour line.
std::uint32_t colourOf(const std::string& line, std::size_t from) {
    std::istringstream fields(line.substr(from));
    std::string key;
    std::string value;
    while (fields >> key)
        if (key == "c" && (fields >> value))
            break;
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
    std::istringstream header(xpm[0]);
    int width = 0;
    int height = 0;
    int colours = 0;
    int perPixel = 0;
    if (!(header >> width >> height >> colours >> perPixel) || width <= 0 || height <= 0 ||
        colours <= 0 || perPixel <= 0 || perPixel > 4)
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
