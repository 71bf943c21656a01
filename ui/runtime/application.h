#pragma once

#include <memory>

namespace clearmark::runtime {

// The window system's connection and event loop, one for the whole process; made by the
// implementation the program is built with. Create it before the first window.
class Application {
public:
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the event loop until the program ends; the exit status.
    int exec();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace clearmark::runtime
