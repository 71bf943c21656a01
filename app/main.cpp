#include "windows.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The program ends only through its main window, never because a window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    clearmark::startProgram();
    const int status = QApplication::exec();
    // The windows of an ended program are destroyed before the application object.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
