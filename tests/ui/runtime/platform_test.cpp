#include "runtime/platform/files.h"
#include "runtime/platform/registry.h"
#ifndef _WIN32
#include "support/posix_platform.h"
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace clearmark::platform {
namespace {

namespace fs = std::filesystem;

TEST(FileNames, WildcardsAndForbiddenCharactersAreInvalid) {
    const std::pair<std::string, bool> cases[] = {
        {"C:\\Tools\\MSINFO32.EXE", false},
        {"\\MSINFO32.EXE", false},
        {"C:\\Program Files\\Common Files\\MSINFO32.EXE", false},
        {"C:\\T*ols\\MSINFO32.EXE", true},
        {"C:\\Tools\\MSINFO3?.EXE", true},
        {"C:\\a<b", true},
        {"C:\\a>b", true},
        {"C:\\a|b", true},
        {"C:\\\"quoted\"", true},
        {"C:\\Tools:x\\MSINFO32.EXE", true},
        {"1:\\x", true},
        {std::string("C:\\a\x01"
                     "b"),
         true},
        {std::string("C:\\a\tb"), true},
    };
    for (const auto& [path, invalid] : cases)
        EXPECT_EQ(isInvalidFileName(path), invalid) << path;
}

#ifndef _WIN32

TEST(NoRegistry, EveryKeyIsMissingAndNothingIsStarted) {
    const auto registry = systemRegistry();
    KeyHandle key = 0;
    EXPECT_EQ(registry->openKey(kHkeyLocalMachine, "SOFTWARE", kKeyRead, key), kErrorFileNotFound);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(systemFileSearch()->find("/bin/sh"), "");
    EXPECT_THROW(systemProgramStarter()->start("/bin/true", kShowNormal), PlatformError);
}

using testing_support::PosixFileSearch;
using testing_support::PosixProgramStarter;

class ScratchFolder : public testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("clearmark-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path writeScript(const fs::path& path, const fs::path& marker) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "#!/bin/sh\necho ran > '" << marker.string() << "'\n";
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }
    static bool appears(const fs::path& file) {
        for (int i = 0; i < 100 && !fs::exists(file); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return fs::exists(file);
    }

    fs::path root;
};

using FileSearchOnDisk = ScratchFolder;

TEST_F(FileSearchOnDisk, FindsOnlyOrdinaryVisibleFiles) {
    std::ofstream(root / "MSINFO32.EXE") << "x";
    std::ofstream(root / ".hidden") << "x";
    fs::create_directories(root / "folder.exe");
    PosixFileSearch search;
    EXPECT_EQ(search.find((root / "MSINFO32.EXE").string()), "MSINFO32.EXE");
    EXPECT_EQ(search.find((root / "missing.exe").string()), "");
    EXPECT_EQ(search.find((root / "folder.exe").string()), "");
    EXPECT_EQ(search.find((root / ".hidden").string()), "");
    EXPECT_THROW(search.find((root / "*.EXE").string()), PlatformError);
    EXPECT_THROW(search.find((root / "MSINFO3?.EXE").string()), PlatformError);
}

using ProgramStart = ScratchFolder;

TEST_F(ProgramStart, StartsExactlyThePathGivenWithoutWaiting) {
    // A decoy where a command line split at the blank would look for a program.
    writeScript(root / "Program", root / "decoy-ran");
    const fs::path tool = writeScript(root / "Program Files" / "tool", root / "tool-ran");
    PosixProgramStarter().start(tool.string(), kShowNormal);
    EXPECT_TRUE(appears(root / "tool-ran"));
    EXPECT_FALSE(fs::exists(root / "decoy-ran"));
}

TEST_F(ProgramStart, RaisesWhenNothingCanStart) {
    PosixProgramStarter starter;
    std::ofstream(root / "not-executable") << "#!/bin/sh\n";
    fs::create_directories(root / "folder");
    for (const fs::path& path :
         {root / "missing", root / "folder", root / "not-executable", fs::path()})
        EXPECT_THROW(starter.start(path.string(), kShowNormal), PlatformError) << path;
}

#endif

} // namespace
} // namespace clearmark::platform
