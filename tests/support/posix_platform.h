#pragma once

// A file search and a program start on a POSIX system, for tests that need the launcher's
// interfaces answered by real files and processes.
#include "runtime/platform/files.h"

#include <sys/types.h>
#include <vector>

namespace clearmark::testing_support {

class PosixFileSearch final : public platform::FileSearch {
public:
    // Ordinary files only; folders and hidden (dot) files do not count.
    std::string find(const std::string& path) override;
};

class PosixProgramStarter final : public platform::ProgramStarter {
public:
    PosixProgramStarter() = default;
    // Waits for the programs it started, so that none is left behind.
    ~PosixProgramStarter() override;
    PosixProgramStarter(const PosixProgramStarter&) = delete;
    PosixProgramStarter& operator=(const PosixProgramStarter&) = delete;

    void start(const std::string& path, int showCommand) override;

private:
    std::vector<pid_t> started_;
};

} // namespace clearmark::testing_support
