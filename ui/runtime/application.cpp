#include "runtime/application.h"

#include "runtime/forms.h"
#include "runtime/implementation.h"

namespace clearmark::runtime {

Application::Application(int& argc, char** argv) {
    startApplication(argc, argv);
}

Application::~Application() {
    // The windows go before the connection to the window system.
    forms().unloadAllSilently();
    finishApplication();
}

int Application::exec() {
    return runEventLoop();
}

std::vector<std::string> Application::arguments() const {
    return programArguments();
}

} // namespace clearmark::runtime
