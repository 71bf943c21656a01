// Measures how fast programs open their first window and how much memory they hold then.
//   startup_probe RUNS PROGRAM...
// Launches the programs in turn, RUNS times each, on the X display of $DISPLAY (a program
// may be a script that starts a Windows program under Wine, with PROBE_UNMANAGED=1). For each
// launch: the time from exec until the X server maps the program's first top-level window
// (an X client that waits for the map event), and the resident memory (VmRSS) 500 ms later.
// Prints the medians and the first program's ratios against the others; PROBE_GOALS="1.2 1.15"
// prints, beside the ratio against the second program, the goals it is held to (startup and
// memory, at most). Progress goes to the standard error, a line that a terminal sees updated.
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double milliseconds;
    double megabytes;
};

double residentMegabytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0; // kB
    return 0;
}

// Whether a window that the window manager does not manage counts (PROBE_UNMANAGED=1).
const bool overrideRedirectCounts = std::getenv("PROBE_UNMANAGED") != nullptr;

// Waits for a MapNotify of a top-level window; false after ten seconds.
bool waitForMap(xcb_connection_t* connection) {
    const int fd = xcb_get_file_descriptor(connection);
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            // Wine's unmanaged windows are override-redirect, as menus are elsewhere.
            const bool mapped =
                (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                (overrideRedirectCounts ||
                 !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect);
            std::free(event);
            if (mapped)
                return true;
        }
        pollfd wait{fd, POLLIN, 0};
        ::poll(&wait, 1, 100);
    }
    return false;
}

Sample launch(xcb_connection_t* connection, const char* program) {
    while (xcb_generic_event_t* stale = xcb_poll_for_event(connection))
        std::free(stale);
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
        ::execl(program, program, static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    if (!waitForMap(connection)) {
        std::fprintf(stderr, "%s mapped no window\n", program);
        std::exit(1);
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const double mb = residentMegabytes(pid);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return {ms, mb};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM...\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::vector<const char*> programs(argv + 2, argv + argc);

    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 1;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screens.data->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    // Each launch waits half a second after its window is mapped.
    std::printf("%d runs of %zu programs, alternately: about %.0f s\n", runs, programs.size(),
                runs * double(programs.size()) * 0.6);
    std::fflush(stdout);
    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    std::vector<std::vector<double>> times(programs.size());
    std::vector<std::vector<double>> memory(programs.size());
    for (int run = 0; run < runs; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) { // alternately
            const Sample sample = launch(connection, programs[p]);
            times[p].push_back(sample.milliseconds);
            memory[p].push_back(sample.megabytes);
        }
        if (terminal)
            std::fprintf(stderr, "\rrun %d of %d", run + 1, runs);
        else
            std::fputc('.', stderr);
    }
    std::fputc('\n', stderr);
    xcb_disconnect(connection);

    double startupGoal = 0;
    double memoryGoal = 0;
    if (const char* goals = std::getenv("PROBE_GOALS"))
        std::sscanf(goals, "%lf %lf", &startupGoal, &memoryGoal);

    std::printf("%-48s %12s %12s\n", "program (median of runs)", "startup ms", "VmRSS MB");
    for (std::size_t p = 0; p < programs.size(); ++p)
        std::printf("%-48s %12.1f %12.1f\n", programs[p], median(times[p]), median(memory[p]));
    for (std::size_t p = 1; p < programs.size(); ++p) {
        const double startup = median(times[0]) / median(times[p]);
        const double held = median(memory[0]) / median(memory[p]);
        const bool goals = p == 1 && startupGoal > 0;
        std::printf("ratio %s / %s: startup %.2f", programs[0], programs[p], startup);
        if (goals)
            std::printf(" (goal: at most %.2f)", startupGoal);
        std::printf(", memory %.2f", held);
        if (goals)
            std::printf(" (goal: at most %.2f)", memoryGoal);
        std::printf("\n");
    }
    return 0;
}
