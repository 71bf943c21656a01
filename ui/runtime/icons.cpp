#include "icons.h"

#include <QPixmap>

// Drawn by scripts/make-icons.py.
#include "about-16.xpm"
#include "about-32.xpm"
#include "clearmark-16.xpm"
#include "clearmark-32.xpm"

namespace clearmark::runtime {
namespace {

QIcon fromImages(const char* const* large, const char* const* small) {
    QIcon icon;
    icon.addPixmap(QPixmap(large));
    icon.addPixmap(QPixmap(small));
    return icon;
}

} // namespace

QIcon applicationIcon() {
    static const QIcon icon = fromImages(clearmark_32_xpm, clearmark_16_xpm);
    return icon;
}

QIcon aboutPicture() {
    static const QIcon icon = fromImages(about_32_xpm, about_16_xpm);
    return icon;
}

} // namespace clearmark::runtime
