#include "runtime/qt/icons.h"

#include <QPixmap>

// Drawn by scripts/make-icons.py.
#include "icons/about-16.xpm"
#include "icons/about-32.xpm"
#include "icons/clearmark-16.xpm"
#include "icons/clearmark-32.xpm"

namespace clearmark::runtime::qt {
namespace {

QIcon fromImages(const char* const* large, const char* const* small) {
    QIcon icon;
    icon.addPixmap(QPixmap(large));
    icon.addPixmap(QPixmap(small));
    return icon;
}

} // namespace

QIcon icon(Icon which) {
    static const QIcon application = fromImages(clearmark_32_xpm, clearmark_16_xpm);
    static const QIcon about = fromImages(about_32_xpm, about_16_xpm);
    return which == Icon::AboutPicture ? about : application;
}

} // namespace clearmark::runtime::qt
