#include "support/posix_platform.h"

#include <cerrno>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace clearmark::testing_support {

std::string PosixFileSearch::find(const std::string& path) {
    if (platform::isInvalidFileName(path))
        throw platform::PlatformError("invalid file name: " + path);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.starts_with('.') ? std::string() : name;
}

void PosixProgramStarter::start(const std::string& path, int /*showCommand*/) {
    if (path.empty())
        throw platform::PlatformError("no program to start");
    // The program file itself, never through a shell or a search of PATH.
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t program = 0;
    if (::posix_spawn(&program, path.c_str(), nullptr, nullptr, argv, environ) != 0)
        throw platform::PlatformError("cannot start " + path);
    // glibc's posix_spawn answers the error of a program that cannot be executed itself.
    started_.push_back(program);
}

PosixProgramStarter::~PosixProgramStarter() {
    for (const pid_t program : started_)
        while (::waitpid(program, nullptr, 0) < 0 && errno == EINTR) {
        }
}

} // namespace clearmark::testing_support
