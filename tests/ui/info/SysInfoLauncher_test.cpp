#include "info/SysInfoLauncher.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

namespace clearmark {
namespace {

using platform::PlatformError;
using testing_support::MemoryRegistry;

constexpr const char* kToolKey = SysInfoLauncher::kToolKey;
constexpr const char* kFolderKey = SysInfoLauncher::kFolderKey;
const std::string kUnavailable = "System Information Is Unavailable At This Time";

class FakeFiles final : public platform::FileSearch {
public:
    std::string find(const std::string& path) override {
        searched.push_back(path);
        if (invalid.count(path) != 0)
            throw PlatformError("invalid file name");
        const auto it = files.find(path);
        return it == files.end() ? std::string() : it->second;
    }
    std::map<std::string, std::string> files;
    std::set<std::string> invalid;
    std::vector<std::string> searched;
};

class FakeStarter final : public platform::ProgramStarter {
public:
    void start(const std::string& path, int showCommand) override {
        shows.push_back(showCommand);
        if (path.empty() || failing.count(path) != 0)
            throw PlatformError("cannot start");
        started.push_back(path);
    }
    std::set<std::string> failing;
    std::vector<std::string> started;
    std::vector<int> shows;
};

class FakeMessages final : public SysInfoMessages {
public:
    void show(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

struct Platform {
    MemoryRegistry registry;
    FakeFiles files;
    FakeStarter starter;
    FakeMessages messages;
    SysInfoLauncher launcher{registry, files, starter, messages};

    bool openedSecondKey() const {
        for (const std::string& call : registry.calls)
            if (call == std::string("open ") + kFolderKey)
                return true;
        return false;
    }
};

struct StartCase {
    const char* name;
    std::function<void(Platform&)> arrange;
    std::vector<std::string> searched;
    std::vector<std::string> started;
    bool box;
    bool secondLookUp;
};

class StartSysInfo : public testing::TestWithParam<StartCase> {};

TEST_P(StartSysInfo, StartsTheToolOrShowsTheOneBox) {
    const StartCase& c = GetParam();
    Platform p;
    c.arrange(p);
    p.launcher.StartSysInfo();

    EXPECT_EQ(p.files.searched, c.searched);
    EXPECT_EQ(p.starter.started, c.started);
    for (int show : p.starter.shows)
        EXPECT_EQ(show, 1);
    EXPECT_EQ(p.messages.shown,
              c.box ? std::vector<std::string>{kUnavailable} : std::vector<std::string>{});
    EXPECT_EQ(p.openedSecondKey(), c.secondLookUp);
    // Every key opened was closed again, and only read access was asked for.
    EXPECT_EQ(p.registry.openKeys(), 0u);
    for (std::uint32_t access : p.registry.accesses)
        EXPECT_EQ(access, 0x20019u);
}

const std::string kTool = "C:\\Windows\\System32\\msinfo32.exe";
const std::string kToolsExe = "C:\\Tools\\MSINFO32.EXE";

INSTANTIATE_TEST_SUITE_P(
    Rows, StartSysInfo,
    testing::Values(
        StartCase{"pathWithTerminatingZero",
                  [](Platform& p) { p.registry.setString(kToolKey, "PATH", kTool); },
                  {},
                  {kTool},
                  false,
                  false},
        StartCase{"pathWithoutTerminatingZero",
                  [](Platform& p) { p.registry.setString(kToolKey, "PATH", kTool, false); },
                  {},
                  {kTool},
                  false,
                  false},
        StartCase{"firstPathIsStartedUntestedAndFails",
                  [](Platform& p) {
                      p.registry.setString(kToolKey, "PATH", "C:\\gone.exe");
                      p.starter.failing.insert("C:\\gone.exe");
                  },
                  {},
                  {},
                  true,
                  false},
        StartCase{"pathOfOnlyItsZeroByte",
                  [](Platform& p) { p.registry.setString(kToolKey, "PATH", ""); },
                  {},
                  {},
                  true,
                  false},
        StartCase{"secondLookUpFolder",
                  [](Platform& p) {
                      p.registry.setString(kFolderKey, "MSINFO", "C:\\Tools");
                      p.files.files[kToolsExe] = "MSINFO32.EXE";
                  },
                  {kToolsExe},
                  {kToolsExe},
                  false,
                  true},
        StartCase{"folderEndingInBackslashKeepsBoth",
                  [](Platform& p) {
                      p.registry.setString(kFolderKey, "MSINFO", "C:\\Tools\\");
                      p.files.files["C:\\Tools\\\\MSINFO32.EXE"] = "MSINFO32.EXE";
                  },
                  {"C:\\Tools\\\\MSINFO32.EXE"},
                  {"C:\\Tools\\\\MSINFO32.EXE"},
                  false,
                  true},
        StartCase{"folderWithoutTheFile",
                  [](Platform& p) { p.registry.setString(kFolderKey, "MSINFO", "C:\\Tools"); },
                  {kToolsExe},
                  {},
                  true,
                  true},
        StartCase{"bothKeysMissing", [](Platform&) {}, {}, {}, true, true},
        StartCase{"firstKeyRefused",
                  [](Platform& p) {
                      p.registry.setString(kToolKey, "PATH", kTool);
                      p.registry.refuse(kToolKey);
                      p.registry.setString(kFolderKey, "MSINFO", "C:\\Tools");
                      p.files.files[kToolsExe] = "MSINFO32.EXE";
                  },
                  {kToolsExe},
                  {kToolsExe},
                  false,
                  true},
        StartCase{"firstValueMissing",
                  [](Platform& p) {
                      p.registry.setString(kToolKey, "Other", kTool);
                      p.registry.setString(kFolderKey, "MSINFO", "C:\\Tools");
                      p.files.files[kToolsExe] = "MSINFO32.EXE";
                  },
                  {kToolsExe},
                  {kToolsExe},
                  false,
                  true},
        StartCase{"firstValueOver1024Bytes",
                  [](Platform& p) {
                      p.registry.setString(kToolKey, "PATH", std::string(1024, 'x'));
                      p.registry.setString(kFolderKey, "MSINFO", "C:\\Tools");
                      p.files.files[kToolsExe] = "MSINFO32.EXE";
                  },
                  {kToolsExe},
                  {kToolsExe},
                  false,
                  true},
        StartCase{
            "secondValueOver1024Bytes",
            [](Platform& p) { p.registry.setString(kFolderKey, "MSINFO", std::string(2000, 'x')); },
            {},
            {},
            true,
            true},
        StartCase{"firstOfAnotherTypeStartsNothing",
                  [](Platform& p) {
                      p.registry.set(kToolKey, "PATH", platform::kRegBinary, "C:\\x.exe");
                      p.registry.setString(kFolderKey, "MSINFO", "C:\\Tools");
                  },
                  {},
                  {},
                  true,
                  false},
        StartCase{"secondOfAnotherTypeSearchesTheRoot",
                  [](Platform& p) {
                      p.registry.set(kFolderKey, "MSINFO", platform::kRegBinary, "C:\\Tools");
                      p.files.files["\\MSINFO32.EXE"] = "MSINFO32.EXE";
                  },
                  {"\\MSINFO32.EXE"},
                  {"\\MSINFO32.EXE"},
                  false,
                  true},
        StartCase{"secondOfAnotherTypeWithoutRootFile",
                  [](Platform& p) {
                      p.registry.set(kFolderKey, "MSINFO", platform::kRegBinary, "C:\\Tools");
                  },
                  {"\\MSINFO32.EXE"},
                  {},
                  true,
                  true},
        StartCase{"firstZeroLengthIsAnError",
                  [](Platform& p) {
                      p.registry.set(kToolKey, "PATH", platform::kRegSz, "");
                      p.registry.setString(kFolderKey, "MSINFO", "C:\\Tools");
                      p.files.files[kToolsExe] = "MSINFO32.EXE";
                  },
                  {},
                  {},
                  true,
                  false},
        StartCase{"secondZeroLengthIsAnError",
                  [](Platform& p) { p.registry.set(kFolderKey, "MSINFO", platform::kRegSz, ""); },
                  {},
                  {},
                  true,
                  true},
        StartCase{"fileSearchRaises",
                  [](Platform& p) {
                      p.registry.setString(kFolderKey, "MSINFO", "C:\\T*ols");
                      p.files.invalid.insert("C:\\T*ols\\MSINFO32.EXE");
                  },
                  {"C:\\T*ols\\MSINFO32.EXE"},
                  {},
                  true,
                  true},
        StartCase{"foundFileFailsToStart",
                  [](Platform& p) {
                      p.registry.setString(kFolderKey, "MSINFO", "C:\\Tools");
                      p.files.files[kToolsExe] = "MSINFO32.EXE";
                      p.starter.failing.insert(kToolsExe);
                  },
                  {kToolsExe},
                  {},
                  true,
                  true},
        StartCase{"numberPathIsStartedAsItsDigits",
                  [](Platform& p) { p.registry.setDword(kToolKey, "PATH", 261); },
                  {},
                  {"261"},
                  false,
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartSysInfoTwice, StartsTheToolTwice) {
    Platform p;
    p.registry.setString(kToolKey, "PATH", kTool);
    p.launcher.StartSysInfo();
    p.launcher.StartSysInfo();
    EXPECT_EQ(p.starter.started, (std::vector<std::string>{kTool, kTool}));
    EXPECT_TRUE(p.messages.shown.empty());
    EXPECT_EQ(p.registry.openKeys(), 0u);
}

struct ValueCase {
    const char* name;
    std::uint32_t type;
    std::string data;
    bool found;
    std::string keyVal;
};

class GetKeyValue : public testing::TestWithParam<ValueCase> {};

TEST_P(GetKeyValue, ReadsTheValueAsText) {
    const ValueCase& c = GetParam();
    Platform p;
    p.registry.set("Key", "Value", c.type, c.data);
    std::string keyVal = "as passed in";
    EXPECT_EQ(p.launcher.GetKeyValue(platform::kHkeyLocalMachine, "Key", "Value", keyVal), c.found);
    EXPECT_EQ(keyVal, c.keyVal);
    EXPECT_EQ(p.registry.openKeys(), 0u);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Values, GetKeyValue,
    testing::Values(
        ValueCase{"stringWithZero", platform::kRegSz, "C:\\a b\\x.exe\0"s, true, "C:\\a b\\x.exe"},
        ValueCase{"stringWithoutZero", platform::kRegSz, "abc", true, "abc"},
        ValueCase{"onlyTheZero", platform::kRegSz, "\0"s, true, ""},
        ValueCase{"onlyTheLastZeroIsCut", platform::kRegSz, "ab\0\0"s, true, "ab\0"s},
        ValueCase{"exactly1024Bytes", platform::kRegSz, std::string(1023, 'p') + '\0', true,
                  std::string(1023, 'p')},
        ValueCase{"over1024Bytes", platform::kRegSz, std::string(1025, 'p'), false, ""},
        ValueCase{"dword261", platform::kRegDword, "\x05\x01\0\0"s, true, "261"},
        ValueCase{"dwordOfFourNonZeroBytes", platform::kRegDword, "\x04\x03\x02\x01"s, true,
                  "16909060"},
        ValueCase{"dwordAllBytesSet", platform::kRegDword, "\xff\xff\xff\xff"s, true, "4294967295"},
        ValueCase{"dwordZero", platform::kRegDword, "\0\0\0\0"s, true, "0"},
        ValueCase{"numberLongerThanADword", platform::kRegDword, "\x01\x02\x03\x04\x05"s, true,
                  "&h0504030201"},
        ValueCase{"binaryCountsAsFoundUntouched", platform::kRegBinary, "\x01\x02"s, true,
                  "as passed in"},
        ValueCase{"expandStringUntouched", 2, "%PATH%\0"s, true, "as passed in"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetKeyValueMissing, ClearsKeyValAndAnswersFalse) {
    Platform p;
    p.registry.addKey("Key");
    std::string keyVal = "old";
    EXPECT_FALSE(p.launcher.GetKeyValue(platform::kHkeyLocalMachine, "Key", "None", keyVal));
    EXPECT_EQ(keyVal, "");
    keyVal = "old";
    EXPECT_FALSE(p.launcher.GetKeyValue(platform::kHkeyLocalMachine, "NoKey", "None", keyVal));
    EXPECT_EQ(keyVal, "");
    // The handle of a key that was never opened is closed too, as 0.
    EXPECT_EQ(p.registry.calls.back(), "close 0");
}

TEST(GetKeyValueZeroLength, RaisesAndStillClosesTheKey) {
    Platform p;
    p.registry.set("Key", "Empty", platform::kRegSz, "");
    std::string keyVal;
    EXPECT_THROW(p.launcher.GetKeyValue(platform::kHkeyLocalMachine, "Key", "Empty", keyVal),
                 PlatformError);
    EXPECT_EQ(p.registry.openKeys(), 0u);
}

} // namespace
} // namespace clearmark
