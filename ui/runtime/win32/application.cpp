#include "runtime/application.h"

#include "runtime/forms.h"
#include "runtime/program.h"
#include "runtime/win32/win32.h"

#include <ole2.h>

namespace clearmark::runtime {

struct Application::State {};

Application::Application(int& /*argc*/, char** /*argv*/) : state_(std::make_unique<State>()) {
    // Sizes come from twips at the screen's own density, so the windows stay sharp on a
    // scaled screen (the manifest says so too).
    SetProcessDPIAware();
    // A single-threaded apartment, in which screen readers' requests reach the windows.
    OleInitialize(nullptr);
}

Application::~Application() {
    forms().unloadAllSilently();
    OleUninitialize();
}

int Application::exec() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!win32::translateWindowKeys(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

void quitEventLoop() {
    PostQuitMessage(0);
}

} // namespace clearmark::runtime
