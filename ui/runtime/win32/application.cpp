// The Win32 application: the process's DPI awareness and apartment, and the event loop.
#include "runtime/implementation.h"
#include "runtime/win32/win32.h"

#include <ole2.h>
#include <shellapi.h>

namespace clearmark::runtime {

void startApplication(int& /*argc*/, char** /*argv*/) {
    // Sizes come from twips at the screen's own density, so the windows stay sharp on a
    // scaled screen (the manifest says so too).
    SetProcessDPIAware();
    // A single-threaded apartment, in which screen readers' requests reach the windows.
    OleInitialize(nullptr);
}

void finishApplication() {
    OleUninitialize();
}

std::vector<std::string> programArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** all = CommandLineToArgvW(GetCommandLineW(), &count);
    if (all == nullptr)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(win32::narrow(all[i]));
    LocalFree(all);
    return arguments;
}

int runEventLoop() {
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
