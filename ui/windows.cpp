#include "windows.h"

#include <QApplication>

#include "fonts.h"
#include "forms.h"
#include "frmAbout.h"
#include "frmClearmark.h"
#include "frmConvert.h"
#include "frmHelpCalculator.h"
#include "icons.h"

namespace clearmark {
namespace {

template <class F> void registerWindow() {
    runtime::forms().registerForm(QString::fromLatin1(F::kFormName), [] { return new F; });
}

} // namespace

void registerWindows() {
    registerWindow<frmClearmark>();
    registerWindow<frmConvert>();
    registerWindow<frmHelpCalculator>();
    registerWindow<frmAbout>();
}

void startProgram() {
    runtime::registerDesignFont();
    QApplication::setWindowIcon(runtime::applicationIcon());
    registerWindows();
    runtime::forms().show(QString::fromLatin1(frmClearmark::kFormName));
}

} // namespace clearmark
