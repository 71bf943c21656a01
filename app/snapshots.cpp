// Renders every window of the program to a PNG file, without a display:
//   clearmark-snapshots OUTPUT_FOLDER
#include "forms.h"
#include "windows.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("snapshots");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    clearmark::startProgram();
    QApplication::processEvents();

    int failures = 0;
    for (const QString& name : clearmark::runtime::forms().names()) {
        clearmark::runtime::Form* form = clearmark::runtime::forms().show(name);
        if (form == nullptr)
            continue;
        QApplication::processEvents();
        const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
        if (form->grab().save(path)) {
            std::printf("%s\n", qPrintable(path));
        } else {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
