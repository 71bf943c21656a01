#include "fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <cmath>

namespace clearmark::runtime {
namespace {

constexpr const char* kWineFonts = "/usr/share/wine/fonts/";

struct FontState {
    bool registered = false;
    bool designScalable = false; // MS Sans Serif draws every size and weight
    bool designBitmaps = false;  // MS Sans Serif exists as bitmaps of a few sizes
    QString fallback;
};

FontState& state() {
    static FontState s;
    return s;
}

// Whether the font database itself holds the family; hasFamily() would also answer yes for
// a family that fontconfig merely substitutes by another one.
bool installed(const QString& family) {
    return QFontDatabase::families().contains(family);
}

bool addWineFont(const char* file) {
    const QString path = QString::fromLatin1(kWineFonts) + QString::fromLatin1(file);
    return QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0;
}

} // namespace

void registerDesignFont() {
    FontState& s = state();
    if (s.registered)
        return;
    s.registered = true;
    const QString design = QString::fromLatin1(kDesignFontFamily);
    if (!installed(design))
        addWineFont("ms_sans_serif.ttf");
    if (installed(design)) {
        s.designScalable = QFontDatabase::isSmoothlyScalable(design);
        s.designBitmaps = !s.designScalable;
    }
    if (s.designScalable)
        return;
    // Liberation Sans has the proportions of the later scalable MS Sans Serif and a real
    // bold face; the bitmaps cannot be emboldened.
    const QString liberation = QStringLiteral("Liberation Sans");
    s.fallback = installed(liberation)
                     ? liberation
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QString fallbackFontFamily() {
    registerDesignFont();
    return state().fallback;
}

QFont designFont(double points, bool bold) {
    registerDesignFont();
    const FontState& s = state();
    // The bitmaps of MS Sans Serif are the classic look of the regular window font.
    const bool useDesign = s.designScalable || (s.designBitmaps && !bold && points < 9);
    QFont font(useDesign ? QString::fromLatin1(kDesignFontFamily) : s.fallback);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

} // namespace clearmark::runtime
