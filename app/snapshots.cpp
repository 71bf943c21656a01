// Renders every window of the program to a PNG file, without a display:
//   clearmark-snapshots OUTPUT_FOLDER
#include "convert/frmConvert.h"
#include "info/frmAbout.h"
#include "info/frmHelpCalculator.h"
#include "main/frmClearmark.h"
#include "runtime/application.h"
#include "runtime/program.h"
#include "runtime/qt/access.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

namespace {

using namespace clearmark;

bool save(const runtime::Form& form, const QString& folder) {
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(QString::fromLatin1(form.design().name) + ".png");
    if (!runtime::qt::widgetOf(form)->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    runtime::Application app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("snapshots");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    runtime::startProgram<frmClearmark>();
    runtime::Forms& forms = runtime::forms();
    int failures = 0;
    failures += save(forms.show<frmClearmark>(), folder) ? 0 : 1;
    failures += save(forms.show<frmConvert>(), folder) ? 0 : 1;
    failures += save(forms.show<frmHelpCalculator>(), folder) ? 0 : 1;
    failures += save(forms.show<frmAbout>(), folder) ? 0 : 1;
    return failures == 0 ? 0 : 1;
}
