// The program's pictures as Win32 icons, made from the pixels the program registered.
#include "runtime/win32/win32.h"

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace clearmark::runtime::win32 {
namespace {

// The image at the icon's size: its own pixels where it has that size, else each pixel
// taken from the nearest one of the image, which keeps a small picture's edges sharp.
HICON makeIcon(const PixelImage& image, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (color == nullptr)
        return nullptr;
    const auto side = static_cast<std::size_t>(size);
    // The AND mask: a set bit lets the background through. Rows are whole 16-bit words.
    const std::size_t maskStride = (side + 15) / 16 * 2;
    std::vector<BYTE> mask(maskStride * side);
    const auto width = static_cast<std::size_t>(image.width);
    const auto height = static_cast<std::size_t>(image.height);
    auto* pixels = static_cast<std::uint32_t*>(bits); // 0xAARRGGBB is BGRA in memory
    for (std::size_t y = 0; y < side; ++y)
        for (std::size_t x = 0; x < side; ++x) {
            const std::uint32_t argb = image.argb[y * height / side * width + x * width / side];
            pixels[y * side + x] = argb;
            if ((argb >> 24) == 0)
                mask[y * maskStride + x / 8] |= static_cast<BYTE>(0x80U >> (x % 8));
        }
    HBITMAP andMask = CreateBitmap(size, size, 1, 1, mask.data());
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmMask = andMask;
    icon.hbmColor = color;
    HICON made = CreateIconIndirect(&icon);
    DeleteObject(andMask);
    DeleteObject(color);
    return made;
}

} // namespace

HICON pictureIcon(std::string_view name, int size) {
    static std::map<std::pair<std::string, int>, HICON> icons;
    HICON& made = icons[{std::string(name), size}];
    if (made == nullptr)
        if (const PixelImage* image = pictureImage(name, size);
            image != nullptr && size > 0 && !image->argb.empty())
            made = makeIcon(*image, size);
    return made;
}

} // namespace clearmark::runtime::win32
