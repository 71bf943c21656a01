#pragma once

// DorvansClearmark.exe driven from another process: started, its windows waited for, and
// never left running after a test.
#include <string>
#include <windows.h>

namespace clearmark::testing_support {

// Waits up to ten seconds for a visible top-level window of that class and caption.
inline HWND waitForWindow(const wchar_t* windowClass, const wchar_t* caption) {
    for (int i = 0; i < 200; ++i) {
        if (const HWND hwnd = FindWindowW(windowClass, caption); hwnd && IsWindowVisible(hwnd))
            return hwnd;
        Sleep(50);
    }
    return nullptr;
}

// The program started as a process of its own; ended, if it still runs, with the scope.
class StartedProgram {
public:
    explicit StartedProgram(const std::wstring& path) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        std::wstring commandLine = L"\"" + path + L"\"";
        if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &started)) {
            CloseHandle(started.hThread);
            process_ = started.hProcess;
        }
    }
    ~StartedProgram() {
        if (process_ == nullptr)
            return;
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_, 3);
        CloseHandle(process_);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    // None when the program could not be started.
    HANDLE process() const { return process_; }

private:
    HANDLE process_ = nullptr;
};

} // namespace clearmark::testing_support
