#include "runtime/qt/icons.h"

#include "runtime/pictures.h"

#include <QImage>
#include <QPixmap>
#include <map>
#include <string>

namespace clearmark::runtime::qt {

QIcon pictureIcon(std::string_view name) {
    static std::map<std::string, QIcon, std::less<>> icons;
    if (const auto it = icons.find(name); it != icons.end())
        return it->second;
    QIcon icon;
    for (const PixelImage& image : pictureImages(name)) {
        // 0xAARRGGBB pixels, as QImage keeps them in ARGB32.
        const QImage pixels(reinterpret_cast<const uchar*>(image.argb.data()), image.width,
                            image.height, qsizetype(image.width) * 4, QImage::Format_ARGB32);
        icon.addPixmap(QPixmap::fromImage(pixels.copy()));
    }
    if (!icon.isNull())
        icons.emplace(std::string(name), icon);
    return icon;
}

} // namespace clearmark::runtime::qt
