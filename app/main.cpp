#include "main/frmClearmark.h"
#include "main/pictures.h"
#include "runtime/application.h"
#include "runtime/program.h"
#include "sheet/frmValveSheet.h"

int main(int argc, char* argv[]) {
    clearmark::registerPictures();
    clearmark::runtime::Application app(argc, argv);
    clearmark::runtime::startProgram<clearmark::frmClearmark>();
    // A job given on the command line (a job double-clicked) opens in the valve sheet.
    if (const auto arguments = app.arguments(); !arguments.empty())
        clearmark::frmValveSheet::openJob(arguments.front());
    return app.exec();
}
