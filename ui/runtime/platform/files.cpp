#include "files.h"

#include <cctype>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace clearmark::platform {

bool isInvalidFileName(const std::string& path) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*')
            return true;
        // A colon belongs only after a drive letter.
        if (c == ':' && !(i == 1 && std::isalpha(static_cast<unsigned char>(path[0]))))
            return true;
    }
    return false;
}

namespace {

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

#ifdef _WIN32

class Win32FileSearch final : public FileSearch {
public:
    std::string find(const std::string& path) override {
        if (isInvalidFileName(path))
            throw PlatformError("invalid file name: " + path);
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (GetLastError() == ERROR_INVALID_NAME)
                throw PlatformError("invalid file name: " + path);
            return {};
        }
        constexpr DWORD excluded =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        return (attributes & excluded) != 0 ? std::string() : fileNameOf(path);
    }
};

class Win32ProgramStarter final : public ProgramStarter {
public:
    void start(const std::string& path, int showCommand) override {
        if (path.empty())
            throw PlatformError("no program to start");
        // The path is the program file itself: CreateProcess does not search for it or split
        // it at blanks, so "C:\Program Files\x.exe" can never start "C:\Program.exe".
        std::string commandLine = "\"" + path + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process))
            throw PlatformError("cannot start " + path);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
};

#else

class PosixFileSearch final : public FileSearch {
public:
    std::string find(const std::string& path) override {
        if (isInvalidFileName(path))
            throw PlatformError("invalid file name: " + path);
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            return {};
        const std::string name = fileNameOf(path);
        return name.starts_with('.') ? std::string() : name; // hidden
    }
};

class PosixProgramStarter final : public ProgramStarter {
public:
    void start(const std::string& path, int /*showCommand*/) override {
        if (path.empty())
            throw PlatformError("no program to start");
        // The program is started by an intermediate child that ends at once, so that it
        // runs on by itself and leaves no zombie; the child's exit status carries the
        // spawn's answer back.
        const pid_t child = ::fork();
        if (child < 0)
            throw PlatformError("cannot start " + path);
        if (child == 0) {
            char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
            pid_t program = 0;
            const int error =
                ::posix_spawn(&program, path.c_str(), nullptr, nullptr, argv, environ);
            ::_exit(error == 0 ? 0 : 1);
        }
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            throw PlatformError("cannot start " + path);
    }
};

#endif

} // namespace

std::unique_ptr<FileSearch> systemFileSearch() {
#ifdef _WIN32
    return std::make_unique<Win32FileSearch>();
#else
    return std::make_unique<PosixFileSearch>();
#endif
}

std::unique_ptr<ProgramStarter> systemProgramStarter() {
#ifdef _WIN32
    return std::make_unique<Win32ProgramStarter>();
#else
    return std::make_unique<PosixProgramStarter>();
#endif
}

} // namespace clearmark::platform
