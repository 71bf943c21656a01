#pragma once

#include <string>
#include <vector>

namespace clearmark::runtime {

// The window system's connection and event loop, one for the whole process. Create it before
// the first window; when it goes, every window goes first.
class Application {
public:
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the event loop until the program ends; the exit status.
    int exec();
    // The program's arguments after its own name, UTF-8 (on Windows read from the wide
    // command line, so that every file name arrives whole).
    std::vector<std::string> arguments() const;
};

} // namespace clearmark::runtime
