// The Qt application: one QApplication for the process, and its event loop.
#include "runtime/implementation.h"
#include "runtime/qt/fonts.h"

#include <QApplication>
#include <memory>

namespace clearmark::runtime {
namespace {

std::unique_ptr<QApplication>& application() {
    static std::unique_ptr<QApplication> app;
    return app;
}

} // namespace

void startApplication(int& argc, char** argv) {
    application() = std::make_unique<QApplication>(argc, argv);
    // The program ends only through its main window, never because a window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    qt::registerDesignFont();
}

void finishApplication() {
    // The windows are gone; their widgets go before the connection to the window system.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    application().reset();
}

std::vector<std::string> programArguments() {
    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        arguments.push_back(all[i].toStdString());
    return arguments;
}

int runEventLoop() {
    return QApplication::exec();
}

void quitEventLoop() {
    QCoreApplication::exit(0);
}

} // namespace clearmark::runtime
