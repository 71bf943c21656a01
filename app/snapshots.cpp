// Renders every window of the program to a PNG file, without a display:
//   clearmark-snapshots OUTPUT_FOLDER
#include "convert/frmConvert.h"
#include "info/frmAbout.h"
#include "info/frmHelpCalculator.h"
#include "main/frmClearmark.h"
#include "main/pictures.h"
#include "runtime/application.h"
#include "runtime/program.h"
#include "runtime/qt/access.h"
#include "sheet/frmShimBox.h"
#include "sheet/frmValveSheet.h"
#include "sheet/shim_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
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

// The "Bad data" box that Calculate shows with nothing typed, grabbed while it is up and
// then closed.
bool saveBadDataBox(const runtime::Form& main, const QString& folder) {
    const QString path = QDir(folder).filePath(QStringLiteral("msgbox-bad-data.png"));
    bool saved = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        saved = box->grab().save(path);
        box->button(QMessageBox::Ok)->click();
    });
    runtime::qt::widgetOf<QAbstractButton>(main.control<runtime::CommandButton>("cmdCalculate"))
        ->click();
    if (!saved) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// The sheet with a job of the worked Triumph example typed in and planned.
void planTriumphTwin(const frmValveSheet& sheet) {
    const char* const typed[][2] = {{"0.100", "2.450"}, {"0.180", "2.500"}, {"0.320", "2.400"},
                                    {"0.240", "2.550"}, {"0.230", "2.375"}, {"0.150", "2.600"},
                                    {"0.210", "2.450"}, {"0.280", "2.425"}};
    for (std::size_t i = 0; i < std::size(typed); ++i) {
        const std::string row = std::to_string(i + 1);
        sheet.control<runtime::TextBox>("txtGap" + row).setText(typed[i][0]);
        sheet.control<runtime::TextBox>("txtShim" + row).setText(typed[i][1]);
    }
    sheet.control<runtime::TextBox>("txtSpares").setText("2.475");
    sheet.control<runtime::TextBox>("txtBike").setText("Bonneville T100");
    sheet.control<runtime::TextBox>("txtDate").setText("2026-12-01");
    sheet.control<runtime::TextBox>("txtOdometer").setText("24,500 km");
    runtime::qt::widgetOf<QAbstractButton>(sheet.control<runtime::CommandButton>("cmdPlan"))
        ->click();
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    registerPictures();
    runtime::Application app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("snapshots");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    // The shim box is read from a data folder of the run's own, holding a box of four shims.
    const QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    if (!data.isValid() || sheet::saveShimBox("2.400 2.450 2.450 2.475")) {
        std::fprintf(stderr, "cannot write the shim box in %s\n", qPrintable(data.path()));
        return 1;
    }
    runtime::startProgram<frmClearmark>();
    runtime::Forms& forms = runtime::forms();
    int failures = 0;
    failures += save(forms.show<frmClearmark>(), folder) ? 0 : 1;
    failures += save(forms.show<frmConvert>(), folder) ? 0 : 1;
    failures += save(forms.show<frmHelpCalculator>(), folder) ? 0 : 1;
    failures += save(forms.show<frmAbout>(), folder) ? 0 : 1;
    planTriumphTwin(forms.show<frmValveSheet>());
    failures += save(forms.show<frmValveSheet>(), folder) ? 0 : 1;
    failures += save(forms.show<frmShimBox>(), folder) ? 0 : 1;
    failures += saveBadDataBox(forms.show<frmClearmark>(), folder) ? 0 : 1;
    return failures == 0 ? 0 : 1;
}
