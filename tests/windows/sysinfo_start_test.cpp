// StartSysInfo end to end on Windows (under Wine): the two real keys, written by the test,
// real files and real processes.
#include "info/SysInfoLauncher.h"
#include "windows/win32_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace clearmark {
namespace {

using namespace std::string_literals;
using platform::kHkeyLocalMachine;

class RecordedMessages final : public SysInfoMessages {
public:
    void show(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

class StartSysInfoOnWindows : public testing::Test {
protected:
    void SetUp() override {
        win32_test::deleteKey(kHkeyLocalMachine, SysInfoLauncher::kToolKey);
        win32_test::deleteKey(kHkeyLocalMachine, SysInfoLauncher::kFolderKey);
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        scratch = std::string(temp) + "clearmark " +
                  testing::UnitTest::GetInstance()->current_test_info()->name();
        removeTree(scratch);
        CreateDirectoryA(scratch.c_str(), nullptr);
        helper = win32_test::directoryOfThisProgram() + "\\sysinfo_helper.exe";
        ASSERT_TRUE(win32_test::exists(helper)) << helper;
    }
    void TearDown() override {
        win32_test::deleteKey(kHkeyLocalMachine, SysInfoLauncher::kToolKey);
        win32_test::deleteKey(kHkeyLocalMachine, SysInfoLauncher::kFolderKey);
        removeTree(scratch);
    }

    // Places a copy of the helper program at `path`, creating its folders.
    void placeHelper(const std::string& path) {
        for (std::size_t slash = path.find('\\', scratch.size() + 1); slash != std::string::npos;
             slash = path.find('\\', slash + 1))
            CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(helper.c_str(), path.c_str(), FALSE)) << path;
    }
    void run() {
        const auto registry = platform::systemRegistry();
        const auto files = platform::systemFileSearch();
        const auto starter = platform::systemProgramStarter();
        SysInfoLauncher(*registry, *files, *starter, messages).StartSysInfo();
    }
    static void removeTree(const std::string& folder) {
        WIN32_FIND_DATAA entry;
        const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = entry.cFileName;
                if (name == "." || name == "..")
                    continue;
                const std::string path = folder + "\\" + name;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    removeTree(path);
                else
                    DeleteFileA(path.c_str());
            } while (FindNextFileA(find, &entry));
            FindClose(find);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string scratch;
    std::string helper;
    RecordedMessages messages;
    const std::vector<std::string> unavailable{SysInfoLauncher::kUnavailable};
};

TEST_F(StartSysInfoOnWindows, FirstLookUpStartsThePathAndNeverADecoy) {
    const std::string tool = scratch + "\\Program Files\\Info Tool\\msinfo32.exe";
    placeHelper(tool);
    // Where a command line split at its blanks would look for a program first.
    placeHelper(scratch + "\\Program.exe");
    placeHelper(scratch + "\\Program Files\\Info.exe");
    win32_test::writeValue(kHkeyLocalMachine, SysInfoLauncher::kToolKey, "PATH", REG_SZ,
                           tool + '\0');
    run();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(win32_test::appears(tool + ".ran"));
    Sleep(500);
    EXPECT_FALSE(win32_test::exists(scratch + "\\Program.exe.ran"));
    EXPECT_FALSE(win32_test::exists(scratch + "\\Program Files\\Info.exe.ran"));
}

TEST_F(StartSysInfoOnWindows, SecondLookUpStartsTheFileInTheFolder) {
    const std::string folder = scratch + "\\Shared Tools";
    placeHelper(folder + "\\MSINFO32.EXE");
    win32_test::writeValue(kHkeyLocalMachine, SysInfoLauncher::kFolderKey, "MSINFO", REG_SZ,
                           folder + '\0');
    run();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(win32_test::appears(folder + "\\MSINFO32.EXE.ran"));
}

TEST_F(StartSysInfoOnWindows, FolderWithoutTheProgramShowsTheBox) {
    const std::string folder = scratch + "\\Empty Tools";
    CreateDirectoryA(folder.c_str(), nullptr);
    win32_test::writeValue(kHkeyLocalMachine, SysInfoLauncher::kFolderKey, "MSINFO", REG_SZ,
                           folder + '\0');
    run();
    EXPECT_EQ(messages.shown, unavailable);
}

TEST_F(StartSysInfoOnWindows, AFolderNamedLikeTheProgramIsNoProgram) {
    const std::string folder = scratch + "\\Odd Tools";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\MSINFO32.EXE").c_str(), nullptr);
    win32_test::writeValue(kHkeyLocalMachine, SysInfoLauncher::kFolderKey, "MSINFO", REG_SZ,
                           folder + '\0');
    run();
    EXPECT_EQ(messages.shown, unavailable);
}

TEST_F(StartSysInfoOnWindows, BothKeysMissingShowsOnlyTheBox) {
    run();
    EXPECT_EQ(messages.shown, unavailable);
}

TEST_F(StartSysInfoOnWindows, AMissingFirstPathShowsTheBoxWithoutTryingTheFolder) {
    const std::string folder = scratch + "\\Shared Tools";
    placeHelper(folder + "\\MSINFO32.EXE");
    win32_test::writeValue(kHkeyLocalMachine, SysInfoLauncher::kToolKey, "PATH", REG_SZ,
                           scratch + "\\gone.exe\0"s);
    win32_test::writeValue(kHkeyLocalMachine, SysInfoLauncher::kFolderKey, "MSINFO", REG_SZ,
                           folder + '\0');
    run();
    EXPECT_EQ(messages.shown, unavailable);
    Sleep(300);
    EXPECT_FALSE(win32_test::exists(folder + "\\MSINFO32.EXE.ran"));
}

} // namespace
} // namespace clearmark
