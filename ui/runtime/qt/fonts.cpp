#include "runtime/qt/fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <cmath>

namespace clearmark::runtime::qt {
namespace {

constexpr const char* kWineFonts = "/usr/share/wine/fonts/";
constexpr int kFallbackRegularStretch = 90; // percent

struct FontState {
    bool registered = false;
    bool designAvailable = false; // MS Sans Serif, scalable or as bitmaps of a few sizes
    bool designScalable = false;  // MS Sans Serif draws every size and weight
    QString fallback;
};

FontState& state() {
    static FontState s;
    return s;
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
    // The font database's own families: hasFamily() would also answer yes for a family that
    // fontconfig merely substitutes by another one.
    QStringList families = QFontDatabase::families();
    const QString design = QString::fromLatin1(kDesignFontFamily);
    if (!families.contains(design) && addWineFont("ms_sans_serif.ttf"))
        families = QFontDatabase::families();
    s.designAvailable = families.contains(design);
    s.designScalable = s.designAvailable && QFontDatabase::isSmoothlyScalable(design);
    if (s.designScalable)
        return;
    // Liberation Sans has the proportions of the later scalable MS Sans Serif and a real
    // bold face; the bitmaps cannot be emboldened.
    const QString liberation = QStringLiteral("Liberation Sans");
    s.fallback = families.contains(liberation)
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
    // The bitmaps of MS Sans Serif are the classic look of the regular window font, at the
    // scale they were drawn for; a scaled screen would blow them up or leave them tiny.
    const bool unscaled = qFuzzyCompare(qApp->devicePixelRatio(), 1.0);
    const bool useDesign =
        s.designScalable || (s.designAvailable && !bold && points < 9 && unscaled);
    QFont font(useDesign ? QString::fromLatin1(kDesignFontFamily) : s.fallback);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    // MS Sans Serif's regular face is narrower than the fallback's: the fallback is
    // condensed to its width so that the captions keep their lines.
    if (!useDesign && !bold)
        font.setStretch(kFallbackRegularStretch);
    return font;
}

} // namespace clearmark::runtime::qt
