#include "runtime/application.h"

#include "runtime/forms.h"
#include "runtime/program.h"
#include "runtime/qt/fonts.h"
#include "runtime/qt/icons.h"

#include <QApplication>

namespace clearmark::runtime {

struct Application::State {
    State(int& argc, char** argv) : app(argc, argv) {}
    QApplication app;
};

Application::Application(int& argc, char** argv) : state_(std::make_unique<State>(argc, argv)) {
    // The program ends only through its main window, never because a window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    qt::registerDesignFont();
    QApplication::setWindowIcon(qt::icon(Icon::Application));
}

Application::~Application() {
    // The windows go before the connection to the window system.
    forms().unloadAllSilently();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int Application::exec() {
    return QApplication::exec();
}

void quitEventLoop() {
    QCoreApplication::exit(0);
}

} // namespace clearmark::runtime
