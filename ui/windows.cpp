#include "windows.h"

#include "fonts.h"
#include "forms.h"
#include "frmClearmark.h"
#include "frmConvert.h"

namespace clearmark {
namespace {

template <class F> void registerWindow() {
    runtime::forms().registerForm(QString::fromLatin1(F::kFormName), [] { return new F; });
}

} // namespace

void registerWindows() {
    registerWindow<frmClearmark>();
    registerWindow<frmConvert>();
}

void startProgram() {
    runtime::registerDesignFont();
    registerWindows();
    runtime::forms().show(QString::fromLatin1(frmClearmark::kFormName));
}

} // namespace clearmark
