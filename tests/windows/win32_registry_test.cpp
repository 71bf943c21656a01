// GetKeyValue through the advapi32 binding, on values this test writes into its own key.
#include "info/SysInfoLauncher.h"
#include "windows/win32_test_support.h"

#include <gtest/gtest.h>

namespace clearmark {
namespace {

using namespace std::string_literals;
using win32_test::kHkeyCurrentUser;

const std::string kKey = "Software\\ClearmarkTests\\Values";

class NoFiles final : public platform::FileSearch {
public:
    std::string find(const std::string&) override { return {}; }
};
class NoStart final : public platform::ProgramStarter {
public:
    void start(const std::string&, int) override { throw platform::PlatformError("no"); }
};
class NoMessages final : public SysInfoMessages {
public:
    void show(const std::string&) override {}
};

struct Win32Value {
    const char* name;
    DWORD type;
    std::string data;
    bool found;
    std::string keyVal;
};

class Win32GetKeyValue : public testing::TestWithParam<Win32Value> {
protected:
    void SetUp() override { win32_test::deleteKey(kHkeyCurrentUser, kKey); }
    void TearDown() override { win32_test::deleteKey(kHkeyCurrentUser, kKey); }
};

TEST_P(Win32GetKeyValue, ReadsWhatWasWritten) {
    const Win32Value& c = GetParam();
    win32_test::writeValue(kHkeyCurrentUser, kKey, "Value", c.type, c.data);
    win32_test::CountingRegistry registry;
    NoFiles files;
    NoStart starter;
    NoMessages messages;
    SysInfoLauncher launcher(registry, files, starter, messages);
    std::string keyVal = "as passed in";
    EXPECT_EQ(launcher.GetKeyValue(kHkeyCurrentUser, kKey, "Value", keyVal), c.found);
    EXPECT_EQ(keyVal, c.keyVal);
    EXPECT_EQ(registry.opened, 1);
    EXPECT_EQ(registry.closed, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Win32GetKeyValue,
    testing::Values(Win32Value{"stringCountsItsZero", REG_SZ, "C:\\Program Files\\x.exe\0"s, true,
                               "C:\\Program Files\\x.exe"},
                    Win32Value{"stringWithoutZero", REG_SZ, "abc", true, "abc"},
                    Win32Value{"dword261", REG_DWORD, "\x05\x01\0\0"s, true, "261"},
                    Win32Value{"over1024Bytes", REG_SZ, std::string(1500, 'x') + '\0', false, ""},
                    Win32Value{"binaryIsFoundAndEmpty", REG_BINARY, "\x01\x02\x03"s, true,
                               "as passed in"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Win32GetKeyValueErrors, ZeroLengthRaisesAndClosesTheKey) {
    win32_test::writeValue(kHkeyCurrentUser, kKey, "Empty", REG_SZ, "");
    win32_test::CountingRegistry registry;
    NoFiles files;
    NoStart starter;
    NoMessages messages;
    SysInfoLauncher launcher(registry, files, starter, messages);
    std::string keyVal;
    EXPECT_THROW(launcher.GetKeyValue(kHkeyCurrentUser, kKey, "Empty", keyVal),
                 platform::PlatformError);
    EXPECT_EQ(registry.opened, 1);
    EXPECT_EQ(registry.closed, 1);

    // A missing value and a missing key: not found, and nothing left open.
    keyVal = "x";
    EXPECT_FALSE(launcher.GetKeyValue(kHkeyCurrentUser, kKey, "Missing", keyVal));
    EXPECT_EQ(keyVal, "");
    EXPECT_FALSE(launcher.GetKeyValue(kHkeyCurrentUser, kKey + "\\Nope", "Value", keyVal));
    EXPECT_EQ(registry.opened, 2);
    EXPECT_EQ(registry.closed, 2);
    win32_test::deleteKey(kHkeyCurrentUser, kKey);
}

TEST(Win32Registry, OpensWithReadAccessOnly) {
    // A key that grants reading but not writing is still read.
    win32_test::writeValue(kHkeyCurrentUser, kKey, "Value", REG_SZ, "ok\0"s);
    const auto registry = platform::systemRegistry();
    platform::KeyHandle key = 0;
    ASSERT_EQ(registry->openKey(kHkeyCurrentUser, kKey, platform::kKeyRead, key), ERROR_SUCCESS);
    EXPECT_NE(key, 0u);
    // The handle refuses writes: it was opened for reading.
    EXPECT_NE(RegSetValueExA(reinterpret_cast<HKEY>(key), "Other", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>("x"), 2),
              ERROR_SUCCESS);
    EXPECT_EQ(registry->closeKey(key), ERROR_SUCCESS);
    EXPECT_NE(registry->closeKey(0), ERROR_SUCCESS); // closing nothing is harmless
    win32_test::deleteKey(kHkeyCurrentUser, kKey);
}

} // namespace
} // namespace clearmark
