#pragma once

// The program's pictures: window icons and the pictures shown in picture controls. The
// program registers each by name before it makes its first window; the implementations draw
// them from the pixels kept here.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace clearmark::runtime {

// One image in the XPM text format, as an XPM file declares it: a header line "width height
// colours characters-per-pixel", a line per colour ("k c #000000", "  c None"), then the rows.
using XpmImage = const char* const*;

// The name of the picture that every window shows as its icon.
inline constexpr std::string_view kWindowIcon = "window icon";

// Registers the picture: the same image at one or more sizes. A second registration of the
// name replaces the first. Throws std::invalid_argument for an image it cannot read.
void registerPicture(std::string_view name, const std::vector<XpmImage>& sizes);

// An image as pixels: row by row from the top, each 0xAARRGGBB (alpha 0 is transparent).
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;

    friend bool operator==(const PixelImage&, const PixelImage&) = default;
};

// For the implementations: the picture's images in the order registered; none for a name
// that was not registered.
const std::vector<PixelImage>& pictureImages(std::string_view name);

// The image of the size nearest the one asked for, preferring a larger one; null for a
// picture without images.
const PixelImage* pictureImage(std::string_view name, int size);

// Reads one XPM image (the colour key "c" only, as #RRGGBB or None); throws
// std::invalid_argument when the header, a colour or a row is not what it should be.
PixelImage readXpm(XpmImage xpm);

} // namespace clearmark::runtime
