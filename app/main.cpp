#include "main/frmClearmark.h"
#include "main/pictures.h"
#include "runtime/application.h"
#include "runtime/program.h"

int main(int argc, char* argv[]) {
    clearmark::registerPictures();
    clearmark::runtime::Application app(argc, argv);
    clearmark::runtime::startProgram<clearmark::frmClearmark>();
    return app.exec();
}
