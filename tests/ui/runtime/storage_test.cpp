// The system's storage on real files in a scratch folder: whole reads up to a limit, writes
// that replace a file in one step and leave it whole when they fail, renames that replace
// nothing, the data folder made where the environment says, and today's date.
#include "runtime/platform/storage.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <variant>

namespace clearmark::platform {
namespace {

namespace fs = std::filesystem;

class SystemStorage : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("clearmark-storage-" + std::to_string(std::rand()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string at(const std::string& name) const { return (folder / name).string(); }
    std::string contents(const std::string& name) const {
        const auto read = storage->read(at(name), 1 << 20);
        return std::holds_alternative<std::string>(read) ? std::get<std::string>(read)
                                                         : "(unreadable)";
    }
    std::size_t filesInFolder() const {
        return std::size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    fs::path folder;
    std::unique_ptr<Storage> storage = systemStorage();
};

TEST_F(SystemStorage, WritesAFirstFileThenReplacesItWhole) {
    EXPECT_FALSE(storage->exists(at("job.clearmark")));
    EXPECT_EQ(storage->write(at("job.clearmark"), "first\n"), std::nullopt);
    EXPECT_EQ(contents("job.clearmark"), "first\n");
    EXPECT_EQ(storage->write(at("job.clearmark"), std::string("second\0bytes", 12)), std::nullopt);
    EXPECT_EQ(contents("job.clearmark"), std::string("second\0bytes", 12));
    EXPECT_EQ(filesInFolder(), 1u) << "nothing is left beside the file";
}

TEST_F(SystemStorage, AFailedWriteSaysWhyAndLeavesTheOldFile) {
    ASSERT_EQ(storage->write(at("job.clearmark"), "kept\n"), std::nullopt);
    // A path below a regular file, and a folder that is gone, cannot be written.
    for (const std::string& path :
         {at("job.clearmark") + "/inside.clearmark", at("gone") + "/job.clearmark"}) {
        const auto failure = storage->write(path, "lost\n");
        ASSERT_TRUE(failure.has_value()) << path;
        EXPECT_FALSE(failure->reason.empty());
    }
    // A folder where the file should be: the write fails, the folder stays.
    fs::create_directories(folder / "taken");
    EXPECT_TRUE(storage->write(at("taken"), "lost\n").has_value());
    EXPECT_EQ(contents("job.clearmark"), "kept\n");
    EXPECT_EQ(filesInFolder(), 2u) << "no half-written file is left";
}

TEST_F(SystemStorage, ReadsAtMostOneByteBeyondTheLimit) {
    ASSERT_EQ(storage->write(at("big"), std::string(200'000, 'x')), std::nullopt);
    const auto read = storage->read(at("big"), 100'000);
    ASSERT_TRUE(std::holds_alternative<std::string>(read));
    EXPECT_EQ(std::get<std::string>(read).size(), 100'001u);
    EXPECT_TRUE(std::holds_alternative<FileFailure>(storage->read(at("missing"), 10)));
    EXPECT_TRUE(std::holds_alternative<FileFailure>(storage->read(folder.string(), 10)));
}

TEST_F(SystemStorage, MovesAFileAsideWithoutReplacingAnother) {
    ASSERT_EQ(storage->write(at("box.json"), "damaged"), std::nullopt);
    ASSERT_EQ(storage->write(at("taken.json"), "other"), std::nullopt);
    EXPECT_TRUE(storage->moveAside(at("box.json"), at("taken.json")).has_value());
    EXPECT_EQ(contents("taken.json"), "other");
    EXPECT_EQ(storage->moveAside(at("box.json"), at("aside.json")), std::nullopt);
    EXPECT_FALSE(storage->exists(at("box.json")));
    EXPECT_EQ(contents("aside.json"), "damaged");
}

TEST_F(SystemStorage, TodayIsADateWrittenYearMonthDay) {
    const std::string today = storage->today();
    ASSERT_EQ(today.size(), 10u);
    EXPECT_EQ(today[4], '-');
    EXPECT_EQ(today[7], '-');
    EXPECT_GE(today.substr(0, 4), "2024");
}

#ifndef _WIN32
TEST_F(SystemStorage, TheDataFolderIsMadeWhereTheEnvironmentSays) {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string savedData = data ? data : "";
    const std::string savedHome = home ? home : "";
    ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    EXPECT_EQ(std::get<std::string>(storage->dataFolder()), (folder / "data/clearmark").string());
    EXPECT_TRUE(fs::is_directory(folder / "data/clearmark"));
    ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
    ::setenv("HOME", folder.c_str(), 1);
    EXPECT_EQ(std::get<std::string>(storage->dataFolder()),
              (folder / ".local/share/clearmark").string());
    // Below a regular file no folder can be made: said, not thrown.
    ASSERT_EQ(storage->write(at("file"), "x"), std::nullopt);
    ::setenv("XDG_DATA_HOME", (folder / "file").c_str(), 1);
    EXPECT_TRUE(std::holds_alternative<FileFailure>(storage->dataFolder()));
    data ? ::setenv("XDG_DATA_HOME", savedData.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    home ? ::setenv("HOME", savedHome.c_str(), 1) : ::unsetenv("HOME");
}
#else
TEST_F(SystemStorage, TheDataFolderIsMadeInAppData) {
    const char* appData = std::getenv("APPDATA");
    const std::string saved = appData ? appData : "";
    _putenv_s("APPDATA", folder.string().c_str());
    EXPECT_EQ(std::get<std::string>(storage->dataFolder()), (folder / "Clearmark").string());
    EXPECT_TRUE(fs::is_directory(folder / "Clearmark"));
    _putenv_s("APPDATA", saved.c_str());
}
#endif

TEST(StoragePaths, NameFolderAndJoin) {
    EXPECT_EQ(fileNameOf("/jobs/t100.clearmark"), "t100.clearmark");
    EXPECT_EQ(fileNameOf("t100.clearmark"), "t100.clearmark");
    EXPECT_EQ(folderOf("/jobs/t100.clearmark"), "/jobs");
    EXPECT_EQ(folderOf("/t100.clearmark"), "/");
    EXPECT_EQ(folderOf("t100.clearmark"), "");
#ifdef _WIN32
    EXPECT_EQ(fileNameOf("C:\\Jobs\\t100.clearmark"), "t100.clearmark");
    EXPECT_EQ(pathIn("C:\\Jobs", "a.json"), "C:\\Jobs\\a.json");
#else
    EXPECT_EQ(pathIn("/data/clearmark", "shim-box.json"), "/data/clearmark/shim-box.json");
    EXPECT_EQ(pathIn("/data/clearmark/", "shim-box.json"), "/data/clearmark/shim-box.json");
#endif
}

} // namespace
} // namespace clearmark::platform
