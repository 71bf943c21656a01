#pragma once

// Finding a file and starting a program, as the system-information launcher needs them.
// Standard C++ only; failures are raised as PlatformError.
#include <memory>
#include <stdexcept>
#include <string>

namespace clearmark::platform {

class PlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FileSearch {
public:
    virtual ~FileSearch() = default;
    // The file's name when an ordinary file exists at the path, else "". Folders, hidden
    // and system files do not count. The path is taken literally: one holding a wildcard
    // or a character that no file name may hold raises PlatformError (invalid file name).
    virtual std::string find(const std::string& path) = 0;
};

// Show command of a normal window that takes the focus.
inline constexpr int kShowNormal = 1;

class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts the program file at exactly this path, never through a shell, and returns at
    // once; the program runs on by itself. Raises PlatformError when it cannot start.
    virtual void start(const std::string& path, int showCommand) = 0;
};

// Whether a path holds a character that no file name may hold (wildcards included).
bool isInvalidFileName(const std::string& path);

std::unique_ptr<FileSearch> systemFileSearch();
std::unique_ptr<ProgramStarter> systemProgramStarter();

} // namespace clearmark::platform
